#!/bin/bash
# Installs what the build, the tests and the demo need: only the Debian packages that are missing.
# `setup.sh build` installs only what the three builds need, so that the rest can install beside them.
# 32-bit Wine runs the shipped i686 programs; where the kernel cannot start 32-bit programs, its loader
# runs under qemu user emulation behind a wrapper put in the packaged loader's place with dpkg-divert.
set -euo pipefail
# The artwork is drawn at build time, in DejaVu where it is installed.
build_packages=(cmake make g++ googletest libssl-dev imagemagick fonts-dejavu-core
  g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64)
run_packages=(clang-format wine64 wine32:i386 fonts-wine xvfb xauth x11-utils mscompress xdotool)
packages=("${build_packages[@]}")
[ "${1:-}" = build ] || packages+=("${run_packages[@]}")
export DEBIAN_FRONTEND=noninteractive
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
updated=
install() {
  echo "setup: installing $*"
  [ -n "$updated" ] || { apt-get update -qq; updated=1; }
  apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
((${#missing[@]} == 0)) || install "${missing[@]}"
[ "${1:-}" != build ] || exit 0

loader=/usr/lib/wine/wine
diverted() { [ "$(dpkg-divert --truename "$loader")" != "$loader" ]; }
if ! diverted && "$loader" --version >/dev/null 2>&1; then
  exit 0  # this kernel runs 32-bit programs itself
fi
installed qemu-user || install qemu-user
# qemu before 8 looks for free guest memory page by page: every 32-bit Wine process then spends about
# 45 s of CPU in its mmap calls. A newer one comes from the release's backports where the release has
# none.
qemu_major() { /usr/bin/qemu-i386 --version | sed -n '1s/.* version \([0-9]*\).*/\1/p'; }
if [ "$(qemu_major)" -lt 8 ]; then
  . /etc/os-release
  backports=/etc/apt/sources.list.d/quenby-backports.list
  echo "deb http://deb.debian.org/debian $VERSION_CODENAME-backports main" >"$backports"
  updated=
  # Without it everything still works, slowly; a source that cannot be read must not stay behind.
  if ! install -t "$VERSION_CODENAME-backports" qemu-user || [ "$(qemu_major)" -lt 8 ]; then
    rm -f "$backports"
    updated=
    echo "setup: no qemu-user 8 or newer from $VERSION_CODENAME-backports: each 32-bit program starts in about 45 s" >&2
  fi
fi
diverted || dpkg-divert --add --rename --divert "$loader.i386" "$loader" >/dev/null
# Written on every run, so that a run stopped between the diversion and the wrapper is mended by the next.
cat >"$loader.new" <<'WRAP'
#!/bin/sh
# 32-bit Wine loader under user-mode emulation (this kernel cannot start 32-bit programs).
WINELOADERNOEXEC=1 exec /usr/bin/qemu-i386 -L / /usr/lib/wine/wine.i386 "$@"
WRAP
chmod 755 "$loader.new"
mv "$loader.new" "$loader"
# A 32-bit program that a 32-bit program starts (an add-on started by the shipped Setup.exe) is started by
# the kernel, not through the wrapper: hand 32-bit programs to qemu there too.
binfmt=/proc/sys/fs/binfmt_misc
[ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || true
if [ -e "$binfmt/register" ] && [ ! -e "$binfmt/qemu-i386" ]; then
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:' \
    >"$binfmt/register"
fi
[ -e "$binfmt/qemu-i386" ] || echo "setup: no binfmt_misc here: a 32-bit program cannot start another" >&2
echo "setup: 32-bit Wine runs under qemu-i386"

// The Linux host that Wine runs on, reached from inside Wine: path conversions between Wine's drives
// and the Linux file system, Linux programs started for screenshots (ImageMagick's `import`) and for
// real X input (`xdotool`), and Wine's virtual desktop.
#pragma once
#include <source_location>
#include <string>

namespace quenby::drive {

std::string UnixPath(const std::string& windowsPath);  // "Z:\\tmp\\a" -> "/tmp/a"
std::string WindowsPath(const std::string& unixPath);  // "/tmp/a" -> "Z:\\tmp\\a"
void MakeFolders(const std::string& windowsFolder);    // like mkdir -p

// Starts a Linux program given by its Linux path. Wine hands back no handle of it: it cannot be waited
// for (RunHost can). Fails at the caller's line when it cannot be started (not installed).
void StartHostProgram(const std::string& unixProgram, const std::string& arguments,
                      const std::source_location& where = std::source_location::current());

// Runs a command line of the Linux shell and waits for it to end; returns its exit status. Fails at
// the caller's line after `timeoutMs`.
int RunHost(const std::string& shellCommand, unsigned timeoutMs = 60000,
            const std::source_location& where = std::source_location::current());
// `text` as one word of the Linux shell.
std::string ShellQuoted(const std::string& text);

// Writes a PNG of the screen to `windowsFolder`\`fileName` and returns its Windows path.
std::string Screenshot(const std::string& windowsFolder, const std::string& fileName, unsigned timeoutMs = 30000,
                       const std::source_location& where = std::source_location::current());

// A left click of the X pointer at this screen point, as the user's mouse makes it (xdotool); returns
// once the click is made, not when the program has handled it.
void ClickAt(int x, int y, const std::source_location& where = std::source_location::current());

// Keyboard input as the user's keyboard makes it, to the window that has the focus: xdotool's own
// words, e.g. Keys("key alt+n") or Keys("type \"Jane Doe\"").
void Keys(const std::string& xdotoolCommand, const std::source_location& where = std::source_location::current());

// Makes the Wine programs of this prefix that create their first window from now on share one virtual
// desktop of this size: Wine then draws window frames and captions, which it leaves to a window manager
// otherwise (and bare Xvfb has none). Call before anything of this process touches a window.
void UseVirtualDesktop(int width, int height);

// Whether the program file is a 32-bit Windows program (the shipped i686 Setup.exe): its writes to
// HKLM\SOFTWARE land in the 32-bit view, under WOW6432Node.
bool Is32BitProgram(const std::string& windowsPath);

// Milliseconds from a fixed point, for measuring.
double NowMs();
// Makes the file hold exactly these bytes.
void WriteWholeFile(const std::string& path, const std::string& content);

}  // namespace quenby::drive

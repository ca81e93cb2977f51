#include "install/FileInstall.h"

#include <windows.h>

#include <vector>

#include "base/Checksums.h"
#include "base/Errors.h"
#include "base/Texts.h"
#include "win/FileReplace.h"
#include "win/FileSystem.h"
#include "win/FileVersion.h"
#include "win/Handles.h"
#include "win/Sha256.h"
#include "win/SystemText.h"

namespace quenby {

namespace {

// A new file beside the target, removed again unless it was put in place.
class TTemporaryFile {
public:
    explicit TTemporaryFile(const std::string& target) {
        const std::string folder = target.substr(0, target.find_last_of('\\') + 1);
        // A name of the same length as the system's own temporary names, tried until one is free.
        for (unsigned n = GetTickCount() & 0xffff, tries = 0; tries < 0x10000 && !m_file; ++n, ++tries) {
            m_path = folder + "~qnb";
            for (int shift = 12; shift >= 0; shift -= 4) m_path += "0123456789ABCDEF"[(n >> shift) & 0xf];
            m_path += ".tmp";
            m_file = THandle(
                CreateFileA(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!m_file && GetLastError() != ERROR_FILE_EXISTS) break;
        }
        if (!m_file) m_path.clear();
    }
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;
    ~TTemporaryFile() {
        m_file.Reset();
        if (!m_path.empty()) DeleteFileA(m_path.c_str());
    }

    bool Made() const { return !m_path.empty(); }
    const std::string& Path() const { return m_path; }
    HANDLE Handle() const { return m_file.Get(); }
    void Close() { m_file.Reset(); }
    void Keep() { m_path.clear(); }  // it is the target's now, or waits to become it

private:
    std::string m_path;
    THandle m_file;
};

// The rest of the source, as it is.
bool CopyBytes(HANDLE from, HANDLE to) {
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        DWORD read = 0, written = 0;
        if (!ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) return false;
        if (read == 0) return true;
        if (!WriteFile(to, buffer.data(), read, &written, nullptr)) return false;
        if (written != read) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
    }
}

}  // namespace

TFileOutcome InstallFile(const TFileJob& job, const std::function<const TLz32&()>& library) {
    const auto fail = [&](DWORD error) {
        const std::string reason = SystemErrorText(error);
        return Exception(job.Expand ? CannotExpandText(job.Source, job.Target, reason)
                                    : CannotCopyText(job.Source, job.Target, reason));
    };
    if (!job.Expand && job.KeepExisting && Exists(job.Target)) return TFileOutcome::Left;

    // Read once, through one handle that lets nobody write meanwhile: the bytes checked are the bytes copied.
    THandle source(CreateFileA(job.Source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source) throw fail(GetLastError());
    if (job.Digest) {
        const std::optional<std::string> digest = Sha256OfFile(source.Get());
        if (!digest) throw fail(GetLastError());
        if (!DigestMatches(*job.Digest, *digest)) return TFileOutcome::Damaged;
        if (SetFilePointer(source.Get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
            throw fail(GetLastError());
    }

    TTemporaryFile fresh(job.Target);
    if (!fresh.Made()) throw fail(GetLastError());
    if (job.Expand) {
        library().Expand(std::move(source), fresh.Handle(), job.Source, job.Target);
    } else {
        if (!CopyBytes(source.Get(), fresh.Handle())) throw fail(GetLastError());
        FILETIME written{};
        if (GetFileTime(source.Get(), nullptr, nullptr, &written))
            SetFileTime(fresh.Handle(), nullptr, nullptr, &written);
    }
    fresh.Close();

    // A missing target takes the new file's name at once, and the move refuses one that is there: asking
    // first cost Wine one more reading of the whole folder for each file.
    if (MoveFileExA(fresh.Path().c_str(), job.Target.c_str(), 0)) {
        fresh.Keep();
        return TFileOutcome::Written;
    }
    if (const DWORD error = GetLastError(); error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
        throw fail(error);
    if (job.Shared) {
        // The new file's version from the bytes that would land, expanded ones included.
        const std::optional<std::uint64_t> existing = FileVersionOf(job.Target), incoming = FileVersionOf(fresh.Path());
        if (existing && incoming && *existing >= *incoming) return TFileOutcome::Kept;
    }
    if (IsInUse(job.Target)) {
        if (!ReplaceAtRestart(fresh.Path(), job.Target)) throw fail(GetLastError());
        fresh.Keep();
        return TFileOutcome::AtRestart;
    }
    if (!MoveFileExA(fresh.Path().c_str(), job.Target.c_str(), MOVEFILE_REPLACE_EXISTING)) throw fail(GetLastError());
    fresh.Keep();
    return TFileOutcome::Written;
}

}  // namespace quenby

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
#include "win/NoLinkRemoval.h"
#include "win/PlainFile.h"
#include "win/Sha256.h"
#include "win/SystemText.h"

namespace quenby {

namespace {

// A file this run made, removed again unless it was put in place (Keep).
class TNewFile {
public:
    TNewFile() = default;
    TNewFile(const TNewFile&) = delete;
    TNewFile& operator=(const TNewFile&) = delete;
    ~TNewFile() {
        m_file.Reset();
        if (!m_path.empty()) DeleteFileA(m_path.c_str());
        if (!m_folder.empty()) RemoveDirectoryA(m_folder.c_str());
    }

    // False, with the system's error, when `path` is there already or cannot be made.
    bool Create(const std::string& path) {
        m_file = THandle(CreateFileA(path.c_str(), GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES, 0, nullptr,
                                     CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (m_file) m_path = path;
        return static_cast<bool>(m_file);
    }
    // A new name beside `target`, of the same length as the system's own temporary names, tried until one
    // is free.
    bool CreateBeside(const std::string& target) {
        const std::string folder = target.substr(0, target.find_last_of('\\') + 1);
        for (unsigned n = GetTickCount() & 0xffff, tries = 0; tries < 0x10000; ++n, ++tries) {
            std::string path = folder + "~qnb";
            for (int shift = 12; shift >= 0; shift -= 4) path += "0123456789ABCDEF"[(n >> shift) & 0xf];
            if (Create(path + ".tmp")) return true;
            if (GetLastError() != ERROR_FILE_EXISTS) return false;
        }
        return false;
    }
    // Whether the file made is a plain file in `folderFinal` (empty: not checked); one that is not (a link or a
    // second name put there meanwhile) is deleted through its handle, never by its name.
    bool IsIn(const std::string& folderFinal) {
        if (folderFinal.empty()) return true;
        if (IsPlainFileAt(m_file.Get(), folderFinal + m_path.substr(m_path.rfind('\\')))) return true;
        DeleteOpenFile(m_file.Get());
        m_file.Reset();
        m_path.clear();
        return false;
    }
    // Alone in a folder of its own that no user can change, to replace the target at the restart.
    bool CreateWaiting(const std::string& target) {
        m_folder = MakeWaitingFolder(target);
        return !m_folder.empty() && Create(m_folder + target.substr(target.find_last_of('\\')));
    }

    const std::string& Path() const { return m_path; }
    HANDLE Handle() const { return m_file.Get(); }
    void Close() { m_file.Reset(); }
    // It is the target's now, or waits to become it.
    void Keep() {
        m_path.clear();
        m_folder.clear();
    }

private:
    std::string m_path;
    std::string m_folder;
    THandle m_file;
};

}  // namespace

bool HoldsSourceAlready(const TFileJob& job, const WIN32_FILE_ATTRIBUTE_DATA& from,
                        const WIN32_FILE_ATTRIBUTE_DATA& to) {
    if (job.Expand || job.Shared) return false;
    // A rewritten file is a plain one: any other kind would change.
    constexpr DWORD kNotPlain = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    if ((to.dwFileAttributes & kNotPlain) || from.nFileSizeLow != to.nFileSizeLow ||
        from.nFileSizeHigh != to.nFileSizeHigh || CompareFileTime(&from.ftLastWriteTime, &to.ftLastWriteTime) != 0)
        return false;
    const THandle source(CreateFileA(job.Source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    const THandle target(CreateFileA(job.Target.c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!source || !target) return false;
    if (job.Digest) {
        const std::optional<std::string> digest = Sha256OfFile(source.Get());
        if (!digest || !DigestMatches(*job.Digest, *digest) ||
            SetFilePointer(source.Get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
            return false;
    }
    return ReadSameBytes(source.Get(), target.Get());
}

TFileOutcome InstallFile(const TFileJob& job, const std::function<const TLz32&()>& library, std::string* waiting) {
    const auto failWith = [&](const std::string& reason) {
        return Exception(job.Expand ? CannotExpandText(job.Source, job.Target, reason)
                                    : CannotCopyText(job.Source, job.Target, reason));
    };
    const auto fail = [&](DWORD error) { return failWith(SystemErrorText(error)); };
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

    const auto fill = [&](TNewFile& file) {
        if (job.Expand) {
            library().Expand(std::move(source), file.Handle(), job.Source, job.Target);
        } else {
            if (!CopyRest(source.Get(), file.Handle())) throw fail(GetLastError());
            FILETIME written{};
            if (GetFileTime(source.Get(), nullptr, nullptr, &written))
                SetFileTime(file.Handle(), nullptr, nullptr, &written);
        }
        file.Close();
    };

    // A missing target is written in place: nothing is lost when the copy stops half-way (the part is
    // removed), and it spares a rename, which costs Wine two more readings of the whole folder a file.
    TNewFile fresh;
    if (fresh.Create(job.Target)) {
        if (!fresh.IsIn(job.FolderFinal)) throw failWith(kLeftThroughLink);
        fill(fresh);
        fresh.Keep();
        return TFileOutcome::Written;
    }
    if (const DWORD error = GetLastError(); error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
        throw fail(error);
    // One is there: the new one is made whole first, beside it, or where no user can change it when it must wait
    // for the restart. Only a system file waits: a restart's rename goes by name, and the user who owns the
    // destination could make that name lead elsewhere before it.
    const bool inUse = job.Shared && IsInUse(job.Target);
    if (!(inUse ? fresh.CreateWaiting(job.Target) : fresh.CreateBeside(job.Target))) {
        const DWORD error = GetLastError();
        // On another drive than the private folders it cannot be replaced at the restart either.
        throw fail(error == ERROR_NOT_SAME_DEVICE ? ERROR_SHARING_VIOLATION : error);
    }
    if (!inUse && !fresh.IsIn(job.FolderFinal)) throw failWith(kLeftThroughLink);
    fill(fresh);
    if (job.Shared) {
        // The new file's version from the bytes that would land, expanded ones included.
        const std::optional<std::uint64_t> existing = FileVersionOf(job.Target), incoming = FileVersionOf(fresh.Path());
        if (existing && incoming && *existing >= *incoming) return TFileOutcome::Kept;
    }
    if (inUse) {
        if (!ReplaceAtRestart(fresh.Path(), job.Target)) throw fail(GetLastError());
        if (waiting) *waiting = fresh.Path();
        fresh.Keep();
        return TFileOutcome::AtRestart;
    }
    if (IsInUse(job.Target)) {
        // A running program's image cannot be written or deleted, but moved: away into a private folder, to
        // go at the restart, and the new file takes its place now.
        const THandle old(CreateFileA(job.Target.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!old) throw failWith(kInUseNotMovable);
        const std::string name = job.Target.substr(job.Target.rfind('\\'));
        if (!job.FolderFinal.empty() && !IsPlainFileAt(old.Get(), job.FolderFinal + name))
            throw failWith(kLeftThroughLink);
        if (!DeleteAtRestart(old.Get(), job.Target)) throw failWith(kInUseNotMovable);
        if (!MoveFileExA(fresh.Path().c_str(), job.Target.c_str(), 0)) {
            const DWORD error = GetLastError();
            RenameOpenFile(old.Get(), job.Target);
            throw fail(error);
        }
    } else if (!MoveFileExA(fresh.Path().c_str(), job.Target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        throw fail(GetLastError());
    }
    fresh.Keep();
    return TFileOutcome::Written;
}

}  // namespace quenby

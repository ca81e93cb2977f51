#include "install/RunJournal.h"

#include <algorithm>
#include <tuple>
#include <vector>

#include "base/Errors.h"
#include "base/Texts.h"
#include "undo/ProgramItems.h"
#include "win/Handles.h"
#include "win/NoLinkRemoval.h"
#include "win/PathCompare.h"
#include "win/PlainFile.h"
#include "win/PrivateFolder.h"
#include "win/RegistryKey.h"
#include "win/SystemText.h"

namespace quenby {

namespace {

// A root keeps its backslash.
std::string ParentOf(const std::string& path) {
    const std::size_t cut = path.find_last_of('\\');
    return path.substr(0, cut == 2 && path[1] == ':' ? 3 : cut);
}

// Where the path resolves to now, its folder's links followed: what it must still resolve to when it is undone.
std::string ExpectedFinal(const std::string& path, std::string folderFinal = {}) {
    const std::string parent = ParentOf(path);
    if (folderFinal.empty()) folderFinal = FinalPathOf(parent);
    return folderFinal.empty() ? std::string() : FinalPathBelow(folderFinal, parent, path);
}

// Removed through a handle that follows no link, and only where it was made.
std::string RemoveMade(const std::string& path, const std::string& expectedFinal) {
    const TRemovalResult result = RemoveWithoutLinks(
        path, [&](const std::string& final) { return expectedFinal.empty() || SamePath(final, expectedFinal); });
    switch (result.Outcome) {
        case TRemoval::Removed:
        case TRemoval::Gone:
        case TRemoval::AtRestart: return {};
        case TRemoval::ThroughLink: return kLeftThroughLink;
        case TRemoval::NotEmpty: return kLeftNotEmpty;
        case TRemoval::InUse: return kLeftInUseNotMoved;
        case TRemoval::Failed: break;
    }
    return SystemErrorText(result.Error);
}

// Whether the file reads as the kept copy; one that cannot be read for another program's holding it was not
// written either.
bool HoldsSameBytes(const std::string& path, const std::string& kept) {
    const THandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) return GetLastError() == ERROR_SHARING_VIOLATION;
    const THandle copy(CreateFileA(kept.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    return copy && ReadSameBytes(file.Get(), copy.Get());
}

std::string RegistryName(HKEY root, const std::string& key, const std::string& name) {
    return std::string(RootWord(root)) + "\\" + key + (name.empty() ? "" : " " + name);
}

}  // namespace

TRunJournal::~TRunJournal() {
    if (!m_released) return;
    for (const std::string& file : m_keptFiles) {
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(file.c_str());
    }
    if (!m_keptFolder.empty()) RemoveDirectoryA(m_keptFolder.c_str());
}

void TRunJournal::Note(std::string what, std::function<std::string(TUndoReport&)> undo) {
    m_steps.push_back({std::move(what), std::move(undo)});
    if (m_afterNote) m_afterNote();
}

void TRunJournal::FolderMade(const std::string& path) { FileMade(path); }

void TRunJournal::FileMade(const std::string& path, const std::string& folderFinal) {
    Note(path, [path, final = ExpectedFinal(path, folderFinal)](TUndoReport&) { return RemoveMade(path, final); });
}

void TRunJournal::FileKept(const std::string& path, const std::string& folderFinal) {
    if (m_keptFolder.empty()) {
        m_keptFolder = MakePrivateFolder();
        if (m_keptFolder.empty()) throw Exception(CannotKeepText(path, SystemErrorText(GetLastError())));
    }
    const std::string kept = m_keptFolder + "\\" + std::to_string(m_keptFiles.size() + 1);
    const std::string final = ExpectedFinal(path, folderFinal);
    // Read through a handle that follows no link, from a file where the destination puts it: through a link
    // swapped in meanwhile the undo would write another file's bytes where the destination's owner reads them.
    // A file another program holds so that it cannot be read cannot be written now either: it waits for the
    // restart, and what waits is undone by deleting it.
    const THandle old(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!old) {
        const DWORD error = GetLastError();
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return;
        throw Exception(CannotKeepText(path, SystemErrorText(error)));
    }
    if (!IsFileAt(old.Get(), final)) throw Exception(CannotKeepText(path, kLeftThroughLink));
    FILE_BASIC_INFO info{};  // by class: see IsFileAt
    if (!GetFileInformationByHandleEx(old.Get(), FileBasicInfo, &info, sizeof info))
        throw Exception(CannotKeepText(path, SystemErrorText(GetLastError())));
    const DWORD attributes = info.FileAttributes;
    // The copy keeps the attributes and the times with the bytes, and so does the copy back.
    {
        const THandle copy(
            CreateFileA(kept.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        info.ChangeTime.QuadPart = 0;  // zeros: left as they are
        info.FileAttributes = 0;
        if (!copy || !CopyRest(old.Get(), copy.Get()) ||
            !SetFileInformationByHandle(copy.Get(), FileBasicInfo, &info, sizeof info)) {
            const DWORD error = GetLastError();
            if (copy) DeleteOpenFile(copy.Get());
            throw Exception(CannotKeepText(path, SystemErrorText(error)));
        }
    }
    SetFileAttributesA(kept.c_str(), attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                   FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
    m_keptFiles.push_back(kept);
    if (m_kept) m_kept(path, kept);
    if (m_alsoKept) m_alsoKept(path, kept);
    Note(path, [path, kept, final](TUndoReport&) {
        // Left alone where the run did not change it after all (kept, or waiting for the restart).
        if (HoldsSameBytes(path, kept)) return std::string();
        if (std::string why = RemoveMade(path, final); !why.empty()) return why;
        // Never onto whatever took the name meanwhile.
        return CopyFileA(kept.c_str(), path.c_str(), TRUE) ? std::string() : SystemErrorText(GetLastError());
    });
}

void TRunJournal::FileWaiting(const std::string& path) {
    Note(path, [path](TUndoReport&) {
        // In a private folder: its name leads nowhere else.
        if (!DeleteFileA(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
            return SystemErrorText(GetLastError());
        RemoveDirectoryA(ParentOf(path).c_str());
        return std::string();
    });
}

void TRunJournal::KeysKept(HKEY root, REGSAM view, const std::string& key) {
    // The write after the last call made every key of its path: values of one key look once.
    if (std::tuple(root, view, key) == m_lastKeys) return;
    m_lastKeys = {root, view, key};
    // Outermost first: undone after what is written into them, innermost first.
    for (std::size_t end = 0; end != std::string::npos;) {
        end = key.find('\\', end + 1);
        const std::string part = key.substr(0, end);
        if (TRegistryKey::Open(root, part, KEY_READ | view)) continue;
        Note(RegistryName(root, part, ""), [root, view, part](TUndoReport&) {
            const LSTATUS status = RegDeleteKeyExA(root, part.c_str(), view, 0);
            return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? std::string() : SystemErrorText(status);
        });
    }
}

void TRunJournal::ValueKept(HKEY root, REGSAM view, const std::string& key, const std::string& name) {
    KeysKept(root, view, key);
    DWORD type = REG_NONE, size = 0;
    std::vector<BYTE> data;
    bool existed = false;
    if (const auto open = TRegistryKey::Open(root, key, KEY_QUERY_VALUE | view)) {
        LSTATUS status = ERROR_MORE_DATA;
        while (status == ERROR_MORE_DATA) {
            status = RegQueryValueExA(open->Get(), name.c_str(), nullptr, &type, nullptr, &size);
            if (status != ERROR_SUCCESS) break;
            data.resize(size);
            status = RegQueryValueExA(open->Get(), name.c_str(), nullptr, &type, data.data(), &size);
        }
        existed = status == ERROR_SUCCESS;
        if (!existed && status != ERROR_FILE_NOT_FOUND) throw ERegistryException(RegistryWriteText(name));
        data.resize(size);
    }
    Note(RegistryName(root, key, name), [=](TUndoReport&) {
        const auto open = TRegistryKey::Open(root, key, KEY_SET_VALUE | view);
        if (!open) return existed ? SystemErrorText(ERROR_FILE_NOT_FOUND) : std::string();
        const LSTATUS status =
            existed ? RegSetValueExA(open->Get(), name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()))
                    : RegDeleteValueA(open->Get(), name.c_str());
        return status == ERROR_SUCCESS || (!existed && status == ERROR_FILE_NOT_FOUND) ? std::string()
                                                                                       : SystemErrorText(status);
    });
}

void TRunJournal::GroupSent(const TGroupUndo& group) {
    // With the uninstaller's own code, which reports each step itself.
    Note({}, [group](TUndoReport& report) {
        RemoveProgramItems({group}, report);
        return std::string();
    });
}

void TRunJournal::Undo(TUndoReport& report) {
    for (auto step = m_steps.rbegin(); step != m_steps.rend(); ++step) {
        if (!step->What.empty()) report.Step(step->What);
        if (const std::string why = step->Undo(report); !why.empty()) report.Leave(step->What, why);
    }
    m_steps.clear();
}

}  // namespace quenby

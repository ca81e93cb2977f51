// What one run changed, noted just before each change. The old bytes of every file it overwrites are copied
// first into a private folder (win/PrivateFolder.h), where no user can change them, and the installation log
// names the copy: the uninstaller puts them back for a run cut off. An unattended run that fails undoes its
// notes itself, last change first (old registry data is kept in memory for that). The copies go once the run
// completed or was undone.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/InstallLog.h"
#include "undo/UndoReport.h"

namespace quenby {

class TRunJournal {
public:
    // `afterNote` runs after each change is noted, before it is made: a test's hook, which may raise to fail
    // the run there.
    // `kept` hears where each file's old bytes are kept.
    using TKeptReport = std::function<void(const std::string& path, const std::string& copy)>;
    explicit TRunJournal(std::function<void()> afterNote = {}, TKeptReport kept = {})
        : m_afterNote(std::move(afterNote)), m_kept(std::move(kept)) {}
    TRunJournal(const TRunJournal&) = delete;
    TRunJournal& operator=(const TRunJournal&) = delete;
    // The kept copies go once released; a run that stopped leaves them for the uninstaller to put back.
    ~TRunJournal();
    // Also hears where each old copy is kept (the installation log, once it is open).
    void AlsoReport(TKeptReport kept) { m_alsoKept = std::move(kept); }
    // The run completed, or was undone: the copies are not needed any more.
    void Release() { m_released = true; }

    // Whether a failure is undone from this journal (an unattended run), not only kept for the uninstaller.
    bool Undoes() const { return m_undoes; }
    void SetUndoes(bool undoes) { m_undoes = undoes; }
    bool Empty() const { return m_steps.empty(); }
    // Before the folder or file is made (its folder exists): undone by removing it, without following a link.
    // `folderFinal`, when the caller resolved it already: where the file's folder leads (empty: looked up now).
    void FolderMade(const std::string& path);
    void FileMade(const std::string& path, const std::string& folderFinal = {});
    // Before an existing file is overwritten or replaced: its bytes, attributes and time copied away now;
    // Exception when they cannot be. Undone by copying them back.
    void FileKept(const std::string& path, const std::string& folderFinal = {});
    // A new file waiting in a private folder for the restart: undone by deleting it, so that the restart's
    // rename finds nothing.
    void FileWaiting(const std::string& path);
    // Before a value is written (`view`: 0 or KEY_WOW64_64KEY): its old type and data, or its absence, and
    // every key of the path that the write will create. Undone by writing the old data back, or deleting.
    void ValueKept(HKEY root, REGSAM view, const std::string& key, const std::string& name);
    // Before a key is opened for writing: every key of the path that doing so will create.
    void KeysKept(HKEY root, REGSAM view, const std::string& key);
    // After the group and its items were sent to Program Manager: undone as the uninstaller removes them.
    void GroupSent(const TGroupUndo& group);

    // Each change undone, last first; each step reported, a step that fails left with its reason and the
    // undo going on. The journal is empty afterwards.
    void Undo(TUndoReport& report);

private:
    struct TStep {
        std::string What;                               // empty: the step reports for itself
        std::function<std::string(TUndoReport&)> Undo;  // the reason it failed; empty when done
    };
    void Note(std::string what, std::function<std::string(TUndoReport&)> undo);

    std::function<void()> m_afterNote;
    TKeptReport m_kept, m_alsoKept;
    bool m_released = false;
    bool m_undoes = false;
    std::vector<TStep> m_steps;
    std::tuple<HKEY, REGSAM, std::string> m_lastKeys;  // KeysKept's last path
    std::string m_keptFolder;                          // made with the first copy
    std::vector<std::string> m_keptFiles;
};

}  // namespace quenby

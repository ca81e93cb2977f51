#include "install/Installation.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "base/DestinationRule.h"
#include "base/Errors.h"
#include "base/InstallRecord.h"
#include "base/Texts.h"
#include "install/DestinationCheck.h"
#include "install/FileInstall.h"
#include "install/InstallLogWriter.h"
#include "install/ProgramGroup.h"
#include "install/RoomCheck.h"
#include "install/UpdateRegistry.h"
#include "win/FileSystem.h"
#include "win/Handles.h"
#include "win/Lz32.h"
#include "win/NoLinkRemoval.h"
#include "win/PathCompare.h"
#include "win/PlainFile.h"
#include "win/ProgramsFolder.h"
#include "win/SystemText.h"

namespace quenby {

namespace {

// However the run ends, its sink hears of it.
class TRunEnd {
public:
    explicit TRunEnd(TInstallSink& sink) : m_sink(sink) {}
    TRunEnd(const TRunEnd&) = delete;
    TRunEnd& operator=(const TRunEnd&) = delete;
    ~TRunEnd() {
        try {
            m_sink.RunEnded();
        } catch (...) {
            // Nothing may leave a destructor; the run's own outcome is what counts.
        }
    }

private:
    TInstallSink& m_sink;
};

// One of the two file lists, paired by position with its destination names and replace values.
struct TFileList {
    const TStringList& In;
    const TStringList& Out;
    const TStringList& Replace;
    const std::string& TargetDir;
    bool SystemFiles;
};

void CheckLength(const std::string& path) {
    if (path.size() > kMaxPathLength) throw Exception(PathTooLongText(path));
}

// Creates the directory and every missing parent; a root or an existing directory is left alone.
// Each directory made is added to `created`, outermost first, and noted in the journal.
void CreateDirectoryPath(std::string directory, std::vector<std::string>& created, TRunJournal& journal) {
    if (!directory.empty() && directory.back() == '\\') directory.pop_back();
    if (directory.size() <= 2 || IsDirectory(directory)) return;
    const auto parentEnd = directory.find_last_of("\\:");
    if (parentEnd != std::string::npos) CreateDirectoryPath(directory.substr(0, parentEnd + 1), created, journal);
    if (!CreateDirectoryA(directory.c_str(), nullptr)) {
        const DWORD error = GetLastError();
        if (!IsDirectory(directory)) throw Exception(CannotCreateDirectoryText(directory, SystemErrorText(error)));
        return;
    }
    created.push_back(directory);
    journal.FolderMade(directory);
}

// A folder made below the destination through a link swapped in after the checks is removed again, through
// its own handle, deepest first, and the run fails.
void RefuseMadeThroughLink(const std::vector<std::string>& created, const std::string& destination,
                           const std::string& destinationFinal) {
    std::string refused;
    for (auto directory = created.rbegin(); directory != created.rend() && !destinationFinal.empty(); ++directory) {
        if (!IsBelowPath(*directory, destination) || IsWhereMeant(*directory, destination, destinationFinal)) continue;
        const THandle made(CreateFileA(directory->c_str(), DELETE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (made) DeleteOpenFile(made.Get());
        refused = *directory;
    }
    if (!refused.empty()) throw Exception(CannotCreateDirectoryText(refused, kLeftThroughLink));
}

std::string DirectoryPath(const TInstructions& instructions, const std::string& destination, int i) {
    return instructions.DirsValues[i] == "0" ? destination + "\\" + instructions.Dirs[i] : instructions.Dirs[i];
}

// Every path the run would hand to the platform, checked before anything is changed. Pairs without a
// destination entry are left to the copy loop, whose lookup raises the list error.
void CheckPathLengths(const TInstructions& instructions, const std::string& destination, const TFileList (&lists)[2]) {
    for (int i = 0; i < instructions.Dirs.Count(); ++i) CheckLength(DirectoryPath(instructions, destination, i));
    for (const TFileList& list : lists)
        for (int i = 0; i < list.In.Count() && i < list.Out.Count(); ++i) {
            CheckLength(instructions.SourceDir + list.In[i]);
            CheckLength(list.TargetDir + "\\" + list.Out[i]);
        }
}

class TFileCopier {
public:
    TFileCopier(const TInstructions& instructions, TCopyResume& resume, TInstallLogWriter& log,
                std::function<void()> advance, TInstallSink& sink, std::string& missingSource, bool& restartNeeded,
                const std::vector<std::string>& madeFolders)
        : m_instructions(instructions),
          m_resume(resume),
          m_log(log),
          m_advance(std::move(advance)),
          m_sink(sink),
          m_missingSource(missingSource),
          m_restartNeeded(restartNeeded),
          m_madeFolders(madeFolders) {}

    void CopyList(const TFileList& list, int start) {
        // Resolved once: a link above the folder is the user's choice, one below it appearing later is not.
        const std::string finalDir = FinalPathOf(list.TargetDir);
        for (int i = start; i < list.In.Count(); ++i) {
            const std::string source = m_instructions.SourceDir + list.In[i];
            const std::string destination = list.TargetDir + "\\" + list.Out[i];
            const std::string& replace = list.Replace[i];
            m_sink.FileStarted(source, destination);
            try {
                const WIN32_FILE_ATTRIBUTE_DATA from = NeedSource(source);
                // Looked up once, and not at all in a folder this run made: a missing name costs the platform a
                // scan of the whole folder. What someone put there meanwhile the copy replaces all the same.
                WIN32_FILE_ATTRIBUTE_DATA there{};
                const std::string folder = destination.substr(0, destination.rfind('\\'));
                const bool existed =
                    !IsMadeByRun(folder) && GetFileAttributesExA(destination.c_str(), GetFileExInfoStandard, &there);
                if (existed) m_sink.TargetExists(destination);
                const TFileJob job{source,
                                   destination,
                                   ListedDigest(m_instructions.Checksums, list.In[i]),
                                   m_instructions.Expand,
                                   replace != "0",
                                   list.SystemFiles,
                                   finalDir.empty() ? std::string() : FinalPathBelow(finalDir, list.TargetDir, folder)};
                // Installing again: a file that is the coming one already is neither kept nor written, nor
                // logged again: the uninstaller goes by a file's first line, which an earlier run wrote, and a file
                // no run wrote was not this installation's to remove anyway.
                const bool same = existed && replace == "0" && HoldsSourceAlready(job, from, there);
                if (list.SystemFiles)
                    m_log.Add(TLogKind::SystemFile, list.Out[i], existed);
                else if (!same)
                    m_log.Add(TLogKind::File, destination, existed);
                if (!existed)
                    m_log.Journal().FileMade(destination, job.FolderFinal);
                else if ((m_instructions.Expand || replace == "0") && !same)
                    m_log.Journal().FileKept(destination, job.FolderFinal);
                TFileOutcome outcome = TFileOutcome::Written;
                std::string waiting;
                // Until the file reads as the publisher made it, or the user gives up.
                while (!same &&
                       (outcome = InstallFile(
                            job, [this]() -> const TLz32& { return Library(); }, &waiting)) == TFileOutcome::Damaged) {
                    if (!m_sink.RetryDamaged(list.In[i])) throw Exception(DamagedFileText(list.In[i]));
                    NeedSource(source);
                }
                if (job.Digest && outcome != TFileOutcome::Left) m_log.Add(TLogKind::Checked, list.In[i]);
                if (outcome == TFileOutcome::Kept) {
                    m_log.Add(TLogKind::Kept, list.Out[i]);
                    m_sink.FileKept(destination);
                } else if (outcome == TFileOutcome::AtRestart) {
                    m_log.Add(TLogKind::AtRestart, destination);
                    m_log.Journal().FileWaiting(waiting);
                    m_restartNeeded = true;
                    m_sink.FileReplacedAtRestart(destination);
                }
            } catch (...) {
                // The next run starts at this file: after a disk change, or once the cause is fixed.
                m_resume.Position = i;
                m_resume.SystemFiles = list.SystemFiles;
                throw;
            }
            m_advance();
            m_sink.FileDone();
        }
    }

private:
    // A source missing from the disk in the drive: the next disk is wanted.
    WIN32_FILE_ATTRIBUTE_DATA NeedSource(const std::string& source) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (GetFileAttributesExA(source.c_str(), GetFileExInfoStandard, &data) &&
            !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return data;
        m_missingSource = source;
        throw ENoFile();
    }

    bool IsMadeByRun(const std::string& folder) const {
        return std::ranges::find(m_madeFolders, folder) != m_madeFolders.end();
    }

    const TLz32& Library() {
        if (!m_lz32) m_lz32 = std::make_unique<TLz32>();
        return *m_lz32;
    }

    const TInstructions& m_instructions;
    TCopyResume& m_resume;
    TInstallLogWriter& m_log;
    std::function<void()> m_advance;
    TInstallSink& m_sink;
    std::string& m_missingSource;
    bool& m_restartNeeded;
    const std::vector<std::string>& m_madeFolders;  // spelled as the run made them
    std::unique_ptr<TLz32> m_lz32;
};

}  // namespace

void TInstallation::UndoRun(TRunJournal& journal, TInstallSink& sink) {
    if (!m_undoOnFailure || journal.Empty()) return;
    journal.Release();
    // Another run starts afresh: nothing of this one stays.
    m_conv.Close();
    m_resume = TCopyResume{};
    m_restartNeeded = false;
    struct TToSink final : TUndoReport {
        explicit TToSink(TInstallSink& sink) : Sink(sink) {}
        void Step(const std::string& item) override { Sink.Undone(item); }
        void Leave(const std::string& what, const std::string& why) override { Sink.NotUndone(what, why); }
        TInstallSink& Sink;
    } report(sink);
    journal.Undo(report);
    sink.RolledBack();
}

void TInstallation::SetProgress(int position, TInstallSink& sink) {
    m_position = std::clamp(position, 0, 100);
    sink.Progress(m_position);
}

void TInstallation::AddToProgress(int amount, TInstallSink& sink) {
    // The bar's position is a 16-bit whole number.
    SetProgress(static_cast<std::int16_t>(m_position + amount), sink);
}

void TInstallation::Run(const std::string& typedDestination, const TUserAnswers& answers, TInstallSink& sink) {
    const TRunEnd runEnd(sink);
    // Every run keeps what it overwrites until it completes: an unattended one to undo a failure, any other
    // for the uninstaller to put back should the run be cut off.
    TRunJournal journal(m_beforeEachChange,
                        [&sink](const std::string& path, const std::string& copy) { sink.OldCopyKept(path, copy); });
    journal.SetUndoes(m_undoOnFailure);
    const TInstructions& instructions = m_instructions;
    m_lastRunFailed = true;
    std::string missingSource;

    try {
        // Without it the uninstall entry would be written onto the system's list of entries itself.
        if (instructions.Application.empty()) throw Exception(kNoApplicationName);
        // From here on the one spelling: the log, the seal, the entry, the record and the items all name it.
        const std::string destination = CheckDestination(instructions, typedDestination);
        const std::string windowsDir = WindowsDirectory();
        const TFileList lists[2] = {
            {instructions.SysFilesIn, instructions.SysFilesOut, instructions.SysFilesOutValues, windowsDir, true},
            {instructions.FilesIn, instructions.FilesOut, instructions.FilesOutValues, destination, false},
        };
        CheckPathLengths(instructions, destination, lists);
        CheckLength(UninstallRecordPath(destination));  // else all is installed but the record cannot be written
        if (!SamePath(m_resume.Destination, destination)) {
            // Files before a position reached on another destination are not on this one yet.
            if (!m_resume.Destination.empty()) SetProgress(0, sink);
            m_resume = TCopyResume{0, true, destination};
        }

        CheckRoom(instructions, destination, windowsDir, m_resume);
        sink.RunStarted();

        std::vector<std::string> created, madeFolders;
        CreateDirectoryPath(destination, created, journal);
        const std::string destinationFinal = FinalPathOf(destination);
        TInstallLogWriter log(destination, instructions.Application, journal);  // lives in the destination
        journal.AlsoReport([&log](const std::string& path, const std::string& copy) {
            log.AddEntry({TLogKind::Saved, false, "", path, copy});
        });
        auto noteCreated = [&] {
            for (const std::string& directory : created) {
                madeFolders.push_back(directory);
                log.Add(TLogKind::Directory, directory);
                sink.DirectoryCreated(directory);
            }
        };
        noteCreated();
        for (int i = 0; i < instructions.Dirs.Count(); ++i) {
            created.clear();
            CreateDirectoryPath(DirectoryPath(instructions, destination, i), created, journal);
            RefuseMadeThroughLink(created, destination, destinationFinal);
            noteCreated();
        }

        TCopyResume& resume = m_resume;
        if (resume.Part == TCopyPart::Files) {
            TFileCopier copier(
                instructions, resume, log, [&] { AddToProgress(instructions.ProgressStep, sink); }, sink, missingSource,
                m_restartNeeded, madeFolders);
            const TCopyResume start = resume;
            if (start.SystemFiles) copier.CopyList(lists[0], start.Position);
            copier.CopyList(lists[1], start.SystemFiles ? 0 : start.Position);
            AddToProgress(instructions.ProgressStep, sink);
            resume.Part = TCopyPart::Group;
        }
        if (resume.Part == TCopyPart::Group) {
            const bool groupExisted = !ProgramGroupFolder(instructions.ProgGroup).empty();
            log.Add(TLogKind::Group, instructions.ProgGroup, groupExisted);
            std::vector<std::string> items(instructions.ItemsValues.begin(), instructions.ItemsValues.end());
            items.push_back(UninstallItemTitle(instructions.Application));
            for (const std::string& title : items) log.Add(TLogKind::Item, title);
            journal.GroupSent({instructions.ProgGroup, !groupExisted, items});
            const std::vector<bool> accepted = CreateProgramGroup(m_conv, instructions, destination, windowsDir);
            sink.GroupSent(instructions.ProgGroup, items, accepted);
            resume.Part = TCopyPart::Registry;
        }
        if (resume.Part == TCopyPart::Registry) {
            UpdateRegistry(instructions, answers, destination, resume.CountersRaised, log, sink);
            AddToProgress(1, sink);
            resume.Part = TCopyPart::AddOns;
        }
        StartAddOns(sink, instructions, resume.AddOnsHandled);

        if (m_position < 100) SetProgress(100, sink);
        log.Add(TLogKind::RunEnd, instructions.Application);
        journal.Release();
        m_conv.Close();
        resume = TCopyResume{0, resume.SystemFiles, destination};  // whole: a later run is another installation
        m_lastRunFailed = false;
        sink.Done();
    } catch (const ENoFile&) {
        m_lastRunFailed = false;
        sink.NeedDisk(missingSource);
        UndoRun(journal, sink);
    } catch (const std::exception& error) {
        sink.StepFailed(error.what());
        UndoRun(journal, sink);
        throw;
    }
}

}  // namespace quenby

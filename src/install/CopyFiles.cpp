#include "install/CopyFiles.h"

#include <cstdint>
#include <memory>

#include "win/Lz32.h"
#include "win/Pause.h"
#include "win/SystemText.h"
#include "install/InstallLogWriter.h"
#include "install/UninstallRecord.h"
#include "install/UpdateRegistry.h"
#include "base/DestinationRule.h"
#include "base/Errors.h"
#include "base/PathLabel.h"
#include "base/Texts.h"
#include "win/ProgramsFolder.h"

namespace quenby {

namespace {

constexpr unsigned kPauseAfterFile = 500;
constexpr unsigned kPauseAfterRun = 1000;

// Pause, foreground and cursor, however the run ends.
class TClosingActions {
public:
    explicit TClosingActions(TInstallHost& host) : m_host(host) {}
    TClosingActions(const TClosingActions&) = delete;
    TClosingActions& operator=(const TClosingActions&) = delete;
    ~TClosingActions() {
        try {
            Pause(kPauseAfterRun);
            SetForegroundWindow(m_host.Window());
            m_host.SetBusyCursor(false);
        } catch (...) {
            // Nothing may leave a destructor; the run's own outcome is what counts.
        }
    }

private:
    TInstallHost& m_host;
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

bool IsDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A folder of the source's name is not the file: the disk in the drive is the wrong one.
bool IsFile(const std::string& path) { return Exists(path) && !IsDirectory(path); }

// One folder, whatever the letter case of its name.
bool SameFolder(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

// Creates the directory and every missing parent; a root or an existing directory is left alone.
// Each directory made is added to `created`, outermost first.
void CreateDirectoryPath(std::string directory, std::vector<std::string>& created) {
    if (!directory.empty() && directory.back() == '\\') directory.pop_back();
    if (directory.size() <= 2 || IsDirectory(directory)) return;
    const auto parentEnd = directory.find_last_of("\\:");
    if (parentEnd != std::string::npos) CreateDirectoryPath(directory.substr(0, parentEnd + 1), created);
    if (!CreateDirectoryA(directory.c_str(), nullptr)) {
        const DWORD error = GetLastError();
        if (!IsDirectory(directory))
            throw Exception(CannotCreateDirectoryText(directory, SystemErrorText(error)));
        return;
    }
    created.push_back(directory);
}

std::string DirectoryPath(const TInstructions& instructions, const std::string& destination, int i) {
    return instructions.DirsValues[i] == "0" ? destination + "\\" + instructions.Dirs[i] : instructions.Dirs[i];
}

// Every path the run would hand to the platform, checked before anything is changed. Pairs without a
// destination entry are left to the copy loop, whose lookup raises the list error.
void CheckPathLengths(const TInstructions& instructions, const std::string& destination,
                      const TFileList (&lists)[2]) {
    for (int i = 0; i < instructions.Dirs.Count(); ++i) CheckLength(DirectoryPath(instructions, destination, i));
    for (const TFileList& list : lists)
        for (int i = 0; i < list.In.Count() && i < list.Out.Count(); ++i) {
            CheckLength(instructions.SourceDir + list.In[i]);
            CheckLength(list.TargetDir + "\\" + list.Out[i]);
        }
}

// Plain copy under the replace value: "0" replaces an existing file, anything else keeps it.
void CopyPlain(const std::string& source, const std::string& destination, const std::string& replace) {
    const bool keepExisting = replace != "0";
    const bool existed = Exists(destination);
    if (CopyFileA(source.c_str(), destination.c_str(), keepExisting)) return;
    const DWORD error = GetLastError();
    if (keepExisting && existed && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)) return;
    if (!existed) DeleteFileA(destination.c_str());  // a cut-off file would be kept by the next run
    throw Exception(CannotCopyText(source, destination, SystemErrorText(error)));
}

void AddToProgress(TInstallHost& host, int amount) {
    // The bar's position is a 16-bit whole number.
    host.SetProgressPosition(static_cast<std::int16_t>(host.ProgressPosition() + amount));
}

class TFileCopier {
public:
    TFileCopier(TInstallHost& host, TInstallLogWriter& log)
        : m_host(host), m_instructions(host.Instructions()), m_log(log) {}

    void CopyList(const TFileList& list, int start) {
        for (int i = start; i < list.In.Count(); ++i) {
            LookAtQueue();
            const std::string source = m_instructions.SourceDir + list.In[i];
            const std::string destination = list.TargetDir + "\\" + list.Out[i];
            const std::string& replace = list.Replace[i];
            m_host.SetSourceText(PathLabel(source));
            m_host.SetDestinationText(PathLabel(destination));
            try {
                if (!IsFile(source)) throw ENoFile();
                if (list.SystemFiles)
                    m_log.Add(TLogKind::SystemFile, list.Out[i], Exists(destination));
                else
                    m_log.Add(TLogKind::File, destination, Exists(destination));
                if (m_instructions.Expand)
                    Library().Expand(source, destination);
                else
                    CopyPlain(source, destination, replace);
            } catch (...) {
                // The next run starts at this file: after a disk change, or once the cause is fixed.
                m_host.Resume().Position = i;
                m_host.Resume().SystemFiles = list.SystemFiles;
                throw;
            }
            AddToProgress(m_host, m_instructions.ProgressStep);
            Pause(kPauseAfterFile);
        }
    }

private:
    const TLz32& Library() {
        if (!m_lz32) m_lz32 = std::make_unique<TLz32>();
        return *m_lz32;
    }

    TInstallHost& m_host;
    const TInstructions& m_instructions;
    TInstallLogWriter& m_log;
    std::unique_ptr<TLz32> m_lz32;
};

}  // namespace

void CopyFiles(TInstallHost& host) {
    TClosingActions closingActions(host);
    const TInstructions& instructions = host.Instructions();

    // Without it the uninstall entry would be written onto the system's list of entries itself.
    if (instructions.Application.empty()) throw Exception(kNoApplicationName);
    const std::string destination = host.DestinationPath();
    if (destination.size() > kMaxPathLength) throw Exception(PathTooLongText(destination));
    if (!IsFullDirectoryPath(destination)) throw Exception(InvalidDestinationText(destination));
    const std::string windowsDir = WindowsDirectory();
    const TFileList lists[2] = {
        {instructions.SysFilesIn, instructions.SysFilesOut, instructions.SysFilesOutValues, windowsDir, true},
        {instructions.FilesIn, instructions.FilesOut, instructions.FilesOutValues, destination, false},
    };
    CheckPathLengths(instructions, destination, lists);
    CheckLength(UninstallRecordPath(destination));  // else all is installed but the record cannot be written
    if (!SameFolder(host.Resume().Destination, destination)) {
        // Files before a position reached on another destination are not on this one yet.
        if (!host.Resume().Destination.empty()) host.SetProgressPosition(0);
        host.Resume() = TCopyResume{0, true, destination};
    }

    host.HideDestinationPanel();
    host.SetInfoText(CopyingInfo(instructions.Application, instructions.Version));
    host.ShowProgressPanel();
    host.SetProgressText("");

    try {
        host.SetBusyCursor(true);
        std::vector<std::string> created;
        CreateDirectoryPath(destination, created);
        TInstallLogWriter log(destination, instructions.Application);  // lives in the destination
        for (const std::string& directory : created) log.Add(TLogKind::Directory, directory);
        for (int i = 0; i < instructions.Dirs.Count(); ++i) {
            created.clear();
            CreateDirectoryPath(DirectoryPath(instructions, destination, i), created);
            for (const std::string& directory : created) log.Add(TLogKind::Directory, directory);
        }

        TCopyResume& resume = host.Resume();
        if (resume.Part == TCopyPart::Files) {
            TFileCopier copier(host, log);
            const TCopyResume start = resume;
            if (start.SystemFiles) copier.CopyList(lists[0], start.Position);
            copier.CopyList(lists[1], start.SystemFiles ? 0 : start.Position);
            AddToProgress(host, instructions.ProgressStep);
            resume.Part = TCopyPart::Group;
        }
        if (resume.Part == TCopyPart::Group) {
            log.Add(TLogKind::Group, instructions.ProgGroup, !ProgramGroupFolder(instructions.ProgGroup).empty());
            for (const std::string& title : instructions.ItemsValues) log.Add(TLogKind::Item, title);
            log.Add(TLogKind::Item, "Uninstall " + instructions.Application);
            host.RunProgramGroupStep(destination, windowsDir);
            resume.Part = TCopyPart::Registry;
        }
        if (resume.Part == TCopyPart::Registry) {
            UpdateRegistry(host, destination, &log);
            resume.Part = TCopyPart::AddOns;
        }
        host.RunAddOnsStep();

        if (host.ProgressPosition() < 100) host.SetProgressPosition(100);
        host.SetInfoText(InstalledInfo(instructions.Application, instructions.Version));
        host.CloseConversation();
        host.SetWizardState(kStateInstalled);
        host.SetPrevEnabled(false);
        resume = TCopyResume{0, resume.SystemFiles, destination};  // whole: a later run is another installation
    } catch (const ENoFile&) {
        MessageBeep(MB_ICONEXCLAMATION);
        host.SetProgressText(kDiskPrompt);
    }
}

}  // namespace quenby

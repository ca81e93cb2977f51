#include "uninstall/Uninstaller.h"

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "base/InstallLog.h"
#include "base/InstallRecord.h"
#include "base/ProgmanMacros.h"
#include "base/Texts.h"
#include "uninstall/ProgressForm.h"
#include "win/DdeClientConv.h"
#include "win/FileSystem.h"
#include "win/NoticeFile.h"
#include "win/ProgramsFolder.h"
#include "win/SystemText.h"
#include "win/profile.h"

namespace quenby {

namespace {

constexpr unsigned kDdeTimeout = 5000;

bool IsGone(LONG error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

HKEY RootKey(const std::string& root) { return root == "HKLM" ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

// An existing key below the root; none when it is missing or refused.
std::unique_ptr<TRegistryKey> OpenKey(HKEY root, const std::string& path, REGSAM access) {
    auto key = std::make_unique<TRegistryKey>();
    key->SetRoot(root);
    if (!key->OpenExistingKey("\\" + path, access)) key.reset();
    return key;
}

class TRun {
public:
    TRun(const std::string& destination, const TUninstallPlan& plan, TUninstallForm& form, bool quiet)
        : m_destination(destination), m_plan(plan), m_form(form), m_windowsDir(WindowsDirectory()), m_quiet(quiet) {}

    void Undo() {
        LowerCounters();
        for (const std::string& name : m_plan.UninstallEntries) RemoveUninstallEntry(name);
        for (const TRegistryName& value : m_plan.Values) RemoveValue(value);
        for (const TRegistryName& key : m_plan.Keys) RemoveKey(key);
        RemoveProgramItems();
        for (const std::string& file : m_plan.Files) RemoveFile(file);
        RemoveFile(InstallLogPath(m_destination));
        RemoveFile(UninstallRecordPath(m_destination));
        for (const std::string& directory : m_plan.Directories) RemoveFolder(directory);
        if (Exists(m_destination)) RemoveFolder(m_destination);
    }

    const std::vector<std::string>& Left() const { return m_left; }

private:
    void Step(const std::string& item) {
        const std::size_t total = m_plan.Counters.size() + m_plan.UninstallEntries.size() + m_plan.Values.size() +
                                  m_plan.Keys.size() + m_plan.Groups.size() + m_plan.Files.size() +
                                  m_plan.Directories.size() + 3;
        m_form.ShowStep(item, static_cast<int>(std::min<std::size_t>(100, 100 * ++m_done / total)));
    }

    void Leave(const std::string& what, const std::string& why) { m_left.push_back(what + ": " + why); }

    // Each raise lowered by one; a file whose counter reaches zero (or a file a cut-off run wrote and
    // never counted) is offered for removal.
    void LowerCounters() {
        std::vector<std::string> unused;
        for (const std::string& name : m_plan.Counters) {
            Step(name);
            const auto key = OpenKey(HKEY_CURRENT_USER, kCountersKey, KEY_QUERY_VALUE | KEY_SET_VALUE);
            if (!key || !key->ValueExists(name)) continue;  // already gone: nothing counts on the file through it
            std::string text;
            try {
                text = key->ReadValueText(name);
            } catch (const ERegistryException&) {
                // not text: left as no number below
            }
            char* end = nullptr;
            const long count = std::strtol(text.c_str(), &end, 10);
            if (text.empty() || *end != '\0') {
                Leave("HKCU\\" + std::string(kCountersKey) + "\\" + name, kLeftNotNumber);
                continue;
            }
            if (count > 1) {
                key->WriteValueText(name, std::to_string(count - 1));
                continue;
            }
            key->DeleteValue(name);
            unused.push_back(name);
        }
        for (const std::string& name : m_plan.OrphanSystemFiles) {
            const auto key = OpenKey(HKEY_CURRENT_USER, kCountersKey, KEY_QUERY_VALUE);
            if (!key || !key->ValueExists(name)) unused.push_back(name);
        }
        for (const std::string& name : unused) OfferSharedFile(m_windowsDir + "\\" + name);
    }

    void OfferSharedFile(const std::string& path) {
        if (!Exists(path)) return;
        // Quiet, the question's default answer: keep the file.
        if (m_quiet || MessageBoxA(m_form.Handle(), RemoveSharedFileText(path).c_str(), kSharedCaption,
                                   MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
            Leave(path, kLeftKept);
            return;
        }
        Step(path);
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        if (SamePath(self, path) && !DeleteFileA(path.c_str())) {
            // A running program's file cannot go while it runs.
            if (MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
                Leave(path, kLeftSelf);
            else
                Leave(path, SystemErrorText(GetLastError()));
            return;
        }
        RemoveFile(path);
    }

    // Only while the entry still names this installation's uninstall command.
    void RemoveUninstallEntry(const std::string& name) {
        const std::string path = UninstallEntryKey(name);
        Step("HKLM\\" + path);
        const auto key = OpenKey(HKEY_LOCAL_MACHINE, path, KEY_QUERY_VALUE | KEY_SET_VALUE);
        if (!key) return;
        std::string command;
        try {
            command = key->ReadValueText("UninstallString");
        } catch (const ERegistryException&) {
            // not text: not ours
        }
        if (!SamePath(command, UninstallCommand(m_windowsDir, m_destination))) {
            Leave("HKLM\\" + path, kLeftOtherInstallation);
            m_foreignKeys.push_back(path);
            return;
        }
        key->DeleteValue("DisplayName");
        key->DeleteValue("UninstallString");
    }

    bool IsForeign(const TRegistryName& name) const {
        for (const std::string& key : m_foreignKeys)
            if (name.Root == "HKLM" && SamePath(name.Key, key)) return true;
        return false;
    }

    void RemoveValue(const TRegistryName& value) {
        if (IsForeign(value)) return;
        Step(value.Root + "\\" + value.Key + "\\" + value.Name);
        const auto key = OpenKey(RootKey(value.Root), value.Key, KEY_SET_VALUE);
        if (!key) return;
        const LONG result = key->DeleteValue(value.Name);
        if (result != ERROR_SUCCESS && !IsGone(result))
            Leave(value.Root + "\\" + value.Key + "\\" + value.Name, SystemErrorText(static_cast<DWORD>(result)));
    }

    void RemoveKey(const TRegistryName& name) {
        if (IsForeign(name)) return;
        const std::string shown = name.Root + "\\" + name.Key;
        Step(shown);
        const auto key = OpenKey(RootKey(name.Root), name.Key, KEY_READ);
        if (!key) return;
        if (!key->IsEmpty()) {
            Leave(shown, kLeftNotEmpty);
            return;
        }
        const LONG result = TRegistryKey::DeleteKey(RootKey(name.Root), name.Key);
        if (result != ERROR_SUCCESS && !IsGone(result)) Leave(shown, SystemErrorText(static_cast<DWORD>(result)));
    }

    // A group the installation created that holds only its items goes whole; otherwise its items go one by
    // one (Program Manager deletes them from the current group, which showing it makes current) and the
    // group once nothing else is in it.
    void RemoveProgramItems() {
        if (m_plan.Groups.empty()) return;
        TDdeClientConv progman;
        progman.Open();
        for (const TGroupUndo& group : m_plan.Groups) {
            Step(group.Name);
            if (!progman.IsOpen()) {
                Leave(group.Name, kLeftNoProgman);
                continue;
            }
            const std::string folder = ProgramGroupFolder(group.Name);
            if (group.Created && !folder.empty() && HoldsOnly(folder, group.Items)) {
                progman.ExecuteMacro(DeleteGroupMacro(group.Name), kDdeTimeout);
                continue;
            }
            progman.ExecuteMacro(ShowGroupMacro(group.Name), kDdeTimeout);
            // An item that is gone already, or that Program Manager never took, is refused: nothing is left.
            for (const std::string& title : group.Items) progman.ExecuteMacro(DeleteItemMacro(title), kDdeTimeout);
            if (!group.Created) continue;
            if (!folder.empty() && FolderEntries(folder).empty())
                progman.ExecuteMacro(DeleteGroupMacro(group.Name), kDdeTimeout);
            else
                Leave(folder.empty() ? group.Name : folder, kLeftNotEmpty);
        }
        progman.Close();
    }

    // Program Manager keeps an item as its title with ".lnk".
    static bool HoldsOnly(const std::string& folder, const std::vector<std::string>& titles) {
        for (const std::string& entry : FolderEntries(folder)) {
            bool ours = false;
            for (const std::string& title : titles) ours = ours || SamePath(entry, title + ".lnk");
            if (!ours) return false;
        }
        return true;
    }

    void RemoveFile(const std::string& path) {
        Step(path);
        if (DeleteFileA(path.c_str())) return;
        const DWORD error = GetLastError();
        if (!IsGone(static_cast<LONG>(error))) Leave(path, SystemErrorText(error));
    }

    void RemoveFolder(const std::string& path) {
        Step(path);
        if (RemoveDirectoryA(path.c_str())) return;
        const DWORD error = GetLastError();
        if (IsGone(static_cast<LONG>(error))) return;
        Leave(path, error == ERROR_DIR_NOT_EMPTY ? kLeftNotEmpty : SystemErrorText(error));
    }

    const std::string& m_destination;
    const TUninstallPlan& m_plan;
    TUninstallForm& m_form;
    const std::string m_windowsDir;
    const bool m_quiet;
    std::vector<std::string> m_left;
    std::vector<std::string> m_foreignKeys;
    std::size_t m_done = 0;
};

}  // namespace

TUninstallResult RunUninstaller(const std::string& commandLine) {
    const std::string destination = DestinationFromCommandLine(commandLine);
    const bool quiet = QuietRemovalRequested(commandLine);
    const std::string logPath = InstallLogPath(destination);
    if (destination.empty() || !Exists(logPath)) {
        if (!quiet) MessageBoxA(nullptr, NoLogText(destination).c_str(), kNoLogCaption, MB_ICONERROR | MB_OK);
        return kNothingRemoved;
    }
    TUninstallPlan plan;
    try {
        plan = PlanUninstall(ParseLog(ReadWholeFile(logPath)), destination);
    } catch (const ELogRefused& refused) {
        if (!quiet)
            MessageBoxA(nullptr, LogRefusedText(destination, refused.what()).c_str(), kUninstallTitle,
                        MB_ICONERROR | MB_OK);
        return kNothingRemoved;
    }

    std::string displayName =
        TProfileFile(UninstallRecordPath(destination)).ReadText(kRecordUninstallSection, "DisplayName", "");
    if (displayName.empty()) displayName = plan.Application.empty() ? destination : plan.Application;
    if (!quiet && MessageBoxA(nullptr, ConfirmRemovalText(displayName).c_str(), kUninstallTitle,
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return kDeclined;

    auto form = std::make_unique<TUninstallForm>(displayName);
    TRun run(destination, plan, *form, quiet);
    run.Undo();
    form.reset();

    std::string text = RemovedText(displayName);
    if (!run.Left().empty()) {
        text += std::string("\r\n\r\n") + kLeftHeading;
        for (const std::string& left : run.Left()) text += "\r\n" + left;
    }
    if (!quiet) MessageBoxA(nullptr, text.c_str(), kUninstallTitle, MB_ICONINFORMATION | MB_OK);
    return kRemoved;
}

}  // namespace quenby

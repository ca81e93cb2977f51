#include "uninstall/Uninstaller.h"

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "base/InstallLog.h"
#include "base/ProgmanMacros.h"
#include "install/UninstallRecord.h"
#include "uninstall/ProgressForm.h"
#include "base/Texts.h"
#include "win/DdeClientConv.h"
#include "win/NoticeFile.h"
#include "win/ProgramsFolder.h"
#include "win/SystemText.h"
#include "win/profile.h"

namespace quenby {

namespace {

constexpr char kCountersKey[] = "Software\\Norvale\\Uninstall\\Counters";
constexpr char kUninstallKeys[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr unsigned kDdeTimeout = 5000;

std::string Fill(const char* text, const std::string& a, const std::string& b = "") {
    std::string out = text;
    for (const std::string* arg : {&a, &b}) {
        const std::size_t at = out.find("%s");
        if (at == std::string::npos) break;
        out.replace(at, 2, *arg);
    }
    return out;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsGone(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

HKEY RootKey(const std::string& root) { return root == "HKLM" ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

TRegKey OpenKey(HKEY root, const std::string& path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return {};
    return TRegKey(key);
}

std::string ReadText(HKEY key, const char* name) {
    char buffer[1024] = {};
    DWORD size = sizeof buffer - 1, type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return buffer;
}

bool SameTextNoCase(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

class TRun {
public:
    TRun(const std::string& destination, const TUninstallPlan& plan, TUninstallForm& form)
        : m_destination(destination), m_plan(plan), m_form(form), m_windowsDir(WindowsDirectory()) {}

    void Undo() {
        LowerCounters();
        for (const std::string& name : m_plan.UninstallEntries) RemoveUninstallEntry(name);
        for (const TRegistryName& value : m_plan.Values) RemoveValue(value);
        for (const TRegistryName& key : m_plan.Keys) RemoveKey(key);
        RemoveProgramItems();
        for (const std::string& file : m_plan.Files) RemoveFile(file);
        RemoveFile(m_destination + "\\" + kInstallLogName);
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
            TRegKey key = OpenKey(HKEY_CURRENT_USER, kCountersKey, KEY_QUERY_VALUE | KEY_SET_VALUE);
            DWORD type = 0;
            if (!key || RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
                continue;  // already gone: nothing counts on the file through it
            const std::string text = ReadText(key.Get(), name.c_str());
            char* end = nullptr;
            const long count = std::strtol(text.c_str(), &end, 10);
            if (text.empty() || *end != '\0') {
                Leave("HKCU\\" + std::string(kCountersKey) + "\\" + name, kLeftNotNumber);
                continue;
            }
            if (count > 1) {
                const std::string lowered = std::to_string(count - 1);
                RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(lowered.c_str()),
                               static_cast<DWORD>(lowered.size() + 1));
                continue;
            }
            RegDeleteValueA(key.Get(), name.c_str());
            unused.push_back(name);
        }
        for (const std::string& name : m_plan.OrphanSystemFiles) {
            TRegKey key = OpenKey(HKEY_CURRENT_USER, kCountersKey, KEY_QUERY_VALUE);
            if (!key || RegQueryValueExA(key.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                unused.push_back(name);
        }
        for (const std::string& name : unused) OfferSharedFile(m_windowsDir + "\\" + name);
    }

    void OfferSharedFile(const std::string& path) {
        if (!Exists(path)) return;
        if (MessageBoxA(m_form.Handle(), Fill(kSharedText, path).c_str(), kSharedCaption,
                        MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
            Leave(path, kLeftKept);
            return;
        }
        Step(path);
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        if (SameTextNoCase(self, path) && !DeleteFileA(path.c_str())) {
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
        const std::string path = kUninstallKeys + name;
        Step("HKLM\\" + path);
        TRegKey key = OpenKey(HKEY_LOCAL_MACHINE, path, KEY_QUERY_VALUE | KEY_SET_VALUE);
        if (!key) return;
        const std::string command = m_windowsDir + "\\Uninstall.exe " + m_destination;
        if (!SameTextNoCase(ReadText(key.Get(), "UninstallString"), command)) {
            Leave("HKLM\\" + path, kLeftOtherInstallation);
            m_foreignKeys.push_back(path);
            return;
        }
        RegDeleteValueA(key.Get(), "DisplayName");
        RegDeleteValueA(key.Get(), "UninstallString");
    }

    bool IsForeign(const TRegistryName& name) const {
        for (const std::string& key : m_foreignKeys)
            if (name.Root == "HKLM" && SameTextNoCase(name.Key, key)) return true;
        return false;
    }

    void RemoveValue(const TRegistryName& value) {
        if (IsForeign(value)) return;
        Step(value.Root + "\\" + value.Key + "\\" + value.Name);
        TRegKey key = OpenKey(RootKey(value.Root), value.Key, KEY_SET_VALUE);
        if (!key) return;
        const LONG result = RegDeleteValueA(key.Get(), value.Name.c_str());
        if (result != ERROR_SUCCESS && !IsGone(static_cast<DWORD>(result)))
            Leave(value.Root + "\\" + value.Key + "\\" + value.Name, SystemErrorText(static_cast<DWORD>(result)));
    }

    void RemoveKey(const TRegistryName& name) {
        if (IsForeign(name)) return;
        const std::string shown = name.Root + "\\" + name.Key;
        Step(shown);
        TRegKey key = OpenKey(RootKey(name.Root), name.Key, KEY_READ);
        if (!key) return;
        DWORD subkeys = 0, values = 0;
        RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr);
        key.Reset();
        if (subkeys || values) {
            Leave(shown, kLeftNotEmpty);
            return;
        }
        const LONG result = RegDeleteKeyA(RootKey(name.Root), name.Key.c_str());
        if (result != ERROR_SUCCESS && !IsGone(static_cast<DWORD>(result)))
            Leave(shown, SystemErrorText(static_cast<DWORD>(result)));
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
            for (const std::string& title : titles) ours = ours || SameTextNoCase(entry, title + ".lnk");
            if (!ours) return false;
        }
        return true;
    }

    void RemoveFile(const std::string& path) {
        Step(path);
        if (DeleteFileA(path.c_str())) return;
        const DWORD error = GetLastError();
        if (!IsGone(error)) Leave(path, SystemErrorText(error));
    }

    void RemoveFolder(const std::string& path) {
        Step(path);
        if (RemoveDirectoryA(path.c_str())) return;
        const DWORD error = GetLastError();
        if (IsGone(error)) return;
        Leave(path, error == ERROR_DIR_NOT_EMPTY ? kLeftNotEmpty : SystemErrorText(error));
    }

    const std::string& m_destination;
    const TUninstallPlan& m_plan;
    TUninstallForm& m_form;
    const std::string m_windowsDir;
    std::vector<std::string> m_left;
    std::vector<std::string> m_foreignKeys;
    std::size_t m_done = 0;
};

}  // namespace

TUninstallResult RunUninstaller(const std::string& commandLine) {
    const std::string destination = DestinationFromCommandLine(commandLine);
    const std::string logPath = destination + "\\" + kInstallLogName;
    if (destination.empty() || !Exists(logPath)) {
        MessageBoxA(nullptr, Fill(kNoLogText, destination).c_str(), kNoLogCaption, MB_ICONERROR | MB_OK);
        return kNothingRemoved;
    }
    TUninstallPlan plan;
    try {
        plan = PlanUninstall(ParseLog(ReadWholeFile(logPath)), destination);
    } catch (const ELogRefused& refused) {
        MessageBoxA(nullptr, Fill(kRefusedText, destination, refused.what()).c_str(), kUninstallTitle,
                    MB_ICONERROR | MB_OK);
        return kNothingRemoved;
    }

    std::string displayName =
        TProfileFile(UninstallRecordPath(destination)).ReadText(kRecordUninstallSection, "DisplayName", "");
    if (displayName.empty()) displayName = plan.Application.empty() ? destination : plan.Application;
    if (MessageBoxA(nullptr, Fill(kConfirmText, displayName).c_str(), kUninstallTitle,
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return kDeclined;

    auto form = std::make_unique<TUninstallForm>(displayName);
    TRun run(destination, plan, *form);
    run.Undo();
    form.reset();

    std::string text = Fill(kRemovedText, displayName);
    if (!run.Left().empty()) {
        text += std::string("\r\n\r\n") + kLeftHeading;
        for (const std::string& left : run.Left()) text += "\r\n" + left;
    }
    MessageBoxA(nullptr, text.c_str(), kUninstallTitle, MB_ICONINFORMATION | MB_OK);
    return kRemoved;
}

}  // namespace quenby

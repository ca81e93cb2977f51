#include "uninstall/Uninstaller.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "base/InstallLog.h"
#include "base/InstallRecord.h"
#include "base/NumberRule.h"
#include "base/Texts.h"
#include "undo/ProgramItems.h"
#include "undo/SealedLog.h"
#include "undo/UndoReport.h"
#include "uninstall/ProgressForm.h"
#include "win/FileSystem.h"
#include "win/NoLinkRemoval.h"
#include "win/RegistryKey.h"
#include "win/SystemText.h"
#include "win/profile.h"

namespace quenby {

namespace {

std::string Shown(HKEY root, const std::string& path) { return RootWord(root) + ("\\" + path); }

class TRun final : public TUndoReport {
public:
    TRun(const std::string& destination, const TUninstallPlan& plan, TUninstallForm& form, const std::string& original,
         bool quiet)
        : m_original(original),
          m_destination(destination),
          m_destinationFinal(plan.DestinationFinal.empty() ? destination : plan.DestinationFinal),
          m_plan(plan),
          m_form(form),
          m_windowsDir(WindowsDirectory()),
          m_quiet(quiet) {}

    void Undo() {
        LowerCounters();
        for (const std::string& name : m_plan.UninstallEntries) RemoveUninstallEntry(name);
        for (const TRegistryName& value : m_plan.Values) RemoveValue(value);
        for (const TRegistryName& key : m_plan.Keys) RemoveKey(key);
        RemoveProgramItems(m_plan.Groups, *this);
        for (const std::string& file : m_plan.Files) RemoveFile(file);
        RemoveFile(InstallLogPath(m_destination));
        RemoveFile(UninstallRecordPath(m_destination));
        for (const std::string& directory : m_plan.Directories) RemoveFolder(directory);
        if (Exists(m_destination)) RemoveFolder(m_destination);
        // Kept while the log is: a rerun for what was left needs it.
        if (!Exists(InstallLogPath(m_destination))) DeleteLogSeal(m_destination);
    }

    const std::vector<std::string>& Left() const { return m_left; }
    bool RestartNeeded() const { return m_restartNeeded; }
    bool RemoveOriginal() const { return m_removeOriginal; }

    void Step(const std::string& item) override {
        const std::size_t total = m_plan.Counters.size() + m_plan.UninstallEntries.size() + m_plan.Values.size() +
                                  m_plan.Keys.size() + m_plan.Groups.size() + m_plan.Files.size() +
                                  m_plan.Directories.size() + 3;
        m_form.ShowStep(item, static_cast<int>(std::min<std::size_t>(100, 100 * ++m_done / total)));
    }

    void Leave(const std::string& what, const std::string& why) override { m_left.push_back(what + ": " + why); }

private:
    // Each raise lowered by one, once: the log records each lowering before it is made, so that a rerun
    // skips it (a run stopped in between leaves one count too many, never one too few).
    void LowerCounters() {
        std::unique_ptr<TSealedLog> progress;
        std::string noProgress;
        if (!m_plan.Counters.empty()) try {
                progress = std::make_unique<TSealedLog>(m_destination, false);
            } catch (const std::exception& error) {
                noProgress = error.what();
            }
        for (const std::string& name : m_plan.Counters) {
            Step(name);
            const std::string shown = Shown(HKEY_CURRENT_USER, kCountersKey) + "\\" + name;
            const auto key = TRegistryKey::Open(HKEY_CURRENT_USER, kCountersKey, KEY_QUERY_VALUE | KEY_SET_VALUE);
            if (!key || !key->ValueExists(name)) continue;  // already gone: nothing counts on the file through it
            std::optional<std::int32_t> count;
            try {
                count = ParseNumber(key->ReadText(name));
            } catch (const ERegistryException&) {
                // not text: no number
            }
            if (!count) {
                Leave(shown, kLeftNotNumber);
                continue;
            }
            try {
                if (progress) progress->Append(FormatLogLine({TLogKind::Lowered, false, "", name, ""}));
            } catch (const std::exception& error) {
                progress.reset();
                noProgress = error.what();
            }
            if (!progress) {
                Leave(shown, LeftNoProgressText(noProgress));
                continue;
            }
            if (*count > 1) {
                key->WriteText(name, std::to_string(*count - 1));
                continue;
            }
            LeaveOnError(shown, [&] { key->DeleteValue(name); });
        }
        // Offered when no product counts on it any more (also when an earlier, stopped run lowered its count
        // to zero), and only when the installation created it: a file that was there before (Windows' or
        // another vendor's) stays.
        const auto counters = TRegistryKey::Open(HKEY_CURRENT_USER, kCountersKey, KEY_QUERY_VALUE);
        for (const std::string& name : m_plan.NewSystemFiles)
            if (!counters || !counters->ValueExists(name)) OfferSharedFile(m_windowsDir + "\\" + name);
    }

    void OfferSharedFile(const std::string& path) {
        if (!Exists(path)) return;
        // Quiet, the question's default answer: keep the file.
        if (m_quiet || MessageBoxA(m_form.Handle(), RemoveSharedFileText(path).c_str(), kSharedCaption,
                                   MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
            Leave(path, kLeftKept);
            return;
        }
        // The Uninstall.exe that started this copy goes once it has ended.
        if (!m_original.empty() && SamePath(path, m_original)) {
            m_removeOriginal = true;
            return;
        }
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        RemoveFile(path, SamePath(self, path));
    }

    // Only while the entry still names this installation's uninstall command.
    void RemoveUninstallEntry(const std::string& name) {
        const std::string path = UninstallEntryKey(name);
        const std::string shown = Shown(HKEY_LOCAL_MACHINE, path);
        Step(shown);
        const auto key = TRegistryKey::Open(HKEY_LOCAL_MACHINE, path, KEY_READ);
        if (!key) return;
        // Emptied by an earlier removal that stopped before deleting the key: no other installation's.
        if (key->IsEmpty()) return LeaveOnError(shown, [&] { TRegistryKey::DeleteKey(HKEY_LOCAL_MACHINE, path); });
        std::string command;
        try {
            command = key->ReadText(kEntryUninstallString);
        } catch (const ERegistryException&) {
            // not text: not ours
        }
        if (!SamePath(command, UninstallCommand(m_windowsDir, m_destination))) {
            Leave(shown, kLeftOtherInstallation);
            m_foreignKeys.push_back(path);
            return;
        }
        // The whole entry, whatever the installation or others added to it.
        LeaveOnError(shown, [&] { TRegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, path); });
    }

    template <typename Action>
    void LeaveOnError(const std::string& what, Action action) {
        try {
            action();
        } catch (const ERegistryException& error) {
            Leave(what, error.what());
        }
    }

    bool IsForeign(const TRegistryName& name) const {
        for (const std::string& key : m_foreignKeys)
            if (RootOfWord(name.Root) == HKEY_LOCAL_MACHINE && SamePath(name.Key, key)) return true;
        return false;
    }

    void RemoveValue(const TRegistryName& value) {
        if (IsForeign(value)) return;
        Step(value.Root + "\\" + value.Key + "\\" + value.Name);
        const auto key = TRegistryKey::Open(RootOfWord(value.Root), value.Key, KEY_SET_VALUE);
        if (!key) return;
        LeaveOnError(value.Root + "\\" + value.Key + "\\" + value.Name, [&] { key->DeleteValue(value.Name); });
    }

    void RemoveKey(const TRegistryName& name) {
        if (IsForeign(name)) return;
        const std::string shown = name.Root + "\\" + name.Key;
        Step(shown);
        const auto key = TRegistryKey::Open(RootOfWord(name.Root), name.Key, KEY_READ);
        if (!key) return;
        if (!key->IsEmpty()) {
            Leave(shown, kLeftNotEmpty);
            return;
        }
        LeaveOnError(shown, [&] { TRegistryKey::DeleteKey(RootOfWord(name.Root), name.Key); });
    }

    // Where the item may really be: below the destination as it was at the installation, or the very path.
    bool IsWhereExpected(const std::string& path, const std::string& final) const {
        if (IsBelowPath(path, m_destination)) return IsBelowPath(final, m_destinationFinal);
        if (SamePath(path, m_destination)) return SamePath(final, m_destinationFinal);
        return SamePath(final, path);
    }

    // Empty when removed or gone; otherwise why it was left.
    std::string Remove(const std::string& path, bool self = false) {
        const TRemovalResult result =
            RemoveWithoutLinks(path, [&](const std::string& final) { return IsWhereExpected(path, final); });
        switch (result.Outcome) {
            case TRemoval::Removed:
            case TRemoval::Gone: return {};
            case TRemoval::ThroughLink: return kLeftThroughLink;
            case TRemoval::NotEmpty: return kLeftNotEmpty;
            case TRemoval::InUse:
            case TRemoval::Failed:
                if (!self && result.Outcome == TRemoval::Failed) return SystemErrorText(result.Error);
                // A running program's file, or one another program holds, goes at the next restart.
                if (!MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
                    return SystemErrorText(GetLastError());
                if (self) return kLeftSelf;
                m_restartNeeded = true;
                return kLeftInUse;
        }
        return {};
    }

    void RemoveFile(const std::string& path, bool self = false) {
        Step(path);
        const std::string why = Remove(path, self);
        if (!why.empty()) Leave(path, why);
    }

    void RemoveFolder(const std::string& path) { RemoveFile(path); }

    const std::string& m_original;
    const std::string& m_destination;
    const std::string m_destinationFinal;
    const TUninstallPlan& m_plan;
    TUninstallForm& m_form;
    const std::string m_windowsDir;
    const bool m_quiet;
    std::vector<std::string> m_left;
    std::vector<std::string> m_foreignKeys;
    std::size_t m_done = 0;
    bool m_restartNeeded = false;
    bool m_removeOriginal = false;
};

}  // namespace

TUninstallResult RunUninstaller(const std::string& commandLine, const std::string& original, bool& removeOriginal) {
    const std::string destination = DestinationFromCommandLine(commandLine);
    const bool quiet = QuietRemovalRequested(commandLine);
    const std::string logPath = InstallLogPath(destination);
    if (destination.empty() || !IsFile(logPath)) {
        if (!quiet) MessageBoxA(nullptr, NoLogText(destination).c_str(), kNoLogCaption, MB_ICONERROR | MB_OK);
        return kNothingRemoved;
    }
    // Only what this machine's Setup.exe wrote and recorded is acted on.
    const std::optional<std::string> verified = ReadVerifiedLog(destination);
    if (!verified) {
        MessageBoxA(nullptr, LogMismatchText(logPath).c_str(), kNoLogCaption, MB_ICONERROR | MB_OK);
        return kNothingRemoved;
    }
    TUninstallPlan plan;
    try {
        plan = PlanUninstall(ParseLog(*verified), destination);
    } catch (const ELogRefused& refused) {
        if (!quiet)
            MessageBoxA(nullptr, LogRefusedText(destination, refused.what()).c_str(), kUninstallTitle,
                        MB_ICONERROR | MB_OK);
        return kNothingRemoved;
    }

    std::string displayName =
        TProfileFile(UninstallRecordPath(destination)).ReadText(kRecordUninstallSection, kEntryDisplayName, "");
    if (displayName.empty()) displayName = plan.Application.empty() ? destination : plan.Application;
    if (!quiet && MessageBoxA(nullptr, ConfirmRemovalText(displayName).c_str(), kUninstallTitle,
                              MB_YESNO | MB_ICONQUESTION) != IDYES)
        return kDeclined;

    auto form = std::make_unique<TUninstallForm>(displayName);
    TRun run(destination, plan, *form, original, quiet);
    run.Undo();
    form.reset();
    removeOriginal = run.RemoveOriginal();

    std::string text = RemovedText(displayName);
    if (!run.Left().empty()) {
        text += std::string("\r\n\r\n") + kLeftHeading;
        for (const std::string& left : run.Left()) text += "\r\n" + left;
    }
    if (!quiet) MessageBoxA(nullptr, text.c_str(), kUninstallTitle, MB_ICONINFORMATION | MB_OK);
    return run.RestartNeeded() ? kRemovedAfterRestart : kRemoved;
}

}  // namespace quenby

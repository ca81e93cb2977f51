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
#include "win/FileSystem.h"
#include "win/NoLinkRemoval.h"
#include "win/PathCompare.h"
#include "win/PathForm.h"
#include "win/PrivateFolder.h"
#include "win/RegistryKey.h"
#include "win/SystemText.h"

namespace quenby {

namespace {

// Setup seals an installation under the destination's one spelling; one made before it kept that spelling
// is sealed under the text it was given.
std::string SealedSpelling(const std::string& given) {
    if (given.empty()) return given;
    const std::string one = OneSpelling(given);
    return ReadLogSeal(one) ? one : given;
}

class TRun final : public TUndoReport {
public:
    TRun(const std::string& destination, const TUninstallPlan& plan, TRemovalSink& sink, const std::string& original)
        : m_original(original),
          m_destination(destination),
          m_destinationFinal(plan.DestinationFinal.empty() ? destination : plan.DestinationFinal),
          m_plan(plan),
          m_sink(sink),
          m_windowsDir(WindowsDirectory()) {}

    void Undo() {
        PutBack();
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
        const std::size_t total = m_plan.Restores.size() + m_plan.OldValues.size() + m_plan.Counters.size() +
                                  m_plan.MachineCounters.size() + m_plan.UninstallEntries.size() +
                                  m_plan.Values.size() + m_plan.Keys.size() + m_plan.Groups.size() +
                                  m_plan.Files.size() + m_plan.Directories.size() + 3;
        m_sink.Step(item, static_cast<int>(std::min<std::size_t>(100, 100 * ++m_done / total)));
    }

    void Leave(const std::string& what, const std::string& why) override {
        m_left.push_back(what + ": " + why);
        m_sink.Left(m_left.back());
    }

private:
    // What a last run that never completed overwrote comes back first, from the copies it kept where no user
    // can change them; the rest is then removed as for any run (a file that was there before stays, now with
    // its old bytes).
    void PutBack() {
        const std::string privateFolders = PrivateFoldersParent();
        for (const TRestore& restore : m_plan.Restores) {
            const std::string& target = restore.Target;
            Step(target);
            const bool mayBeOurs = IsBelowPath(target, m_destination) ||
                                   SamePath(target.substr(0, target.find_last_of('\\')), m_windowsDir);
            if (!mayBeOurs || !IsBelowPath(restore.Copy, privateFolders)) {
                Leave(target, kLeftNotPutBack);
                continue;
            }
            if (!Exists(restore.Copy)) continue;  // put back by an earlier removal
            // A file in use (the Uninstall.exe that started this copy) is moved away to go at the restart.
            std::string why = Remove(target);
            if (why == kLeftInUse) why.clear();
            if (why.empty() && !CopyFileA(restore.Copy.c_str(), target.c_str(), TRUE))
                why = SystemErrorText(GetLastError());
            if (!why.empty()) {
                Leave(target, why);
                continue;
            }
            SetFileAttributesA(restore.Copy.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(restore.Copy.c_str());
            RemoveDirectoryA(restore.Copy.substr(0, restore.Copy.find_last_of('\\')).c_str());
        }
        for (const TOldValue& value : m_plan.OldValues) {
            const std::string shown = value.Name.Root + "\\" + value.Name.Key + "\\" + value.Name.Name;
            Step(shown);
            const auto key = TRegistryKey::Create(RootOfWord(value.Name.Root), value.Name.Key, KEY_SET_VALUE);
            const LSTATUS status = key ? RegSetValueExA(key->Get(), value.Name.Name.c_str(), 0, value.Type,
                                                        reinterpret_cast<const BYTE*>(value.Data.data()),
                                                        static_cast<DWORD>(value.Data.size()))
                                       : ERROR_ACCESS_DENIED;
            if (status != ERROR_SUCCESS) Leave(shown, SystemErrorText(status));
        }
    }

    // Each raise lowered by one, once: the log records each lowering before it is made, so that a rerun
    // skips it (a run stopped in between leaves one count too many, never one too few).
    void LowerCounters() {
        std::unique_ptr<TSealedLog> progress;
        std::string noProgress;
        if (!m_plan.Counters.empty() || !m_plan.MachineCounters.empty()) try {
                progress = std::make_unique<TSealedLog>(m_destination, false);
            } catch (const std::exception& error) {
                noProgress = error.what();
            }
        // False when the log cannot record the lowering: then nothing is lowered.
        auto recorded = [&](TLogKind kind, const std::string& name, const std::string& shown) {
            try {
                if (progress) progress->Append(FormatLogLine({kind, false, "", name, ""}));
            } catch (const std::exception& error) {
                progress.reset();
                noProgress = error.what();
            }
            if (!progress) Leave(shown, LeftNoProgressText(noProgress));
            return progress != nullptr;
        };
        for (const std::string& name : m_plan.Counters) {
            Step(name);
            const std::string shown = ShownKey(HKEY_CURRENT_USER, kCountersKey) + "\\" + name;
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
            if (!recorded(TLogKind::Lowered, name, shown)) continue;
            if (*count > 1) {
                key->WriteText(name, std::to_string(*count - 1));
                continue;
            }
            LeaveOnError(shown, [&] { key->DeleteValue(name); });
        }
        // The user's counters tell nothing about other users' products: only the machine-wide count may
        // free a file. One that is not Setup's count (another installer's, or gone) is neither changed nor
        // offered.
        std::vector<std::string> leftAlone;
        auto isLeftAlone = [&](const std::string& name) {
            return std::ranges::any_of(leftAlone, [&](const std::string& n) { return SamePath(n, name); });
        };
        auto leaveAlone = [&](const std::string& name, const char* why) {
            if (isLeftAlone(name)) return;
            leftAlone.push_back(name);
            if (why) Leave(m_windowsDir + "\\" + name, why);
        };
        const auto shared =
            TRegistryKey::Open(HKEY_LOCAL_MACHINE, kSharedDllsKey, KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_64KEY);
        for (const std::string& name : m_plan.MachineCounters) {
            const std::string path = m_windowsDir + "\\" + name;
            Step(path);
            const std::optional<DWORD> count = shared ? shared->ReadDword(path) : std::nullopt;
            if (!count) {
                leaveAlone(name, shared && shared->ValueExists(path) ? kLeftNotMachineCount : kLeftNoMachineCount);
                continue;
            }
            if (!recorded(TLogKind::MachineLowered, name, path)) {
                leaveAlone(name, nullptr);
                continue;
            }
            if (*count > 1)
                LeaveOnError(path, [&] { shared->WriteDword(path, *count - 1); });
            else
                LeaveOnError(path, [&] { shared->DeleteValue(path); });
        }
        for (const std::string& name : m_plan.UserCountedSystemFiles) leaveAlone(name, kLeftNoMachineCount);
        // Offered when no product counts on it any more, machine-wide nor for this user (also when an earlier,
        // stopped run lowered the counts to zero), and only when the installation created it: a file that was
        // there before (Windows' or another vendor's) stays.
        const auto counters = TRegistryKey::Open(HKEY_CURRENT_USER, kCountersKey, KEY_QUERY_VALUE);
        const auto counts = TRegistryKey::Open(HKEY_LOCAL_MACHINE, kSharedDllsKey, KEY_QUERY_VALUE | KEY_WOW64_64KEY);
        for (const std::string& name : m_plan.NewSystemFiles) {
            const std::string path = m_windowsDir + "\\" + name;
            if (!isLeftAlone(name) && !(counters && counters->ValueExists(name)) &&
                !(counts && counts->ValueExists(path)))
                OfferSharedFile(path);
        }
    }

    void OfferSharedFile(const std::string& path) {
        if (!Exists(path)) return;
        if (!m_sink.SharedFileGoes(path)) {
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
        const std::string shown = ShownKey(HKEY_LOCAL_MACHINE, path);
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
            case TRemoval::InUse: return kLeftInUseNotMoved;
            case TRemoval::Failed: return SystemErrorText(result.Error);
            case TRemoval::AtRestart:
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
    TRemovalSink& m_sink;
    const std::string m_windowsDir;
    std::vector<std::string> m_left;
    std::vector<std::string> m_foreignKeys;
    std::size_t m_done = 0;
    bool m_restartNeeded = false;
    bool m_removeOriginal = false;
};

// The product as the questions name it, from what only administrators write: the uninstall entry while it
// belongs to this installation, else the log's application; never the record in the destination.
std::string ProductName(const TUninstallPlan& plan, const std::string& destination) {
    if (plan.Application.empty()) return destination;
    try {
        const auto entry = TRegistryKey::Open(HKEY_LOCAL_MACHINE, UninstallEntryKey(plan.Application), KEY_QUERY_VALUE);
        if (entry &&
            SamePath(entry->ReadText(kEntryUninstallString), UninstallCommand(WindowsDirectory(), destination)))
            if (std::string name = entry->ReadText(kEntryDisplayName); !name.empty()) return name;
    } catch (const ERegistryException&) {
        // not text: not Setup's
    }
    return plan.Application;
}

// Whether any uninstall entry's command removes `destination`: a folder that has neither log nor entry holds
// no product (1605 for the tools, which read it as nothing to do).
bool AnyEntryRemoves(const std::string& destination) {
    const auto entries = TRegistryKey::Open(HKEY_LOCAL_MACHINE, kUninstallKeys, KEY_READ);
    if (!entries || destination.empty()) return false;
    const std::string command = UninstallCommand(WindowsDirectory(), destination);
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(entries->Get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return false;
        try {
            if (const auto entry = TRegistryKey::Open(entries->Get(), name, KEY_QUERY_VALUE);
                entry && SamePath(entry->ReadText(kEntryUninstallString), command))
                return true;
        } catch (const ERegistryException&) {
            // not text: not Setup's
        }
    }
}

}  // namespace

TUninstallResult RunUninstaller(const std::string& givenDestination, TRemovalSink& sink, const std::string& original,
                                bool& removeOriginal) {
    const std::string destination = SealedSpelling(givenDestination);
    const std::string logPath = InstallLogPath(destination);
    if (destination.empty() || !IsFile(logPath)) {
        sink.Refused(NoLogText(destination), kNoLogCaption);
        return AnyEntryRemoves(destination) ? kNothingRemoved : kUnknownProduct;
    }
    // Only what this machine's Setup.exe wrote and recorded is acted on.
    const std::optional<std::string> verified = ReadVerifiedLog(destination);
    if (!verified) {
        sink.Refused(LogMismatchText(logPath), kNoLogCaption);
        return kNothingRemoved;
    }
    TUninstallPlan plan;
    try {
        plan = PlanUninstall(ParseLog(*verified), destination, kPathComparer);
    } catch (const ELogRefused& refused) {
        sink.Refused(LogRefusedText(destination, refused.what()), kUninstallTitle);
        return kNothingRemoved;
    }

    const std::string displayName = ProductName(plan, destination);
    if (!sink.Confirmed(displayName)) return kDeclined;
    sink.Started(displayName);
    TRun run(destination, plan, sink, original);
    run.Undo();
    removeOriginal = run.RemoveOriginal();

    std::string text = RemovedText(displayName);
    if (!run.Left().empty()) {
        text += std::string("\r\n\r\n") + kLeftHeading;
        for (const std::string& left : run.Left()) text += "\r\n" + left;
    }
    sink.Finished(text);
    return run.RestartNeeded() ? kRemovedAfterRestart : kRemoved;
}

}  // namespace quenby

#include "install/UpdateRegistry.h"

#include <windows.h>

#include <cstdint>
#include <optional>

#include "base/Errors.h"
#include "base/InstallRecord.h"
#include "install/UninstallRecord.h"
#include "win/SystemText.h"
#include "win/profile.h"

namespace quenby {

void UpdateRegistry(const TInstructions& instructions, const TUserAnswers& answers, const std::string& destination,
                    int& countersRaised, TInstallLogWriter& log, TInstallSink& sink) {
    auto write = [&](TRegistryProfile& profile, const std::string& section, const std::string& name,
                     const std::string& text) {
        log.WriteValue(profile, section, name, text);
        sink.ValueWritten(AbsoluteKeyPath(profile, section), name);
    };

    // Declared so that they are released in the order product registry profile, counter registry
    // profile, record profile, also on a failure.
    const TProfileFile record(UninstallRecordPath(destination));
    std::optional<TRegistryProfile> counters;
    std::optional<TRegistryProfile> product;

    const std::string basePath = instructions.KeysValues[0];
    log.KeysToCreate(HKEY_CURRENT_USER, AbsoluteKeyPath(TRegistryKey(), basePath));
    product.emplace(basePath);
    // Below the root, whatever key the profile stands in.
    const std::string countersPath = '\\' + std::string(kCountersParentKey) + '\\';
    log.KeysToCreate(HKEY_CURRENT_USER, AbsoluteKeyPath(TRegistryKey(), countersPath));
    counters.emplace(countersPath);

    const std::string installSection = basePath + "\\" + kRecordInstallSection;
    for (int entry = 1; entry < instructions.Keys.Count(); ++entry) {
        const std::string& subkey = instructions.KeysValues[entry];
        if (static_cast<std::size_t>(entry) >= instructions.KeySections.size()) throw EListError();
        const TInstructions::TValueSection& values = instructions.KeySections[static_cast<std::size_t>(entry)];
        for (int line = 0; line < values.Names.Count(); ++line) {
            const std::string& name = values.Names[line];
            const std::string& text = values.Texts[line];
            const std::string* personal = nullptr;
            if (SameUserText(name, "Name") && SameUserText(text, "$NAME"))
                personal = &answers.UserName;
            else if (SameUserText(name, "Organization") && SameUserText(text, "$ORG"))
                personal = &answers.Organisation;
            write(*product, basePath + "\\" + subkey, name, personal ? *personal : text);
            if (personal) record.WriteText(subkey, name, *personal);
        }
        write(*product, installSection, "Path", destination);
        record.WriteText(kRecordInstallSection, "Path", destination);
        write(*product, installSection, "Date", InstallationDateText());
        record.WriteText(kRecordInstallSection, "Date", InstallationDateText());
    }

    product->SetRoot(HKEY_LOCAL_MACHINE);
    const std::string windowsDir = WindowsDirectory();
    const std::string displayName = DisplayName(instructions.Application, instructions.Version);
    const std::string uninstallSection = UninstallEntryKey(instructions.Application);  // below the new root
    log.Add(TLogKind::Uninstall, instructions.Application);
    write(*product, uninstallSection, "DisplayName", displayName);
    record.WriteText(kRecordUninstallSection, "DisplayName", displayName);
    const std::string command = UninstallCommand(windowsDir, destination);
    write(*product, uninstallSection, "UninstallString", command);
    record.WriteText(kRecordUninstallSection, "UninstallString", command);

    // A retry after a failure here leaves the counters already raised alone.
    for (; countersRaised < instructions.SysFilesOut.Count(); ++countersRaised) {
        const std::string& sharedFile = instructions.SysFilesOut[countersRaised];
        const std::int32_t count = counters->ReadNumber(kCountersSection, sharedFile, 0);
        log.KeysToCreate(HKEY_CURRENT_USER, AbsoluteKeyPath(*counters, kCountersSection));
        counters->WriteNumber(kCountersSection, sharedFile, count == INT32_MAX ? count : count + 1);
        log.Add(TLogKind::Counter, sharedFile);  // after the raise: never lowered unraised
        sink.CounterRaised(sharedFile);
    }
}

}  // namespace quenby

#include "install/UpdateRegistry.h"

#include <windows.h>

#include <cstdint>
#include <optional>

#include "win/SystemText.h"
#include "base/Errors.h"
#include "install/UninstallRecord.h"
#include "win/profile.h"

namespace quenby {

namespace {

const char* const kCountersPath = "\\Software\\Norvale\\Uninstall\\";
const char* const kUninstallKeys = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// Whole texts equal under the user's default locale, case ignored.
bool SameText(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace

void UpdateRegistry(TInstallHost& host, const std::string& destination) {
    const TInstructions& instructions = host.Instructions();

    // Declared so that they are released in the order product registry profile, counter registry
    // profile, record profile, also on a failure.
    const TProfileFile record(UninstallRecordPath(destination));
    std::optional<TRegistryProfile> counters;
    std::optional<TRegistryProfile> product;

    const std::string basePath = instructions.KeysValues[0];
    product.emplace(basePath);
    counters.emplace(kCountersPath);

    const std::string installSection = basePath + "\\" + kRecordInstallSection;
    for (int entry = 1; entry < instructions.Keys.Count(); ++entry) {
        const std::string& subkey = instructions.KeysValues[entry];
        if (static_cast<std::size_t>(entry) >= instructions.KeySections.size()) throw EListError();
        const TInstructions::TValueSection& values = instructions.KeySections[static_cast<std::size_t>(entry)];
        for (int line = 0; line < values.Names.Count(); ++line) {
            const std::string& name = values.Names[line];
            const std::string& text = values.Texts[line];
            const std::string* personal = nullptr;
            if (SameText(name, "Name") && SameText(text, "$NAME"))
                personal = &host.UserName();
            else if (SameText(name, "Organization") && SameText(text, "$ORG"))
                personal = &host.Organisation();
            product->WriteText(basePath + "\\" + subkey, name, personal ? *personal : text);
            if (personal) record.WriteText(subkey, name, *personal);
        }
        product->WriteText(installSection, "Path", destination);
        record.WriteText(kRecordInstallSection, "Path", destination);
        product->WriteText(installSection, "Date", InstallationDateText());
        record.WriteText(kRecordInstallSection, "Date", InstallationDateText());
    }

    product->SetRoot(HKEY_LOCAL_MACHINE);
    const std::string windowsDir = WindowsDirectory();
    const std::string displayName = instructions.Application + " " + instructions.Version;
    const std::string uninstallSection = kUninstallKeys + instructions.Application;
    product->WriteText(uninstallSection, "DisplayName", displayName);
    record.WriteText(kRecordUninstallSection, "DisplayName", displayName);
    const std::string command = windowsDir + "\\Uninstall.exe " + destination;
    product->WriteText(uninstallSection, "UninstallString", command);
    record.WriteText(kRecordUninstallSection, "UninstallString", command);

    // A retry after a failure here leaves the counters already raised alone.
    int& raised = host.Resume().CountersRaised;
    for (; raised < instructions.SysFilesOut.Count(); ++raised) {
        const std::string& sharedFile = instructions.SysFilesOut[raised];
        const std::int32_t count = counters->ReadNumber("Counters", sharedFile, 0);
        counters->WriteNumber("Counters", sharedFile, count == INT32_MAX ? count : count + 1);
    }

    host.SetProgressPosition(host.ProgressPosition() + 1);
}

}  // namespace quenby

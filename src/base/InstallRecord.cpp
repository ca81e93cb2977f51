#include "base/InstallRecord.h"

namespace quenby {

std::string UninstallRecordPath(const std::string& destination) { return destination + "\\" + kUninstallRecordName; }

std::string InstallLogPath(const std::string& destination) { return destination + "\\" + kInstallLogName; }

std::string UninstallEntryKey(const std::string& application) {
    return std::string(kUninstallKeys) + "\\" + application;
}

std::string UninstallCommand(const std::string& windowsDir, const std::string& destination) {
    return windowsDir + "\\" + kUninstallerName + " " + destination;
}

std::string DisplayName(const std::string& application, const std::string& version) {
    return application + " " + version;
}

std::string DisplayIcon(const TStringList& items, const std::string& windowsDir, const std::string& destination) {
    const std::string program = items.Empty() ? windowsDir + "\\" + kUninstallerName : destination + "\\" + items[0];
    return program + ",0";
}

std::string QuietUninstallCommand(const std::string& windowsDir, const std::string& destination) {
    return windowsDir + "\\" + kUninstallerName + " " + kVerySilentSwitch + " " + destination;
}

std::string UninstallItemTitle(const std::string& application) { return "Uninstall " + application; }

}  // namespace quenby

#include "base/InstallRecord.h"

#include "base/SameText.h"

namespace quenby {

namespace {

std::string_view WithoutTrailingBackslash(std::string_view path) {
    while (path.size() > 3 && path.back() == '\\') path.remove_suffix(1);
    return path;
}

}  // namespace

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

std::string QuietUninstallCommand(const std::string& windowsDir, const std::string& destination) {
    return windowsDir + "\\" + kUninstallerName + " " + kVerySilentSwitch + " " + destination;
}

std::string UninstallItemTitle(const std::string& application) { return "Uninstall " + application; }

bool SamePath(std::string_view a, std::string_view b) {
    return SameTextIgnoringCase(WithoutTrailingBackslash(a), WithoutTrailingBackslash(b));
}

bool IsBelowPath(std::string_view path, std::string_view folder) {
    const std::string_view base = WithoutTrailingBackslash(folder);
    if (base.empty()) return false;
    const std::size_t cut = base.back() == '\\' ? base.size() : base.size() + 1;
    return path.size() > cut && SameTextIgnoringCase(path.substr(0, base.size()), base) && path[cut - 1] == '\\';
}

}  // namespace quenby

// The uninstall record Quenby.upi that the installation leaves in the destination directory for the
// separate uninstaller, and the date-time text it shares with the registry.
#pragma once
#include <string>

#include "base/DateTimeText.h"

namespace quenby {

constexpr const char* kRecordInstallSection = "Quenby";
constexpr const char* kRecordUninstallSection = "Uninstall";

// The destination directory + "\Quenby.upi"; a root such as D:\ gives D:\\Quenby.upi, which still
// names the file in that root.
std::string UninstallRecordPath(const std::string& destination);

// The date-time fields of the user's default locale.
TDateTimeFormat UserDateTimeFormat();

// The local date and time now, as the installation's "Date" text, in the locale's form as it was when the
// program started.
std::string InstallationDateText();

}  // namespace quenby

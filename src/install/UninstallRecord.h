// The uninstall record Quenby.upi that the installation leaves in the destination directory for the
// separate uninstaller, and the date-time text it shares with the registry.
#pragma once
#include <string>

#include "base/DateTimeText.h"
#include "base/InstallRecord.h"

namespace quenby {

// The date-time fields of the user's default locale.
TDateTimeFormat UserDateTimeFormat();

// The local date and time now, as the installation's "Date" text, in the locale's form as it was when the
// program started.
std::string InstallationDateText();

}  // namespace quenby

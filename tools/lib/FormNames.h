// Control IDs by the names the forms give them, for drivers that are told control names at run time.
#pragma once
#include <string>

namespace quenby::drive {

// The ID of control `name` of the form whose window class is `windowClass` ("TMainDialog",
// "TMainWindow", "TWaitDialog"); a name made of digits is taken as the ID itself; -1 when unknown.
int ControlIdByName(const std::string& windowClass, const std::string& name);

}  // namespace quenby::drive

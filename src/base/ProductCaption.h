// The backdrop's product line: "Application Version Installation", "Application Installation", or
// nothing (the design-time caption stays) when there is no application name.
#pragma once
#include <optional>
#include <string>

namespace quenby {

std::optional<std::string> ProductCaption(const std::string& application, const std::string& version);

}  // namespace quenby

#include "base/ProductCaption.h"

#include "base/Texts.h"

namespace quenby {

std::optional<std::string> ProductCaption(const std::string& application, const std::string& version) {
    if (application.empty()) return std::nullopt;
    std::string caption = application;
    if (!version.empty()) caption += " " + version;
    return caption + kInstallationSuffix;
}

}  // namespace quenby

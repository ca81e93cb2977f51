// Any path given to the label and destination rules: no fault, a short path shown as it is, a long one
// shortened to the same last character, and no accepted destination with a forbidden character.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/DestinationRule.h"
#include "base/PathLabel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path(reinterpret_cast<const char*>(data), size);
    const std::string label = quenby::PathLabel(path);
    if (path.size() <= 60 && label != path) std::abort();
    if (path.size() > 60 && (label.find("\\...") == std::string::npos || label.back() != path.back())) std::abort();
    if (quenby::IsFullDirectoryPath(path) && path.find_first_of("<>\"|?*") != std::string::npos) std::abort();
    return 0;
}

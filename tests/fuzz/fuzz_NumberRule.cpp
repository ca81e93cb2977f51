// Any bytes given to the number rule: no fault, and a plain decimal it accepts reads as its digits say.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/NumberRule.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto parsed = quenby::ParseNumber(text);
    if (parsed && text.find_first_not_of("0123456789") == std::string::npos && text.size() < 10 &&
        *parsed != std::stoll(text))
        std::abort();
    return 0;
}

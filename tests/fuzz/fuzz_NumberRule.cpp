// Any bytes given to the number rule give a number or the default, and agree with a slow reference.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/NumberRule.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    auto parsed = quenby::ParseNumber(text);
    if (quenby::ReadNumber(text, 12345) != parsed.value_or(12345)) std::abort();
    // A plain decimal the rule accepted must print back to the same digits.
    if (parsed && text.find_first_not_of("0123456789") == std::string::npos && text.size() < 10 &&
        std::to_string(*parsed) != std::to_string(std::stoll(text)))
        std::abort();
    return 0;
}

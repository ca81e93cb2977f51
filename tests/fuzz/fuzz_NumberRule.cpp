// Any bytes given to the number rule: no fault, a plain decimal reads as its digits say and is never
// refused, and any 32-bit value written in each accepted form (blanks, sign, "$", "0x") reads back.
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/NumberRule.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto parsed = quenby::ParseNumber(text);
    if (!text.empty() && text.size() < 10 && text.find_first_not_of("0123456789") == std::string::npos &&
        (!parsed || *parsed != std::stoll(text)))
        std::abort();

    std::uint32_t bits = 0;
    std::memcpy(&bits, data, size < 4 ? size : 4);
    const auto value = static_cast<std::int32_t>(bits);
    char forms[4][40];
    std::snprintf(forms[0], sizeof forms[0], "%*s%" PRId32, int(size % 4), "", value);
    std::snprintf(forms[1], sizeof forms[1], "$%" PRIX32, bits);
    std::snprintf(forms[2], sizeof forms[2], "0x%" PRIx32, bits);
    std::snprintf(forms[3], sizeof forms[3], "%s%" PRIu32, value < 0 ? "-" : "+", value < 0 ? 0u - bits : bits);
    for (const char* form : forms)
        if (quenby::ParseNumber(form) != value) std::abort();
    return 0;
}

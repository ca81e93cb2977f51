#include "base/Accelerator.h"

namespace quenby {

namespace {
char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

char AcceleratorOf(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&') return caption[i + 1];
        ++i;  // "&&" is a plain ampersand
    }
    return 0;
}

bool MatchesAccelerator(std::string_view caption, char typed) {
    const char accelerator = AcceleratorOf(caption);
    return accelerator != 0 && typed != 0 && UpperAscii(accelerator) == UpperAscii(typed);
}

}  // namespace quenby

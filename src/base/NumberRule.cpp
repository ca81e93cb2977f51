#include "base/NumberRule.h"

#include <algorithm>
#include <string>

#include "base/Errors.h"

namespace quenby {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::int32_t> ParseNumber(std::string_view text) {
    std::string work(text);
    if (work.size() > 2 && work[0] == '0' && (work[1] == 'x' || work[1] == 'X')) work.replace(0, 2, "$");
    size_t i = 0;
    while (i < work.size() && work[i] == ' ') ++i;
    if (i == work.size()) return std::nullopt;

    if (work[i] == '$') {
        ++i;
        if (i == work.size()) return std::nullopt;
        std::uint64_t value = 0;
        for (; i < work.size(); ++i) {
            int digit = HexDigit(work[i]);
            if (digit < 0) return std::nullopt;
            value = value * 16 + static_cast<unsigned>(digit);
            if (value > 0xFFFFFFFFull) return std::nullopt;
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }

    bool negative = false;
    if (work[i] == '-' || work[i] == '+') {
        negative = work[i] == '-';
        ++i;
    }
    if (i == work.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; i < work.size(); ++i) {
        char c = work[i];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 2147483648ll) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 2147483647ll) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t ReadNumber(std::string_view text, std::int32_t defaultValue) {
    return ParseNumber(text).value_or(defaultValue);
}

std::int32_t StrToInt(std::string_view text) {
    if (auto value = ParseNumber(text)) return *value;
    throw EConvertError(std::string(text));
}

std::optional<TVersionNumbers> VersionNumbers(std::string_view version) {
    std::uint32_t parts[2] = {0, 0};
    std::size_t part = 0;
    for (std::size_t start = 0;; ++part) {
        const std::size_t dot = std::min(version.find('.', start), version.size());
        if (dot == start) return std::nullopt;  // empty, or a dot without digits on one side
        std::uint64_t value = 0;
        for (std::size_t i = start; i < dot; ++i) {
            if (version[i] < '0' || version[i] > '9') return std::nullopt;
            value = value * 10 + static_cast<unsigned>(version[i] - '0');
            if (value > 0xFFFFFFFFull) return std::nullopt;
        }
        if (part < 2) parts[part] = static_cast<std::uint32_t>(value);
        if (dot == version.size()) return TVersionNumbers{parts[0], parts[1]};
        start = dot + 1;
    }
}

}  // namespace quenby

#include "win/PathCompare.h"

#include <windows.h>

#include <climits>
#include <optional>
#include <string>

namespace quenby {

namespace {

// Nothing when a byte is not valid in the code page: a lone lead byte read as some character could match
// another path.
std::optional<std::wstring> Wide(unsigned codePage, std::string_view text) {
    if (text.empty()) return std::wstring();  // the call refuses an empty input
    if (text.size() > INT_MAX) return std::nullopt;
    const int bytes = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), bytes, nullptr, 0);
    if (size <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), bytes, wide.data(), size) != size)
        return std::nullopt;
    return wide;
}

// Cut in UTF-16, where a backslash is always one: as bytes, a trail byte 0x5C would go too.
std::wstring_view WithoutTrailingBackslash(std::wstring_view path) {
    while (path.size() > 3 && path.back() == L'\\') path.remove_suffix(1);
    return path;
}

bool SameIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() > INT_MAX || b.size() > INT_MAX) return false;
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

}  // namespace

bool SamePathIn(unsigned codePage, std::string_view a, std::string_view b) {
    const std::optional<std::wstring> wideA = Wide(codePage, a);
    const std::optional<std::wstring> wideB = Wide(codePage, b);
    return wideA && wideB && SameIgnoringCase(WithoutTrailingBackslash(*wideA), WithoutTrailingBackslash(*wideB));
}

bool IsBelowPathIn(unsigned codePage, std::string_view path, std::string_view folder) {
    const std::optional<std::wstring> widePath = Wide(codePage, path);
    const std::optional<std::wstring> wideFolder = Wide(codePage, folder);
    if (!widePath || !wideFolder) return false;
    const std::wstring_view inner = WithoutTrailingBackslash(*widePath);
    const std::wstring_view base = WithoutTrailingBackslash(*wideFolder);
    if (base.empty()) return false;
    // A root keeps its backslash, which then is the separator.
    const std::size_t cut = base.back() == L'\\' ? base.size() : base.size() + 1;
    return inner.size() > cut && inner[cut - 1] == L'\\' && SameIgnoringCase(inner.substr(0, base.size()), base);
}

bool SamePath(std::string_view a, std::string_view b) { return SamePathIn(CP_ACP, a, b); }

bool IsBelowPath(std::string_view path, std::string_view folder) { return IsBelowPathIn(CP_ACP, path, folder); }

}  // namespace quenby

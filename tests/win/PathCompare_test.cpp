// Path equality as Windows reads ANSI names: by character, not by byte. Code page 932 is Shift JIS, where
// 0x83 and 0x95 lead two-byte characters whose trail byte may be an ASCII letter or 0x5C (a backslash);
// 1252 is Western, with E acute as 0xC9 and 0xE9.
#include <gtest/gtest.h>

#include <string_view>

#include "win/PathCompare.h"

namespace quenby {
namespace {

using TRule = bool (*)(unsigned codePage, std::string_view, std::string_view);

struct TCase {
    TRule Rule;
    unsigned CodePage;
    std::string_view First;   // a, or the path
    std::string_view Second;  // b, or the folder
    bool Expected;
    const char* Why;
};

constexpr TRule kSame = SamePathIn;
constexpr TRule kBelow = IsBelowPathIn;
constexpr unsigned kAnsi = 0;  // CP_ACP: plain ASCII reads the same in every code page

// Each row of the first two groups is answered the other way by folding ASCII letters byte by byte.
constexpr TCase kCases[] = {
    {kSame, 932, "C:\\\x83\x41", "C:\\\x83\x61", false, "two katakana whose trail bytes differ in ASCII case"},
    {kBelow, 932, "C:\\\x83\x41\\x", "C:\\\x83\x61", false, "below another katakana's folder"},
    {kSame, 932, "C:\\\x83\x5C", "C:\\\x83", false, "a trail byte 0x5C is no trailing backslash"},
    {kBelow, 932, "C:\\\x95\x5Cxy", "C:\\\x95\x5C", false, "a name that begins with the folder's name"},
    {kBelow, 932, "C:\\\x95\x5Cxy", "C:\\\x95", false, "a lead byte alone is no folder"},
    {kSame, 932, "C:\\\x83", "C:\\\x83", false, "bytes invalid in the code page are no path"},
    {kSame, 1252, "C:\\\xC9t\xE9", "C:\\\xE9T\xC9", true, "accented capitals and small letters"},
    {kBelow, 1252, "C:\\\xC9t\xE9\\x", "C:\\\xE9T\xC9", true, "below the folder spelt in the other case"},
    // Unchanged.
    {kSame, 932, "C:\\\x83\x5C", "C:\\\x83\x5C\\", true, "a real trailing backslash after a trail byte 0x5C"},
    {kBelow, 932, "C:\\\x95\x5C\\x", "C:\\\x95\x5C", true, "below a folder whose trail byte is 0x5C"},
    {kSame, kAnsi, "C:\\A\\", "c:\\a", true, "case and trailing backslash ignored"},
    {kSame, kAnsi, "C:\\", "C:\\\\", true, "a root's backslashes beyond its own"},
    {kSame, kAnsi, "C:\\", "C:", false, "a root keeps its backslash"},
    {kSame, kAnsi, "C:\\a", "C:\\ab", false, "one name a prefix of the other"},
    {kBelow, kAnsi, "C:\\ab", "C:\\a", false, "a longer name beside the folder"},
    {kBelow, kAnsi, "C:\\a\\", "C:\\a", false, "the folder itself"},
    {kBelow, kAnsi, "C:\\a\\b", "C:\\a\\", true, "the folder with its trailing backslash"},
    {kBelow, kAnsi, "C:\\a\\b", "C:\\", true, "below a root"},
    {kBelow, kAnsi, "C:\\a", "", false, "below nothing"},
};

TEST(PathCompare, NamesCompareByCharacterInTheCodePage) {
    for (const TCase& c : kCases)
        EXPECT_EQ(c.Rule(c.CodePage, c.First, c.Second), c.Expected)
            << (c.Rule == kSame ? "same " : "below ") << c.CodePage << ": " << c.Why;
}

}  // namespace
}  // namespace quenby

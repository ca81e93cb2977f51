#include "base/NumberRule.h"

#include <gtest/gtest.h>

using quenby::ReadNumber;
using quenby::TVersionNumbers;
using quenby::VersionNumbers;

TEST(NumberRule, ReadsDecimalHexadecimalAndVersionFormsAndNothingElse) {
    const std::pair<const char*, int> numbers[] = {
        {"   +42", 42}, {"-7", -7}, {"0X1f", 31}, {"$FFFFFFFF", -1}, {"-2147483648", INT32_MIN}, {"007", 7}};
    for (const auto& [text, number] : numbers) EXPECT_EQ(ReadNumber(text, 5), number) << text;
    for (const char* text : {"42 ", "0x", "", "2147483648", "-", "$100000000", "42a", "0x-1", "--1", "\t42"})
        EXPECT_EQ(ReadNumber(text, 5), 5) << '"' << text << '"';
    // A version's first two numbers, for the uninstall entry.
    const std::pair<const char*, TVersionNumbers> versions[] = {
        {"1.4", {1, 4}}, {"2", {2, 0}}, {"10.02.7", {10, 2}}, {"4294967295.0", {UINT32_MAX, 0}}};
    for (const auto& [text, parts] : versions) EXPECT_EQ(VersionNumbers(text), parts) << text;
    for (const char* text : {"", "1.", ".4", "1..2", "v2", "1.4 beta", " 1.4", "+1", "4294967296", "1,4", "1.0x1"})
        EXPECT_FALSE(VersionNumbers(text)) << '"' << text << '"';
}

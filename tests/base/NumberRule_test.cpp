#include "base/NumberRule.h"

#include <gtest/gtest.h>

using quenby::ReadNumber;

TEST(NumberRule, ReadsDecimalAndHexadecimalFormsAndGivesTheDefaultForAnythingElse) {
    const std::pair<const char*, int> numbers[] = {
        {"   +42", 42}, {"-7", -7}, {"0X1f", 31}, {"$FFFFFFFF", -1}, {"-2147483648", INT32_MIN}, {"007", 7}};
    for (const auto& [text, number] : numbers) EXPECT_EQ(ReadNumber(text, 5), number) << text;
    for (const char* text : {"42 ", "0x", "", "2147483648", "-", "$100000000", "42a", "0x-1", "--1", "\t42"})
        EXPECT_EQ(ReadNumber(text, 5), 5) << '"' << text << '"';
}

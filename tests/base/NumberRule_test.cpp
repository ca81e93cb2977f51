#include "base/NumberRule.h"

#include <gtest/gtest.h>

#include "base/Errors.h"

using quenby::ReadNumber;

TEST(NumberRule, ReadsDecimalAndHexadecimalForms) {
    EXPECT_EQ(ReadNumber("42", 5), 42);
    EXPECT_EQ(ReadNumber(" 42", 5), 42);
    EXPECT_EQ(ReadNumber("   +42", 5), 42);
    EXPECT_EQ(ReadNumber("-7", 5), -7);
    EXPECT_EQ(ReadNumber("0x1F", 5), 31);
    EXPECT_EQ(ReadNumber("0X1f", 5), 31);
    EXPECT_EQ(ReadNumber("$1F", 5), 31);
    EXPECT_EQ(ReadNumber("$FFFFFFFF", 5), -1);
    EXPECT_EQ(ReadNumber("0x10", 0), 16);
    EXPECT_EQ(ReadNumber("-2147483648", 5), INT32_MIN);
    EXPECT_EQ(ReadNumber("2147483647", 5), INT32_MAX);
    EXPECT_EQ(ReadNumber("007", 5), 7);
}

TEST(NumberRule, GivesTheDefaultForAnythingElse) {
    for (const char* text : {"42 ", "0x", "", " ", "2147483648", "-2147483649", "-", "+", "$", "$100000000",
                             "4 2", "42a", "yes", "0x-1", "$-1", "--1", "\t42", "99999999999999999999"})
        EXPECT_EQ(ReadNumber(text, 5), 5) << '"' << text << '"';
}

TEST(NumberRule, StrToIntNamesTheTextInItsError) {
    EXPECT_EQ(quenby::StrToInt("2"), 2);
    try {
        quenby::StrToInt("two");
        FAIL() << "no error";
    } catch (const quenby::EConvertError& e) {
        EXPECT_STREQ(e.what(), "'two' is not a valid integer value");
    }
}

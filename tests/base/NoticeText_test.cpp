#include "base/NoticeText.h"

#include <gtest/gtest.h>

namespace quenby {
namespace {

TEST(NoticeText, EveryKindOfLineEndBecomesOneMemoLineBreak) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"one line\r\n", "one line"},
        {"a\r\nb\r\n", "a\r\nb"},
        {"a\nb\n", "a\r\nb"},
        {"a\rb", "a\r\nb"},
        {"a\n\r\nb", "a\r\n\r\nb"},  // an empty line in between stays
        {"a\r\n\r\n", "a\r\n"},      // so does an empty last line before the final end
        {"a\n\rb", "a\r\n\r\nb"},    // LF then CR: two line ends
        {std::string_view("a\r\nb\0c\r\nd", 10), "a\r\nb"},
    };
    for (const auto& [content, shown] : cases)
        EXPECT_EQ(NoticeText(content), shown) << testing::PrintToString(std::string(content));
}

}  // namespace
}  // namespace quenby

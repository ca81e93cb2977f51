#include "base/ProgmanMacros.h"

// (The macros' text for any fields, refusals past the buffer, no items after a refused group: the fuzz target.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/InstallRecord.h"

using namespace quenby;

TEST(ProgmanMacros, QuotesABlankDestinationNamesTheIconAndFitsTheBuffer) {
    EXPECT_EQ(ItemMacro("D:\\T ", "c.exe", "C"), "[AddItem(\"D:\\T \\c.exe\",C)]\r\n");
    // The uninstall entry's icon: the first item's program, else the uninstaller the item above starts.
    TStringList items;
    EXPECT_EQ(DisplayIcon(items, "D:\\WINDOWS", "D:\\My Tools"), "D:\\WINDOWS\\Uninstall.exe,0");
    for (const char* item : {"bin\\calc.exe", "read.txt"}) items.Add(item);
    EXPECT_EQ(DisplayIcon(items, "D:\\WINDOWS", "D:\\My Tools"), "D:\\My Tools\\bin\\calc.exe,0");
    // A macro fits up to the buffer's length with its line end.
    std::string group(kMacroBufferLength - GroupMacro("").size(), 'g');
    EXPECT_EQ(GroupMacro(group).size(), 260u);
    EXPECT_TRUE(MacroFits(GroupMacro(group)));
    EXPECT_FALSE(MacroFits(GroupMacro(group + "g")));
}

namespace {

TGroupRequest Request(std::vector<std::pair<std::string, std::string>> items) {
    TGroupRequest request{"G", "C:\\App", "C:\\WINDOWS", "App", {}, {}};
    for (auto& [key, title] : items) {
        request.Items.Add(key);
        request.ItemTitles.Add(title);
    }
    return request;
}

}  // namespace

TEST(ProgmanMacros, ResendsARefusedItemAtMostTwiceMoreAndWithoutAConversationTriesNone) {
    // group ok; a.exe refused, refused, accepted; b.exe refused three times; c.exe accepted; uninstaller refused;
    // anything further accepted.
    const std::vector<bool> answers{true, false, false, true, false, false, false, true, false};
    std::vector<std::string> sent;
    // What the log says of each: the group, the items, the uninstaller item.
    EXPECT_EQ(SendGroupMacros(
                  Request({{"a.exe", "A"}, {"b.exe", "B"}, {"c.exe", "C"}}), [] { return true; },
                  [&](const std::string& macro) {
                      return sent.push_back(macro), sent.size() > answers.size() || answers[sent.size() - 1];
                  }),
              (std::vector<bool>{true, true, false, true, false}));
    const std::string a = "[AddItem(C:\\App\\a.exe,A)]\r\n", b = "[AddItem(C:\\App\\b.exe,B)]\r\n";
    EXPECT_EQ(sent,
              (std::vector<std::string>{"[CreateGroup(G)]\r\n", a, a, a, b, b, b, "[AddItem(C:\\App\\c.exe,C)]\r\n",
                                        "[AddItem(C:\\WINDOWS\\Uninstall.exe C:\\App,Uninstall App)]\r\n"}));
    // Without a conversation the items are not tried.
    std::vector<std::string> events;
    SendGroupMacros(
        Request({{"a.exe", "A"}, {"b.exe", "B"}}), [&] { return events.push_back("open"), false; },
        [&](const std::string& macro) { return events.push_back(macro.substr(0, 9)), false; });
    // The group and the uninstaller item are still handed over (and lost); opening comes first.
    EXPECT_EQ(events, (std::vector<std::string>{"open", "[CreateGr", "[AddItem("}));
}

TEST(ProgmanMacros, AddOnValueSplitsAtTheFirstSpace) {
    using P = std::pair<std::string, std::string>;
    EXPECT_EQ(SplitAddOn("readme.txt"), P("readme.txt", ""));
    EXPECT_EQ(SplitAddOn("C:\\My Tools\\x.exe /a /b"), P("C:\\My", "Tools\\x.exe /a /b"));
    EXPECT_EQ(SplitAddOn("x.exe "), P("x.exe", ""));
    EXPECT_TRUE(AddOnKindStarts(2));
    EXPECT_FALSE(AddOnKindStarts(-1) || AddOnKindStarts(3));
}

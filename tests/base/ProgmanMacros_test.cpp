#include "base/ProgmanMacros.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quenby;

TEST(ProgmanMacros, FillTheTemplatesUnchangedAndEndEachLine) {
    EXPECT_EQ(GroupMacro("Tavix"), "[CreateGroup(Tavix)]\r\n");
    EXPECT_EQ(GroupMacro("A, (b) \"c\""), "[CreateGroup(A, (b) \"c\")]\r\n");
    EXPECT_EQ(ItemMacro("D:\\Tools\\Calc", "calc.exe", "Calculator"),
              "[AddItem(D:\\Tools\\Calc\\calc.exe,Calculator)]\r\n");
    EXPECT_EQ(ItemMacro("D:\\My Tools", "calc.exe", "Calculator"),
              "[AddItem(\"D:\\My Tools\\calc.exe\",Calculator)]\r\n");
    // A space only in the key or the title does not quote: the destination decides.
    EXPECT_EQ(ItemMacro("D:\\T", "my calc.exe", "My Calc"), "[AddItem(D:\\T\\my calc.exe,My Calc)]\r\n");
    EXPECT_EQ(ItemMacro("D:\\T ", "c.exe", "C"), "[AddItem(\"D:\\T \\c.exe\",C)]\r\n");
    EXPECT_EQ(UninstallerItemMacro("D:\\WINDOWS", "D:\\My Tools", "Calc"),
              "[AddItem(D:\\WINDOWS\\Uninstall.exe D:\\My Tools,Uninstall Calc)]\r\n");
}

TEST(ProgmanMacros, AMacroFitsUpToTheBufferLengthWithItsLineEnd) {
    std::string group(kMacroBufferLength - GroupMacro("").size(), 'g');
    EXPECT_EQ(GroupMacro(group).size(), 260u);
    EXPECT_TRUE(MacroFits(GroupMacro(group)));
    EXPECT_FALSE(MacroFits(GroupMacro(group + "g")));
    EXPECT_TRUE(MacroFits(""));
}

namespace {

struct TScriptedSender {
    std::vector<std::string> sent;
    std::vector<bool> answers;  // answer for each send in turn; true once the script runs out
    bool operator()(const std::string& macro) {
        sent.push_back(macro);
        return sent.size() > answers.size() || answers[sent.size() - 1];
    }
};

TGroupRequest Request(std::vector<std::pair<std::string, std::string>> items, std::string destination = "C:\\App") {
    TGroupRequest request{"G", std::move(destination), "C:\\WINDOWS", "App", {}, {}};
    for (auto& [key, title] : items) {
        request.Items.Add(key);
        request.ItemTitles.Add(title);
    }
    return request;
}

}  // namespace

TEST(ProgmanMacros, SendsGroupThenItemsInOrderThenThePlainUninstallerItem) {
    TScriptedSender sender;
    SendGroupMacros(Request({{"a.exe", "A"}, {"b.exe", "B"}}, "C:\\My App"), [] { return true; }, std::ref(sender));
    EXPECT_EQ(sender.sent, (std::vector<std::string>{
                               "[CreateGroup(G)]\r\n", "[AddItem(\"C:\\My App\\a.exe\",A)]\r\n",
                               "[AddItem(\"C:\\My App\\b.exe\",B)]\r\n",
                               "[AddItem(C:\\WINDOWS\\Uninstall.exe C:\\My App,Uninstall App)]\r\n"}));

    TScriptedSender empty;
    SendGroupMacros(Request({}), [] { return true; }, std::ref(empty));
    EXPECT_EQ(empty.sent, (std::vector<std::string>{
                              "[CreateGroup(G)]\r\n", "[AddItem(C:\\WINDOWS\\Uninstall.exe C:\\App,Uninstall App)]\r\n"}));
}

TEST(ProgmanMacros, ResendsARefusedItemAtMostTwiceMoreThenMovesOn) {
    // group ok; a.exe refused, refused, accepted; b.exe refused three times; c.exe accepted; uninstaller refused.
    TScriptedSender sender{{}, {true, false, false, true, false, false, false, true, false}};
    SendGroupMacros(Request({{"a.exe", "A"}, {"b.exe", "B"}, {"c.exe", "C"}}), [] { return true; },
                    std::ref(sender));
    std::vector<std::string> expected{"[CreateGroup(G)]\r\n"};
    for (int i = 0; i < 3; ++i) expected.push_back("[AddItem(C:\\App\\a.exe,A)]\r\n");
    for (int i = 0; i < 3; ++i) expected.push_back("[AddItem(C:\\App\\b.exe,B)]\r\n");
    expected.push_back("[AddItem(C:\\App\\c.exe,C)]\r\n");
    expected.push_back("[AddItem(C:\\WINDOWS\\Uninstall.exe C:\\App,Uninstall App)]\r\n");
    EXPECT_EQ(sender.sent, expected);
}

TEST(ProgmanMacros, WithoutAConversationTheItemsAreNotTried) {
    std::vector<std::string> events;
    SendGroupMacros(
        Request({{"a.exe", "A"}, {"b.exe", "B"}}), [&] { return events.push_back("open"), false; },
        [&](const std::string& macro) { return events.push_back(macro.substr(0, 9)), false; });
    // The group and the uninstaller item are still handed over (and lost); opening comes first.
    EXPECT_EQ(events, (std::vector<std::string>{"open", "[CreateGr", "[AddItem("}));
}

TEST(ProgmanMacros, AGroupNameTooLongToSendKeepsTheItemsOutOfOtherGroups) {
    TScriptedSender sender;
    TGroupRequest request = Request({{"a.exe", "A"}});
    request.Group = std::string(260, 'G');
    SendGroupMacros(request, [] { return true; }, std::ref(sender));
    // The group macro is handed over (and refused for its length); no item follows it.
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0].substr(0, 13), "[CreateGroup(");
}

TEST(ProgmanMacros, AddOnValueSplitsAtTheFirstSpace) {
    using P = std::pair<std::string, std::string>;
    EXPECT_EQ(SplitAddOn("readme.txt"), P("readme.txt", ""));
    EXPECT_EQ(SplitAddOn("setup.exe /s"), P("setup.exe", "/s"));
    EXPECT_EQ(SplitAddOn("C:\\My Tools\\x.exe /a /b"), P("C:\\My", "Tools\\x.exe /a /b"));
    EXPECT_EQ(SplitAddOn("x.exe "), P("x.exe", ""));
    EXPECT_EQ(SplitAddOn(" x.exe"), P("", "x.exe"));
    EXPECT_EQ(SplitAddOn(""), P("", ""));
    for (int kind : {0, 1, 2}) EXPECT_TRUE(AddOnKindStarts(kind));
    for (int kind : {-1, 3, 100}) EXPECT_FALSE(AddOnKindStarts(kind));
}

// The portable INI reader against the rules of the system's profile functions (the same files are
// compared with the real functions under Wine in tests/win/ini_reader_test.cpp).
#include "publish/IniFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Instructions.h"

using quenby::TIniFile;

namespace {

std::vector<std::string> Keys(const TIniFile& file, const std::string& section) {
    quenby::TStringList list;
    file.ListKeys(section, list);
    return list.Items();
}

}  // namespace

TEST(IniFile, NamesCompareWithoutCaseAndBlanksAreTrimmed) {
    TIniFile file("[Settings]\r\n  Application  =  Widget Works  \r\nVERSION=2.1\r\n");
    EXPECT_EQ(file.ReadText("settings", "application", "x"), "Widget Works");
    EXPECT_EQ(file.ReadText("SETTINGS", "Version", "x"), "2.1");
    EXPECT_EQ(file.ReadText("Settings", "Missing", "dflt"), "dflt");
    EXPECT_EQ(file.ReadText("Other", "Version", "dflt"), "dflt");
    EXPECT_TRUE(file.HasSection("sEttings"));
    EXPECT_FALSE(file.HasSection("Other"));
}

TEST(IniFile, OnePairOfQuotesIsTakenOff) {
    TIniFile file("[S]\na=\" 0\"\nb='x'\nc=\"x'\nd=\"\ne=\"\"\"\"\n");
    EXPECT_EQ(file.ReadText("S", "a", ""), " 0");
    EXPECT_EQ(file.ReadText("S", "b", ""), "x");
    EXPECT_EQ(file.ReadText("S", "c", ""), "\"x'");
    EXPECT_EQ(file.ReadText("S", "d", ""), "\"");
    EXPECT_EQ(file.ReadText("S", "e", ""), "\"\"");
}

TEST(IniFile, KeyListKeepsOrderAndDuplicatesAndSkipsCommentsAndBareLines) {
    TIniFile file("[FilesIn]\na.ex_=\n; a comment\nb.tx_\nA.EX_=second\n\n  c.dl_ = \n[Next]\nz=1\n");
    EXPECT_EQ(Keys(file, "FilesIn"), std::vector<std::string>({"a.ex_", "A.EX_", "c.dl_"}));
    // The first of two equal keys wins.
    EXPECT_EQ(file.ReadText("FilesIn", "a.ex_", "d"), "");
    EXPECT_TRUE(Keys(file, "Missing").empty());
}

TEST(IniFile, OnlyTheFirstOfTwoEqualSectionsIsSeen) {
    TIniFile file("[S]\na=1\n[T]\nt=1\n[s]\nb=2\na=3\n");
    EXPECT_EQ(Keys(file, "S"), std::vector<std::string>({"a"}));
    EXPECT_EQ(file.ReadText("S", "b", "none"), "none");
}

TEST(IniFile, LinesBeforeTheFirstSectionBelongToNone) {
    TIniFile file("\xEF\xBB\xBF" "a=1\n[S]\nb=2\n");
    EXPECT_EQ(Keys(file, "S"), std::vector<std::string>({"b"}));
    EXPECT_EQ(file.ReadText("", "a", "none"), "none");
}

TEST(IniFile, InstructionsTakeTheInstallersDefaults) {
    quenby::TInstructions in;
    in.ReadFrom(TIniFile("[Settings]\nExpand=0x10\n[Items]\nw.exe\nv.exe=\n[FilesIn]\na=\nb=\n"), "A:\\\\");
    EXPECT_TRUE(in.Expand);
    EXPECT_EQ(in.ProgGroup, "Tavix");
    EXPECT_EQ(in.Directory, "c:\\tmp");
    EXPECT_EQ(in.Items.Items(), std::vector<std::string>({"v.exe"}));
    EXPECT_EQ(in.ItemsValues.Items(), std::vector<std::string>({""}));
    EXPECT_EQ(in.ProgressStep, 20);
    EXPECT_EQ(in.InstructionsPath, "A:\\\\Quenby.ipi");
    EXPECT_TRUE(in.DisplayTitle.empty());
}

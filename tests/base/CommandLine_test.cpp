// Setup.exe's switches: what is taken, and what is refused rather than passed over.
#include <gtest/gtest.h>

#include "base/CommandLine.h"

namespace quenby {

TEST(CommandLine, SplitsOnBlanksOutsideQuotesAndDropsTheQuotes) {
    const std::vector<std::string> expected = {"/DIR=C:\\Program Files\\Orrery", "/NAME=", "/log=a b.txt"};
    EXPECT_EQ(SplitCommandLine("  /DIR=\"C:\\Program Files\\Orrery\" /NAME=\"\"\t\"/log=a b.txt\" "), expected);
    EXPECT_TRUE(SplitCommandLine(" \t ").empty());
}

TEST(CommandLine, SwitchesInAnyCaseWithTheirValues) {
    const TSetupOptions options = ParseSetupCommandLine(
        "/silent /VerySilent /dir=\"D:\\My Apps\\Orrery\" /Name=Ann /ORG= /LOADINF=in.inf /saveinf=out.inf /Log=x.log "
        "/addons");
    EXPECT_EQ(options.BadSwitch, "");
    EXPECT_EQ(options.Mode, TSetupMode::VerySilent);  // the quieter wins, in either order
    EXPECT_EQ(options.Dir, "D:\\My Apps\\Orrery");
    EXPECT_EQ(options.Name, "Ann");
    EXPECT_EQ(options.Org, "");
    EXPECT_EQ(options.LoadInf + options.SaveInf + options.Log, "in.infout.infx.log");
    EXPECT_TRUE(options.AddOns);
    EXPECT_EQ(ParseSetupCommandLine("/VERYSILENT /SILENT").Mode, TSetupMode::VerySilent);
    EXPECT_EQ(ParseSetupCommandLine("").Mode, TSetupMode::Interactive);
    EXPECT_FALSE(ParseSetupCommandLine("").Dir.has_value());
}

TEST(CommandLine, RefusesUnknownRepeatedAndMalformedSwitchesButKeepsTheMode) {
    const struct {
        const char* line;
        const char* refused;
    } cases[] = {
        {"/VERYSILENT /QUIET", "/QUIET"},   {"/SILENT=1", "/SILENT=1"},     {"/DIR", "/DIR"},
        {"/DIR= /NAME=x", "/DIR="},         {"/LOG=", "/LOG="},             {"/NAME=a /name=b", "/name=b"},
        {"C:\\Orrery", "C:\\Orrery"},       {"/D /E", "/D"},                {"/VERYSILENT -SILENT", "-SILENT"},
    };
    for (const auto& c : cases) {
        const TSetupOptions options = ParseSetupCommandLine(c.line);
        EXPECT_EQ(options.BadSwitch, c.refused) << c.line;
    }
    EXPECT_EQ(ParseSetupCommandLine("/VERYSILENT /QUIET").Mode, TSetupMode::VerySilent);
}

}  // namespace quenby

// Setup.exe's switches: what is taken, and what is refused rather than passed over.
#include <gtest/gtest.h>

#include "base/CommandLine.h"
#include "base/Texts.h"

namespace quenby {

TEST(CommandLine, SwitchesInAnyCaseWithTheirValuesQuotedOrNotAndTheRestRefused) {
    const TSetupOptions options = ParseSetupCommandLine(
        " /silent\t/VerySilent /dir=\"D:\\My Apps\\Orrery\" /Name=Ann /ORG=\"\" \"/LOADINF=in 1.inf\" /saveinf=o.inf "
        "/Log=x.log /addons ");
    EXPECT_EQ(options.BadSwitch, "");
    EXPECT_EQ(options.Mode, TSetupMode::VerySilent);  // the quieter wins, in either order
    EXPECT_EQ(*options.Dir + "|" + *options.Name + "|" + *options.Org, "D:\\My Apps\\Orrery|Ann|");
    EXPECT_EQ(options.LoadInf + "|" + options.SaveInf + "|" + options.Log, "in 1.inf|o.inf|x.log");
    EXPECT_TRUE(options.AddOns);
    EXPECT_EQ(ParseSetupCommandLine("/VERYSILENT /SILENT").Mode, TSetupMode::VerySilent);
    // The deployment tools' line; /LOG alone wants the dated log.
    const TSetupOptions tools =
        ParseSetupCommandLine("/sp- /VERYSILENT /SuppressMsgBoxes /NORESTART /NOCANCEL /LOG \"/DIR=C:\\A B\"");
    EXPECT_EQ(tools.BadSwitch + "|" + tools.Log + "|" + *tools.Dir, "||C:\\A B");
    EXPECT_TRUE(tools.LogWanted && ParseSetupCommandLine("/?").Help && ParseSetupCommandLine("/help").Help);
    EXPECT_EQ(ParseSetupCommandLine(" ").Mode, TSetupMode::Interactive);
    EXPECT_FALSE(ParseSetupCommandLine("").Dir.has_value());
    const std::pair<const char*, const char*> cases[] = {
        {"/VERYSILENT /QUIET", "/QUIET"},
        {"/SILENT=1", "/SILENT=1"},
        {"/DIR", "/DIR"},
        {"/DIR= /NAME=x", "/DIR="},
        {"/LOG=", "/LOG="},
        {"/SP-=1 /LOG /LOG", "/SP-=1"},
        {"/LOG /LOG=x", "/LOG=x"},
        {"/NAME=a /name=b", "/name=b"},
        {"C:\\Orrery", "C:\\Orrery"},
        {"/D /E", "/D"},
    };
    for (const auto& [line, refused] : cases) EXPECT_EQ(ParseSetupCommandLine(line).BadSwitch, refused) << line;
    EXPECT_EQ(ParseSetupCommandLine("/VERYSILENT /QUIET").Mode, TSetupMode::VerySilent);
    // The help is made from the switch table: every row on a line of its own, the value's word after "=".
    EXPECT_EQ(BadSwitchText("/D"),
              "Unknown or malformed switch /D.\r\n\r\n/SILENT\r\n/VERYSILENT\r\n/DIR=path\r\n/NAME=text\r\n"
              "/ORG=text\r\n/LOADINF=file\r\n/SAVEINF=file\r\n/LOG[=file]\r\n/ADDONS\r\n/SP-\r\n"
              "/SUPPRESSMSGBOXES\r\n/NORESTART\r\n/NOCANCEL\r\n/?\r\n/HELP");
}

}  // namespace quenby

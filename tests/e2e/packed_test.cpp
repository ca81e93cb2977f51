// The sample laid out on disks by quenby-pack, installed from the floppy drive with the disk changed at
// the prompt, as a publisher would try a set before shipping it.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "ConsoleRun.h"
#include "Driver.h"
#include "PrefixFiles.h"
#include "Wizard.h"

namespace quenby {
namespace {

using namespace drive;
using test::kPageMs;
using test::TWizard;

std::string Built(const std::string& name) { return test::ReadFileText(test::BuildDir() + "\\" + name); }
std::string Media(const std::string& name) {
    return test::ReadFileText(test::SourceDir() + "\\examples\\orrery\\media\\" + name);
}

TEST(PackedDisksE2e, InstallsFromTheDisksTheToolLaidOut) {
    const std::string destination = "C:\\Packed Orrery";
    TWizard wizard("A:\\Setup.exe", "A:\\");
    wizard.WaitInfo("Welcome to Quenby. This program will automatically install and configure Orrery 1.4 on your "
                    "computer.");
    for (int notice = 0; notice < 2; ++notice) {
        Click(wizard.Item("NextBut"));
        WaitUntil([&] { return Text(wizard.Item("InfoMemo")).rfind(notice ? "WELCOME" : "ORRERY", 0) == 0; },
                  kPageMs, "a start notice");
    }
    wizard.ToDestinationPage();
    wizard.Enter("EditPath", destination);
    Click(wizard.Item("NextBut"));
    // The first disk held only the shared file: the prompt asks for the first product file.
    WaitText(wizard.Item("ProgressLabel"),
             "Please insert the next disk and press ok to continue or cancel to exit the installation.", kPageMs);
    EXPECT_EQ(Text(wizard.Item("SourceLabel")), "A:\\\\orrery.ex_");
    ASSERT_EQ(RunHost("ln -sfn \"$WINEPREFIX/media/packed/disk2\" \"$WINEPREFIX/dosdevices/a:\""), 0);
    Click(wizard.Item("NextBut"));
    wizard.WaitInfo("Orrery 1.4 was installed successfuly. Please select next to continue.");
    wizard.CloseOtherWindow("readme.txt");
    wizard.CloseOtherWindow("Brightwater Orrery");
    Click(wizard.Item("NextBut"));  // the closing notice, read from the last disk
    WaitUntil([&] { return Text(wizard.Item("InfoMemo")).rfind("THANK YOU", 0) == 0; }, kPageMs, "closing notice");
    Click(wizard.Item("NextBut"));
    wizard.WaitPage("Quenby has installed Orrery 1.4 successfully, congratulations.", "InfoMemo");
    Click(wizard.Item("NextBut"));
    EXPECT_EQ(wizard.Driver().WaitExit(kPageMs), 0u);

    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(test::ReadFileText(std::string(windows) + "\\orrshare.dll"), Built("orrshare.dll"));
    EXPECT_EQ(test::ReadFileText(destination + "\\orrery.exe"), Built("orrery.exe"));
    for (const char* name : {"readme.txt", "data\\planets.txt", "data\\moons.txt", "charts\\ecliptic.txt"}) {
        std::string file = name;
        EXPECT_EQ(test::ReadFileText(destination + "\\" + file), Media(file.substr(file.find('\\') + 1))) << name;
    }
}

}  // namespace
}  // namespace quenby

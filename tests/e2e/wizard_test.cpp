// The real Setup.exe driven from outside as a user would, through the wizard: once to the interruption
// page and once through a whole installation. Every page is photographed into
// <build>/screenshots/<Suite.Test>/.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "Driver.h"
#include "RegistryProbe.h"
#include "ScratchFolder.h"
#include "Wizard.h"

namespace quenby {
namespace {

using namespace drive;

using test::kPageMs;
using test::TWizard;

constexpr char kNoticesText[] =
    "Please read the following notices carefully, they contain important commercial and technical information.";

TEST(WizardE2e, NoticesUserAndDestinationPagesThenCancelAndFinishEndsTheProgram) {
    test::TScratchFolder dist("quenby-e2e-wizard");
    dist.Write("Quenby.ipi",
               "[Settings]\r\nApplication=Atlas\r\nVersion=2.0\r\nCopyright=Copyright (c) 1999 Atlas Software Ltd.\r\n"
               "WebAddress=www.atlas.example\r\nEmailAddress=support@atlas.example\r\nDirectory=C:\\Atlas\r\n"
               "[StartInfo]\r\nlicense.txt=\r\nwelcome.txt=\r\n");
    dist.Write("license.txt", "ATLAS LICENCE\r\n\r\nYou may install Atlas on one computer.\r\n");
    dist.Write("welcome.txt", "Welcome to Atlas 2.0.\r\n\r\nThis notice is the second of two.\r\n");
    TWizard wizard(dist.Path());
    EXPECT_EQ(Text(wizard.Dialog()), "Atlas 2.0 Installation");
    wizard.WaitInfo("Welcome to Quenby. This program will automatically install and configure Atlas 2.0 on your "
                    "computer.");
    EXPECT_FALSE(Enabled(wizard.Item("PrevBut")));
    wizard.Shot("1-welcome");

    Click(wizard.Item("NextBut"));
    WaitText(wizard.Item("InfoMemo"), "ATLAS LICENCE\r\n\r\nYou may install Atlas on one computer.", kPageMs);
    EXPECT_EQ(Text(wizard.Item("InfoLabel")), kNoticesText);
    wizard.Shot("2-notice");
    Keys("key alt+n");  // the accelerator of Next
    WaitText(wizard.Item("InfoMemo"), "Welcome to Atlas 2.0.\r\n\r\nThis notice is the second of two.", kPageMs);

    Click(wizard.Item("NextBut"));
    wizard.WaitPage("Please follow the instructions provided with your software to fill in your registration name "
                    "and organization fields.",
                    "EditName");
    EXPECT_FALSE(Visible(wizard.Item("InfoMemo")));
    EXPECT_TRUE(Enabled(wizard.Item("PrevBut")));
    wizard.Enter("EditName", "Ann Example");
    wizard.Enter("EditOrg", "Example Widgets Ltd.");
    wizard.Shot("3-user");

    Click(wizard.Item("NextBut"));
    wizard.WaitPage("Please accept the default path displayed or select a different path to install Atlas 2.0 on "
                    "your computer.",
                    "EditPath");
    EXPECT_EQ(Text(wizard.Item("EditPath")), "C:\\Atlas");
    EXPECT_FALSE(Visible(wizard.Item("EditName")));
    TRemoteTree tree(wizard.Item("DirTree"));  // the tree view inside its host
    tree.SelectPath("C:\\windows");
    WaitText(wizard.Item("EditPath"), "C:\\windows\\Atlas", kPageMs);
    wizard.Shot("4-destination");

    Click(wizard.Item("CancelBut"));
    wizard.WaitPage("The installation of Atlas 2.0 did not completed successfuly.", "InfoMemo");
    EXPECT_FALSE(Visible(wizard.Item("EditPath")));
    EXPECT_FALSE(Enabled(wizard.Item("PrevBut")));
    EXPECT_FALSE(Enabled(wizard.Item("CancelBut")));
    EXPECT_EQ(Text(wizard.Item("NextBut")), "&Finish");
    wizard.Shot("5-interrupted");
    // Nothing was installed.
    EXPECT_EQ(GetFileAttributesA("C:\\windows\\Atlas"), INVALID_FILE_ATTRIBUTES);

    Click(wizard.Item("NextBut"));
    EXPECT_EQ(wizard.Driver().WaitExit(kPageMs), 0u);
}

TEST(WizardE2e, WholeInstallationFromWelcomeToFinish) {
    test::TScratchFolder dist("quenby-e2e-install");
    test::TScratchFolder target("quenby-e2e-target");
    const std::string destination = target / "Probe Product";
    dist.Write("Quenby.ipi",
               "[Settings]\r\nApplication=Probe Product\r\nVersion=1.5\r\nExpand=0\r\nProgGroup=Probe Product\r\n"
               "Directory=C:\\Probe\r\n"
               "[EndInfo]\r\nthanks.txt=\r\n"
               "[Dirs]\r\ndocs=0\r\n"
               "[FilesIn]\r\nprobe.txt=\r\nguide.txt=\r\n"
               "[FilesOut]\r\nprobe.txt=0\r\ndocs\\guide.txt=0\r\n"
               "[Keys]\r\nBase=\\Software\\Norvale Tests\\Probe Product\r\nOwner=Registration\r\n"
               "[Owner]\r\nName=$NAME\r\nOrganization=$ORG\r\nEdition=Standard\r\n");
    dist.Write("thanks.txt", "Thank you for installing Probe Product.\r\n");
    dist.Write("probe.txt", "the probe program\r\n");
    dist.Write("guide.txt", "the probe guide\r\n");
    TWizard wizard(dist.Path());
    wizard.WaitInfo("Welcome to Quenby. This program will automatically install and configure Probe Product 1.5 on "
                    "your computer.");

    Click(wizard.Item("NextBut"));  // no start notices: the user page at once
    WaitUntil([&] { return Visible(wizard.Item("EditName")); }, kPageMs, "the user page");
    wizard.Enter("EditName", "Bo Tester");
    wizard.Enter("EditOrg", "Test Org");

    Click(wizard.Item("NextBut"));
    WaitUntil([&] { return Visible(wizard.Item("EditPath")); }, kPageMs, "the destination page");
    wizard.Enter("EditPath", destination);

    Click(wizard.Item("NextBut"));
    wizard.WaitInfo("Probe Product 1.5 was installed successfuly. Please select next to continue.");
    EXPECT_TRUE(Visible(wizard.Item("ProgressBar")));
    EXPECT_EQ(SendMessageA(wizard.Item("ProgressBar"), PBM_GETPOS, 0, 0), 100);
    WaitUntil([&] { return !Enabled(wizard.Item("PrevBut")); }, kPageMs, "Previous disabled after the copy step");
    wizard.CloseOtherWindow("Probe Product");
    wizard.Shot("6-installed");

    Click(wizard.Item("NextBut"));
    WaitText(wizard.Item("InfoMemo"), "Thank you for installing Probe Product.", kPageMs);
    EXPECT_FALSE(Visible(wizard.Item("ProgressBar")));
    wizard.Shot("7-closing-notice");

    Click(wizard.Item("NextBut"));
    wizard.WaitPage("Quenby has installed Probe Product 1.5 successfully, congratulations.", "InfoMemo");
    EXPECT_EQ(Text(wizard.Item("NextBut")), "&Finish");
    EXPECT_FALSE(Enabled(wizard.Item("CancelBut")));
    wizard.Shot("8-finish");
    Click(wizard.Item("NextBut"));
    EXPECT_EQ(wizard.Driver().WaitExit(kPageMs), 0u);

    EXPECT_EQ(test::ReadWholeFile(destination + "\\probe.txt"), "the probe program\r\n");
    EXPECT_EQ(test::ReadWholeFile(destination + "\\docs\\guide.txt"), "the probe guide\r\n");
    const std::string product = "Software\\Norvale Tests\\Probe Product";
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, product + "\\Registration", "Name"), "Bo Tester");
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, product + "\\Registration", "Organization"), "Test Org");
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, product + "\\Registration", "Edition"), "Standard");
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, product + "\\Quenby", "Path"), destination);
    const std::string uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Probe Product";
    EXPECT_EQ(test::RegText(HKEY_LOCAL_MACHINE, uninstall, "DisplayName"), "Probe Product 1.5");
    EXPECT_NE(test::ReadWholeFile(destination + "\\Quenby.upi").find("Bo Tester"), std::string::npos);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Norvale Tests");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, uninstall.c_str());
}

TEST(WizardE2e, CopyStepNeverLooksHungAndAClickMadeDuringItIsHandledAfterIt) {
    test::TScratchFolder dist("quenby-e2e-busy");
    test::TScratchFolder target("quenby-e2e-busy-target");
    const std::string destination = target / "Busy";
    std::string ipi = "[Settings]\r\nApplication=Busy\r\nVersion=1\r\nExpand=0\r\nDirectory=C:\\Busy\r\n"
                      "[Keys]\r\nBase=\\Software\\Norvale Tests\\Busy\r\n[FilesIn]\r\n";
    std::string out = "[FilesOut]\r\n";
    for (int i = 10; i < 24; ++i) {  // 14 files: 7 s of pauses, more than the 5 s after which a window looks hung
        const std::string name = std::string("f").append(std::to_string(i)).append(".txt");
        ipi.append(name).append("=\r\n");
        out.append(name).append("=0\r\n");
        dist.Write(name, name);
    }
    dist.Write("Quenby.ipi", ipi.append(out));
    TWizard wizard(dist.Path());
    wizard.ToDestinationPage();
    wizard.Enter("EditPath", destination);
    Click(wizard.Item("NextBut"));
    WaitUntil([&] { return Text(wizard.Item("SourceLabel")).find("f12.txt") != std::string::npos; }, kPageMs,
              "the third file copied");
    Click(wizard.Item("NextBut"));  // taken as the finish page's Next once the step is over
    bool hung = false;
    WaitUntil(
        [&] {
            hung = hung || IsHungAppWindow(wizard.Dialog());
            return Text(wizard.Item("InfoLabel")) == "Quenby has installed Busy 1 successfully, congratulations.";
        },
        kPageMs, "the finish page");
    EXPECT_FALSE(hung);
    EXPECT_EQ(test::ReadWholeFile(destination + "\\f23.txt"), "f23.txt");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Norvale Tests");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Busy");
}

}  // namespace
}  // namespace quenby

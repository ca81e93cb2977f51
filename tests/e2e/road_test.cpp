// The road of one installation of the sample product, driven from outside as a user would: the
// compressed two-disk set in the floppy drive A:, Setup.exe started from it, the disk changed at the
// prompt; a cancel on the user and the destination page (on a notice: faults_test.cpp; at the disk prompt:
// uninstall_test.cpp); a second installation over the first. The pages of the road are photographed into
// <build>/screenshots/<Suite.Test>/.
// ctest .i686 shipped RoadE2e.WholeRoad*
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "Driver.h"
#include "Host.h"
#include "Prefix.h"
#include "ShellLinkReader.h"
#include "Wizard.h"

namespace quenby {
namespace {

using namespace drive;
using test::kPageMs;
using test::TWizard;
using test::WindowsDir;

constexpr char kWelcome[] =
    "Welcome to Quenby. This program will automatically install and configure Orrery 1.4 on your computer.";
constexpr char kNotices[] =
    "Please read the following notices carefully, they contain important commercial and technical information.";
constexpr char kUserPage[] =
    "Please follow the instructions provided with your software to fill in your registration name and "
    "organization fields.";
constexpr char kDestinationPage[] =
    "Please accept the default path displayed or select a different path to install Orrery 1.4 on your computer.";
constexpr char kPrompt[] = "Please insert the next disk and press ok to continue or cancel to exit the installation.";
constexpr char kDefaultDestination[] = "C:\\Program Files\\Orrery";
constexpr char kGroup[] = "Brightwater Orrery";
constexpr char kAbsoluteDir[] = "C:\\OrreryData";
const std::string kProduct = "Software\\Brightwater\\Orrery";
const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orrery";
const std::string kCounters = "Software\\Norvale\\Uninstall\\Counters";

std::string GroupFolder() {
    char folder[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::string(folder) + "\\" + kGroup;
}

std::string BuiltFile(const std::string& name) { return test::ReadFile(test::SetupBuildDir() + "\\" + name); }
std::string MediaFile(const std::string& name) {
    return test::ReadFile(test::SourceDir() + "\\examples\\orrery\\media\\" + name);
}

std::string Record(const std::string& destination, const char* section, const char* key) {
    char value[512] = {};
    GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, (destination + "\\Quenby.upi").c_str());
    return value;
}

// The sample started from drive A: with its first disk in, on the welcome page.
std::unique_ptr<TWizard> StartFromFloppy() {
    test::InsertDisk("orrery/disk1");
    auto wizard = std::make_unique<TWizard>("A:\\Setup.exe", "A:\\");
    wizard->WaitInfo(kWelcome);
    return wizard;
}

void ToUserPage(const TWizard& wizard) {
    // Next by its Alt+letter, as a keyboard user presses it; no button takes the focus, or a typed
    // letter would press it.
    SetForegroundWindow(wizard.Dialog());
    Keys("key alt+n");
    wizard.WaitNotice("ORRERY 1.4 - LICENCE");
    wizard.PastNotices({"WELCOME TO ORRERY"});
    const HWND focus = wizard.Focus();
    EXPECT_TRUE(focus == wizard.Dialog() || IsChild(wizard.Dialog(), focus)) << "the keys go outside the wizard";
    for (const char* button : {"NextBut", "PrevBut", "CancelBut"}) EXPECT_NE(focus, wizard.Item(button));
    Click(wizard.Item("NextBut"));
    wizard.WaitPage(kUserPage, "EditName");
}

void ToDestinationPage(const TWizard& wizard, const std::string& name, const std::string& organization) {
    wizard.Enter("EditName", name);
    wizard.Enter("EditOrg", organization);
    Click(wizard.Item("NextBut"));
    wizard.WaitPage(kDestinationPage, "EditPath");
}

// Each test starts from a prefix without the sample, whichever test ran before it.
void ForgetOrrery() {
    for (const char* folder : {kDefaultDestination, kAbsoluteDir, "C:\\Brightwater"}) test::RemoveTree(folder);
    test::RemoveTree(GroupFolder());
    DeleteFileA((WindowsDir() + "\\orrshare.dll").c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Brightwater");
    RegDeleteTreeA(HKEY_CURRENT_USER, kCounters.c_str());
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kUninstall.c_str(), test::SetupView(), 0);
}

TEST(RoadE2e, CancelBeforeTheCopyStepLeavesNothing) {
    // On the user page with a name typed; on the destination page with a path typed.
    ForgetOrrery();
    for (const bool onDestinationPage : {false, true}) {
        SCOPED_TRACE(onDestinationPage);
        auto wizard = StartFromFloppy();
        ToUserPage(*wizard);
        if (onDestinationPage) {
            ToDestinationPage(*wizard, "Cy Cancel", "Nowhere Ltd.");
            wizard->Enter("EditPath", "C:\\Orrery Typed");
        } else {
            wizard->Enter("EditName", "Cy Cancel");
        }
        wizard->Cancel("Orrery 1.4");
        // No folder, file, program group, product key, uninstall entry or counter.
        for (const char* folder : {kDefaultDestination, "C:\\Orrery Typed", kAbsoluteDir})
            EXPECT_FALSE(test::IsFolder(folder)) << folder;
        EXPECT_FALSE(test::Exists(WindowsDir() + "\\orrshare.dll"));
        EXPECT_FALSE(test::IsFolder(GroupFolder()));
        EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, "Software\\Brightwater"));
        EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kUninstall, test::SetupView()));
        EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kCounters));
    }
}

TEST(RoadE2e, WholeRoadThenASecondInstallationCancelledAfterItsCopyStep) {
    ForgetOrrery();
    const std::string destination = "C:\\Brightwater\\Orrery 1.4";
    {
        auto wizard = StartFromFloppy();
        EXPECT_EQ(Text(wizard->Dialog()), "Orrery 1.4 Installation");
        ToUserPage(*wizard);
        EXPECT_EQ(Text(wizard->Item("InfoLabel")), kUserPage);
        ToDestinationPage(*wizard, "First Try", "Try Org");
        EXPECT_EQ(Text(wizard->Item("EditPath")), kDefaultDestination);
        const HWND tree = FindWindowExA(wizard->Item("DirTree"), nullptr, WC_TREEVIEWA, nullptr);
        EXPECT_EQ(SendMessageA(tree, WM_GETFONT, 0, 0), SendMessageA(wizard->Item("EditPath"), WM_GETFONT, 0, 0));
        TRemoteTree(wizard->Item("DirTree"), wizard->Item("EditPath")).SelectPath("C:\\users");
        WaitText(wizard->Item("EditPath"), "C:\\users\\Orrery", kPageMs);
        wizard->Shot("1-destination-tree");

        // Previous, then forward again: no notice again, the names proposed anew, the default path again.
        Click(wizard->Item("PrevBut"));
        wizard->WaitPage(kNotices, "InfoMemo");
        EXPECT_FALSE(Enabled(wizard->Item("PrevBut")));
        Click(wizard->Item("NextBut"));
        wizard->WaitPage(kUserPage, "EditName");
        EXPECT_NE(Text(wizard->Item("EditName")), "First Try");
        ToDestinationPage(*wizard, "Ann Orbit", "Star Gazers Ltd.");
        EXPECT_EQ(Text(wizard->Item("EditPath")), kDefaultDestination);

        wizard->StartCopyInto(destination);
        WaitText(wizard->Item("ProgressLabel"), kPrompt, kPageMs);
        // The root A:\ as the current directory gives a source directory ending in two backslashes.
        EXPECT_EQ(Text(wizard->Item("SourceLabel")), "A:\\\\data\\planets.tx_");
        EXPECT_EQ(Text(wizard->Item("DestinationLabel")), destination + "\\data\\planets.txt");
        // Four files of seven, 100 div (7 + 3) each.
        EXPECT_EQ(SendMessageA(wizard->Item("ProgressBar"), PBM_GETPOS, 0, 0), 4 * 10);
        EXPECT_TRUE(Enabled(wizard->Item("PrevBut")));
        wizard->Shot("2-disk-prompt");
        test::InsertDisk("orrery/disk2");
        Click(wizard->Item("NextBut"));
        wizard->WaitInfo("Orrery 1.4 was installed successfuly. Please select next to continue.");
        WaitUntil([&] { return !Enabled(wizard->Item("PrevBut")); }, kPageMs, "Previous disabled");
        EXPECT_EQ(SendMessageA(wizard->Item("ProgressBar"), PBM_GETPOS, 0, 0), 100);
        // The add-on: the read-me opened by the shell from the disk in the drive.
        wizard->CloseOtherWindow("readme.txt");
        wizard->CloseOtherWindow(kGroup);
        wizard->Shot("3-installed");
        wizard->Finish("Orrery 1.4", "THANK YOU FOR INSTALLING ORRERY", 0, "4-finish");
    }

    // Every product file expanded byte for byte, the system file in the Windows directory.
    EXPECT_EQ(test::ReadFile(destination + "\\orrery.exe"), BuiltFile("orrery.exe"));
    EXPECT_EQ(test::ReadFile(WindowsDir() + "\\orrshare.dll"), BuiltFile("orrshare.dll"));
    for (const std::string file : {"readme.txt", "data\\planets.txt", "data\\moons.txt", "charts\\ecliptic.txt"})
        EXPECT_EQ(test::ReadFile(destination + "\\" + file), MediaFile(file.substr(file.find('\\') + 1))) << file;
    EXPECT_TRUE(test::IsFolder(kAbsoluteDir));

    // Registry: the typed names, ordinary values, path and date, the uninstall entry, the counter.
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, kProduct + "\\Registration", "Name"), "Ann Orbit");
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, kProduct + "\\Registration", "Organization"), "Star Gazers Ltd.");
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, kProduct + "\\Registration", "Edition"), "Standard");
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, kProduct + "\\Settings", "Color"), "Blue");
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, kProduct + "\\Quenby", "Path"), destination);
    // Today in the prefix's locale (en-US: M/d/yyyy h:mm:ss AM or PM).
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const std::string date = test::RegText(HKEY_CURRENT_USER, kProduct + "\\Quenby", "Date");
    const std::string today =
        std::to_string(now.wMonth) + "/" + std::to_string(now.wDay) + "/" + std::to_string(now.wYear) + " ";
    EXPECT_TRUE(date.starts_with(today) && (date.ends_with(" AM") || date.ends_with(" PM")) &&
                date.size() >= today.size() + 10)
        << date;
    const std::string uninstallCommand = WindowsDir() + "\\Uninstall.exe " + destination;
    EXPECT_EQ(test::RegText(HKEY_LOCAL_MACHINE, kUninstall, "DisplayName", test::SetupView()), "Orrery 1.4");
    EXPECT_EQ(test::RegText(HKEY_LOCAL_MACHINE, kUninstall, "UninstallString", test::SetupView()), uninstallCommand);
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, kCounters, "orrshare.dll"), "1");

    // The record: substituted values only, its sections in the order first written.
    const std::string record = test::ReadFile(destination + "\\Quenby.upi");
    const std::size_t registration = record.find("[Registration]"), quenby = record.find("[Quenby]"),
                      uninstall = record.find("[Uninstall]");
    EXPECT_TRUE(registration < quenby && quenby < uninstall && uninstall != std::string::npos) << record;
    EXPECT_FALSE(test::Holds(record, "[Settings]") || test::Holds(record, "Standard")) << record;
    EXPECT_EQ(Record(destination, "Registration", "Organization"), "Star Gazers Ltd.");
    EXPECT_EQ(Record(destination, "Quenby", "Path"), destination);
    EXPECT_EQ(Record(destination, "Uninstall", "UninstallString"), uninstallCommand);

    // The group that Wine's Program Manager made: one link per item (it refuses the uninstaller's).
    const auto links = std::filesystem::directory_iterator(GroupFolder());
    EXPECT_EQ(std::count_if(begin(links), end(links), [](const auto& at) { return at.path().extension() == ".lnk"; }),
              2);
    const HRESULT com = CoInitialize(nullptr);
    const auto link = ReadShellLink(GroupFolder() + "\\Orrery Read Me.lnk");
    EXPECT_TRUE(link && lstrcmpiA(link->Target.c_str(), (destination + "\\readme.txt").c_str()) == 0);
    if (SUCCEEDED(com)) CoUninitialize();

    // A second installation into the same directory, from a plain one-disk set whose instructions no
    // longer substitute the organisation; cancelled once its copy step is done.
    test::TScratchFolder second("quenby-road-second");
    second.Write("Quenby.ipi",
                 "[Settings]\r\nApplication=Orrery\r\nVersion=1.5\r\nProgGroup=Brightwater Orrery\r\nExpand=0\r\n"
                 "Directory=C:\\Program Files\\Orrery\r\n"
                 "[SysFilesIn]\r\norrshare.dll=\r\n[SysFilesOut]\r\norrshare.dll=0\r\n"
                 "[FilesIn]\r\norrery.exe=\r\nreadme.txt=\r\n[FilesOut]\r\norrery.exe=0\r\nreadme.txt=1\r\n"
                 "[Items]\r\norrery.exe=Orrery\r\n"
                 "[Keys]\r\nBase=\\Software\\Brightwater\\Orrery\r\nOwner=Registration\r\n"
                 "[Owner]\r\nName=$NAME\r\nOrganization=Brightwater customers\r\nEdition=Professional\r\n");
    second.Write("orrshare.dll", BuiltFile("orrshare.dll"));
    second.Write("orrery.exe", "Orrery 1.5 in plain\r\n");
    second.Write("readme.txt", "kept out: only the replace value 0 overwrites\r\n");
    {
        TWizard wizard(second.Path());
        wizard.ToDestinationPage("Bea Second");
        wizard.StartCopyInto(destination);
        wizard.WaitInfo("Orrery 1.5 was installed successfuly. Please select next to continue.");
        wizard.CloseOtherWindow(kGroup);
        wizard.Cancel("Orrery 1.5", 0);
    }
    EXPECT_EQ(test::ReadFile(destination + "\\orrery.exe"), "Orrery 1.5 in plain\r\n");
    EXPECT_EQ(test::ReadFile(destination + "\\readme.txt"), MediaFile("readme.txt"));
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, kCounters, "orrshare.dll"), "2");
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, kProduct + "\\Registration", "Organization"), "Brightwater customers");
    EXPECT_EQ(test::RegText(HKEY_LOCAL_MACHINE, kUninstall, "DisplayName", test::SetupView()), "Orrery 1.5");
    EXPECT_EQ(Record(destination, "Registration", "Name"), "Bea Second");
    EXPECT_EQ(Record(destination, "Registration", "Organization"), "Star Gazers Ltd.");  // kept from the first
    EXPECT_EQ(Record(destination, "Uninstall", "DisplayName"), "Orrery 1.5");
}

// A copy step of several seconds: the wizard keeps looking at its queue, so it never looks hung, and takes no
// input from it, so a click made meanwhile counts once the step is over.
TEST(RoadE2e, CopyStepNeverLooksHungAndAClickMadeDuringItIsHandledAfterIt) {
    test::TScratchFolder dist("quenby-e2e-busy");
    test::TScratchFolder target("quenby-e2e-busy-target");
    std::string ipi =
        "[Settings]\r\nApplication=Busy\r\nVersion=1\r\nExpand=0\r\nDirectory=C:\\Busy\r\n"
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
    wizard.StartCopyInto(target / "Busy");
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
    EXPECT_EQ(test::ReadFile(target / "Busy\\f23.txt"), "f23.txt");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Norvale Tests");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Busy");
}

}  // namespace
}  // namespace quenby

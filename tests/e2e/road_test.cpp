// The road of one installation of the sample product, driven from outside as a user would: the
// compressed two-disk set in the floppy drive A:, Setup.exe started from it, the disk changed at the
// prompt; a cancel at every point of the wizard; a second installation over the first; the same product
// laid out on disks again by the publisher's tool. The pages of the road are photographed into
// <build>/screenshots/<Suite.Test>/.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "Driver.h"
#include "Host.h"
#include "Prefix.h"
#include "ShellLinkReader.h"
#include "Wizard.h"

namespace quenby {
namespace {

using test::WindowsDir;

using namespace drive;
using test::kPageMs;
using test::TWizard;

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

// The user swaps the disk in drive A: (the prepare script laid the sets out in $WINEPREFIX/media).
void InsertDisk(int number, const std::string& set = "orrery") {
    const std::string disk = "\"$WINEPREFIX/media/" + set + "/disk" + std::to_string(number) + "\"";
    ASSERT_EQ(RunHost("ln -sfn " + disk + " \"$WINEPREFIX/dosdevices/a:\""), 0);
}

std::string GroupFolder() {
    char folder[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::string(folder) + "\\" + kGroup;
}

int LinkCount(const std::string& folder) {
    std::error_code error;
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        count += entry.path().extension() == ".lnk";
    return count;
}

std::string BuiltFile(const std::string& name) { return test::ReadFile(test::SetupBuildDir() + "\\" + name); }
std::string MediaFile(const std::string& name) {
    return test::ReadFile(test::SourceDir() + "\\examples\\orrery\\media\\" + name);
}

// Every product file expanded byte for byte, the system file in the Windows directory.
void ExpectProductFiles(const std::string& destination) {
    EXPECT_EQ(test::ReadFile(destination + "\\orrery.exe"), BuiltFile("orrery.exe"));
    EXPECT_EQ(test::ReadFile(WindowsDir() + "\\orrshare.dll"), BuiltFile("orrshare.dll"));
    for (const char* name : {"readme.txt", "data\\planets.txt", "data\\moons.txt", "charts\\ecliptic.txt"}) {
        std::string file = name;
        EXPECT_EQ(test::ReadFile(destination + "\\" + file), MediaFile(file.substr(file.find('\\') + 1))) << name;
    }
}

std::string Record(const std::string& destination, const char* section, const char* key) {
    char value[512] = {};
    GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, (destination + "\\Quenby.upi").c_str());
    return value;
}

long Progress(const TWizard& wizard) {
    return static_cast<long>(SendMessageA(wizard.Item("ProgressBar"), PBM_GETPOS, 0, 0));
}

void WaitMemoBegins(const TWizard& wizard, const std::string& firstLine) {
    WaitUntil([&] { return Text(wizard.Item("InfoMemo")).rfind(firstLine, 0) == 0; }, kPageMs,
              "the notice " + firstLine);
}

// The sample started from drive A: with its first disk in, on the welcome page.
std::unique_ptr<TWizard> StartFromFloppy(const std::string& set = "orrery") {
    InsertDisk(1, set);
    auto wizard = std::make_unique<TWizard>("A:\\Setup.exe", "A:\\");
    wizard->WaitInfo(kWelcome);
    return wizard;
}

// The control of the wizard's thread that has the keyboard focus.
HWND FocusOf(const TWizard& wizard) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(wizard.Dialog(), nullptr), &info);
    return info.hwndFocus;
}

void ToUserPage(const TWizard& wizard) {
    // Next by its Alt+letter, as a keyboard user presses it; no button takes the focus, or a typed
    // letter would press it.
    SetForegroundWindow(wizard.Dialog());
    Keys("key alt+n");
    WaitMemoBegins(wizard, "ORRERY 1.4 - LICENCE");
    Click(wizard.Item("NextBut"));
    WaitMemoBegins(wizard, "WELCOME TO ORRERY");
    for (const char* button : {"NextBut", "PrevBut", "CancelBut"}) EXPECT_NE(FocusOf(wizard), wizard.Item(button));
    Click(wizard.Item("NextBut"));
    wizard.WaitPage(kUserPage, "EditName");
}

void ToDestinationPage(const TWizard& wizard, const std::string& name, const std::string& organization) {
    wizard.Enter("EditName", name);
    wizard.Enter("EditOrg", organization);
    Click(wizard.Item("NextBut"));
    wizard.WaitPage(kDestinationPage, "EditPath");
}

// Next on the destination page, into `destination`, up to the prompt for disk 2.
void CopyFirstDisk(const TWizard& wizard, const std::string& destination) {
    wizard.Enter("EditPath", destination);
    Click(wizard.Item("NextBut"));
    WaitText(wizard.Item("ProgressLabel"), kPrompt, kPageMs);
    // The root A:\ as the current directory gives a source directory ending in two backslashes.
    EXPECT_EQ(Text(wizard.Item("SourceLabel")), "A:\\\\data\\planets.tx_");
    EXPECT_EQ(Text(wizard.Item("DestinationLabel")), destination + "\\data\\planets.txt");
    EXPECT_EQ(Progress(wizard), 4 * 10);  // four files of seven, 100 div (7 + 3) each
    EXPECT_TRUE(Enabled(wizard.Item("PrevBut")));
}

// From the success page: the closing notice read from the last disk, the finish page, the end.
void FinishAfterClosingNotice(TWizard& wizard) {
    wizard.CloseProgramManager();
    Click(wizard.Item("NextBut"));
    WaitMemoBegins(wizard, "THANK YOU FOR INSTALLING ORRERY");
    Click(wizard.Item("NextBut"));
    wizard.WaitPage("Quenby has installed Orrery 1.4 successfully, congratulations.", "InfoMemo");
    wizard.Shot("4-finish");
    Click(wizard.Item("NextBut"));
    EXPECT_EQ(wizard.Driver().WaitExit(kPageMs), 0u);
}

// The exit code: 1602 when the user leaves before the copy step completed, 0 after it.
void CancelAndFinish(TWizard& wizard, const std::string& productAndVersion, DWORD exitCode = 1602) {
    wizard.CloseProgramManager();
    Click(wizard.Item("CancelBut"));
    wizard.WaitPage("The installation of " + productAndVersion + " did not completed successfuly.", "InfoMemo");
    Click(wizard.Item("NextBut"));
    EXPECT_EQ(wizard.Driver().WaitExit(kPageMs), exitCode);
}

// Nothing of the later steps: no program group, product key, uninstall entry, counter or record.
void ExpectNoLaterSteps(const std::string& destination) {
    EXPECT_FALSE(test::IsFolder(GroupFolder()));
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, "Software\\Brightwater"));
    EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kUninstall, test::SetupView()));
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kCounters));
    EXPECT_FALSE(test::Exists(destination + "\\Quenby.upi"));
}

// Each test starts from a prefix without the sample, whichever test ran before it.
void ForgetOrrery() {
    for (const char* folder :
         {kDefaultDestination, kAbsoluteDir, "C:\\Orrery Halted", "C:\\Brightwater", "C:\\Packed Orrery"})
        test::RemoveTree(folder);
    test::RemoveTree(GroupFolder());
    DeleteFileA((WindowsDir() + "\\orrshare.dll").c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Brightwater");
    RegDeleteTreeA(HKEY_CURRENT_USER, kCounters.c_str());
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kUninstall.c_str(), test::SetupView(), 0);
}

void ExpectNothingInstalled(const std::string& typedDestination) {
    SCOPED_TRACE(typedDestination);
    for (const std::string& folder : {std::string(kDefaultDestination), typedDestination, std::string(kAbsoluteDir)})
        EXPECT_FALSE(test::IsFolder(folder)) << folder;
    EXPECT_FALSE(test::Exists(WindowsDir() + "\\orrshare.dll"));
    ExpectNoLaterSteps(typedDestination);
}

TEST(RoadE2e, CancelBeforeTheCopyStepLeavesNothing) {
    // On a notice; on the user page with a name typed; on the destination page with a path typed.
    ForgetOrrery();
    for (int page : {1, 2, 3}) {
        auto wizard = StartFromFloppy();
        if (page == 1) {
            Click(wizard->Item("NextBut"));
            WaitMemoBegins(*wizard, "ORRERY 1.4 - LICENCE");
        } else {
            ToUserPage(*wizard);
            wizard->Enter("EditName", "Cy Cancel");
        }
        if (page == 3) {
            ToDestinationPage(*wizard, "Cy Cancel", "Nowhere Ltd.");
            wizard->Enter("EditPath", "C:\\Orrery Typed");
        }
        CancelAndFinish(*wizard, "Orrery 1.4");
        ExpectNothingInstalled("C:\\Orrery Typed");
    }
}

TEST(RoadE2e, CancelAtTheDiskPromptKeepsTheFirstDiskOnly) {
    ForgetOrrery();
    const std::string destination = "C:\\Orrery Halted";
    auto wizard = StartFromFloppy();
    ToUserPage(*wizard);
    ToDestinationPage(*wizard, "Di Halt", "Halting Co.");
    CopyFirstDisk(*wizard, destination);
    CancelAndFinish(*wizard, "Orrery 1.4");

    for (const std::string& folder :
         {destination, destination + "\\data", destination + "\\charts", std::string(kAbsoluteDir)})
        EXPECT_TRUE(test::IsFolder(folder)) << folder;
    EXPECT_EQ(test::ReadFile(WindowsDir() + "\\orrshare.dll"), BuiltFile("orrshare.dll"));
    EXPECT_EQ(test::ReadFile(destination + "\\orrery.exe"), BuiltFile("orrery.exe"));
    EXPECT_EQ(test::ReadFile(destination + "\\readme.txt"), MediaFile("readme.txt"));
    EXPECT_FALSE(test::Exists(destination + "\\data\\planets.txt"));
    ExpectNoLaterSteps(destination);
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

        CopyFirstDisk(*wizard, destination);
        wizard->Shot("2-disk-prompt");
        InsertDisk(2);
        Click(wizard->Item("NextBut"));
        wizard->WaitInfo("Orrery 1.4 was installed successfuly. Please select next to continue.");
        WaitUntil([&] { return !Enabled(wizard->Item("PrevBut")); }, kPageMs, "Previous disabled");
        EXPECT_EQ(Progress(*wizard), 100);
        // The add-on: the read-me opened by the shell from the disk in the drive.
        wizard->CloseOtherWindow("readme.txt");
        wizard->CloseOtherWindow(kGroup);
        wizard->Shot("3-installed");
        FinishAfterClosingNotice(*wizard);
    }

    ExpectProductFiles(destination);
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
    EXPECT_EQ(record.find("[Settings]"), std::string::npos) << record;
    EXPECT_EQ(record.find("Standard"), std::string::npos) << record;
    EXPECT_EQ(Record(destination, "Registration", "Organization"), "Star Gazers Ltd.");
    EXPECT_EQ(Record(destination, "Quenby", "Path"), destination);
    EXPECT_EQ(Record(destination, "Uninstall", "UninstallString"), uninstallCommand);

    // The group that Wine's Program Manager made: one link per item (it refuses the uninstaller's).
    EXPECT_EQ(LinkCount(GroupFolder()), 2);
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
        Click(wizard.Item("NextBut"));
        wizard.WaitPage(kUserPage, "EditName");
        wizard.Enter("EditName", "Bea Second");
        Click(wizard.Item("NextBut"));
        WaitUntil([&] { return Visible(wizard.Item("EditPath")); }, kPageMs, "the destination page");
        wizard.Enter("EditPath", destination);
        Click(wizard.Item("NextBut"));
        wizard.WaitInfo("Orrery 1.5 was installed successfuly. Please select next to continue.");
        wizard.CloseOtherWindow(kGroup);
        CancelAndFinish(wizard, "Orrery 1.5", 0);
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

// The compressed set gathered in one folder and laid out again by quenby-pack disks so that disk 1 holds
// no product file: the prompt comes at the first one.
TEST(RoadE2e, DisksLaidOutByThePublishersToolInstallWithTheirOwnDiskChange) {
    ForgetOrrery();
    const std::string destination = "C:\\Packed Orrery";
    // Listed with the replace value 1, which Expand=1 overrides: the old file is written anew.
    std::filesystem::create_directories(destination + "\\charts");
    std::ofstream(destination + "\\charts\\ecliptic.txt") << "an older ecliptic";
    auto wizard = StartFromFloppy("packed");
    ToUserPage(*wizard);
    ToDestinationPage(*wizard, "Pat Packer", "Packing Ltd.");
    wizard->Enter("EditPath", destination);
    Click(wizard->Item("NextBut"));
    WaitText(wizard->Item("ProgressLabel"), kPrompt, kPageMs);
    EXPECT_EQ(Text(wizard->Item("SourceLabel")), "A:\\\\orrery.ex_");
    InsertDisk(2, "packed");
    Click(wizard->Item("NextBut"));
    wizard->WaitInfo("Orrery 1.4 was installed successfuly. Please select next to continue.");
    wizard->CloseOtherWindow("readme.txt");
    wizard->CloseOtherWindow(kGroup);
    wizard->Shot("3-installed");
    FinishAfterClosingNotice(*wizard);
    ExpectProductFiles(destination);
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
    wizard.Enter("EditPath", target / "Busy");
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
    EXPECT_EQ(test::ReadFile(target / "Busy\\f23.txt"), "f23.txt");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Norvale Tests");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Busy");
}

}  // namespace
}  // namespace quenby

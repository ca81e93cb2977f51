// Setup.exe without a person: the sample from a quenby-pack image folder, through the wizard (answers saved) and
// with /VERYSILENT, each removed by the entry's QuietUninstallString; /SILENT /LOADINF; each exit code.
// ctest .outcomes UnattendedE2e.EachOutcome*:UnattendedE2e.ARunCutOff*
// ctest .i686 shipped UnattendedE2e.ADestinationWithout*:UnattendedE2e.OneFolder*:UnattendedE2e.EachOutcome*
// ctest .i686-undo shipped UnattendedE2e.AFailedRun*:UnattendedE2e.TheDeploymentTools*:UnattendedE2e.ARunCutOff*
#include <windows.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "Driver.h"
#include "Host.h"
#include "Prefix.h"
#include "Snapshot.h"
#include "Wizard.h"
#include "win/Handles.h"
#include "win/RegistryKey.h"

namespace quenby {
namespace {

using namespace drive;
using test::kPageMs;
using test::kStartMs;

constexpr char kDestination[] = "C:\\Orrery Net";
// The sample's product files (below the destination) and its shared files (in the Windows directory).
constexpr const char* kProductFiles[] = {"orrery.exe", "readme.txt", "data\\planets.txt", "data\\moons.txt",
                                         "charts\\ecliptic.txt"};
constexpr const char* kSharedFiles[] = {"orrshare.dll", "Uninstall.exe"};
const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orrery";
constexpr char kBadSwitch[] =
    "Unknown or malformed switch /BOGUS.\r\n\r\n/SILENT\r\n/VERYSILENT\r\n/DIR=path\r\n"
    "/NAME=text\r\n/ORG=text\r\n/LOADINF=file\r\n/SAVEINF=file\r\n/LOG[=file]\r\n/ADDONS\r\n/SP-\r\n"
    "/SUPPRESSMSGBOXES\r\n/NORESTART\r\n/NOCANCEL\r\n/?\r\n/HELP";

// Wine's desktop ends some time after its last window, and a program started then cannot make any.
std::unique_ptr<TDriver> HoldDesktop() {
    auto notepad = test::Start("C:\\windows\\system32\\notepad.exe", "C:\\");
    notepad->WaitWindow({"Notepad"}, kStartMs);
    return notepad;
}

std::string Entry(const char* name) { return test::RegText(HKEY_LOCAL_MACHINE, kUninstall, name, test::SetupView()); }
std::optional<DWORD> EntryNumber(const char* name) {  // none unless a REG_DWORD
    const auto key = TRegistryKey::Open(HKEY_LOCAL_MACHINE, kUninstall, KEY_READ | test::SetupView());
    return key ? key->ReadDword(name) : std::nullopt;
}

// Setup.exe run from `folder` with `arguments` to its end; "class:caption;" of each window it showed (a
// caption read while the window goes away may be empty).
DWORD RunSetup(const std::string& folder, const std::string& arguments, std::string* shown = nullptr) {
    const auto setup = test::Start(folder + "Setup.exe", folder, arguments);
    const DWORD code = setup->WaitExit(kStartMs);
    for (const TWindowRecord& record : setup->Timeline())
        if (shown && record.shown) *shown += record.className + ":" + record.caption + ";";
    return code;
}

// Setup.exe started from N:\ for its one box, closed; "caption|text".
std::string BoxThenExit(const std::string& arguments, DWORD exitCode) {
    const auto setup = test::Start("N:\\Setup.exe", "N:\\", arguments);
    const TMessageBox box = setup->WaitMessageBox(kStartMs);
    setup->CloseMessageBox(box);
    EXPECT_EQ(setup->WaitExit(kPageMs), exitCode);
    return box.caption + "|" + box.text;
}

// The n-th log of the day in the temporary folder, where a /LOG that cannot be written (or names no file) goes.
std::string DatedLog(int n) {
    char temp[MAX_PATH] = {}, today[11] = {};
    GetTempPathA(MAX_PATH, temp);
    GetDateFormatA(LOCALE_INVARIANT, 0, nullptr, "yyyy-MM-dd", today, sizeof today);
    return std::string(temp) + "Quenby Setup Log " + today + " #00" + std::to_string(n) + ".txt";
}

// The wizard's refusal of `folder` on the destination page, which stays; "caption|text". `proposed`: the folder
// the page must offer, when given.
std::string RefusedByTheWizard(const std::string& folder, const std::string& proposed = "") {
    test::TWizard wizard("N:\\Setup.exe", "N:\\");
    wizard.PastNotices({"ORRERY 1.4 - LICENCE", "WELCOME TO ORRERY"});
    wizard.ToDestinationPage();
    EXPECT_TRUE(proposed.empty() || Text(wizard.Item("EditPath")) == proposed) << Text(wizard.Item("EditPath"));
    wizard.StartCopyInto(folder);
    const TMessageBox box = wizard.Driver().WaitMessageBox(kPageMs);
    wizard.Driver().CloseMessageBox(box);
    EXPECT_TRUE(IsWindowVisible(wizard.Item("EditPath")));
    wizard.Cancel("Orrery 1.4", 1603);
    return box.caption + "|" + box.text;
}

// The entry's quiet command run as it stands.
void QuietUninstall(const std::string& destination = kDestination) {
    const std::string command = Entry("QuietUninstallString");
    const std::size_t blank = command.find(' ');
    EXPECT_EQ(command.substr(blank + 1), "/VERYSILENT " + destination);
    EXPECT_EQ(TDriver(command.substr(0, blank), "C:\\", command.substr(blank + 1)).WaitExit(kPageMs), 0u);
}

// The installed files' bytes; the record without its date. (The installation log differs: the second
// installation finds the shared files that the first one's removal kept.)
std::map<std::string, std::string> Installed(const std::set<std::string>& snapshot) {
    std::map<std::string, std::string> files;
    for (const std::string& path : snapshot)
        if (path.rfind(std::string(kDestination) + "\\", 0) == 0 && !test::IsFolder(path) && !path.ends_with(".log")) {
            std::string bytes = test::ReadFile(path);
            const std::size_t date = bytes.find("\r\nDate=");
            if (date != std::string::npos) bytes.erase(date, bytes.find("\r\n", date + 2) - date);
            files[path] = bytes;
        }
    return files;
}

TEST(UnattendedE2e, VerySilentInstallsAsTheWizardDoesAndTheQuietCommandRemovesIt) {
    const auto desktop = HoldDesktop();
    const std::set<std::string> before = test::Snapshot();
    {
        test::TWizard wizard("N:\\Setup.exe", "N:\\", "/saveinf=M:\\answers.inf /LOG=M:\\wizard.log /SUPPRESSMSGBOXES");
        wizard.PastNotices({"ORRERY 1.4 - LICENCE", "WELCOME TO ORRERY"});
        wizard.ToDestinationPage("Ann Orbit", "Star Gazers Ltd.");
        wizard.StartCopyInto(kDestination);
        wizard.WaitInfo("Orrery 1.4 was installed successfuly. Please select next to continue.");
        wizard.CloseOtherWindow("readme.txt");
        wizard.CloseOtherWindow("Brightwater Orrery");
        wizard.Finish("Orrery 1.4", "THANK YOU FOR INSTALLING ORRERY");
    }
    // /LOG with a person too.
    const std::string wizardLog = test::ReadFile("M:\\wizard.log");
    EXPECT_TRUE(test::Holds(wizardLog, " -> C:\\Orrery Net\\orrery.exe\r\n"));
    EXPECT_TRUE(wizardLog.ends_with("\r\nExit code: 0\r\n")) << wizardLog;
    const std::set<std::string> interactive = test::Snapshot();
    const auto interactiveFiles = Installed(interactive);
    EXPECT_EQ(interactiveFiles.at(std::string(kDestination) + "\\orrery.exe"),
              test::ReadFile(test::SetupBuildDir() + "\\orrery.exe"));
    // The entry's values beside DisplayName and UninstallString.
    EXPECT_EQ(Entry("DisplayVersion") + "|" + Entry("InstallLocation") + "|" + Entry("URLInfoAbout") + "|" +
                  Entry("Publisher") + "|" + Entry("DisplayIcon"),
              std::string("1.4|") + kDestination + "|www.brightwater.example|Brightwater Instruments|" + kDestination +
                  "\\orrery.exe,0");
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    char today[9] = {};
    GetDateFormatA(LOCALE_INVARIANT, 0, &now, "yyyyMMdd", today, sizeof today);
    EXPECT_EQ(Entry("InstallDate"), today);
    const std::pair<const char*, DWORD> numbers[] = {
        {"VersionMajor", 1}, {"VersionMinor", 4}, {"NoModify", 1}, {"NoRepair", 1}};
    for (const auto& [name, number] : numbers) EXPECT_EQ(EntryNumber(name), number) << name;
    // The size the system's list of programs shows: the installed files' bytes in KB, rounded up.
    std::uint64_t bytes = 0;
    for (const char* file : kProductFiles) bytes += test::ReadFile(std::string(kDestination) + "\\" + file).size();
    for (const char* file : kSharedFiles) bytes += test::ReadFile(test::WindowsDir() + "\\" + file).size();
    const double kilobytes = static_cast<double>(bytes) / 1024;
    EXPECT_NEAR(EntryNumber("EstimatedSize").value_or(0), std::ceil(kilobytes), kilobytes / 100);
    QuietUninstall();

    std::string shown;
    EXPECT_EQ(RunSetup("N:\\",
                       "/VERYSILENT /DIR=\"C:\\Orrery Net\" /Name=\"Ann Orbit\" /ORG=\"Star Gazers Ltd.\" "
                       "/LOG=M:\\silent.log",
                       &shown),
              0u);
    EXPECT_EQ(shown, "");
    const std::set<std::string> silent = test::Snapshot();
    auto dateless = [](std::set<std::string> lines) {
        // The log's seal covers the log, whose date lines differ too.
        return std::erase_if(lines,
                             [](const std::string& line) {
                                 return line.find("\\Quenby : Date = ") != line.npos ||
                                        line.find("\\Uninstall\\Logs : ") != line.npos;
                             }),
               lines;
    };
    EXPECT_EQ(test::DifferenceButWaitingCopies(dateless(interactive), dateless(silent)), "");
    EXPECT_EQ(Installed(silent), interactiveFiles);
    const std::string log = test::ReadFile("M:\\silent.log");
    for (const char* file : kProductFiles)
        EXPECT_TRUE(test::Holds(log, std::string(" -> ") + kDestination + "\\" + file + "\r\n")) << file;
    for (const char* line : {"File replaced: N:\\\\orrshare.dl_ -> C:\\windows\\orrshare.dll\r\n",
                             "Registry value: HKCU\\Software\\Brightwater\\Orrery\\Registration Name\r\n",
                             "Program Manager accepted: group Brightwater Orrery\r\n", "Name: Ann Orbit\r\n",
                             "Add-on skipped (no /ADDONS): readme.txt\r\n"})
        EXPECT_TRUE(test::Holds(log, line));
    EXPECT_TRUE(log.ends_with("Exit code: 0\r\n")) << log;
    QuietUninstall();
    // Everything gone but the shared files that no product counts on any more: kept, the question's default.
    EXPECT_EQ(test::DifferenceButWaitingCopies(before, test::Snapshot()),
              "+ C:\\windows\\Uninstall.exe\n+ C:\\windows\\orrshare.dll\n");

    // The saved answers replayed; the command line wins over them.
    {
        const auto setup = test::Start("N:\\Setup.exe", "N:\\", "/SILENT /LOADINF=M:\\answers.inf /DIR=C:\\Replayed");
        setup->WaitWindow({"TSilentProgressForm", "Orrery 1.4"}, kStartMs);  // its one window, with the title
        EXPECT_EQ(setup->WaitExit(kStartMs), 0u);
    }
    const std::string registration = "Software\\Brightwater\\Orrery\\Registration";
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, registration, "Name") + "|" +
                  test::RegText(HKEY_CURRENT_USER, registration, "Organization") + "|" + Entry("InstallLocation"),
              "Ann Orbit|Star Gazers Ltd.|C:\\Replayed");
    QuietUninstall("C:\\Replayed");
}

TEST(UnattendedE2e, EachOutcomeHasItsExitCode) {
    const auto desktop = HoldDesktop();
    // A bad switch: a box for a person, none for a deployment.
    EXPECT_EQ(RunSetup("N:\\", "/VERYSILENT /QUIET"), 87u);
    EXPECT_EQ(BoxThenExit("/BOGUS", 87), std::string("Quenby 3.2|") + kBadSwitch);
    {
        // A second start while the wizard is open; then the wizard left on its first page.
        test::TWizard first("N:\\Setup.exe", "N:\\");
        EXPECT_EQ(RunSetup("N:\\", "/VERYSILENT"), 1618u);
        EXPECT_EQ(BoxThenExit("", 1618),
                  "Quenby 3.2|Another installation is in progress. Please wait until it has "
                  "finished and try again.");
        first.Cancel("Orrery 1.4");
    }
    // The next disk is not there: the log names the file it wanted.
    EXPECT_EQ(RunSetup("A:\\", "/VERYSILENT /DIR=C:\\Halted /LOG=M:\\disk.log"), 1603u);
    EXPECT_TRUE(test::Holds(test::ReadFile("M:\\disk.log"),
                            "Missing source file (the next disk is not in the folder): A:\\\\data\\planets.tx_\r\n"));

    // A product of one file and one shared file that the test holds open: each mistake a deployment job makes
    // fails with its reason in the log and nothing left; done, the held file waits for the restart: 3010.
    test::TScratchFolder one("quenby-unattended-one");
    one.Write("Setup.exe", test::ReadFile(test::SetupExe()));
    one.Write("a.txt", "a");
    one.Write("held.dll", "new held");
    const std::string ipi =
        "[Settings]\r\nApplication=One\r\nVersion=1\r\n[FilesIn]\r\na.txt=\r\n[FilesOut]\r\n"
        "a.txt=0\r\n[SysFilesIn]\r\nheld.dll=\r\n[SysFilesOut]\r\nqu-held.dll=0\r\n[AddOns]\r\n"
        "1=cmd.exe /c echo started>C:\\quenby-addon.txt\r\n[Keys]\r\nBase=\\Software\\Norvale Tests\\One\r\n";
    const std::string held = test::WindowsDir() + "\\qu-held.dll";
    ASSERT_TRUE(CopyFileA(one.Write("old.dll", "old held").c_str(), held.c_str(), FALSE));
    THandle holder;
    const struct {
        bool instructions;
        const char* arguments;
        DWORD exitCode;
        std::string logged;
    } outcomes[] = {
        {true, "/DIR=C:\\One /LOADINF=M:\\none.inf", 1603, "\r\nError: Cannot open file M:\\none.inf\r\n"},
        {true, "/DIR=relative", 1603, "\r\nError: Invalid destination directory relative\r\n"},
        {false, "/DIR=C:\\One", 1603,
         "\r\nError: No installation instructions, exiting instalation. " + one / "Quenby.ipi"},
        {true, "/DIR=C:\\One /ADDONS", 3010, "\r\nAdd-on started: cmd.exe\r\n"},
    };
    for (const auto& outcome : outcomes) {
        if (outcome.instructions)
            one.Write("Quenby.ipi", ipi);
        else
            DeleteFileA((one / "Quenby.ipi").c_str());
        DeleteFileA("M:\\one.log");
        if (outcome.exitCode == 3010)
            holder = THandle(CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_EQ(RunSetup(one.Path() + "\\", std::string("/VERYSILENT /LOG=M:\\one.log ") + outcome.arguments),
                  outcome.exitCode)
            << outcome.arguments;
        const std::string oneLog = test::ReadFile("M:\\one.log");
        EXPECT_TRUE(test::Holds(oneLog, outcome.logged));
        EXPECT_TRUE(oneLog.ends_with(" s\r\nExit code: " + std::to_string(outcome.exitCode) + "\r\n")) << oneLog;
        EXPECT_EQ(test::Exists("C:\\One\\a.txt"), outcome.exitCode == 3010) << outcome.arguments;
    }
    test::WaitNoProcess("cmd.exe", kPageMs);
    EXPECT_EQ(test::ReadFile("C:\\quenby-addon.txt"), "started\r\n");
    holder.Reset();
    one.Write("Uninstall.exe", test::ReadFile(test::SetupBuildDir() + "\\Uninstall.exe"));
    EXPECT_EQ(TDriver(one / "Uninstall.exe", "C:\\", "/VERYSILENT C:\\One").WaitExit(kPageMs), 0u);
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager",
                       "PendingFileRenameOperations");
    DeleteFileA(held.c_str());
    DeleteFileA("C:\\quenby-addon.txt");
}

// One folder however it is typed: one log, one seal, one entry, removed by any of its spellings; and one folder
// for the application while it is installed.
TEST(UnattendedE2e, OneFolderTypedTwoWaysIsOneInstallationAndASecondGoesThere) {
    const auto desktop = HoldDesktop();
    EXPECT_EQ(RunSetup("N:\\", "/VERYSILENT /DIR=C:\\Orr4"), 0u);
    EXPECT_EQ(RunSetup("N:\\", "/VERYSILENT /DIR=c:\\orr4\\data\\..\\."), 0u);
    EXPECT_FALSE(test::Exists("C:\\Orr4\\Quenby.log.bad"));
    EXPECT_EQ(Entry("InstallLocation"), "C:\\Orr4");
    // A second installation goes where the first one is; another folder is refused in either mode.
    EXPECT_EQ(RunSetup("N:\\", "/VERYSILENT /LOG=M:\\again.log"), 0u);
    EXPECT_TRUE(test::Holds(test::ReadFile("M:\\again.log"), "\r\nDestination: C:\\Orr4\r\n"));
    const std::string elsewhere = "Orrery 1.4 is already installed in C:\\Orr4. Remove it first, or install it there.";
    EXPECT_EQ(RunSetup("N:\\", "/VERYSILENT /DIR=C:\\Orr5 /LOG=M:\\elsewhere.log"), 1603u);
    EXPECT_TRUE(test::Holds(test::ReadFile("M:\\elsewhere.log"), "Error: " + elsewhere + "\r\n"));
    EXPECT_EQ(RefusedByTheWizard("C:\\Orr5", "C:\\Orr4"), "Orrery 1.4|" + elsewhere);
    EXPECT_FALSE(test::Exists("C:\\Orr5"));
    EXPECT_EQ(TDriver(test::WindowsDir() + "\\Uninstall.exe", "C:\\", "/VERYSILENT C:\\Orr4\\.").WaitExit(kPageMs), 0u);
    EXPECT_FALSE(test::Exists("C:\\Orr4"));
}

// A drive without the room, and links a user planted where the installation would write: refused before
// anything is written, the wizard staying on the destination page.
TEST(UnattendedE2e, ADestinationWithoutRoomOrHoldingLinksIsRefused) {
    const auto desktop = HoldDesktop();
    // A drive without the room: nothing written, its own exit code, the log says how much is missing.
    EXPECT_EQ(RunSetup("N:\\", "/VERYSILENT /DIR=T:\\Orrery /LOG=M:\\room.log"), 112u);
    EXPECT_TRUE(
        test::Holds(test::ReadFile("M:\\room.log"), "Error: There is not enough room on drive T: for Orrery 1.4: "));
    EXPECT_FALSE(test::Exists("T:\\Orrery"));
    ASSERT_EQ(RunHost("cd \"$WINEPREFIX/drive_c\" && mkdir Pre Other && echo theirs > Other/planets.txt && "
                      "echo theirs > Other.upi && ln -s ../Other Pre/data && ln -s ../Other.upi Pre/Quenby.upi"),
              0);
    const std::string refusal = "The folder C:\\Pre contains a link (C:\\Pre\\";
    const std::string rest = "). Setup does not install through links; choose another folder.";
    EXPECT_EQ(RunSetup("N:\\", "/VERYSILENT /DIR=C:\\Pre /LOG=M:\\links.log"), 1603u);
    EXPECT_TRUE(test::Holds(test::ReadFile("M:\\links.log"), "Error: " + refusal + "Quenby.upi" + rest + "\r\n"));
    ASSERT_EQ(RunHost("rm \"$WINEPREFIX/drive_c/Pre/Quenby.upi\""), 0);
    EXPECT_EQ(RefusedByTheWizard("C:\\Pre"), "Orrery 1.4|" + refusal + "data" + rest);
    EXPECT_EQ(test::ReadFile("C:\\Other\\planets.txt") + test::ReadFile("C:\\Other.upi"), "theirs\ntheirs\n");
    EXPECT_FALSE(test::Exists("C:\\Other\\moons.txt") || test::Exists("C:\\Pre\\Quenby.log"));
}

// A failed run leaves the machine as it found it, whether a source is missing (the next disk) or damaged: with
// another product's shared file in the Windows directory and a file of the destination that the run
// overwrites; and a file to be overwritten that is a link is not kept through it. Also on the shipped i686 build.
TEST(UnattendedE2e, AFailedRunLeavesTheMachineAsItFoundIt) {
    const auto desktop = HoldDesktop();
    const std::string shared = test::WindowsDir() + "\\orrshare.dll";
    ASSERT_EQ(RunHost("cd \"$WINEPREFIX\" && cp -r media/net drive_c/Damaged && mkdir drive_c/Alpha && "
                      "echo old > drive_c/Alpha/readme.txt && echo theirs > \"$(ls -d drive_c/windows)/orrshare.dll\" "
                      "&& printf XXXX | dd of=drive_c/Damaged/data/moons.tx_ bs=1 seek=40 conv=notrunc 2>/dev/null"),
              0);
    const std::set<std::string> before = test::Snapshot();
    for (const auto& [folder, failure] :
         {std::pair("A:\\", "Missing source file (the next disk is not in the folder)"),
          std::pair("C:\\Damaged\\", "File damaged (it does not match its checksum)")}) {
        EXPECT_EQ(RunSetup(folder, "/VERYSILENT /DIR=C:\\Alpha /LOG=M:\\failed.log"), 1603u) << folder;
        const std::string log = test::ReadFile("M:\\failed.log");
        for (const std::string& line :
             {std::string(failure) + ": ", std::string("Undone: C:\\Alpha\\readme.txt\r\n"),
              "Old copy kept: C:\\Alpha\\readme.txt in " + test::WindowsDir() + "\\Temp\\Quenby-",
              std::string("\r\nRolled back.\r\n")})
            EXPECT_TRUE(test::Holds(log, line));
        EXPECT_TRUE(log.ends_with("\r\nExit code: 1603\r\n")) << log;
        EXPECT_EQ(test::Difference(before, test::Snapshot()), "") << folder;
        EXPECT_EQ(test::ReadFile("C:\\Alpha\\readme.txt") + test::ReadFile(shared), "old\ntheirs\n");
    }
    // The shared file a link to a file of someone else's: no copy of it is kept through the link, and the run fails.
    const std::string restore = "cd \"$WINEPREFIX/drive_c\" && rm -f Secret.txt \"$(ls -d windows)/orrshare.dll\" && ";
    ASSERT_EQ(RunHost(restore + "echo secret > Secret.txt && ln -s ../Secret.txt \"$(ls -d windows)/orrshare.dll\""),
              0);
    EXPECT_EQ(RunSetup("N:\\", "/VERYSILENT /DIR=C:\\Alpha /LOG=M:\\link.log"), 1603u);
    EXPECT_TRUE(test::Holds(test::ReadFile("M:\\link.log"), "Cannot keep a copy of " + shared +
                                                                " to put back should the installation fail: it is "
                                                                "reached through a link"));
    EXPECT_EQ(test::ReadFile(shared) + test::ReadFile("C:\\Alpha\\readme.txt"), "secret\nold\n");
    ASSERT_EQ(RunHost(restore + "echo theirs > \"$(ls -d windows)/orrshare.dll\""), 0);
}

// The deployment tools' lines as they stand: the install line with a /LOG into a missing folder (the log goes to
// the dated file in %TEMP% and says why), runs appending to one log, the removal's command with their switches
// appended, quiet and logged even when the log is tampered with, and a removal of what is gone (1605).
TEST(UnattendedE2e, TheDeploymentToolsLinesInstallAndRemoveWithTheirLogs) {
    const auto desktop = HoldDesktop();
    EXPECT_EQ(BoxThenExit("/?", 0), "Setup|" + std::string(kBadSwitch).substr(std::string(kBadSwitch).find("/SILENT")));
    const std::string tools = "/SP- /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /DIR=\"C:\\Tools Dir\" ";
    EXPECT_EQ(RunSetup("N:\\", tools + "/LOG=M:\\missing\\setup.log"), 0u);
    const std::string dated = test::ReadFile(DatedLog(1));
    EXPECT_TRUE(dated.starts_with("The log could not be written to: M:\\missing\\setup.log: ") &&
                dated.ends_with("\r\nExit code: 0\r\n"))
        << dated;
    EXPECT_EQ(RunSetup("N:\\", tools + "/LOG"), 0u);  // alone: the next dated file
    EXPECT_TRUE(test::Exists(DatedLog(2)));
    for (int run = 0; run < 2; ++run) EXPECT_EQ(RunSetup("N:\\", tools + "/LOG=M:\\tools.log"), 0u);
    const std::string twice = test::ReadFile("M:\\tools.log");
    EXPECT_TRUE(test::Holds(twice, "Exit code: 0\r\nQuenby 3.2 Setup, "));
    // The shipped 32-bit program's entry lands in the 32-bit view, and its log says so.
    const std::string value =
        "Registry value: HKLM\\" + kUninstall + (test::SetupView() == KEY_WOW64_32KEY ? " (32-bit view)" : "");
    EXPECT_TRUE(test::Holds(twice, value + " DisplayName\r\n"));

    const std::string command = Entry("UninstallString"), log = "C:\\Tools Dir\\Quenby.log";
    const std::size_t blank = command.find(' ');
    const auto remove = [&](const std::string& logFile) {
        return TDriver(command.substr(0, blank), "C:\\",
                       command.substr(blank + 1) + " /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /LOG=" + logFile)
            .WaitExit(kStartMs);
    };
    const std::string genuine = test::ReadFile(log);
    std::string tampered = genuine;
    tampered[tampered.size() / 2] ^= 1;
    test::TScratchFolder scratch("quenby-tools");
    ASSERT_TRUE(CopyFileA(scratch.Write("Quenby.log", tampered).c_str(), log.c_str(), FALSE));
    EXPECT_EQ(remove("M:\\refused.log"), 1603u);
    EXPECT_TRUE(test::Holds(test::ReadFile("M:\\refused.log"),
                            " does not match what Setup recorded; nothing was removed.\r\n"));
    ASSERT_TRUE(CopyFileA(scratch.Write("Quenby.log", genuine).c_str(), log.c_str(), FALSE));
    EXPECT_EQ(remove("M:\\removal.log"), 0u);
    const std::string removal = test::ReadFile("M:\\removal.log");
    for (const char* file : kProductFiles)
        EXPECT_TRUE(test::Holds(removal, "Removing: C:\\Tools Dir\\" + std::string(file) + "\r\n")) << file;
    EXPECT_TRUE(removal.ends_with("Exit code: 0\r\n")) << removal;
    EXPECT_FALSE(test::Exists("C:\\Tools Dir"));
    EXPECT_EQ(remove("M:\\gone.log"), 1605u);
}

// A run with a person cut off part-way, the process killed at the damaged file's question or the wizard
// cancelled at the disk prompt, then removed quietly: what it overwrote (a product file, another product's
// shared file, the uninstaller) comes back, and the machine is as it was but for the uninstaller's copy that
// waits for the restart. Also on the shipped i686 build.
TEST(UnattendedE2e, ARunCutOffIsPutBackByTheUninstaller) {
    const auto desktop = HoldDesktop();
    const std::string windows = test::WindowsDir();
    ASSERT_EQ(RunHost("cd \"$WINEPREFIX\" && rm -rf drive_c/Cut && cp -r media/net drive_c/Cut && printf XXXX | dd "
                      "of=drive_c/Cut/data/moons.tx_ bs=1 seek=40 conv=notrunc 2>/dev/null && mkdir -p drive_c/Beta && "
                      "echo old > drive_c/Beta/readme.txt && echo theirs > \"$(ls -d drive_c/windows)/orrshare.dll\""),
              0);
    ASSERT_TRUE(CopyFileA(test::SetupExe().replace(test::SetupExe().rfind("Setup.exe"), 9, "Uninstall.exe").c_str(),
                          (windows + "\\Uninstall.exe").c_str(), FALSE));
    const std::string uninstaller = test::ReadFile(windows + "\\Uninstall.exe");
    // An earlier removal's copy may still be ending, its lock with it.
    WaitUntil([&] { return !test::Exists(windows + "\\Quenby.Installation.lock"); }, kPageMs, "the lock released");
    const std::set<std::string> before = test::Snapshot();
    for (const char* folder : {"C:\\Cut\\", "A:\\"}) {
        {
            test::TWizard wizard(std::string(folder) + "Setup.exe", folder);
            wizard.PastNotices({"ORRERY 1.4 - LICENCE", "WELCOME TO ORRERY"});
            wizard.ToDestinationPage();
            wizard.StartCopyInto("C:\\Beta");
            if (folder[0] == 'C') {
                wizard.Driver().WaitMessageBox(kPageMs);  // the damaged file's question, never answered
                const THandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, wizard.Driver().ProcessId()));
                ASSERT_TRUE(process && TerminateProcess(process.Get(), 1));
                WaitForSingleObject(process.Get(), kPageMs);
            } else {
                WaitText(wizard.Item("ProgressLabel"), test::kDiskPromptText, kPageMs);
                wizard.Cancel("Orrery 1.4");
            }
        }
        ASSERT_NE(test::ReadFile("C:\\Beta\\readme.txt"), "old\n") << "the run overwrote nothing before it was cut off";
        // 3010: the Uninstall.exe that ran, put back, has its own bytes moved away to go at the restart.
        EXPECT_EQ(TDriver(windows + "\\Uninstall.exe", "C:\\", "/VERYSILENT C:\\Beta").WaitExit(kPageMs), 3010u)
            << folder;
        EXPECT_EQ(test::DifferenceButWaitingCopies(before, test::Snapshot()), "") << folder;
        EXPECT_EQ(test::ReadFile("C:\\Beta\\readme.txt") + test::ReadFile(windows + "\\orrshare.dll"), "old\ntheirs\n");
        EXPECT_EQ(test::ReadFile(windows + "\\Uninstall.exe"), uninstaller);
    }
}

}  // namespace
}  // namespace quenby

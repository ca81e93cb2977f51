// Removal as a user makes it: the sample installed from its floppy disks, then removed through Wine's own
// list of installed programs, the prefix compared with a snapshot taken before; a cancelled installation
// cleaned up; and removal as an attacker would turn it: planted, edited and extended logs, a folder swapped
// for a link, a removal stopped and run again, files in use, products sharing a file.
#include <windows.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "Driver.h"
#include "Prefix.h"
#include "Snapshot.h"
#include "Wizard.h"
#include "base/InstallRecord.h"
#include "win/Handles.h"
#include "win/ProgramsFolder.h"

namespace quenby {
namespace {

using test::WindowsDir;

using namespace drive;
using test::Difference;
using test::kPageMs;
using test::Snapshot;
using test::TWizard;

const std::string kCounters = kCountersKey;

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// What a console program of the prefix prints.
std::string ConsoleOutput(const std::string& commandLine) {
    const test::TScratchFolder folder("quenby-console");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    THandle output(CreateFileA((folder / "out.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = output.Get();
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    EXPECT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process));
    THandle processHandle(process.hProcess), threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, kPageMs);
    output.Reset();
    return test::ReadFile(folder / "out.txt");
}

// A window of any program, by its caption (the uninstaller may be started by another program).
HWND WaitBox(const char* caption, const char* className = "#32770") {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindWindowA(className, caption)) != nullptr && IsWindowVisible(box); }, kPageMs,
              std::string("the window ") + caption);
    return box;
}

std::string Answer(const char* caption, int button) {
    const HWND box = WaitBox(caption);
    const std::string text = Text(GetDlgItem(box, 0xFFFF));
    Press(Control(box, button));
    WaitUntil([&] { return !IsWindow(box); }, kPageMs, std::string("the box ") + caption + " gone");
    return text;
}

// Each "Remove Shared File?" box answered Yes, but the one for Uninstall.exe itself with `forUninstaller`,
// up to the closing box; its text.
std::string AnswerToTheEnd(int forUninstaller) {
    for (;;) {
        HWND box = nullptr;
        WaitUntil(
            [&] { return (box = FindWindowA("#32770", "Remove Shared File?")) || FindWindowA("#32770", "Uninstall"); },
            kPageMs, "a shared file box or the closing box");
        if (!box) return Answer("Uninstall", IDOK);
        const std::string text = Text(GetDlgItem(box, 0xFFFF));
        EXPECT_NE(text.find(" is no longer used by any installed product. Remove it?"), std::string::npos) << text;
        Answer("Remove Shared File?", text.find("\\Uninstall.exe ") != std::string::npos ? forUninstaller : IDYES);
    }
}

// Uninstall.exe started as the item and the uninstall command start it: the destination, unquoted.
unsigned long Uninstall(const std::string& destination, const std::function<void()>& answers) {
    TDriver uninstaller(WindowsDir() + "\\Uninstall.exe", "C:\\", destination);
    answers();
    return uninstaller.WaitExit(kPageMs);
}

// The removal runs from a copy, which removes the Uninstall.exe that started it once that has ended.
void WaitUninstallerGone() {
    WaitUntil([] { return !test::Exists(WindowsDir() + "\\Uninstall.exe"); }, kPageMs, "Uninstall.exe removed");
}

void InsertDisk(int number) {
    const std::string disk = "\"$WINEPREFIX/media/orrery/disk" + std::to_string(number) + "\"";
    ASSERT_EQ(RunHost("ln -sfn " + disk + " \"$WINEPREFIX/dosdevices/a:\""), 0);
}

// The sample from drive A: up to the prompt for disk 2.
std::unique_ptr<TWizard> InstallFirstDisk(const std::string& destination) {
    InsertDisk(1);
    auto wizard = std::make_unique<TWizard>("A:\\Setup.exe", "A:\\");
    wizard->WaitInfo(
        "Welcome to Quenby. This program will automatically install and configure Orrery 1.4 on your "
        "computer.");
    for (const char* notice : {"ORRERY 1.4 - LICENCE", "WELCOME TO ORRERY"}) {
        Click(wizard->Item("NextBut"));
        WaitUntil([&] { return Text(wizard->Item("InfoMemo")).rfind(notice, 0) == 0; }, kPageMs, notice);
    }
    Click(wizard->Item("NextBut"));
    WaitUntil([&] { return Visible(wizard->Item("EditName")); }, kPageMs, "the user page");
    Click(wizard->Item("NextBut"));
    WaitUntil([&] { return Visible(wizard->Item("EditPath")); }, kPageMs, "the destination page");
    wizard->Enter("EditPath", destination);
    Click(wizard->Item("NextBut"));
    WaitText(wizard->Item("ProgressLabel"),
             "Please insert the next disk and press ok to continue or cancel to exit the installation.", kPageMs);
    return wizard;
}

void EndWizard(TWizard& wizard, bool cancel) {
    wizard.CloseProgramManager();
    Click(wizard.Item(cancel ? "CancelBut" : "NextBut"));
    if (!cancel) {  // past the closing notice to the finish page
        WaitUntil([&] { return Text(wizard.Item("InfoLabel")).find("installed successfuly") == std::string::npos; },
                  kPageMs, "the closing notice");
        Click(wizard.Item("NextBut"));
    }
    wizard.WaitInfo(cancel ? "The installation of Orrery 1.4 did not completed successfuly."
                           : "Quenby has installed Orrery 1.4 successfully, congratulations.");
    Click(wizard.Item("NextBut"));
    EXPECT_EQ(wizard.Driver().WaitExit(kPageMs), cancel ? 1602u : 0u);  // left before the copy step completed
}

// A product of one file, one file in a folder, its own shared file and two it shares with others, installed
// through the wizard into C:\<name>.
void InstallProduct(const std::string& name) {
    auto media = std::make_unique<test::TScratchFolder>("quenby-share-" + name);
    const std::string own = name + ".dll";
    media->Write("Quenby.ipi",
                 "[Settings]\r\nApplication=" + name + "\r\nVersion=1\r\nProgGroup=" + name +
                     "\r\n[Dirs]\r\ndata=0\r\n[SysFilesIn]\r\nshared.dll=\r\nUninstall.exe=\r\n" + own +
                     "=\r\n[SysFilesOut]\r\nshared.dll=0\r\nUninstall.exe=0\r\n" + own +
                     "=0\r\n[FilesIn]\r\nmain.txt=\r\nx.txt=\r\n[FilesOut]\r\nmain.txt=0\r\ndata\\x.txt=0\r\n"
                     "[Keys]\r\nBase=\\Software\\Share\\" +
                     name + "\r\n");
    for (const std::string& file : {std::string("shared.dll"), own, std::string("main.txt"), std::string("x.txt")})
        media->Write(file, file);
    media->Write("Uninstall.exe", test::ReadFile(test::SetupBuildDir() + "\\Uninstall.exe"));
    TWizard wizard(media->Path());
    wizard.ToDestinationPage();
    wizard.Enter("EditPath", "C:\\" + name);
    Click(wizard.Item("NextBut"));
    wizard.WaitInfo(name + " 1 was installed successfuly. Please select next to continue.");
    wizard.CloseOtherWindow(name);
    Click(wizard.Item("NextBut"));
    wizard.WaitInfo("Quenby has installed " + name + " 1 successfully, congratulations.");
    Click(wizard.Item("NextBut"));
    EXPECT_EQ(wizard.Driver().WaitExit(kPageMs), 0u);
}

// A removal that should be refused: the "Error" box's text. A removal that goes ahead instead is answered
// Yes throughout, so that what it would do shows.
std::string RefusedRemoval(const std::string& destination) {
    std::string text;
    EXPECT_EQ(Uninstall(destination,
                        [&] {
                            WaitUntil(
                                [] { return FindWindowA("#32770", "Error") || FindWindowA("#32770", "Uninstall"); },
                                kPageMs, "the error box or the question");
                            if (FindWindowA("#32770", "Error")) {
                                text = Answer("Error", IDOK);
                                return;
                            }
                            Answer("Uninstall", IDYES);
                            ADD_FAILURE() << "removed: " << AnswerToTheEnd(IDYES);
                        }),
              1603u);
    return text;
}

void SetHklmText(const std::string& key, const std::string& name, const std::string& text) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr),
              0);
    RegSetValueExA(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   DWORD(text.size() + 1));
    RegCloseKey(handle);
}

TEST(UninstallE2e, OnlyLinesThatSetupWroteAreActedOnAndFilesInUseWaitForTheRestart) {
    // A cancelled installation cleaned up.
    const std::string destination = "C:\\Orrery Halted";
    EndWizard(*InstallFirstDisk(destination), true);
    ASSERT_TRUE(test::Exists(WindowsDir() + "\\orrshare.dll"));
    EXPECT_EQ(Uninstall(destination,
                        [] {
                            EXPECT_EQ(Answer("Uninstall", IDYES),
                                      "Are you sure you want to remove Orrery and all of its components?");
                            AnswerToTheEnd(IDNO);
                        }),
              0u);
    for (const std::string& gone : {destination, std::string("C:\\OrreryData"), WindowsDir() + "\\orrshare.dll"})
        EXPECT_FALSE(test::Exists(gone)) << gone;
    const std::string run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", other = UninstallEntryKey("Other");
    SetHklmText(run, "Victim", "victim.exe");
    SetHklmText(other, "DisplayName", "Other");
    {  // planted in an empty folder before any installation
        const test::TScratchFolder planted("quenby-planted");
        planted.Write("Quenby.log", "Quenby installation log 1\r\ndestination\t" + planted.Path() +
                                        "\r\nvalue\tnew\tHKLM\t" + run + "\tVictim\r\nvalue\tnew\tHKLM\t" + other +
                                        "\tDisplayName\r\n");
        EXPECT_EQ(RefusedRemoval(planted.Path()), "The installation log " + (planted / "Quenby.log") +
                                                      " does not match what Setup recorded; nothing was removed.");
    }
    // Planted where the installation will go: never adopted.
    const std::string plantedLog =
        "Quenby installation log 1\r\ndestination\tC:\\Gamma\r\nvalue\tnew\tHKLM\t" + run + "\tVictim\r\n";
    CreateDirectoryA("C:\\Gamma", nullptr);
    WriteText("C:\\Gamma\\Quenby.log", plantedLog);
    InstallProduct("Gamma");
    EXPECT_EQ(test::ReadFile("C:\\Gamma\\Quenby.log.bad"), plantedLog);
    const std::string log = "C:\\Gamma\\Quenby.log", genuine = test::ReadFile(log);
    WriteText("C:\\Gamma\\mine.txt", "the user's");
    const std::size_t at = genuine.find("C:\\Gamma\\main.txt");
    ASSERT_NE(at, std::string::npos) << genuine;
    WriteText(log, std::string(genuine).replace(at, 17, "C:\\Gamma\\mine.txt"));
    EXPECT_NE(RefusedRemoval("C:\\Gamma").find("does not match"), std::string::npos);
    EXPECT_NE(RefusedRemoval("").find("No installation log"), std::string::npos);
    WriteText(log, genuine + "file\tnew\tC:\\Gamma\\mine.txt\r\nvalue\tnew\tHKLM\t" + run + "\tVictim\r\n");
    EXPECT_EQ(Uninstall("C:\\Gamma", [] { Answer("Uninstall", IDNO); }), 1602u);
    ASSERT_TRUE(test::Exists("C:\\Gamma\\main.txt"));

    const THandle inUse(CreateFileA("C:\\Gamma\\main.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string closing;
    EXPECT_EQ(Uninstall("C:\\Gamma",
                        [&] {
                            Answer("Uninstall", IDYES);
                            closing = AnswerToTheEnd(IDYES);
                        }),
              3010u);
    EXPECT_NE(closing.find("C:\\Gamma\\main.txt: it is in use; it goes when Windows restarts"), std::string::npos)
        << closing;
    for (const char* kept : {"C:\\Gamma\\mine.txt", "C:\\Gamma\\main.txt"}) EXPECT_TRUE(test::Exists(kept)) << kept;
    EXPECT_FALSE(test::Exists("C:\\Gamma\\data"));
    EXPECT_EQ(test::RegText(HKEY_LOCAL_MACHINE, run, "Victim"), "victim.exe");
    EXPECT_EQ(test::RegText(HKEY_LOCAL_MACHINE, other, "DisplayName"), "Other");
}

TEST(UninstallE2e, ARemovalRunTwiceFollowsNoLinkAndLowersEachCounterOnce) {
    DeleteFileA((WindowsDir() + "\\Uninstall.exe").c_str());  // an earlier test's: Alpha brings it anew
    const std::string shared = WindowsDir() + "\\shared.dll";
    WriteText(shared, "Windows' own");
    InstallProduct("Alpha");
    InstallProduct("Beta");
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, kCounters, "shared.dll"), "2");
    // After the installation a folder of the destination becomes a link to a folder outside.
    ASSERT_EQ(RunHost("cd \"$WINEPREFIX/drive_c\" && mkdir Victim && echo precious > Victim/x.txt && "
                      "rm -r Beta/data && ln -s ../Victim Beta/data"),
              0);
    // A folder named like an item in the group Beta created, holding a file of the user's.
    const std::string group = ProgramGroupFolder("Beta");
    ASSERT_FALSE(group.empty());
    CreateDirectoryA((group + "\\Uninstall Beta.lnk").c_str(), nullptr);
    WriteText(group + "\\Uninstall Beta.lnk\\notes.txt", "mine");

    {  // stopped at the question about Beta's own shared file, once the counters are lowered
        TDriver stopped(WindowsDir() + "\\Uninstall.exe", "C:\\", "C:\\Beta");
        Answer("Uninstall", IDYES);
        WaitBox("Remove Shared File?");
    }
    std::ofstream("C:\\Beta\\Quenby.log", std::ios::binary | std::ios::app) << "file\tnew\tC:\\Beta\\ma";
    std::string closing;
    EXPECT_EQ(Uninstall("C:\\Beta",
                        [&] {
                            Answer("Uninstall", IDYES);
                            closing = AnswerToTheEnd(IDYES);
                        }),
              0u);
    EXPECT_NE(closing.find("C:\\Beta\\data\\x.txt: it is reached through a link"), std::string::npos) << closing;
    EXPECT_EQ(test::ReadFile("C:\\Victim\\x.txt"), "precious\n");
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, kCounters, "shared.dll"), "1");
    EXPECT_FALSE(test::Exists(WindowsDir() + "\\Beta.dll"));
    EXPECT_FALSE(test::Exists("C:\\Beta\\main.txt"));
    EXPECT_EQ(test::ReadFile(group + "\\Uninstall Beta.lnk\\notes.txt"), "mine");

    // shared.dll was there before any installation: at zero its count goes, the file stays.
    EXPECT_EQ(Uninstall("C:\\Alpha",
                        [] {
                            Answer("Uninstall", IDYES);
                            AnswerToTheEnd(IDYES);
                        }),
              0u);
    // Uninstall.exe went at once: a product installed before the restart keeps its own.
    WaitUninstallerGone();
    InstallProduct("Delta");
    EXPECT_EQ(TDriver(WindowsDir() + "\\system32\\wineboot.exe", "C:\\", "-r").WaitExit(kPageMs), 0u);
    EXPECT_TRUE(test::Exists(WindowsDir() + "\\Uninstall.exe"));
    EXPECT_EQ(Uninstall("C:\\Delta",
                        [] {
                            Answer("Uninstall", IDYES);
                            AnswerToTheEnd(IDYES);
                        }),
              0u);
    WaitUninstallerGone();
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, kCounters, "shared.dll"), "<no key>");
    EXPECT_TRUE(test::Exists(shared));
    for (const char* key : {"Software\\Share\\Alpha", "Software\\Share\\Beta"})
        EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, key)) << key;
    for (const char* name : {"Alpha", "Beta"})
        EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, UninstallEntryKey(name)));
}

// Last: after Wine's own uninstaller has run, Wine's virtual desktop does not come up again in this prefix.
TEST(UninstallE2e, WinesListRemovesTheSampleLeavingOnlyTheUsersOwnFile) {
    const std::string destination = "C:\\Program Files\\Orrery";
    const std::set<std::string> before = Snapshot();
    {
        auto wizard = InstallFirstDisk(destination);
        InsertDisk(2);
        Click(wizard->Item("NextBut"));
        wizard->WaitInfo("Orrery 1.4 was installed successfuly. Please select next to continue.");
        wizard->CloseOtherWindow("readme.txt");
        wizard->CloseOtherWindow("Brightwater Orrery");
        EndWizard(*wizard, false);
    }
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, kCounters, "Uninstall.exe"), "1");
    CreateDirectoryA((destination + "\\My Notes").c_str(), nullptr);
    WriteText(destination + "\\My Notes\\moons I saw.txt", "Io, Europa\r\n");

    const std::string list = ConsoleOutput("C:\\windows\\system32\\uninstaller.exe --list");
    const std::size_t line = list.find("|||Orrery 1.4");
    ASSERT_NE(line, std::string::npos) << list;
    const std::size_t start = list.rfind('\n', line) + 1;  // npos + 1 = 0 on the first line
    const std::string key = list.substr(start, line - start);
    TDriver wine("C:\\windows\\system32\\uninstaller.exe", "C:\\", "--remove " + key);
    EXPECT_EQ(Answer("Uninstall", IDYES), "Are you sure you want to remove Orrery 1.4 and all of its components?");
    WaitBox("Uninstall Orrery 1.4", "TUninstallForm");
    const std::string closing = AnswerToTheEnd(IDYES);
    EXPECT_EQ(closing.rfind("Orrery 1.4 was removed from your computer.", 0), 0u) << closing;
    EXPECT_NE(closing.find(destination + ": it holds things"), std::string::npos) << closing;
    wine.WaitExit(kPageMs);
    // The removal ran from a copy, which removes the original once it has ended.
    const std::string uninstaller = WindowsDir() + "\\Uninstall.exe";
    if (!before.count(uninstaller)) WaitUninstallerGone();

    // Only the copy and its folder wait for the restart.
    EXPECT_EQ(
        test::DifferenceButWaitingCopies(before, Snapshot()),
        "+ " + destination + "\n+ " + destination + "\\My Notes\n+ " + destination + "\\My Notes\\moons I saw.txt\n");
}

}  // namespace
}  // namespace quenby

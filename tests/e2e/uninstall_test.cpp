// Removal as a user makes it: the sample installed from its floppy disks, then removed through Wine's own
// list of installed programs, the prefix compared with a snapshot taken before; two products sharing a
// file; a cancelled installation cleaned up; a planted log refused.
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

namespace quenby {
namespace {

using namespace drive;
using test::Difference;
using test::Snapshot;
using test::kPageMs;
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

std::string WindowsDir() {
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
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
        WaitUntil([&] { return (box = FindWindowA("#32770", "Remove Shared File?")) || FindWindowA("#32770", "Uninstall"); },
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

void InsertDisk(int number) {
    const std::string disk = "\"$WINEPREFIX/media/orrery/disk" + std::to_string(number) + "\"";
    ASSERT_EQ(RunHost("ln -sfn " + disk + " \"$WINEPREFIX/dosdevices/a:\""), 0);
}

// The sample from drive A: up to the prompt for disk 2.
std::unique_ptr<TWizard> InstallFirstDisk(const std::string& destination) {
    InsertDisk(1);
    auto wizard = std::make_unique<TWizard>("A:\\Setup.exe", "A:\\");
    wizard->WaitInfo("Welcome to Quenby. This program will automatically install and configure Orrery 1.4 on your "
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

TEST(UninstallE2e, ASharedFileStaysUntilTheLastProductThatCountsOnItGoes) {
    auto product = [](const char* name) {
        auto media = std::make_unique<test::TScratchFolder>(std::string("quenby-share-") + name);
        media->Write("Quenby.ipi", std::string("[Settings]\r\nApplication=") + name + "\r\nVersion=1\r\nProgGroup=" +
                                       name + "\r\n[SysFilesIn]\r\nshared.dll=\r\nUninstall.exe=\r\n[SysFilesOut]\r\n"
                                       "shared.dll=0\r\nUninstall.exe=0\r\n[FilesIn]\r\nmain.txt=\r\n[FilesOut]\r\n"
                                       "main.txt=0\r\n[Keys]\r\nBase=\\Software\\Share\\" + name + "\r\n");
        media->Write("shared.dll", "shared\r\n");
        media->Write("main.txt", name);
        media->Write("Uninstall.exe", test::ReadFile(test::SetupBuildDir() + "\\Uninstall.exe"));
        TWizard wizard(media->Path());
        wizard.ToDestinationPage();
        wizard.Enter("EditPath", std::string("C:\\") + name);
        Click(wizard.Item("NextBut"));
        wizard.WaitInfo(std::string(name) + " 1 was installed successfuly. Please select next to continue.");
        wizard.CloseOtherWindow(name);
        Click(wizard.Item("NextBut"));
        wizard.WaitInfo(std::string("Quenby has installed ") + name + " 1 successfully, congratulations.");
        Click(wizard.Item("NextBut"));
        EXPECT_EQ(wizard.Driver().WaitExit(kPageMs), 0u);
    };
    product("Alpha");
    product("Beta");
    const std::string shared = WindowsDir() + "\\shared.dll";
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, kCounters, "shared.dll"), "2");

    EXPECT_EQ(Uninstall("C:\\Alpha", [] {
                  Answer("Uninstall", IDYES);
                  AnswerToTheEnd(IDNO);
              }), 0u);

    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, kCounters, "shared.dll"), "1");
    EXPECT_TRUE(test::Exists(shared));
    EXPECT_FALSE(test::IsFolder("C:\\Alpha"));

    EXPECT_EQ(Uninstall("C:\\Beta", [] {
                  Answer("Uninstall", IDYES);
                  AnswerToTheEnd(IDNO);
              }),
              0u);

    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, kCounters, "shared.dll"), "<missing>");
    EXPECT_FALSE(test::Exists(shared));
    EXPECT_TRUE(test::Exists(WindowsDir() + "\\Uninstall.exe"));
    for (const char* key : {"Software\\Share\\Alpha", "Software\\Share\\Beta"})
        EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, key)) << key;
}

TEST(UninstallE2e, ACancelledInstallationIsCleanedUpAndAPlantedLogRefused) {
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

    const test::TScratchFolder planted("quenby-planted");
    planted.Write("Quenby.log", "Quenby installation log 1\r\ndestination\t" + planted.Path() + "\r\nfile\tnew\t" +
                                    (planted / "a.txt") + "\r\nfile\tnew\t" + WindowsDir() + "\\win.ini\r\n");
    planted.Write("a.txt", "a");
    EXPECT_EQ(Uninstall(planted.Path(), [&] {
                  EXPECT_NE(Answer("Uninstall", IDOK).find("names " + WindowsDir() + "\\win.ini"), std::string::npos);
              }),
              1u);
    EXPECT_TRUE(test::Exists(planted / "a.txt"));
    EXPECT_TRUE(test::Exists(WindowsDir() + "\\win.ini"));
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
    // Windows keeps a running program's file: it goes at the next restart.
    EXPECT_NE(closing.find(WindowsDir() + "\\Uninstall.exe: it is the running uninstaller"), std::string::npos);
    wine.WaitExit(kPageMs);

    const std::string uninstaller = WindowsDir() + "\\Uninstall.exe";
    EXPECT_EQ(Difference(before, Snapshot()), "+ " + destination + "\n+ " + destination + "\\My Notes\n+ " +
                                                  destination + "\\My Notes\\moons I saw.txt\n" +
                                                  (before.count(uninstaller) ? "" : "+ " + uninstaller + "\n"));
}

}  // namespace
}  // namespace quenby

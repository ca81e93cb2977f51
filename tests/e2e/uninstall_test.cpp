// Removal as a user makes it: the sample installed from its floppy disks, then removed through Wine's own
// list of installed programs, the prefix compared with a snapshot taken before; an installation cancelled at the
// disk prompt, what it kept, cleaned up; and removal as an attacker would turn it: planted, edited and extended
// logs, a folder swapped for a link, a removal stopped and run again, files in use, products sharing a file.
// ctest .wines UninstallE2e.WinesList*
// ctest .i686 shipped UninstallE2e.SharedFilesStay*:UninstallE2e.AnOldSpellings*
// ctest .i686-logs shipped UninstallE2e.OnlyLines*:UninstallE2e.ARemovalRunTwice*
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
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
#include "undo/SealedLog.h"
#include "win/Handles.h"
#include "win/ProgramsFolder.h"
#include "win/RegistryKey.h"

namespace quenby {
namespace {

using namespace drive;
using test::Difference;
using test::kPageMs;
using test::Snapshot;
using test::TWizard;
using test::WindowsDir;

const std::string kCounters = kCountersKey;

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
std::string BuiltFile(const std::string& name) { return test::ReadFile(test::SetupBuildDir() + "\\" + name); }

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
        // Found before its text is set, which it holds once on view.
        const std::string text = Text(GetDlgItem(WaitBox("Remove Shared File?"), 0xFFFF));
        EXPECT_TRUE(test::Holds(text, " is no longer used by any installed product. Remove it?"));
        Answer("Remove Shared File?", text.find("\\Uninstall.exe ") != std::string::npos ? forUninstaller : IDYES);
    }
}

// Uninstall.exe started as the item and the uninstall command start it: the destination, unquoted.
unsigned long Uninstall(const std::string& destination, const std::function<void()>& answers) {
    TDriver uninstaller(WindowsDir() + "\\Uninstall.exe", "C:\\", destination);
    answers();
    return uninstaller.WaitExit(kPageMs);
}

// A removal answered Yes throughout; the closing box's text.
std::string RemoveAll(const std::string& destination, unsigned long exitCode = 0) {
    TDriver uninstaller(WindowsDir() + "\\Uninstall.exe", "C:\\", destination);
    Answer("Uninstall", IDYES);
    const std::string closing = AnswerToTheEnd(IDYES);
    EXPECT_EQ(uninstaller.WaitExit(kPageMs), exitCode) << destination;
    return closing;
}

// The removal runs from a copy, which removes the Uninstall.exe that started it once that has ended.
void WaitUninstallerGone() {
    WaitUntil([] { return !test::Exists(WindowsDir() + "\\Uninstall.exe"); }, kPageMs, "Uninstall.exe removed");
}

// The sample from drive A: up to the prompt for disk 2.
std::unique_ptr<TWizard> InstallFirstDisk(const std::string& destination) {
    test::InsertDisk("orrery/disk1");
    auto wizard = std::make_unique<TWizard>("A:\\Setup.exe", "A:\\");
    wizard->PastNotices({"ORRERY 1.4 - LICENCE", "WELCOME TO ORRERY"});
    wizard->ToDestinationPage();
    wizard->StartCopyInto(destination);
    WaitText(wizard->Item("ProgressLabel"), test::kDiskPromptText, kPageMs);
    return wizard;
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
    media->Write("Uninstall.exe", BuiltFile("Uninstall.exe"));
    TWizard wizard(media->Path());
    wizard.ToDestinationPage();
    wizard.StartCopyInto("C:\\" + name);
    wizard.WaitInfo(name + " 1 was installed successfuly. Please select next to continue.");
    wizard.CloseOtherWindow(name);
    wizard.Finish(name + " 1");
}

// A file's machine-wide count in the Windows directory, as `reg query ... /reg:64` shows it: the number, or
// "<missing>", "<no key>" or the text of a value that is no count.
std::string MachineCount(const std::string& file) {
    const std::string name = WindowsDir() + "\\" + file;
    const auto key = TRegistryKey::Open(HKEY_LOCAL_MACHINE, kSharedDllsKey, KEY_QUERY_VALUE | KEY_WOW64_64KEY);
    const auto count = key ? key->ReadDword(name) : std::nullopt;
    return count ? std::to_string(*count) : test::RegText(HKEY_LOCAL_MACHINE, kSharedDllsKey, name, KEY_WOW64_64KEY);
}

// A removal that should be refused: the "Error" box's text (1605 where nothing names the folder). A removal that goes
// ahead instead is answered Yes throughout, so that what it would do shows.
std::string RefusedRemoval(const std::string& destination, unsigned long exitCode = 1603) {
    TDriver uninstaller(WindowsDir() + "\\Uninstall.exe", "C:\\", destination);
    WaitUntil([] { return FindWindowA("#32770", "Error") || FindWindowA("#32770", "Uninstall"); }, kPageMs,
              "the error box or the question");
    std::string text;
    if (FindWindowA("#32770", "Error")) {
        text = Answer("Error", IDOK);
    } else {
        Answer("Uninstall", IDYES);
        ADD_FAILURE() << "removed: " << AnswerToTheEnd(IDYES);
    }
    EXPECT_EQ(uninstaller.WaitExit(kPageMs), exitCode) << destination;
    return text;
}

// Cancelled at the prompt for disk 2: the first disk's files stay, nothing of the later steps is made; the
// removal takes what was made.
TEST(UninstallE2e, AnInstallationCancelledAtTheDiskPromptIsRemoved) {
    const std::string destination = "C:\\Orrery Halted";
    InstallFirstDisk(destination)->Cancel("Orrery 1.4");
    for (const std::string& folder : {destination + "\\data", destination + "\\charts", std::string("C:\\OrreryData")})
        EXPECT_TRUE(test::IsFolder(folder)) << folder;
    EXPECT_EQ(test::ReadFile(WindowsDir() + "\\orrshare.dll"), BuiltFile("orrshare.dll"));
    EXPECT_EQ(test::ReadFile(destination + "\\orrery.exe"), BuiltFile("orrery.exe"));
    EXPECT_EQ(test::ReadFile(destination + "\\readme.txt"),
              test::ReadFile(test::SourceDir() + "\\examples\\orrery\\media\\readme.txt"));
    EXPECT_FALSE(test::Exists(destination + "\\data\\planets.txt"));
    EXPECT_TRUE(ProgramGroupFolder("Brightwater Orrery").empty());
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, "Software\\Brightwater"));
    EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, UninstallEntryKey("Orrery")));
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kCounters));
    EXPECT_FALSE(test::Exists(destination + "\\Quenby.upi"));
    EXPECT_EQ(Uninstall(destination,
                        [] {
                            EXPECT_EQ(Answer("Uninstall", IDYES),
                                      "Are you sure you want to remove Orrery and all of its components?");
                            AnswerToTheEnd(IDNO);
                        }),
              0u);
    for (const std::string& gone : {destination, std::string("C:\\OrreryData"), WindowsDir() + "\\orrshare.dll"})
        EXPECT_FALSE(test::Exists(gone)) << gone;
}

TEST(UninstallE2e, OnlyLinesThatSetupWroteAreActedOnAndAFileThatCannotBeMovedIsLeft) {
    const std::string run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", other = UninstallEntryKey("Other");
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, run.c_str(), "Victim", REG_SZ, "victim.exe", 11), 0);
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, other.c_str(), "DisplayName", REG_SZ, "Other", 6), 0);
    // Planted where the installation will go: never adopted.
    const std::string plantedLog =
        "Quenby installation log 1\r\ndestination\tC:\\Gamma\r\nvalue\tnew\tHKLM\t" + run + "\tVictim\r\n";
    CreateDirectoryA("C:\\Gamma", nullptr);
    WriteText("C:\\Gamma\\Quenby.log", plantedLog);
    InstallProduct("Gamma");
    EXPECT_EQ(test::ReadFile("C:\\Gamma\\Quenby.log.bad"), plantedLog);
    {  // planted in an empty folder: refused
        const test::TScratchFolder planted("quenby-planted");
        planted.Write("Quenby.log", "Quenby installation log 1\r\ndestination\t" + planted.Path() +
                                        "\r\nvalue\tnew\tHKLM\t" + run + "\tVictim\r\nvalue\tnew\tHKLM\t" + other +
                                        "\tDisplayName\r\n");
        EXPECT_EQ(RefusedRemoval(planted.Path()), "The installation log " + (planted / "Quenby.log") +
                                                      " does not match what Setup recorded; nothing was removed.");
    }
    const std::string log = "C:\\Gamma\\Quenby.log", genuine = test::ReadFile(log);
    WriteText("C:\\Gamma\\mine.txt", "the user's");
    const std::size_t at = genuine.find("C:\\Gamma\\main.txt");
    ASSERT_NE(at, std::string::npos) << genuine;
    WriteText(log, std::string(genuine).replace(at, 17, "C:\\Gamma\\mine.txt"));
    EXPECT_TRUE(test::Holds(RefusedRemoval("C:\\Gamma"), "does not match"));
    EXPECT_TRUE(test::Holds(RefusedRemoval("", 1605), "No installation log"));
    WriteText(log, genuine + "file\tnew\tC:\\Gamma\\mine.txt\r\nvalue\tnew\tHKLM\t" + run + "\tVictim\r\n");
    EXPECT_EQ(Uninstall("C:\\Gamma", [] { Answer("Uninstall", IDNO); }), 1602u);

    // Held without delete sharing: it can be neither deleted nor moved, and nothing waits for the restart.
    THandle inUse(CreateFileA("C:\\Gamma\\main.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(inUse);
    const std::string closing = RemoveAll("C:\\Gamma");
    EXPECT_TRUE(test::Holds(
        closing, std::string("C:\\Gamma\\main.txt: it is in use and cannot be moved away; remove it once it is free")));
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
    const std::string closing = RemoveAll("C:\\Beta");
    EXPECT_TRUE(test::Holds(closing, "C:\\Beta\\data\\x.txt: it is reached through a link"));
    EXPECT_EQ(test::ReadFile("C:\\Victim\\x.txt"), "precious\n");
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, kCounters, "shared.dll"), "1");
    EXPECT_FALSE(test::Exists(WindowsDir() + "\\Beta.dll"));
    EXPECT_FALSE(test::Exists("C:\\Beta\\main.txt"));
    EXPECT_EQ(test::ReadFile(group + "\\Uninstall Beta.lnk\\notes.txt"), "mine");

    // shared.dll was there before any installation: at zero its count goes, the file stays.
    RemoveAll("C:\\Alpha");
    // Uninstall.exe went at once: a product installed before the restart keeps its own.
    WaitUninstallerGone();
    InstallProduct("Delta");
    EXPECT_EQ(TDriver(WindowsDir() + "\\system32\\wineboot.exe", "C:\\", "-r").WaitExit(kPageMs), 0u);
    EXPECT_TRUE(test::Exists(WindowsDir() + "\\Uninstall.exe"));
    RemoveAll("C:\\Delta");
    WaitUninstallerGone();
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, kCounters, "shared.dll"), "<no key>");
    EXPECT_TRUE(test::Exists(shared));
    for (const std::string name : {"Alpha", "Beta"})
        EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, "Software\\Share\\" + name) ||
                     test::KeyExists(HKEY_LOCAL_MACHINE, UninstallEntryKey(name)))
            << name;
}

// Also on the shipped i686 build, whose HKLM\SOFTWARE is the 32-bit view: the counts are in the 64-bit one.
TEST(UninstallE2e, SharedFilesStayWhileTheMachineCountsThemWhateverTheUserCountersOrTheRecordSay) {
    const std::string shared = WindowsDir() + "\\shared.dll", own = WindowsDir() + "\\Kappa.dll",
                      uninstaller = WindowsDir() + "\\Uninstall.exe";
    for (const std::string& file : {shared, uninstaller}) DeleteFileA(file.c_str());
    InstallProduct("Kappa");
    InstallProduct("Lambda");
    for (const char* file : {"shared.dll", "Uninstall.exe", "Kappa.dll"})
        EXPECT_EQ(MachineCount(file), file[0] == 'K' ? "1" : "2") << file;
    EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kSharedDllsKey, KEY_WOW64_32KEY));
    // The user's counters missing, as in another administrator's profile; the record in the destination edited;
    // another installer's count (no REG_DWORD) and none at all (as for a file installed before machine-wide
    // counts): these two are never offered, never changed.
    ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, kCountersKey), 0);
    WriteText("C:\\Kappa\\Quenby.upi",
              "[Uninstall]\r\nDisplayName=Kappa security update (answer Yes to every "
              "question)\r\n");
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, kSharedDllsKey, uninstaller.c_str(), REG_SZ, "1", 2), 0);
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSharedDllsKey, own.c_str());
    std::string closing;
    EXPECT_EQ(Uninstall("C:\\Kappa",
                        [&] {
                            EXPECT_EQ(Answer("Uninstall", IDYES),
                                      "Are you sure you want to remove Kappa 1 and all of its components?");
                            closing = AnswerToTheEnd(IDYES);
                        }),
              0u);
    for (const std::string& left : {uninstaller + ": its machine-wide count is another installer's (no REG_DWORD)",
                                    own + ": it has no machine-wide count, so other products may still use it"})
        EXPECT_TRUE(test::Holds(closing, left));
    for (const std::string& file : {shared, uninstaller, own}) EXPECT_TRUE(test::Exists(file)) << file;
    EXPECT_EQ(MachineCount("shared.dll"), "1");
    EXPECT_EQ(test::RegText(HKEY_LOCAL_MACHINE, kSharedDllsKey, uninstaller, KEY_WOW64_64KEY), "1");
    EXPECT_EQ(MachineCount("Kappa.dll"), "<missing>");
    // At zero the count goes; the file stays, as it was there before Lambda.
    RemoveAll("C:\\Lambda");
    EXPECT_EQ(MachineCount("shared.dll"), "<missing>");
    EXPECT_FALSE(test::Exists(WindowsDir() + "\\Lambda.dll"));
    for (const std::string& file : {shared, uninstaller, own}) DeleteFileA(file.c_str());
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSharedDllsKey, uninstaller.c_str());
}

// Also on the shipped i686 build. An installation sealed under the destination as typed, as Setup did before it
// spelled each folder one way (here its short name): found and removed under that spelling. Never in place
// without a private folder; a mapped file moved away and deleted at the restart from there, whatever the
// destination has become meanwhile.
TEST(UninstallE2e, AnOldSpellingsInstallationIsRemovedFromAPrivateFolderOnlyAndTheRestartFollowsNoLink) {
    InstallProduct("Longfellow");
    char shortName[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameA("C:\\Longfellow", shortName, MAX_PATH), 0u);
    const std::string old = shortName, entry = UninstallEntryKey("Longfellow");
    ASSERT_NE(old, "C:\\Longfellow");
    // Sealed again as the earlier Setup would have sealed it: without run lines, under the folder as typed.
    std::string log = test::ReadFile("C:\\Longfellow\\Quenby.log");
    // Its destination only: where the links lead (the final line) was always resolved.
    for (std::size_t at; (at = log.find("C:\\Longfellow")) != std::string::npos;) log.replace(at, 13, old);
    if (const std::size_t at = log.find("final\t" + old + "\r\n"); at != std::string::npos)
        log.replace(at + 6, old.size(), "C:\\Longfellow");
    DeleteLogSeal("C:\\Longfellow");
    ASSERT_TRUE(DeleteFileA("C:\\Longfellow\\Quenby.log"));
    {
        TSealedLog sealed(old, false);
        for (std::size_t at = log.find("\r\n") + 2, end; (end = log.find("\r\n", at)) != std::string::npos;
             at = end + 2)
            if (!log.substr(at).starts_with("run")) sealed.Append(log.substr(at, end + 2 - at));
    }
    // This test is a 64-bit program; the shipped i686 programs keep their HKLM\SOFTWARE in the 32-bit view.
    const REGSAM view = test::SetupBuildDir() == test::BuildDir() ? 0 : KEY_WOW64_32KEY;
    if (view) {
        const auto sealed = TRegistryKey::Open(HKEY_LOCAL_MACHINE, kLogRecordsKey, KEY_READ | KEY_WOW64_64KEY);
        const auto theirs = TRegistryKey::Create(HKEY_LOCAL_MACHINE, kLogRecordsKey, KEY_ALL_ACCESS | view);
        ASSERT_TRUE(sealed && theirs);
        ASSERT_EQ(RegDeleteTreeA(theirs->Get(), nullptr), 0);
        ASSERT_EQ(RegCopyTreeA(sealed->Get(), nullptr, theirs->Get()), 0);
    }
    TRegistryKey::Open(HKEY_LOCAL_MACHINE, entry, KEY_SET_VALUE | view)
        ->WriteText(kEntryUninstallString, WindowsDir() + "\\Uninstall.exe " + old);

    const std::string temp = WindowsDir() + "\\temp";
    ASSERT_TRUE(MoveFileA(temp.c_str(), (temp + ".away").c_str()));
    WriteText(temp, "not a folder");
    EXPECT_EQ(RefusedRemoval(old),
              "Uninstall cannot make a private working folder in " + WindowsDir() + "\\Temp; nothing was removed.");
    DeleteFileA(temp.c_str());
    ASSERT_TRUE(MoveFileA((temp + ".away").c_str(), temp.c_str()));

    // Mapped, as a running program's image is: it cannot be deleted, but it can be moved away.
    THandle mapped;
    {
        const THandle file(CreateFileA("C:\\Longfellow\\data\\x.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
        mapped.Reset(CreateFileMappingA(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    }
    ASSERT_TRUE(mapped);
    const std::string closing = RemoveAll(old, 3010);
    EXPECT_TRUE(test::Holds(closing, std::string("data\\x.txt: it is in use; it goes when Windows restarts")));
    for (const char* gone : {"C:\\Longfellow\\main.txt", "C:\\Longfellow\\Quenby.log"})
        EXPECT_FALSE(test::Exists(gone)) << gone;
    EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, entry, view));
    // Before the restart the folder becomes a link to one holding a file of the same name: it stays.
    mapped.Reset();
    ASSERT_EQ(RunHost("cd \"$WINEPREFIX/drive_c\" && mkdir -p Precious/data && echo precious > Precious/data/x.txt && "
                      "rm -rf Longfellow && ln -s Precious Longfellow"),
              0);
    EXPECT_EQ(TDriver(WindowsDir() + "\\system32\\wineboot.exe", "C:\\", "-r").WaitExit(kPageMs), 0u);
    EXPECT_EQ(test::ReadFile("C:\\Precious\\data\\x.txt"), "precious\n");
}

// An entry of its own: after Wine's own uninstaller has run, Wine's virtual desktop does not come up again in
// this prefix.
TEST(UninstallE2e, WinesListRemovesTheSampleLeavingOnlyTheUsersOwnFile) {
    const std::string destination = "C:\\Program Files\\Orrery";
    const std::set<std::string> before = Snapshot();
    {
        auto wizard = InstallFirstDisk(destination);
        test::InsertDisk("orrery/disk2");
        Click(wizard->Item("NextBut"));
        wizard->WaitInfo("Orrery 1.4 was installed successfuly. Please select next to continue.");
        wizard->CloseOtherWindow("readme.txt");
        wizard->CloseOtherWindow("Brightwater Orrery");
        wizard->Finish("Orrery 1.4", "THANK YOU FOR INSTALLING ORRERY");
    }
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, kCounters, "Uninstall.exe"), "1");
    CreateDirectoryA((destination + "\\My Notes").c_str(), nullptr);
    WriteText(destination + "\\My Notes\\moons I saw.txt", "Io, Europa\r\n");

    // Wine's list of installed programs, written outside drive C:.
    ASSERT_EQ(RunHost("WINEDEBUG=-all /usr/lib/wine/wine64 uninstaller --list >\"$WINEPREFIX/programs.txt\""), 0);
    const std::string list = test::ReadFile(WindowsPath(std::getenv("WINEPREFIX")) + "\\programs.txt");
    const std::size_t line = list.find("|||Orrery 1.4");
    ASSERT_NE(line, std::string::npos) << list;
    const std::size_t start = list.rfind('\n', line) + 1;  // npos + 1 = 0 on the first line
    const std::string key = list.substr(start, line - start);
    TDriver wine("C:\\windows\\system32\\uninstaller.exe", "C:\\", "--remove " + key);
    EXPECT_EQ(Answer("Uninstall", IDYES), "Are you sure you want to remove Orrery 1.4 and all of its components?");
    WaitBox("Uninstall Orrery 1.4", "TUninstallForm");
    const std::string closing = AnswerToTheEnd(IDYES);
    EXPECT_EQ(closing.rfind("Orrery 1.4 was removed from your computer.", 0), 0u) << closing;
    EXPECT_TRUE(test::Holds(closing, destination + ": it holds things"));
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

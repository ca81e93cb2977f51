// Bad instructions, bad media and a bad system, met by the real Setup.exe driven from outside: each case
// ends in a clear message, leaves the wizard usable and nothing half-written beyond what was already
// done. docs/FAULTS.md lists the cases with what the user sees. The prepare script beside this file
// makes F: a 1 MiB disk, R: a read-only mount and a REG_DWORD shared-file counter "shared.dll".
// ctest .runs Faults.RegistryGroup*:Faults.AFolder*:Faults.ARetry*
#include <windows.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <fstream>
#include <memory>
#include <string>

#include "Driver.h"
#include "Handles.h"
#include "Prefix.h"
#include "RandomBytes.h"
#include "Wizard.h"
#include "base/InstallRecord.h"
#include "win/DdeClientConv.h"
#include "win/ProgramsFolder.h"

namespace quenby {
namespace {

using namespace drive;
using test::Exists;
using test::kPageMs;
using test::TScratchFolder;
using test::TWizard;

std::string Welcome(const std::string& productAndVersion) {
    return "Welcome to Quenby. This program will automatically install and configure " + productAndVersion +
           " on your computer.";
}

// Program Manager carries out macros in the order they come: once one of ours is answered, everything the
// wizard sent before it has been carried out.
void WaitProgramManagerDone() {
    TDdeClientConv::InitializeLibrary();
    TDdeClientConv conversation("PROGMAN", "PROGMAN", "QUENBYNOPROGRAM");
    ASSERT_TRUE(conversation.Open());
    conversation.ExecuteMacro("[DeleteGroup(Quenby No Such Group)]\r\n", 30000);
}

// A copy run that failed leaves the wizard on its state: the progress panel, Previous enabled.
void ExpectStoppedOnProgressPanel(const TWizard& wizard) {
    EXPECT_TRUE(Visible(wizard.Item("ProgressBar")));
    EXPECT_FALSE(Visible(wizard.Item("EditPath")));
    EXPECT_TRUE(Enabled(wizard.Item("PrevBut")));
    EXPECT_EQ(Text(wizard.Item("ProgressLabel")), "");
}

// Presses Next and answers the error box that follows; returns its text.
std::string NextFails(TWizard& wizard) {
    Click(wizard.Item("NextBut"));
    const TMessageBox box = wizard.Driver().WaitMessageBox(kPageMs);
    EXPECT_EQ(box.caption, "Quenby 3.2");
    wizard.Driver().CloseMessageBox(box);
    return box.text;
}

// Random bytes, ten megabytes of comments, and names with brackets, equals signs, quotes and trailing
// blanks: each still starts the wizard with what the profile functions read.
TEST(Faults, DamagedInstructionsFilesStillStartTheWizard) {
    const std::string random = test::RandomBytes(4096, 9);
    std::string huge = "[Settings]\r\nApplication=Huge\r\nVersion=1\r\n[Comments]\r\n";
    while (huge.size() < 10 * 1024 * 1024) huge += "; a line of padding that no one reads, over and over again\r\n";
    huge += "[Tail]\r\nEnd=1\r\n";
    const std::string odd =
        "[Settings]\r\nApplication=\"Quoted [Name]\"  \r\nVersion = 2=0  \r\n[Odd]]Section]\r\nk\"e\"y =v\r\n";
    const struct {
        const char* name;
        std::string content;
        std::string welcome;
    } cases[] = {
        {"random bytes", random, Welcome(" ")},
        {"10 MB", huge, Welcome("Huge 1")},
        {"odd names", odd, Welcome("Quoted [Name] 2=0")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TScratchFolder dist("quenby-fault-ipi");
        dist.Write("Quenby.ipi", c.content);
        TWizard wizard(dist.Path());
        wizard.WaitInfo(c.welcome);
        EXPECT_TRUE(wizard.Driver().MessageBoxes().empty());
    }
}

// A notice of one megabyte is shown whole; a missing notice names the file, and the page stays: every
// Next meets the same file again.
TEST(Faults, LargeAndMissingNotices) {
    TScratchFolder dist("quenby-fault-notice");
    std::string big;
    while (big.size() < 1024 * 1024) big += "A notice line that goes on and on, one of very many lines.\r\n";
    dist.Write("big.txt", big);
    dist.Write("Quenby.ipi",
               "[Settings]\r\nApplication=Notes\r\nVersion=1\r\n[StartInfo]\r\nbig.txt=\r\nmissing.txt=\r\n");
    TWizard wizard(dist.Path());
    wizard.WaitInfo(Welcome("Notes 1"));
    Click(wizard.Item("NextBut"));
    WaitUntil([&] { return SendMessageA(wizard.Item("InfoMemo"), WM_GETTEXTLENGTH, 0, 0) >= LRESULT(big.size()) - 2; },
              kPageMs, "the whole notice in the memo");
    const std::string missing = "Cannot open file " + dist / "missing.txt" + ".";
    EXPECT_EQ(NextFails(wizard), missing);
    // The page stays, with the previous notice; the notice is never skipped, Next meets it again.
    EXPECT_EQ(
        Text(wizard.Item("InfoLabel")),
        "Please read the following notices carefully, they contain important commercial and technical information.");
    EXPECT_EQ(NextFails(wizard), missing);
    EXPECT_TRUE(Text(wizard.Item("InfoMemo")).starts_with("A notice line"));
    wizard.Cancel("Notes 1");
}

// 5,000 product files with two destination names: the two are copied, then the missing pair is reported.
// Expand that is not a number counts as 0: a compressed file is copied as it is, not expanded.
TEST(Faults, ManyFilesWithFewerDestinationNames) {
    TScratchFolder dist("quenby-fault-lists");
    TScratchFolder target("quenby-fault-lists-target");
    std::string ipi = "[Settings]\r\nApplication=Lists\r\nVersion=1\r\nExpand=yes\r\n[FilesIn]\r\n";
    for (int i = 0; i < 5000; ++i) ipi += "file" + std::to_string(i) + ".txt=\r\n";
    ipi += "[FilesOut]\r\nfile0.txt=0\r\nfile1.txt=0\r\n[Keys]\r\nBase=\\Software\\Norvale Tests\\Lists\r\n";
    dist.Write("Quenby.ipi", ipi);
    // SZDD: header, missing character, expanded length 6, one flag byte of literals.
    const std::string packed(
        "SZDD\x88\xF0\x27\x33"
        "A\0\x06\0\0\0\xFFzero\r\n",
        21);
    dist.Write("file0.txt", packed);
    dist.Write("file1.txt", "one\r\n");
    dist.Write("file2.txt", "two\r\n");
    TWizard wizard(dist.Path());
    wizard.ToDestinationPage();
    wizard.Enter("EditPath", target.Path());
    EXPECT_EQ(NextFails(wizard), "List index out of bounds.");
    EXPECT_EQ(test::ReadFile(target / "file0.txt"), packed);
    EXPECT_EQ(test::ReadFile(target / "file1.txt"), "one\r\n");
    EXPECT_FALSE(Exists(target / "Quenby.upi"));
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, "Software\\Norvale Tests\\Lists"));
    ExpectStoppedOnProgressPanel(wizard);
}

// Back from the progress panel to the destination page, as a user goes to choose another folder.
void BackToDestination(TWizard& wizard) {
    Click(wizard.Item("PrevBut"));
    WaitUntil([&] { return Visible(wizard.Item("InfoMemo")); }, kPageMs, "the first page again");
    wizard.ToDestinationPage();
}

// One distribution tried on one bad destination after the other: a path too long, a read-only mount, a
// full disk, then a good folder while a source file is held open by another program; once it is released,
// Next finishes the installation.
TEST(Faults, BadDestinationsAndAnUnreadableSource) {
    TScratchFolder dist("quenby-fault-media");
    TScratchFolder target("quenby-fault-media-target");
    dist.Write("Quenby.ipi",
               "[Settings]\r\nApplication=Media\r\nVersion=1\r\nProgGroup=Media\r\n"
               "[FilesIn]\r\nsmall.txt=\r\nbig.bin=\r\nheld.txt=\r\n"
               "[FilesOut]\r\nsmall.txt=0\r\nbig.bin=0\r\nheld.txt=0\r\n"
               "[Keys]\r\nBase=\\Software\\Norvale Tests\\Media\r\n");
    dist.Write("small.txt", "small\r\n");
    dist.Write("big.bin", std::string(2 * 1024 * 1024, 'b'));
    dist.Write("held.txt", "held\r\n");
    TWizard wizard(dist.Path());
    wizard.ToDestinationPage();

    const std::string deep = "C:\\" + std::string(246, 'd');  // 250 characters
    wizard.Enter("EditPath", deep);
    // Checked before anything is made: the record's path would pass the limit.
    EXPECT_EQ(NextFails(wizard), "Path too long: " + deep + "\\Quenby.upi.");
    EXPECT_FALSE(Exists(deep));
    EXPECT_TRUE(Visible(wizard.Item("EditPath")));  // refused on the destination page itself

    wizard.Enter("EditPath", "R:\\Media");
    EXPECT_EQ(NextFails(wizard), "Cannot create directory R:\\Media: Access denied.");
    ExpectStoppedOnProgressPanel(wizard);

    BackToDestination(wizard);
    wizard.Enter("EditPath", "F:\\Media");
    // A drive without the room is refused before a byte is written, and the page stays.
    Click(wizard.Item("NextBut"));
    const TMessageBox full = wizard.Driver().WaitMessageBox(kPageMs);
    wizard.Driver().CloseMessageBox(full);
    EXPECT_EQ(full.caption, "Media 1");
    EXPECT_TRUE(full.text.starts_with("There is not enough room on drive F: for Media 1: ") &&
                full.text.ends_with(" KB are free. Choose another folder."))
        << full.text;
    EXPECT_FALSE(Exists("F:\\Media"));
    EXPECT_TRUE(Visible(wizard.Item("EditPath")));

    THandle held(CreateFileA((dist / "held.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    wizard.Enter("EditPath", target.Path());
    EXPECT_EQ(NextFails(wizard),
              "Cannot copy " + dist / "held.txt" + " to " + target / "held.txt" + ": Sharing violation.");
    EXPECT_EQ(test::ReadFile(target / "small.txt"), "small\r\n");
    EXPECT_TRUE(Exists(target / "big.bin"));
    EXPECT_FALSE(Exists(target / "held.txt"));
    ExpectStoppedOnProgressPanel(wizard);

    held.Reset();
    Click(wizard.Item("NextBut"));
    wizard.WaitInfo("Media 1 was installed successfuly. Please select next to continue.");
    EXPECT_EQ(test::ReadFile(target / "held.txt"), "held\r\n");
    EXPECT_TRUE(Exists(target / "Quenby.upi"));
}

// The registry step against a REG_DWORD counter; [Keys] empty; an item whose macro passes 260
// characters together with add-ons of kinds 1 and 2 with parameters, kind 3, and one that is not a number.
// Each fails again at every Next, and nothing before the failure is done twice.
TEST(Faults, RegistryGroupAndAddOnFaults) {
    TScratchFolder logs("quenby-fault-addons");
    const auto addOn = [&](const char* kind, const char* word) {
        return std::string(kind) + "=cmd.exe /c echo " + word + ">>" + logs / word + ".txt\r\n";
    };
    const struct {
        const char* product;
        std::string sections;
        std::string message;
        bool recorded;  // the record and the uninstall entry were written before the failure
    } cases[] = {
        {"Counter",
         "[SysFilesIn]\r\n[SysFilesOut]\r\nshared.dll=0\r\n[Keys]\r\nBase=\\Software\\Norvale "
         "Tests\\Counter\r\n[AddOns]\r\n" +
             addOn("1", "never"),
         "Invalid data type for 'shared.dll'.", true},
        {"NoKeys", "[Keys]\r\n", "List index out of bounds.", false},
        {"LongItem",
         "[Items]\r\n" + std::string(250, 'p') + ".exe=Long Item\r\n[AddOns]\r\n" + addOn("1", "one") +
             addOn("2", "two") + addOn("3", "three") +
             "x=readme.txt\r\n[Keys]\r\nBase=\\Software\\Norvale Tests\\LongItem\r\n",
         "'x' is not a valid integer value.", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.product);
        TScratchFolder dist("quenby-fault-reg");
        TScratchFolder target("quenby-fault-reg-target");
        dist.Write("Quenby.ipi", "[Settings]\r\nApplication=" + std::string(c.product) + "\r\nVersion=1\r\nProgGroup=" +
                                     c.product + "\r\n[FilesIn]\r\nf.txt=\r\n[FilesOut]\r\nf.txt=0\r\n" + c.sections);
        dist.Write("f.txt", "f\r\n");
        TWizard wizard(dist.Path());
        wizard.ToDestinationPage();
        wizard.Enter("EditPath", target.Path());
        EXPECT_EQ(NextFails(wizard), c.message);
        ExpectStoppedOnProgressPanel(wizard);
        wizard.CloseOtherWindow(c.product);
        EXPECT_EQ(NextFails(wizard), c.message);
        ExpectStoppedOnProgressPanel(wizard);
        EXPECT_EQ(test::ReadFile(target / "f.txt"), "f\r\n");
        EXPECT_EQ(Exists(target / "Quenby.upi"), c.recorded);
        EXPECT_EQ(test::KeyExists(HKEY_LOCAL_MACHINE,
                                  "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + std::string(c.product)),
                  c.recorded);
        WaitProgramManagerDone();
        EXPECT_FALSE(ProgramGroupFolder(c.product).empty()) << "no group";
    }
    DWORD counter = 0, size = sizeof counter;
    RegGetValueA(HKEY_CURRENT_USER, "Software\\Norvale\\Uninstall\\Counters", "shared.dll", RRF_RT_REG_DWORD, nullptr,
                 &counter, &size);
    EXPECT_EQ(counter, 3u) << "the counter of another program was changed";
    test::WaitNoProcess("cmd.exe", kPageMs);
    EXPECT_FALSE(Exists(logs / "never.txt")) << "an add-on started before the registry step was done";
    EXPECT_EQ(test::ReadFile(logs / "one.txt"), "one\r\n");
    EXPECT_EQ(test::ReadFile(logs / "two.txt"), "two\r\n");
    EXPECT_FALSE(Exists(logs / "three.txt")) << "an add-on of kind 3 started";
}
// A registered owner that another program stored as a number: reported on the way to the user page,
// which the next press reaches once the value is text.
TEST(Faults, RegisteredOwnerThatIsNoText) {
    const char* kWindows = "Software\\Microsoft\\Windows\\CurrentVersion";
    const auto set = [&](DWORD type, const void* data, DWORD size) {
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, kWindows, "RegisteredOwner", type, data, size);
    };
    const std::string before = test::RegText(HKEY_LOCAL_MACHINE, kWindows, "RegisteredOwner");
    // Put back even when a check below fails, or every later test would meet the number.
    const std::shared_ptr<void> putBack(nullptr, [&](void*) {
        if (before.front() == '<')
            RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kWindows, "RegisteredOwner");
        else
            set(REG_SZ, before.c_str(), static_cast<DWORD>(before.size() + 1));
    });
    const DWORD number = 7;
    set(REG_DWORD, &number, sizeof number);
    TScratchFolder dist("quenby-fault-owner");
    dist.Write("Quenby.ipi", "[Settings]\r\nApplication=Owner\r\nVersion=1\r\n");
    TWizard wizard(dist.Path());
    wizard.WaitInfo(Welcome("Owner 1"));
    EXPECT_EQ(NextFails(wizard), "Invalid data type for 'RegisteredOwner'.");
    EXPECT_TRUE(Visible(wizard.Item("InfoMemo")));
    set(REG_SZ, "Fixed Owner", 12);
    Click(wizard.Item("NextBut"));
    WaitText(wizard.Item("EditName"), "Fixed Owner", kPageMs);
}

// A folder where a system file should be is a missing file: the disk prompt. Back on the destination page
// the same folder typed in other letters is the same destination: the run carries on at the missing system
// file and through the whole product file list.
TEST(Faults, AFolderForASystemFileAsksForTheDiskAndTheRunCarriesOnThroughBothLists) {
    TScratchFolder dist("quenby-fault-folder");
    TScratchFolder target("quenby-fault-folder-target");
    const std::string system1 = test::WindowsDir() + "\\qfold1.dll", system2 = test::WindowsDir() + "\\qfold2.dll";
    DeleteFileA(system1.c_str());
    DeleteFileA(system2.c_str());
    dist.Write("Quenby.ipi",
               "[Settings]\r\nApplication=Folder\r\nVersion=1\r\n[SysFilesIn]\r\nqfold1.dll=\r\nqfold2.dll=\r\n"
               "[SysFilesOut]\r\nqfold1.dll=0\r\nqfold2.dll=0\r\n[FilesIn]\r\np1.txt=\r\np2.txt=\r\n"
               "[FilesOut]\r\np1.txt=0\r\np2.txt=0\r\n[Keys]\r\nBase=\\Software\\Norvale Tests\\Folder\r\n");
    dist.Write("qfold1.dll", "s1");
    dist.Write("qfold2.dll\\in.txt", "");
    dist.Write("p1.txt", "p1");
    dist.Write("p2.txt", "p2");
    TWizard wizard(dist.Path());
    wizard.ToDestinationPage();
    wizard.StartCopyInto(target / "widget");
    WaitText(wizard.Item("ProgressLabel"),
             "Please insert the next disk and press ok to continue or cancel to exit the installation.", kPageMs);
    EXPECT_FALSE(Exists(target / "widget\\p1.txt"));
    test::RemoveTree(dist / "qfold2.dll");
    dist.Write("qfold2.dll", "s2");
    std::ofstream(system1, std::ios::binary) << "kept";
    BackToDestination(wizard);
    wizard.StartCopyInto(target / "WIDGET");
    wizard.WaitInfo("Folder 1 was installed successfuly. Please select next to continue.");
    EXPECT_EQ(test::ReadFile(system1), "kept");
    EXPECT_EQ(test::ReadFile(system2), "s2");
    EXPECT_EQ(test::ReadFile(target / "widget\\p1.txt"), "p1");
    EXPECT_EQ(test::ReadFile(target / "widget\\p2.txt"), "p2");
    DeleteFileA(system1.c_str());
    DeleteFileA(system2.c_str());
}

// Two shared-file counters, the second a REG_DWORD of another program: the registry step fails there.
// Once the value is gone, Next carries on from that counter: each counter is raised once, each item
// made once.
TEST(Faults, ARetryAfterAFailureDoesNothingTwice) {
    const std::string counters = "Software\\Norvale\\Uninstall\\Counters";
    TScratchFolder dist("quenby-fault-retry");
    TScratchFolder target("quenby-fault-retry-target");
    dist.Write("Quenby.ipi",
               "[Settings]\r\nApplication=Retry\r\nVersion=1\r\nProgGroup=Retry\r\n"
               "[SysFilesOut]\r\nretry1.dll=0\r\nretry2.dll=0\r\n[FilesIn]\r\ntool.exe=\r\n"
               "[FilesOut]\r\ntool.exe=0\r\n[Items]\r\ntool.exe=Retry Tool\r\n"
               "[Keys]\r\nBase=\\Software\\Norvale Tests\\Retry\r\n");
    dist.Write("tool.exe", "MZ");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, counters.c_str(), "retry1.dll");
    const DWORD three = 3;
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, counters.c_str(), "retry2.dll", REG_DWORD, &three, sizeof three), 0);
    TWizard wizard(dist.Path());
    wizard.ToDestinationPage();
    wizard.Enter("EditPath", target.Path());
    EXPECT_EQ(NextFails(wizard), "Invalid data type for 'retry2.dll'.");
    wizard.CloseOtherWindow("Retry");

    char programs[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    const std::string link = std::string(programs) + "\\Retry\\Retry Tool.lnk";
    const auto written = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExA(link.c_str(), GetFileExInfoStandard, &data);
        return std::pair{data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime};
    };
    WaitUntil([&] { return Exists(link); }, kPageMs, "the item's link");
    const auto made = written();

    ASSERT_EQ(RegDeleteKeyValueA(HKEY_CURRENT_USER, counters.c_str(), "retry2.dll"), 0);
    Click(wizard.Item("NextBut"));
    wizard.WaitInfo("Retry 1 was installed successfuly. Please select next to continue.");
    for (const char* file : {"retry1.dll", "retry2.dll"}) {  // for the user and machine-wide
        EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, counters, file), "1") << file;
        DWORD count = 0, size = sizeof count;
        RegGetValueA(HKEY_LOCAL_MACHINE, kSharedDllsKey, (test::WindowsDir() + "\\" + file).c_str(), RRF_RT_REG_DWORD,
                     nullptr, &count, &size);
        EXPECT_EQ(count, 1u) << file;
    }
    WaitProgramManagerDone();
    EXPECT_EQ(written(), made) << "the item was made again";
}

// Instructions missing, or held open without sharing by another program: one message says why and the
// program ends, rather than offering to install nothing.
TEST(Faults, InstructionsThatCannotBeReadEndTheProgram) {
    TScratchFolder dist("quenby-fault-held-ipi");
    const std::string ipi = dist / "Quenby.ipi";
    for (const bool held : {false, true}) {
        if (held) dist.Write("Quenby.ipi", "[Settings]\r\nApplication=Held\r\n");
        const THandle holder(held ? CreateFileA(ipi.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                  : nullptr);
        auto driver = test::Start(test::SetupExe(), dist.Path());
        const TMessageBox box = driver->WaitMessageBox(60000);
        EXPECT_EQ(box.caption + "|" + box.text,
                  held ? "Error|Cannot read the installation instructions " + ipi + ": Sharing violation."
                       : "Error|No installation instructions, exiting instalation.");
        driver->CloseMessageBox(box);
        EXPECT_EQ(driver->WaitExit(30000), 1603u);
        int boxes = 0;
        for (const TWindowRecord& record : driver->Timeline()) boxes += record.className == "#32770";
        EXPECT_EQ(boxes, 1) << driver->TimelineText();
        EXPECT_FALSE(driver->FirstRecord("TMainDialog")) << driver->TimelineText();
    }
}

}  // namespace
}  // namespace quenby

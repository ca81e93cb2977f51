// The engine on its own, under a sink that only records what it hears: no wizard, no windows of its own.
#include <windows.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "Host.h"
#include "Prefix.h"
#include "Snapshot.h"
#include "base/Errors.h"
#include "install/Installation.h"
#include "install/InstructionsFile.h"
#include "win/Handles.h"
#include "win/ProgramsFolder.h"

namespace quenby {
namespace {

using test::WindowsDir;

class TRecordingSink : public TInstallSink {
public:
    std::vector<std::string> Events;
    int LastProgress = -1;

    void RunStarted() override { Events.push_back("started"); }
    void FileStarted(const std::string& source, const std::string& target) override {
        Events.push_back("file " + source.substr(source.find_last_of('\\') + 1) + " -> " + target);
    }
    void Progress(int position) override { LastProgress = position; }
    void NeedDisk(const std::string& source) override { Events.push_back("disk " + source); }
    void StepFailed(const std::string& message) override { Events.push_back("failed " + message); }
    void Done() override { Events.push_back("done"); }
    void RunEnded() override { Events.push_back("ended"); }
    bool RetryDamaged(const std::string& source) override { return Events.push_back("damaged " + source), false; }
};

TEST(Installation, ReportsEachFileAndResumesAfterTheDiskPromptInTheSystemList) {
    const test::TScratchFolder medium("quenby-engine-medium");
    const test::TScratchFolder target("quenby-engine-target");
    medium.Write(
        "Quenby.ipi",
        "[Settings]\r\nApplication=Engine\r\nVersion=1\r\nProgGroup=Engine\r\n"
        "[SysFilesIn]\r\nfirst.dll=\r\nlater.dll=\r\n[SysFilesOut]\r\nqe-first.dll=0\r\nqe-later.dll=0\r\n"
        "[FilesIn]\r\na.txt=\r\n[FilesOut]\r\na.txt=0\r\n[Keys]\r\nBase=\\Software\\Norvale Tests\\Engine\r\n");
    medium.Write("first.dll", "first");
    medium.Write("a.txt", "product");
    const TInstructions instructions = ReadInstructionsFile(medium.Path() + "\\");
    const std::string destination = target / "Engine", windows = WindowsDir();
    TInstallation installation(instructions);

    TRecordingSink first;
    installation.Run(destination, {"Ann", "Org"}, first);
    EXPECT_EQ(first.Events, (std::vector<std::string>{"started", "file first.dll -> " + windows + "\\qe-first.dll",
                                                      "file later.dll -> " + windows + "\\qe-later.dll",
                                                      "disk " + (medium / "later.dll"), "ended"}));
    EXPECT_FALSE(installation.LastRunFailed());

    medium.Write("later.dll", "later");
    TRecordingSink second;
    installation.Run(destination, {"Ann", "Org"}, second);
    EXPECT_EQ(second.Events, (std::vector<std::string>{"started", "file later.dll -> " + windows + "\\qe-later.dll",
                                                       "file a.txt -> " + destination + "\\a.txt", "done", "ended"}));
    EXPECT_EQ(second.LastProgress, 100);
    EXPECT_EQ(test::ReadFile(windows + "\\qe-later.dll"), "later");
    EXPECT_EQ(test::ReadFile(destination + "\\a.txt"), "product");
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, "Software\\Norvale\\Uninstall\\Counters", "qe-first.dll"), "1");

    TRecordingSink refused;
    EXPECT_THROW(installation.Run("relative\\path", {"Ann", "Org"}, refused), std::exception);
    EXPECT_EQ(refused.Events,
              (std::vector<std::string>{"failed Invalid destination directory relative\\path", "ended"}));
    EXPECT_TRUE(installation.LastRunFailed());
    TInstructions nameless = instructions;
    nameless.Application.clear();
    TRecordingSink unnamed;
    EXPECT_THROW(TInstallation(nameless).Run(target / "Nameless", {"Ann", "Org"}, unnamed), std::exception);
    EXPECT_EQ(unnamed.Events,
              (std::vector<std::string>{"failed No application name in the installation instructions", "ended"}));
    EXPECT_FALSE(test::Exists(target / "Nameless"));

    // A drive's root as the destination: the record still lands in that root. (Another application: one
    // installed already goes where it is.)
    TInstructions rooted = instructions;
    rooted.Application = "Rooted";
    TRecordingSink root;
    TInstallation(rooted).Run("C:\\", {"Ann", "Org"}, root);
    EXPECT_TRUE(
        test::Holds(test::ReadFile("C:\\Quenby.upi"), "UninstallString=" + windows + "\\Uninstall.exe C:\\\r\n"));
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Norvale Tests");
}

// What a present [Checksums] does not list is copied unchecked, and a malformed digest matches nothing. A shared
// file as new as the one coming stays; one without a version on either side is replaced.
TEST(Installation, ChecksumsAndVersionsDecideWhatIsWritten) {
    const test::TScratchFolder medium("quenby-engine-rules");
    const std::string windows = WindowsDir(), v1 = test::ReadFile(test::BuildDir() + "\\vlib1\\vlib.dll"),
                      v2 = test::ReadFile(test::BuildDir() + "\\vlib2\\vlib.dll");
    medium.Write("Quenby.ipi",
                 "[Settings]\r\nApplication=Rules\r\nVersion=1\r\n[SysFilesIn]\r\nsame.dll=\r\n"
                 "plain.dll=\r\nold.dll=\r\n[SysFilesOut]\r\nqv-same.dll=0\r\nqv-plain.dll=0\r\n"
                 "qv-old.dll=0\r\n[FilesIn]\r\nb.txt=\r\na.txt=\r\n[FilesOut]\r\nb.txt=0\r\na.txt=0\r\n"
                 "[Keys]\r\nBase=\\Software\\Norvale Tests\\Rules\r\n[Checksums]\r\na.txt=" +
                     std::string(63, '0') + "g\r\n");
    for (const auto& [name, bytes] : {std::pair<const char*, std::string>{"same.dll", v2 + "x"},
                                      {"plain.dll", "plain"},
                                      {"old.dll", v1},
                                      {"b.txt", "b"},
                                      {"a.txt", "a"}})
        medium.Write(name, bytes);
    const test::TScratchFolder there("quenby-engine-rules-there");
    for (const auto& [name, bytes] :
         {std::pair<const char*, std::string>{"qv-same.dll", v2}, {"qv-plain.dll", v2}, {"qv-old.dll", "no version"}})
        ASSERT_TRUE(CopyFileA(there.Write(name, bytes).c_str(), (windows + "\\" + name).c_str(), FALSE));
    const test::TScratchFolder target("quenby-engine-rules-target");
    TRecordingSink sink;
    EXPECT_THROW(TInstallation(ReadInstructionsFile(medium.Path() + "\\")).Run(target / "Rules", {"A", "O"}, sink),
                 Exception);
    EXPECT_EQ(std::vector<std::string>(sink.Events.end() - 3, sink.Events.end()),
              (std::vector<std::string>{"damaged a.txt", "failed The file a.txt on the installation disk is damaged",
                                        "ended"}));
    const auto which = [&](const std::string& path) {
        const std::string bytes = test::ReadFile(path);
        return bytes == v1 ? "v1" : bytes == v2 ? "v2" : bytes;
    };
    EXPECT_EQ(which(windows + "\\qv-same.dll") + "|" + which(windows + "\\qv-plain.dll") + "|" +
                  which(windows + "\\qv-old.dll") + "|" + which(target / "Rules\\b.txt"),
              "v2|plain|v1|b");
    EXPECT_FALSE(test::Exists(target / "Rules\\a.txt"));
    for (const char* name : {"qv-same.dll", "qv-plain.dll", "qv-old.dll"}) DeleteFileA((windows + "\\" + name).c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Norvale Tests");
}

// Installing again: a product file that holds the coming bytes with their time stays the file it is (no kept
// copy, nothing written); one that differs in its bytes alone, or in its time alone, is written again.
TEST(Installation, AFileThatIsTheComingOneAlreadyIsLeftAsItIs) {
    const test::TScratchFolder medium("quenby-engine-same");
    const std::string ipi =
        "[Settings]\r\nApplication=Same\r\nVersion=1\r\n[FilesIn]\r\nsame.txt=\r\nbytes.txt=\r\ntime.txt=\r\n"
        "[FilesOut]\r\nsame.txt=0\r\nbytes.txt=0\r\ntime.txt=0\r\n[Keys]\r\nBase=\\Software\\Norvale Tests\\Same\r\n";
    medium.Write("Quenby.ipi", ipi);
    for (const char* name : {"same.txt", "bytes.txt", "time.txt"}) medium.Write(name, std::string("product ") + name);
    const test::TScratchFolder target("quenby-engine-same-target");
    const std::string destination = target / "Same";
    const auto run = [&] {
        TRecordingSink sink;
        TInstallation(ReadInstructionsFile(medium.Path() + "\\")).Run(destination, {"A", "O"}, sink);
    };
    run();
    const auto identity = [&](const char* name) {
        const THandle file(CreateFileA((destination + "\\" + name).c_str(), GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        BY_HANDLE_FILE_INFORMATION info{};
        EXPECT_TRUE(GetFileInformationByHandle(file.Get(), &info)) << name;
        return std::pair(info.nFileIndexLow, info.ftLastWriteTime.dwLowDateTime);
    };
    // Same length and time, other bytes; then the same bytes at a later time.
    {
        const THandle file(
            CreateFileA((destination + "\\bytes.txt").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        FILETIME written{};
        DWORD count = 0;
        ASSERT_TRUE(GetFileTime(file.Get(), nullptr, nullptr, &written));
        ASSERT_TRUE(WriteFile(file.Get(), "PRODUCT", 7, &count, nullptr));
        ASSERT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &written));
        FILETIME later = written;
        later.dwHighDateTime += 1;
        const THandle timed(CreateFileA((destination + "\\time.txt").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(SetFileTime(timed.Get(), nullptr, nullptr, &later));
    }
    const auto same = identity("same.txt"), bytes = identity("bytes.txt"), time = identity("time.txt");
    run();
    EXPECT_EQ(identity("same.txt"), same);
    EXPECT_NE(identity("bytes.txt"), bytes);
    EXPECT_NE(identity("time.txt"), time);
    EXPECT_EQ(test::ReadFile(destination + "\\bytes.txt") + "|" + test::ReadFile(destination + "\\time.txt"),
              "product bytes.txt|product time.txt");
    const std::string log = test::ReadFile(destination + "\\Quenby.log");
    EXPECT_FALSE(test::Holds(log, "saved\t" + destination + "\\same.txt"));
    EXPECT_TRUE(test::Holds(log, "saved\t" + destination + "\\bytes.txt"));
    // Bytes that do not match their listed checksum are never taken for the coming ones.
    medium.Write("Quenby.ipi", ipi + "[Checksums]\r\nsame.txt=" + std::string(64, '0') + "\r\n");
    EXPECT_THROW(run(), Exception);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Norvale Tests");
}

// A folder of the destination swapped for a link to another folder once the run is under way: no file is made
// or replaced there, whether the target is new to that folder or there already, and no folder is made there.
TEST(Installation, AFolderSwappedForALinkDuringTheRunIsNotWrittenThrough) {
    const test::TScratchFolder medium("quenby-engine-swap");
    medium.Write("Quenby.ipi",
                 "[Settings]\r\nApplication=Swap\r\nVersion=1\r\nProgGroup=Swap\r\n[Dirs]\r\ndata=0\r\ndata\\sub=0\r\n"
                 "[FilesIn]\r\nplanets.txt=\r\n[FilesOut]\r\ndata\\planets.txt=0\r\n[Keys]\r\nBase=\\Software\\Norvale "
                 "Tests\\Swap\r\n");
    medium.Write("planets.txt", "product");
    const TInstructions instructions = ReadInstructionsFile(medium.Path() + "\\");
    TInstallation installation(instructions);
    struct TSwappingSink final : TRecordingSink {
        bool AtFolder = false;
        void Swap() const {
            ASSERT_EQ(drive::RunHost("cd \"$WINEPREFIX/drive_c\" && rm -rf SwapDest/data && ln -s ../SwapVictim "
                                     "SwapDest/data"),
                      0);
        }
        void DirectoryCreated(const std::string& path) override {
            if (AtFolder && path.ends_with("\\data")) Swap();
        }
        void FileStarted(const std::string&, const std::string&) override {
            if (!AtFolder) Swap();
        }
    };
    const struct {
        const char* victim;
        bool atFolder;
    } cases[] = {{"echo theirs > SwapVictim/planets.txt", false}, {"true", false}, {"true", true}};
    for (const auto& c : cases) {
        ASSERT_EQ(
            drive::RunHost(std::string("cd \"$WINEPREFIX/drive_c\" && rm -rf SwapVictim SwapDest/data && mkdir -p "
                                       "SwapVictim SwapDest/data/sub && ") +
                           (c.atFolder ? "rmdir SwapDest/data/sub SwapDest/data && " : "") + c.victim),
            0);
        TSwappingSink sink;
        sink.AtFolder = c.atFolder;
        EXPECT_THROW(installation.Run("C:\\SwapDest", {"Ann", "Org"}, sink), Exception);
        const std::vector<std::string> there = FolderEntries("C:\\SwapVictim");
        EXPECT_EQ(there.size(), test::Exists("C:\\SwapVictim\\planets.txt") ? 1u : 0u) << c.victim << c.atFolder;
        EXPECT_NE(test::ReadFile("C:\\SwapVictim\\planets.txt"), "product");
    }
    test::RemoveTree("C:\\SwapDest");
    test::RemoveTree("C:\\SwapVictim");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Norvale Tests");
}

// An existing product file swapped for a link to a file the user cannot read, once the run is under way, and the
// run then failing: its undo never puts that file's bytes where the user can read them.
TEST(Installation, AFileSwappedForALinkIsNotKeptThroughItForTheUndo) {
    const test::TScratchFolder medium("quenby-engine-keep");
    medium.Write("Quenby.ipi",
                 "[Settings]\r\nApplication=Keep\r\nVersion=1\r\n[FilesIn]\r\na.txt=\r\nb.txt=\r\n[FilesOut]\r\n"
                 "a.txt=0\r\nb.txt=0\r\n[Keys]\r\nBase=\\Software\\Norvale Tests\\Keep\r\n");
    medium.Write("a.txt", "new a");
    medium.Write("b.txt", "new b");
    ASSERT_EQ(drive::RunHost("cd \"$WINEPREFIX/drive_c\" && rm -rf KeepDest && mkdir KeepDest && echo old > "
                             "KeepDest/a.txt && echo secret > KeepSecret.txt"),
              0);
    const TInstructions instructions = ReadInstructionsFile(medium.Path() + "\\");
    TInstallation installation(instructions);
    installation.UndoOnFailure();
    struct TSwappingSink final : TRecordingSink {
        bool AtB = false;
        void FileStarted(const std::string& source, const std::string&) override {
            AtB = source.ends_with("b.txt");
            if (!AtB) {
                ASSERT_EQ(drive::RunHost("cd \"$WINEPREFIX/drive_c\" && ln -sf ../KeepSecret.txt KeepDest/a.txt"), 0);
            }
        }
    } sink;
    installation.BeforeEachChange([&] {
        if (sink.AtB) throw Exception("failed at b.txt");
    });
    EXPECT_THROW(installation.Run("C:\\KeepDest", {"Ann", "Org"}, sink), Exception);
    EXPECT_EQ(
        drive::RunHost("cd \"$WINEPREFIX/drive_c\" && ! grep -qs secret KeepDest/*.txt || test -L KeepDest/a.txt"), 0);
    test::RemoveTree("C:\\KeepDest");
    DeleteFileA("C:\\KeepSecret.txt");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Norvale Tests");
}

// A product file held open without delete sharing can be neither replaced nor moved away: the run stops with the
// reason, the old file intact; never left to a rename at the restart by a name the destination's owner controls.
TEST(Installation, AProductFileThatCannotBeMovedAwayStopsTheRun) {
    const test::TScratchFolder medium("quenby-engine-held");
    const test::TScratchFolder target("quenby-engine-held-target");
    medium.Write("Quenby.ipi",
                 "[Settings]\r\nApplication=Held\r\nVersion=1\r\nProgGroup=Held\r\n[FilesIn]\r\n"
                 "a.txt=\r\n[FilesOut]\r\na.txt=0\r\n[Keys]\r\nBase=\\Software\\Norvale Tests\\Held\r\n");
    medium.Write("a.txt", "product");
    const std::string old = target.Write("Held\\a.txt", "old");
    const THandle holder(CreateFileA(old.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    TRecordingSink sink;
    EXPECT_THROW(TInstallation(ReadInstructionsFile(medium.Path() + "\\")).Run(target / "Held", {"Ann", "Org"}, sink),
                 Exception);
    EXPECT_EQ(sink.Events.at(sink.Events.size() - 2), "failed Cannot copy " + (medium / "a.txt") + " to " + old +
                                                          ": it is in use by another program; close that program "
                                                          "and try again");
    EXPECT_EQ(test::ReadFile(old), "old");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Norvale Tests");
}

// A run that must undo its failure, failed as each change is about to be made, at every index in turn: the
// prefix, which holds another product's shared file, a file the run overwrites and a value it changes, is left
// as it was. The index past the last change installs.
TEST(Installation, AFailedRunThatUndoesLeavesThePrefixAsItFoundItWhereverItFails) {
    const test::TScratchFolder medium("quenby-engine-undo");
    medium.Write("Quenby.ipi",
                 "[Settings]\r\nApplication=Undo\r\nVersion=1\r\nProgGroup=Undo\r\n[Dirs]\r\ndata=0\r\n"
                 "[SysFilesIn]\r\nshared.dll=\r\n[SysFilesOut]\r\nqe-undo.dll=0\r\n[FilesIn]\r\nmain.exe=\r\n"
                 "planets.txt=\r\n[FilesOut]\r\nmain.exe=0\r\ndata\\planets.txt=0\r\n[Items]\r\nmain.exe=Undo\r\n"
                 "[Keys]\r\nBase=\\Software\\Norvale Tests\\Undo\r\nOwner=Registration\r\n[Owner]\r\nName=$NAME\r\n");
    for (const char* file : {"shared.dll", "main.exe", "planets.txt"}) medium.Write(file, std::string("new ") + file);
    const std::string windows = WindowsDir();
    test::TScratchFolder other("quenby-engine-undo-other");
    ASSERT_TRUE(
        CopyFileA(other.Write("qe-undo.dll", "another product's").c_str(), (windows + "\\qe-undo.dll").c_str(), FALSE));
    const test::TScratchFolder target("quenby-engine-undo-target");
    target.Write("Undo\\main.exe", "the old main.exe");
    ASSERT_EQ(
        RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Norvale Tests\\Undo\\Registration", "Name", REG_SZ, "Bo", 3), 0);
    const TInstructions instructions = ReadInstructionsFile(medium.Path() + "\\");
    const std::vector<test::TWalk> touched = {{target.Path()}, {windows, false}, {windows + "\\temp"}};
    const std::set<std::string> before = test::Snapshot(touched);
    ASSERT_EQ(test::Difference(before, test::Snapshot(touched)), "");
    for (int failAt = 0;; ++failAt) {
        TInstallation installation(instructions);
        int changes = 0;
        installation.UndoOnFailure();
        installation.BeforeEachChange([&] {
            if (changes++ == failAt) throw Exception("failed at " + std::to_string(failAt));
        });
        TRecordingSink sink;
        try {
            installation.Run(target / "Undo", {"Ann", "Org"}, sink);
        } catch (const Exception&) {
            EXPECT_EQ(sink.Events.back(), "ended");
            EXPECT_EQ(test::Difference(before, test::Snapshot(touched)), "") << "failed at change " << failAt;
            continue;
        }
        EXPECT_EQ(failAt, changes) << "the run went on after its failure";
        EXPECT_GT(failAt, 20);
        EXPECT_EQ(test::ReadFile(target / "Undo\\main.exe"), "new main.exe");
        break;
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Norvale Tests");
}

}  // namespace
}  // namespace quenby

// The removal's decisions, in-process under a sink that records what it hears and answers each shared-file
// question Yes.
#include <windows.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "Prefix.h"
#include "Snapshot.h"
#include "install/Installation.h"
#include "install/InstructionsFile.h"
#include "uninstall/Uninstaller.h"
#include "win/Handles.h"

namespace quenby {
namespace {

struct TQuietSink final : TInstallSink {
    void RunStarted() override {}
    void FileStarted(const std::string&, const std::string&) override {}
    void Progress(int) override {}
    void NeedDisk(const std::string&) override {}
    void Done() override {}
    void RunEnded() override {}
};

struct TRecordingRemoval final : TRemovalSink {
    std::string Heard;
    void Refused(const std::string& text, const char*) override { Heard += "refused " + text + "\n"; }
    bool Confirmed(const std::string&) override { return true; }
    void Started(const std::string&) override {}
    void Step(const std::string&, int) override {}
    void Left(const std::string& line) override { Heard += "left " + line + "\n"; }
    bool SharedFileGoes(const std::string& path) override { return Heard += "offered " + path + "\n", true; }
    void Finished(const std::string&) override {}
};

TEST(Uninstaller, DecidesFromTheVerifiedLogAndAsksOnlyAboutSharedFilesItMade) {
    const test::TScratchFolder medium("quenby-removal-medium");
    medium.Write("Quenby.ipi",
                 "[Settings]\r\nApplication=Rm\r\nVersion=1\r\nProgGroup=Rm\r\n[SysFilesIn]\r\nown.dll=\r\n"
                 "shared.dll=\r\n[SysFilesOut]\r\nqr-own.dll=0\r\nqr-shared.dll=0\r\n[FilesIn]\r\na.txt=\r\n"
                 "[FilesOut]\r\na.txt=0\r\n[Keys]\r\nBase=\\Software\\Norvale Tests\\Rm\r\n");
    for (const char* file : {"own.dll", "shared.dll", "a.txt"}) medium.Write(file, file);
    const std::string windows = test::WindowsDir();
    const test::TScratchFolder other("quenby-removal-other");
    ASSERT_TRUE(
        CopyFileA(other.Write("qr-shared.dll", "theirs").c_str(), (windows + "\\qr-shared.dll").c_str(), FALSE));
    const test::TScratchFolder target("quenby-removal-target");
    const std::string destination = target / "Rm", log = destination + "\\Quenby.log";
    TQuietSink quiet;
    TInstallation(ReadInstructionsFile(medium.Path() + "\\")).Run(destination, {"Ann", "Org"}, quiet);
    bool removeOriginal = false;

    const std::string genuine = test::ReadFile(log);
    target.Write("Rm\\Quenby.log", std::string(genuine).replace(40, 1, "#"));
    TRecordingRemoval refused;
    EXPECT_EQ(RunUninstaller(destination, refused, "", removeOriginal), kNothingRemoved);
    EXPECT_EQ(refused.Heard,
              "refused The installation log " + log + " does not match what Setup recorded; nothing was removed.\n");
    target.Write("Rm\\Quenby.log", genuine);

    // The entry now another installation's; the log held open for reading only, so that no lowering can be
    // recorded.
    const std::string entry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Rm";
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, entry.c_str(), "UninstallString", REG_SZ, "C:\\other.exe", 13), 0);
    const char* counters = "Software\\Norvale\\Uninstall\\Counters";
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, counters, "qr-shared.dll", REG_SZ, "many", 5), 0);
    TRecordingRemoval first;
    {
        const THandle reader(
            CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader);
        RunUninstaller(destination, first, "", removeOriginal);
    }
    for (const std::string& left :
         {"left HKLM\\" + entry + ": it now belongs to another installation of the same name\n",
          std::string("left HKCU\\Software\\Norvale\\Uninstall\\Counters\\qr-own.dll: its count was not lowered, "
                      "since the log could not record it: "),
          std::string("left HKCU\\Software\\Norvale\\Uninstall\\Counters\\qr-shared.dll: its counter is no number\n")})
        EXPECT_TRUE(test::Holds(first.Heard, left));
    EXPECT_FALSE(test::Holds(first.Heard, "offered")) << first.Heard;
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, counters, "qr-own.dll"), "1") << "lowered without a record of it";

    // Once the log can record: only the shared file the installation made is offered, and goes. The entry
    // emptied, as a removal stopped before deleting it leaves it: still this installation's, and removed.
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, counters, "qr-shared.dll", REG_SZ, "1", 2), 0);
    ASSERT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, entry.c_str()), 0);
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, entry.c_str(), nullptr, REG_SZ, nullptr, 0), 0);
    ASSERT_EQ(RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, entry.c_str(), nullptr), 0);
    TRecordingRemoval second;
    EXPECT_EQ(RunUninstaller(destination, second, "", removeOriginal), kRemoved);
    EXPECT_TRUE(test::Holds(second.Heard, "offered " + windows + "\\qr-own.dll\n"));
    EXPECT_FALSE(test::Holds(second.Heard, "qr-shared.dll")) << second.Heard;
    EXPECT_FALSE(test::Exists(windows + "\\qr-own.dll"));
    EXPECT_TRUE(test::Exists(windows + "\\qr-shared.dll"));
    EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, entry)) << second.Heard;
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, entry.c_str());
    DeleteFileA((windows + "\\qr-shared.dll").c_str());
}

// A run cut off at its end (an add-on it cannot start) had overwritten a product file, another product's shared
// file and a value: the removal puts them back from what the run kept, then removes the rest, and the prefix
// is as it was.
TEST(Uninstaller, PutsBackWhatARunCutOffOverwroteThenRemovesTheRest) {
    const test::TScratchFolder medium("quenby-cutoff-medium");
    medium.Write("Quenby.ipi",
                 "[Settings]\r\nApplication=Cut\r\nVersion=1\r\nProgGroup=Cut\r\n[SysFilesIn]\r\n"
                 "own.dll=\r\n[SysFilesOut]\r\nqr-theirs.dll=0\r\n[FilesIn]\r\na.txt=\r\n[FilesOut]\r\na.txt=0\r\n"
                 "[AddOns]\r\nx=a.txt\r\n[Keys]\r\nBase=\\Software\\Norvale "
                 "Tests\\Cut\r\nOwner=Registration\r\n[Owner]\r\nName=$NAME\r\n");
    for (const char* file : {"own.dll", "a.txt"}) medium.Write(file, std::string("new ") + file);
    const std::string windows = test::WindowsDir();
    const test::TScratchFolder other("quenby-cutoff-other");
    ASSERT_TRUE(CopyFileA(other.Write("x", "theirs").c_str(), (windows + "\\qr-theirs.dll").c_str(), FALSE));
    const test::TScratchFolder target("quenby-cutoff-target");
    const std::string destination = target / "Cut";
    target.Write("Cut\\a.txt", "old a");
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Norvale Tests\\Cut\\Registration", "Name", REG_SZ, "Bo", 3),
              0);
    const std::vector<test::TWalk> touched = {{target.Path()}, {windows, false}, {windows + "\\temp"}};
    const std::set<std::string> before = test::Snapshot(touched);
    TQuietSink quiet;
    EXPECT_THROW(TInstallation(ReadInstructionsFile(medium.Path() + "\\")).Run(destination, {"Ann", "Org"}, quiet),
                 std::exception);
    ASSERT_EQ(test::ReadFile(destination + "\\a.txt") + test::ReadFile(windows + "\\qr-theirs.dll") +
                  test::RegText(HKEY_CURRENT_USER, "Software\\Norvale Tests\\Cut\\Registration", "Name"),
              "new a.txtnew own.dllAnn");
    TRecordingRemoval removal;
    bool removeOriginal = false;
    EXPECT_EQ(RunUninstaller(destination, removal, "", removeOriginal), kRemoved);
    EXPECT_EQ(removal.Heard, "left " + destination + ": it holds things the installation did not make\n");
    EXPECT_EQ(test::Difference(before, test::Snapshot(touched)), "");
    DeleteFileA((windows + "\\qr-theirs.dll").c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Norvale Tests");
}

}  // namespace
}  // namespace quenby

// quenby-check and quenby-pack disks run as a publisher runs them: on the sample media that
// scripts/make-sample.sh makes (see the .prepare.sh beside this file) and on broken distributions.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ConsoleRun.h"
#include "ScratchFolder.h"

using quenby::test::ReadWholeFile;
using quenby::test::RunBuiltProgram;
using quenby::test::TConsoleResult;
using quenby::test::TScratchFolder;

namespace {

const std::string kSample = "C:\\qsample\\out";

bool IsFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::uint64_t SizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

const char kInstructions[] =
    "[Settings]\r\nApplication=Widget\r\nVersion=2.0\r\nDirectory=C:\\Widget\r\n"
    "[StartInfo]\r\nterms.txt=\r\n[EndInfo]\r\nthanks.txt=\r\n"
    "[SysFilesIn]\r\nUninstall.exe=\r\n[SysFilesOut]\r\nUninstall.exe=0\r\n[FilesIn]\r\nwidget.exe=\r\n[FilesOut]\r\nwidget.exe=0\r\n"
    "[Items]\r\nwidget.exe=Widget\r\n[AddOns]\r\n0=thanks.txt\r\n"
    "[Keys]\r\nBase=\\Software\\Acme\\Widget\r\nOwner=Registration\r\n"
    "[Owner]\r\nName=$NAME\r\n";

// A one-folder distribution whose instructions have `from` replaced by `to`.
void WriteDistribution(const TScratchFolder& folder, const std::string& from, const std::string& to) {
    std::string text = kInstructions;
    if (!from.empty()) text.replace(text.find(from), from.size(), to);
    folder.Write("Quenby.ipi", text);
    folder.Write("Setup.exe", "MZ");
    folder.Write("Uninstall.exe", "MZ");
    folder.Write("terms.txt", "Terms.\r\n");
    folder.Write("thanks.txt", "Thanks.\r\n");
    folder.Write("widget.exe", "MZ widget");
}

TConsoleResult Check(const std::string& arguments) { return RunBuiltProgram("quenby-check.exe", arguments); }

}  // namespace

TEST(QuenbyCheck, SampleMediaHaveNoFindings) {
    for (const char* set : {"orrery", "orrery-plain"}) {
        TConsoleResult run = Check(kSample + "\\" + set);
        EXPECT_EQ(run.ExitCode, 0u) << set;
        EXPECT_EQ(run.Output, "") << set;
    }
}

TEST(QuenbyCheck, EachFaultIsReportedWithItsSectionAndKey) {
    const struct {
        const char* from;
        const char* to;
        const char* line;  // the start of the one line expected
        unsigned long exitCode;
    } cases[] = {
        {"widget.exe=0\r\n", "", "error: [FilesOut]: has 0 entries but [FilesIn] has 1", 1},
        {"terms.txt=", "terms2.txt=", "error: [StartInfo] terms2.txt: the notice file is missing", 1},
        {"0=thanks.txt", "one=thanks.txt", "error: [AddOns] one: the key is not a whole number", 1},
        {"Owner=Registration", "Ownr=Registration", "error: [Keys] Ownr: names the value section [Ownr]", 1},
        {"widget.exe=0", "bin\\widget.exe=0", "error: [FilesOut] bin\\widget.exe: goes into the sub-folder bin", 1},
        {"Name=$NAME", "User=$NAME", "warning: [Owner] User: \"$NAME\" is written literally", 0},
        {"widget.exe=0", "widget.exe=00", "warning: [FilesOut] widget.exe: the replace value \"00\"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.to);
        TScratchFolder folder("quenby-check-broken");
        WriteDistribution(folder, c.from, c.to);
        TConsoleResult run = Check(folder.Path());
        EXPECT_EQ(run.ExitCode, c.exitCode);
        EXPECT_EQ(run.Output.rfind(c.line, 0), 0u) << run.Output;
        EXPECT_EQ(run.Output.find('\n'), run.Output.size() - 1) << run.Output;  // exactly one line
    }
}

TEST(QuenbyCheck, QuietPrintsErrorsOnly) {
    TScratchFolder folder("quenby-check-quiet");
    WriteDistribution(folder, "Name=$NAME", "User=$NAME");
    TConsoleResult run = Check("--quiet " + folder.Path());
    EXPECT_EQ(run.ExitCode, 0u);
    EXPECT_EQ(run.Output, "");

    DeleteFileA((folder / "widget.exe").c_str());
    run = Check("--quiet " + folder.Path());
    EXPECT_EQ(run.ExitCode, 1u);
    EXPECT_EQ(run.Output.rfind("error: [FilesIn] widget.exe: the source file is not in the distribution", 0), 0u)
        << run.Output;
    EXPECT_EQ(run.Output.find("warning"), std::string::npos) << run.Output;

    DeleteFileA((folder / "Quenby.ipi").c_str());
    run = Check(folder.Path());
    EXPECT_EQ(run.ExitCode, 1u);
    EXPECT_NE(run.Output.find("no Quenby.ipi"), std::string::npos) << run.Output;
}

TEST(QuenbyPackDisks, SampleOnSmallDisksMakesThreeDisksThatPassTheChecks) {
    const std::string source = kSample + "\\orrery";
    // Disk 1 just holds what the installer reads before copying and the shared files.
    std::uint64_t size = 0;
    for (const char* name : {"Setup.exe", "Quenby.ipi", "license.txt", "welcome.txt", "orrshare.dl_", "Uninstall.ex_"})
        size += SizeOf(source + "\\disk1\\" + name);
    TScratchFolder out("quenby-pack-disks");
    TConsoleResult run = RunBuiltProgram("quenby-pack.exe",
                                         "disks --size " + std::to_string(size) + " " + source + " " + out.Path());
    ASSERT_EQ(run.ExitCode, 0u) << run.Output;

    const std::string disk1 = out / "disk1", disk2 = out / "disk2", disk3 = out / "disk3";
    EXPECT_EQ(GetFileAttributesA((out / "disk4").c_str()), INVALID_FILE_ATTRIBUTES);
    for (const char* name : {"Setup.exe", "Quenby.ipi", "license.txt", "welcome.txt", "orrshare.dl_", "Uninstall.ex_"})
        EXPECT_TRUE(IsFile(disk1 + "\\" + name)) << name;
    EXPECT_TRUE(IsFile(disk2 + "\\orrery.ex_"));
    for (const char* name : {"thanks.txt", "readme.txt", "charts\\ecliptic.tx_"})
        EXPECT_TRUE(IsFile(disk3 + "\\" + name)) << name;
    // Byte for byte and each disk's use are covered natively (tests/base/DiskPacker_test.cpp).
    EXPECT_TRUE(ReadWholeFile(disk2 + "\\orrery.ex_") == ReadWholeFile(source + "\\disk1\\orrery.ex_"));

    TConsoleResult check = Check(out.Path());
    EXPECT_EQ(check.ExitCode, 0u);
    EXPECT_EQ(check.Output, "");
}

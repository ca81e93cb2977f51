// The copy step in-process under Wine, on real files of the test prefix, with the pauses recorded.
#include "install/CopyFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "FakeInstallHost.h"
#include "PrefixFiles.h"
#include "win/SystemText.h"
#include "base/Errors.h"

using namespace quenby;
using namespace quenby::test;

namespace {

const std::string kRoot = "C:\\engine";
const std::string kMedium = kRoot + "\\medium\\";
const char* const kPrompt =
    "Please insert the next disk and press ok to continue or cancel to exit the installation.";

class CopyFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveTree(kRoot);
        MakeFolder(kMedium);
        host.Setup.SourceDir = kMedium;
        host.Setup.InstructionsPath = kMedium + "Quenby.ipi";
        host.Setup.Keys.Add("Software");
        host.Setup.KeysValues.Add("\\Software\\Quenby Engine Test");
        host.Destination = kRoot + "\\Widget";
    }
    void TearDown() override {
        RemoveTree(kRoot);
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quenby Engine Test");
    }

    void AddFile(const std::string& in, const std::string& out, const std::string& replace) {
        host.Setup.FilesIn.Add(in);
        host.Setup.FilesOut.Add(out);
        host.Setup.FilesOutValues.Add(replace);
    }
    void AddSystemFile(const std::string& in, const std::string& out, const std::string& replace) {
        host.Setup.SysFilesIn.Add(in);
        host.Setup.SysFilesOut.Add(out);
        host.Setup.SysFilesOutValues.Add(replace);
    }
    std::string Run() {
        host.DeriveProgressStep();
        try {
            CopyFiles(host);
        } catch (const std::exception& error) {
            return error.what();
        }
        return {};
    }
    void ExpectCompleted() {
        EXPECT_EQ(host.State, 800);
        EXPECT_FALSE(host.PrevEnabled);
        EXPECT_EQ(host.ResumeValue.Position, 0);
        EXPECT_EQ(host.Info, "Widget 2.0 was installed successfuly. Please select next to continue.");
    }
    // Every end of a run: the 1000 ms pause last, the cursor back.
    void ExpectClosingActions() {
        ASSERT_FALSE(TRecordedPauses::Taken().empty());
        EXPECT_EQ(TRecordedPauses::Taken().back(), 1000u);
        EXPECT_FALSE(host.Busy);
    }
    bool Called(const std::string& prefix) const {
        for (const auto& call : host.Calls)
            if (call.rfind(prefix, 0) == 0) return true;
        return false;
    }

    TRecordedPauses pauses;
    TFakeInstallHost host;
};

TEST_F(CopyFilesTest, ReplaceValueZeroAloneOverwritesAnExistingFile) {
    const char* values[] = {"0", "1", "00", " ", ""};
    MakeFolder(host.Destination);
    for (int i = 0; i < 5; ++i) {
        const std::string name = std::to_string(i) + ".txt";
        WriteFileText(kMedium + name, "new");
        WriteFileText(host.Destination + "\\" + name, "old");
        AddFile(name, name, values[i]);
    }
    AddFile("fresh.txt", "fresh.txt", "1");
    WriteFileText(kMedium + "fresh.txt", "fresh");

    EXPECT_EQ(Run(), "");
    EXPECT_EQ(ReadFileText(host.Destination + "\\0.txt"), "new");
    for (int i = 1; i < 5; ++i) EXPECT_EQ(ReadFileText(host.Destination + "\\" + std::to_string(i) + ".txt"), "old") << i;
    EXPECT_EQ(ReadFileText(host.Destination + "\\fresh.txt"), "fresh");
    ExpectCompleted();
    ExpectClosingActions();
    EXPECT_EQ(host.Calls, (std::vector<std::string>{"HideDestinationPanel", "ShowProgressPanel",
                                                    "ProgramGroup " + host.Destination + " | " + WindowsDirectory(),
                                                    "AddOns", "CloseConversation"}));
    EXPECT_EQ(host.Prompt, "");
    EXPECT_EQ(std::count(TRecordedPauses::Taken().begin(), TRecordedPauses::Taken().end(), 500u), 6);
}

TEST_F(CopyFilesTest, ExpansionReplacesWhateverTheValueAndCopiesPlainFilesUnchanged) {
    host.Setup.Expand = true;
    host.Setup.SourceDir = "C:\\lzsrc\\";
    MakeFolder(host.Destination);
    WriteFileText(host.Destination + "\\comp.txt", "old");
    WriteFileText(host.Destination + "\\plain.txt", "old");
    AddFile("comp.txt_", "comp.txt", "1");
    AddFile("plain.txt", "plain.txt", "");

    // Not imported: loaded from the system directory for the run and released after it.
    EXPECT_EQ(GetModuleHandleA("lz32.dll"), nullptr);
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(GetModuleHandleA("lz32.dll"), nullptr);
    EXPECT_EQ(ReadFileText(host.Destination + "\\comp.txt"), ReadFileText("C:\\lzsrc\\comp.orig"));
    EXPECT_EQ(ReadFileText(host.Destination + "\\plain.txt"), "plain text\r\n");
    ExpectCompleted();
}

TEST_F(CopyFilesTest, CreatesADeepDestinationAndDirsBelowItOrAsGiven) {
    host.Destination = kRoot + "\\deep\\er\\and\\deeper";
    host.Setup.Dirs.Add("data\\maps");
    host.Setup.DirsValues.Add("0");
    host.Setup.Dirs.Add(kRoot + "\\elsewhere\\logs\\");
    host.Setup.DirsValues.Add("1");
    host.Setup.Dirs.Add("0");  // a key that is not a placement
    host.Setup.DirsValues.Add("0");
    WriteFileText(kMedium + "map.dat", "map");
    AddFile("map.dat", "data\\maps\\map.dat", "0");

    EXPECT_EQ(Run(), "");
    EXPECT_TRUE(IsFolder(host.Destination + "\\data\\maps"));
    EXPECT_TRUE(IsFolder(host.Destination + "\\0"));
    EXPECT_TRUE(IsFolder(kRoot + "\\elsewhere\\logs"));
    EXPECT_EQ(ReadFileText(host.Destination + "\\data\\maps\\map.dat"), "map");
    ExpectCompleted();
}

TEST_F(CopyFilesTest, EachDiskPromptContinuesInItsOwnListWithoutCopyingAgain) {
    const std::string windows = WindowsDirectory();
    for (const char* name : {"engtest_s1.dll", "engtest_s2.dll"}) {
        AddSystemFile(std::string("sys\\") + name, name, "0");
        DeleteFileA((windows + "\\" + name).c_str());
    }
    AddFile("p1.txt", "p1.txt", "0");
    AddFile("disk2\\p2.txt", "p2.txt", "0");
    MakeFolder(kMedium + "sys");
    MakeFolder(kMedium + "disk2");
    WriteFileText(kMedium + "sys\\engtest_s1.dll", "s1");
    WriteFileText(kMedium + "p1.txt", "p1");

    // First disk: the second system file is missing.
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(host.State, 600);
    EXPECT_EQ(host.Prompt, kPrompt);
    EXPECT_EQ(host.Source, kMedium + "sys\\engtest_s2.dll");
    EXPECT_EQ(host.Target, windows + "\\engtest_s2.dll");
    EXPECT_EQ(host.ResumeValue.Position, 1);
    EXPECT_TRUE(host.ResumeValue.SystemFiles);
    EXPECT_EQ(ReadFileText(windows + "\\engtest_s1.dll"), "s1");
    EXPECT_FALSE(FileExists(host.Destination + "\\p1.txt"));
    EXPECT_FALSE(Called("ProgramGroup"));
    ExpectClosingActions();

    // Second disk: the system file is there, the second product file is not.
    WriteFileText(kMedium + "sys\\engtest_s2.dll", "s2");
    WriteFileText(windows + "\\engtest_s1.dll", "kept");
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(host.Prompt, kPrompt);
    EXPECT_EQ(host.Source, kMedium + "disk2\\p2.txt");
    EXPECT_EQ(host.ResumeValue.Position, 1);
    EXPECT_FALSE(host.ResumeValue.SystemFiles);
    EXPECT_EQ(ReadFileText(windows + "\\engtest_s1.dll"), "kept");
    EXPECT_EQ(ReadFileText(windows + "\\engtest_s2.dll"), "s2");
    EXPECT_EQ(ReadFileText(host.Destination + "\\p1.txt"), "p1");
    EXPECT_EQ(host.State, 600);

    // Third disk: only the missing product file is copied.
    WriteFileText(kMedium + "disk2\\p2.txt", "p2");
    WriteFileText(windows + "\\engtest_s2.dll", "kept");
    WriteFileText(host.Destination + "\\p1.txt", "kept");
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(ReadFileText(host.Destination + "\\p2.txt"), "p2");
    EXPECT_EQ(ReadFileText(host.Destination + "\\p1.txt"), "kept");
    EXPECT_EQ(ReadFileText(windows + "\\engtest_s2.dll"), "kept");
    EXPECT_EQ(host.Prompt, "");
    ExpectCompleted();
    // Four files at 14 each, one more step, the registry's 1, then full.
    EXPECT_EQ(host.Positions, (std::vector<int>{14, 28, 42, 56, 70, 71, 100}));

    for (const char* name : {"engtest_s1.dll", "engtest_s2.dll"}) DeleteFileA((windows + "\\" + name).c_str());
}

// A folder where the source should be is a missing file; the folder named in another letter case is the
// same destination, so the run goes on at the file that was missing.
TEST_F(CopyFilesTest, AFolderForASourceAsksForTheDiskAndTheCaseOfTheDestinationDoesNotCount) {
    AddFile("p1.txt", "p1.txt", "0");
    AddFile("p2.txt", "p2.txt", "0");
    WriteFileText(kMedium + "p1.txt", "p1");
    MakeFolder(kMedium + "p2.txt");
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(host.Prompt, kPrompt);

    RemoveTree(kMedium + "p2.txt");
    WriteFileText(kMedium + "p2.txt", "p2");
    WriteFileText(host.Destination + "\\p1.txt", "kept");
    host.Destination = "c:\\ENGINE\\widget";
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(ReadFileText(host.Destination + "\\p1.txt"), "kept");
    EXPECT_EQ(ReadFileText(host.Destination + "\\p2.txt"), "p2");
    EXPECT_EQ(host.State, 800);
}

TEST_F(CopyFilesTest, ProgressWithoutFilesAndWithAStepOfZero) {
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(host.Positions, (std::vector<int>{33, 34, 100}));

    host.Positions.clear();
    host.Position = 0;
    host.State = 600;
    for (int i = 0; i < 98; ++i) {
        const std::string name = std::to_string(i) + ".n";
        WriteFileText(kMedium + name, name);
        AddFile(name, name, "0");
    }
    EXPECT_EQ(Run(), "");
    std::vector<int> expected(99, 0);
    expected.push_back(1);
    expected.push_back(100);
    EXPECT_EQ(host.Positions, expected);
    EXPECT_EQ(ReadFileText(host.Destination + "\\97.n"), "97.n");
}

TEST_F(CopyFilesTest, FewerDestinationsThanSourcesIsAListError) {
    WriteFileText(kMedium + "a.txt", "a");
    WriteFileText(kMedium + "b.txt", "b");
    AddFile("a.txt", "a.txt", "0");
    host.Setup.FilesIn.Add("b.txt");

    EXPECT_EQ(Run(), "List index out of bounds");
    EXPECT_EQ(host.State, 600);
    EXPECT_EQ(ReadFileText(host.Destination + "\\a.txt"), "a");
    EXPECT_FALSE(Called("ProgramGroup"));
    ExpectClosingActions();
}

TEST_F(CopyFilesTest, RefusesBadDestinationsBeforeChangingAnything) {
    const std::string tooLong = kRoot + "\\" + std::string(260 - kRoot.size(), 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"", "Invalid destination directory "},
        {"?Atlas", "Invalid destination directory ?Atlas"},
        {"Widget", "Invalid destination directory Widget"},
        {"C:Widget", "Invalid destination directory C:Widget"},
        {kRoot + "\\a|b", "Invalid destination directory " + kRoot + "\\a|b"},
        {tooLong, "Path too long: " + tooLong},
    };
    WriteFileText(kMedium + "a.txt", "a");
    AddFile("a.txt", "a.txt", "0");
    for (const auto& [destination, message] : cases) {
        host.Destination = destination;
        EXPECT_EQ(Run(), message);
        EXPECT_TRUE(host.Calls.empty()) << destination;
        EXPECT_EQ(host.State, 600);
        ExpectClosingActions();
    }
    EXPECT_FALSE(IsFolder(kRoot + "\\a|b"));

    // A file name that makes a destination path too long is refused before the destination is made.
    host.Destination = kRoot + "\\Widget";
    const std::string longName = std::string(250, 'y');
    AddFile("a.txt", longName, "0");
    EXPECT_EQ(Run(), "Path too long: " + host.Destination + "\\" + longName);
    EXPECT_FALSE(IsFolder(host.Destination));
    EXPECT_TRUE(host.Calls.empty());
}

TEST_F(CopyFilesTest, AFailedDirectoryCreationIsReported) {
    WriteFileText(kRoot + "\\afile", "x");
    host.Setup.Dirs.Add(kRoot + "\\afile\\sub");
    host.Setup.DirsValues.Add("1");
    const std::string error = Run();
    EXPECT_EQ(error.rfind("Cannot create directory " + kRoot + "\\afile: ", 0), 0u) << error;
    EXPECT_EQ(host.State, 600);
    ExpectClosingActions();
}

// Q: is a 1 MiB drive. A filler leaves too little room for the second file.
class FullDiskTest : public CopyFilesTest {
protected:
    void SetUp() override {
        CopyFilesTest::SetUp();
        host.Destination = "Q:\\Widget";
        RemoveTree(host.Destination);
        WriteFileText("Q:\\filler", std::string(700 * 1024, 'f'));
    }
    void TearDown() override {
        RemoveTree("Q:\\filler");
        RemoveTree(host.Destination);
        CopyFilesTest::TearDown();
    }
};

TEST_F(FullDiskTest, CopyFailsThenCompletesOnceThereIsRoom) {
    WriteFileText(kMedium + "small.bin", std::string(100 * 1024, 's'));
    WriteFileText(kMedium + "large.bin", std::string(400 * 1024, 'l'));
    AddFile("small.bin", "small.bin", "0");
    AddFile("large.bin", "large.bin", "1");

    const std::string error = Run();
    const std::string expected = "Cannot copy " + kMedium + "large.bin to Q:\\Widget\\large.bin: ";
    EXPECT_EQ(error.rfind(expected, 0), 0u) << error;
    EXPECT_GT(error.size(), expected.size());
    EXPECT_EQ(host.State, 600);
    EXPECT_EQ(host.ResumeValue.Position, 1);
    EXPECT_FALSE(host.ResumeValue.SystemFiles);
    EXPECT_FALSE(FileExists("Q:\\Widget\\large.bin")) << "a cut-off file would be kept by the retry";
    EXPECT_NE(host.Info.find("is now copying"), std::string::npos);
    EXPECT_FALSE(Called("ProgramGroup"));
    ExpectClosingActions();

    WriteFileText("Q:\\Widget\\small.bin", "kept");
    RemoveTree("Q:\\filler");
    EXPECT_EQ(Run(), "");
    EXPECT_TRUE(ReadFileText("Q:\\Widget\\large.bin") == std::string(400 * 1024, 'l'));
    EXPECT_EQ(ReadFileText("Q:\\Widget\\small.bin"), "kept");
    ExpectCompleted();
}

TEST_F(FullDiskTest, ExpansionFailsThenCompletesOnceThereIsRoom) {
    host.Setup.Expand = true;
    host.Setup.SourceDir = "C:\\lzsrc\\";
    AddFile("random.bin_", "random.bin", "1");

    const std::string error = Run();
    const std::string expected = "Cannot expand C:\\lzsrc\\random.bin_ to Q:\\Widget\\random.bin: ";
    EXPECT_EQ(error.rfind(expected, 0), 0u) << error;
    EXPECT_EQ(host.State, 600);
    EXPECT_EQ(host.ResumeValue.Position, 0);
    EXPECT_FALSE(host.ResumeValue.SystemFiles);
    EXPECT_FALSE(FileExists("Q:\\Widget\\random.bin"));

    RemoveTree("Q:\\filler");
    EXPECT_EQ(Run(), "");
    EXPECT_TRUE(ReadFileText("Q:\\Widget\\random.bin") == ReadFileText("C:\\lzsrc\\random.orig"));
    ExpectCompleted();
}

UINT WINAPI RefusedDirectory(LPSTR, UINT) { return 0; }
UINT WINAPI OverlongDirectory(LPSTR, UINT) { return MAX_PATH + 40; }

// A directory the platform does not give is an error, never "" (which would put system files at the root).
TEST(PlatformDirectory, AnEmptyOrCutAnswerIsAnError) {
    for (auto read : {RefusedDirectory, OverlongDirectory}) EXPECT_THROW(PlatformDirectory(read, "Windows"), Exception);
}

}  // namespace

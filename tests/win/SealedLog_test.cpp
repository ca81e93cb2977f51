// The installation log checked and written through one handle, against a user who owns the destination.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "Prefix.h"
#include "base/Errors.h"
#include "base/InstallRecord.h"
#include "undo/SealedLog.h"

namespace quenby {
namespace {

// An empty destination of the test's own; the log's seal goes with the test.
class SealedLog : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr)); }
    void TearDown() override { DeleteLogSeal(destination); }
    const test::TScratchFolder folder{"quenby-sealed"};
    const std::string destination = folder / "Dest", log = InstallLogPath(destination);
};

// The name swapped, after the check, for a second name of another file: that file stays as it was.
TEST_F(SealedLog, ANameSwappedAfterTheCheckIsNeverWrittenThrough) {
    TSealedLog(destination, true).Append("first line\r\n");
    const std::string victim = folder.Write("victim.txt", std::string(6000, 'v'));
    TSealedLog again(destination, false, [&] {
        if (MoveFileA(log.c_str(), (folder / "moved.log").c_str())) {
            ASSERT_TRUE(CreateHardLinkA(log.c_str(), victim.c_str(), nullptr));
        }
    });
    again.Append("lowered\r\n");
    EXPECT_TRUE(test::ReadFile(victim) == std::string(6000, 'v')) << "the other file was written";
}

// Planted before the installation: a second name of another file is refused and left as it is; a plain file
// that the record does not vouch for is put aside whole, under a name not taken yet.
TEST_F(SealedLog, APlantedLinkIsRefusedAndAPlantedFilePutAside) {
    const std::string victim = folder.Write("victim.txt", "the other file");
    ASSERT_TRUE(CreateHardLinkA(log.c_str(), victim.c_str(), nullptr));
    EXPECT_THROW(TSealedLog(destination, true), Exception);
    EXPECT_EQ(test::ReadFile(victim) + "|" + test::ReadFile(log), "the other file|the other file");
    ASSERT_TRUE(DeleteFileA(log.c_str()));
    for (const char* planted : {"planted\r\n", "planted again\r\n"}) {
        folder.Write("Dest\\Quenby.log", planted);
        TSealedLog(destination, true).Append("line\r\n");
    }
    EXPECT_EQ(test::ReadFile(log + ".bad") + test::ReadFile(log + ".bad.2"), "planted\r\nplanted again\r\n");
    EXPECT_EQ(test::ReadFile(victim), "the other file");
}

// A second run appends under the same record once the first run's unrecorded tail is cut off, and the two
// runs verify as one log.
TEST_F(SealedLog, ASecondRunCutsTheUnrecordedTailAndTheRunsVerifyAsOne) {
    TSealedLog(destination, true).Append("run 1\r\n");
    folder.Write("Dest\\Quenby.log", test::ReadFile(log) + "file\tnew\tnever recorded\r\n");
    TSealedLog(destination, false).Append("run 2\r\n");
    const std::string both = "Quenby installation log 1\r\nrun 1\r\nrun 2\r\n";
    EXPECT_EQ(test::ReadFile(log), both);
    EXPECT_EQ(ReadVerifiedLog(destination), both);
}

}  // namespace
}  // namespace quenby

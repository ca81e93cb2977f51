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

// The name swapped, after the check, for a second name of another file: that file stays as it was.
TEST(SealedLog, ANameSwappedAfterTheCheckIsNeverWrittenThrough) {
    const test::TScratchFolder folder("quenby-sealed-swap");
    const std::string destination = folder / "Dest", log = InstallLogPath(destination);
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    TSealedLog(destination, true).Append("first line\r\n");
    const std::string victim = folder.Write("victim.txt", std::string(6000, 'v'));
    TSealedLog again(destination, false, [&] {
        if (MoveFileA(log.c_str(), (folder / "moved.log").c_str())) {
            ASSERT_TRUE(CreateHardLinkA(log.c_str(), victim.c_str(), nullptr));
        }
    });
    again.Append("lowered\r\n");
    EXPECT_TRUE(test::ReadFile(victim) == std::string(6000, 'v')) << "the other file was written";
    DeleteLogSeal(destination);
}

// Planted before the installation: a second name of another file is refused and left as it is; a plain file
// that the record does not vouch for is put aside whole.
TEST(SealedLog, APlantedLinkIsRefusedAndAPlantedFilePutAside) {
    const test::TScratchFolder folder("quenby-sealed-planted");
    const std::string destination = folder / "Dest", log = InstallLogPath(destination);
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    const std::string victim = folder.Write("victim.txt", "the other file");
    ASSERT_TRUE(CreateHardLinkA(log.c_str(), victim.c_str(), nullptr));
    EXPECT_THROW(TSealedLog(destination, true), Exception);
    EXPECT_EQ(test::ReadFile(victim) + "|" + test::ReadFile(log), "the other file|the other file");
    ASSERT_TRUE(DeleteFileA(log.c_str()));
    folder.Write("Dest\\Quenby.log", "planted\r\n");
    TSealedLog(destination, true).Append("line\r\n");
    EXPECT_EQ(test::ReadFile(destination + "\\Quenby.log.bad"), "planted\r\n");
    EXPECT_EQ(test::ReadFile(victim), "the other file");
    DeleteLogSeal(destination);
}

}  // namespace
}  // namespace quenby

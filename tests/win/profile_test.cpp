// The profile file on real INI files through the system's profile functions.
#include "win/profile.h"

#include <gtest/gtest.h>

#include <string>

#include "Prefix.h"

namespace quenby {
namespace {

using test::TScratchFolder;

std::string MessageOfWrite(const TProfileFile& file) {
    try {
        file.WriteText("S", "k", "new");
    } catch (const Exception& e) {
        return e.what();
    }
    return "no error";
}

TEST(ProfileFile, DefaultsAndValuesPastTheFirstBuffer) {
    TScratchFolder folder("quenby-profile-values");
    std::string content = "[S]\r\nempty=\r\nnum=12\r\nzero=0\r\n";
    // Either side of the 1,024-byte buffer, and well past its doublings.
    for (int length : {1023, 1024, 9000})
        content.append("v").append(std::to_string(length)).append("=").append(static_cast<size_t>(length), 'x').append("\r\n");
    const TProfileFile file(folder.Write("a.ini", content));
    EXPECT_EQ(TProfileFile(folder / "absent.ini").ReadText("S", "num", "dflt"), "dflt");
    EXPECT_EQ(file.ReadText("S", "empty", "dflt"), "") << "an empty value is not a missing one";
    EXPECT_EQ(file.ReadNumber("S", "empty", 5), 5);
    EXPECT_FALSE(file.ReadFlag("S", "zero", true));
    for (int length : {1023, 1024, 9000})
        EXPECT_EQ(file.ReadText("S", std::string("v").append(std::to_string(length)), ""),
                  std::string(static_cast<size_t>(length), 'x'));
    EXPECT_EQ(file.ReadText("S", "missing", std::string(1500, 'd')), std::string(1500, 'd'));
}

TEST(ProfileFile, ListKeysReturnsEverySectionBeyondEightKilobytes) {
    TScratchFolder folder("quenby-profile-many");
    // 16 bytes per name with its zero: 512 names fill the 8,192-byte buffer exactly, 513 pass it.
    for (int count : {512, 513}) {
        std::string text = "[Many]\r\n";
        for (int i = 0; i < count; ++i) text.append("k000000000").append(std::to_string(10000 + i)).append("=v\r\n");
        TStringList list;
        TProfileFile(folder.Write("many.ini", text + "[After]\r\nx=1\r\n")).ListKeys("Many", list);
        ASSERT_EQ(list.Count(), count);
        EXPECT_EQ(list[count - 1], std::string("k000000000").append(std::to_string(10000 + count - 1)));
    }
}

TEST(ProfileFile, WriteTextThatTheSystemRefusesNamesThePath) {
    TScratchFolder folder("quenby-profile-refused");
    const TProfileFile intoMissingFolder(folder / "no such folder\\Quenby.upi");
    EXPECT_EQ(MessageOfWrite(intoMissingFolder), "Unable to write to " + intoMissingFolder.Path());
    // A read-only bind mount made by the prepare script (as root, file permissions stop nothing).
    const TProfileFile existing("C:\\quenby-readonly\\existing.ini");
    ASSERT_EQ(existing.ReadText("S", "k", ""), "old") << "run this test through ctest";
    EXPECT_EQ(MessageOfWrite(existing), "Unable to write to " + existing.Path());
    EXPECT_EQ(existing.ReadText("S", "k", ""), "old");
}

}  // namespace
}  // namespace quenby

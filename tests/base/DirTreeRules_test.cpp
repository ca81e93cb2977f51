#include "base/DirTreeRules.h"

#include <gtest/gtest.h>

using namespace quenby;

TEST(DirTreeRules, AttrAllowedFollowsTheDirTypeRuleInOrder) {
    constexpr std::uint32_t D = kAttrDirectory, H = kAttrHidden, S = kAttrSystem, A = kAttrArchive, R = kAttrReadonly;
    const struct {
        tDirType type;
        std::uint32_t attr;
        bool allowed;
    } cases[] = {
        {{dtNormal, dtAll}, D | H | S | A, true},  // dtAll admits everything
        {{dtNormal}, D, true},
        {{dtNormal}, D | R, true},  // read-only plays no part
        {{dtNormal}, D | A, false},
        {{dtHidden}, D | H, true},  // only hidden ones
        {{dtHidden}, D | H | S, false},
        {{dtHidden, dtSystem}, D | H | S, true},
        {{dtArchive, dtNormal}, D | A, true},
        {{dtArchive, dtNormal}, D | H | A, false},
        {{dtReadonly}, D | R, false},  // dtReadonly admits nothing by itself
        {{}, D | H, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AttrAllowed(c.type, c.attr), c.allowed) << "type " << int(c.type.Bits()) << " attributes " << c.attr;
}

TEST(DirTreeRules, RecycleFolderItselfStaysButNothingBelowIt) {
    for (const char* kept : {"c:\\recycled\\", "c:\\a\\recycled\\", "c:\\recycledx\\y\\"})
        EXPECT_FALSE(BelowRecycleFolder(kept)) << kept;
    EXPECT_TRUE(BelowRecycleFolder("c:\\recycled\\x\\"));
}

TEST(DirTreeRules, FallbackTextIsLastComponentOrDriveRoot) {
    EXPECT_EQ(FallbackNodeText("C:\\"), "C:\\");
    EXPECT_EQ(FallbackNodeText("C:\\WINDOWS\\System32\\"), "System32");
    EXPECT_EQ(FallbackNodeText("C:\\a b"), "a b");
}

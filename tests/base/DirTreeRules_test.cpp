#include "base/DirTreeRules.h"

#include <gtest/gtest.h>

using namespace quenby;

TEST(DirTreeRules, DirTypeIsOneByteWithBitPerMember) {
    EXPECT_EQ((tDirType{dtNormal, dtAll}).Bits(), 0x30);
    EXPECT_EQ((tDirType{dtReadonly}).Bits(), 0x01);
    EXPECT_EQ((tDirType{dtHidden, dtSystem, dtArchive}).Bits(), 0x0E);
    EXPECT_TRUE(tDirType::FromBits(0x30) == (tDirType{dtAll, dtNormal}));
    EXPECT_FALSE((tDirType{dtNormal}).Contains(dtAll));
}

TEST(DirTreeRules, AttrAllowedFollowsTheDirTypeRuleInOrder) {
    constexpr std::uint32_t D = kAttrDirectory, H = kAttrHidden, S = kAttrSystem, A = kAttrArchive,
                            R = kAttrReadonly;
    struct Case {
        tDirType type;
        std::uint32_t attr;
        bool allowed;
    };
    const Case cases[] = {
        {{dtNormal, dtAll}, D | H | S | A, true},   // dtAll admits everything
        {{dtNormal}, D, true},
        {{dtNormal}, D | R, true},                   // read-only plays no part
        {{dtNormal}, D | H, false},
        {{dtNormal}, D | A, false},
        {{dtHidden}, D | H, true},                   // only hidden ones
        {{dtHidden}, D, false},
        {{dtHidden}, D | H | S, false},
        {{dtHidden, dtSystem}, D | H | S, true},
        {{dtArchive, dtNormal}, D | A, true},
        {{dtArchive, dtNormal}, D | H | A, false},
        {{dtReadonly}, D | R, false},                // dtReadonly admits nothing by itself
        {{}, D | H, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AttrAllowed(c.type, c.attr), c.allowed)
            << "type " << int(c.type.Bits()) << " attributes " << c.attr;
}

TEST(DirTreeRules, RecycleFolderItselfStaysButNothingBelowIt) {
    EXPECT_FALSE(BelowRecycleFolder("c:\\recycled\\"));
    EXPECT_FALSE(BelowRecycleFolder("c:\\a\\recycled\\"));
    EXPECT_TRUE(BelowRecycleFolder("c:\\recycled\\x\\"));
    EXPECT_TRUE(BelowRecycleFolder("c:\\recycled\\recycled\\"));
    EXPECT_FALSE(BelowRecycleFolder("c:\\recycledx\\y\\"));
    EXPECT_FALSE(BelowRecycleFolder(""));
    EXPECT_FALSE(BelowRecycleFolder("\\recycled\\"));
    EXPECT_TRUE(BelowRecycleFolder("\\recycled\\a"));
}

TEST(DirTreeRules, OnlyNetworkRamAndUnknownKindsAreProbed) {
    for (unsigned kind : {0u, 1u, 2u, 3u, 5u}) EXPECT_TRUE(IsUnprobedDriveKind(kind)) << kind;
    for (unsigned kind : {4u, 6u, 7u, 99u}) EXPECT_FALSE(IsUnprobedDriveKind(kind)) << kind;
}

TEST(DirTreeRules, PathTexts) {
    EXPECT_EQ(MakeEntry(kUnread, "C:\\WINDOWS\\"), "uC:\\WINDOWS\\");
    EXPECT_EQ(EntryPath("iC:\\WINDOWS\\"), "C:\\WINDOWS\\");
    EXPECT_EQ(EntryPath(""), "");

    EXPECT_EQ(WithFinalBackslash("c:"), "c:\\");
    EXPECT_EQ(WithFinalBackslash("c:\\"), "c:\\");
    EXPECT_EQ(WithFinalBackslash(""), "");
    EXPECT_EQ(WithFinalBackslash("?"), "?\\");

    EXPECT_EQ(CountBackslashes("c:\\a\\b\\"), 3);
    EXPECT_EQ(CountBackslashes("c:"), 0);
    EXPECT_EQ(PrefixThroughBackslash("c:\\a\\b\\", 1), "c:\\");
    EXPECT_EQ(PrefixThroughBackslash("c:\\a\\b\\", 2), "c:\\a\\");
    EXPECT_EQ(PrefixThroughBackslash("c:\\a\\b\\", 3), "c:\\a\\b\\");
    EXPECT_EQ(PrefixThroughBackslash("c:\\a\\b\\", 4), "");
    EXPECT_EQ(PrefixThroughBackslash("\\\\server\\", 2), "\\\\");

    EXPECT_TRUE(IsDotEntry(".") && IsDotEntry(".."));
    EXPECT_FALSE(IsDotEntry("...") || IsDotEntry(".a") || IsDotEntry(""));
}

TEST(DirTreeRules, FallbackTextIsLastComponentOrDriveRoot) {
    EXPECT_EQ(FallbackNodeText("C:\\"), "C:\\");
    EXPECT_EQ(FallbackNodeText("C:\\WINDOWS\\"), "WINDOWS");
    EXPECT_EQ(FallbackNodeText("C:\\WINDOWS\\System32\\"), "System32");
    EXPECT_EQ(FallbackNodeText("C:\\a b"), "a b");
}

TEST(DirTreeRules, LastDirsSlotOnlyForUpperCaseDriveLetters) {
    EXPECT_EQ(LastDirsSlot("C:\\"), 2);
    EXPECT_EQ(LastDirsSlot("Z:\\x"), 25);
    EXPECT_EQ(LastDirsSlot("A"), 0);
    EXPECT_FALSE(LastDirsSlot("c:\\"));
    EXPECT_FALSE(LastDirsSlot("\\\\server\\share"));
    EXPECT_FALSE(LastDirsSlot(""));
}

TEST(DirTreeRules, SearchMaskLeavesOutOnlyWhatItDoesNotAskFor) {
    EXPECT_TRUE(SearchReturns(0x10 | 0x02 | 0x04 | 0x20 | 0x01, kSearchAttrMask));
    EXPECT_FALSE(SearchReturns(0x08, kSearchAttrMask));
    EXPECT_FALSE(SearchReturns(0x10, 0x00));
    EXPECT_TRUE(SearchReturns(0x20 | 0x01 | 0x80, 0x00));
    EXPECT_FALSE(SearchReturns(0x10 | 0x02, 0x10));
}

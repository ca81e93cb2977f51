// The portable rules of the start-up windows: accelerators of button captions, the backdrop's right
// alignment and its product line.
#include <gtest/gtest.h>

#include "base/Accelerator.h"
#include "base/ProductCaption.h"
#include "base/RightAlign.h"

namespace quenby {

TEST(Accelerator, IsTheCharacterAfterASingleAmpersandAndMatchesTypedInEitherCase) {
    const struct {
        const char* caption;
        char expected, typed;  // typed: a key in the other case that presses it, 0 for none
    } cases[] = {{"&Next", 'N', 'n'}, {"Re&try", 't', 'T'}, {"Next", 0, 0}, {"&", 0, 0},
                 {"R&&D", 0, 0},      {"A&&&B", 'B', 'b'},  {"End&", 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(AcceleratorOf(c.caption), c.expected) << c.caption;
        EXPECT_EQ(MatchesAccelerator(c.caption, c.typed), c.typed != 0) << c.caption;
        // Nothing typed presses nothing, and "&&" is a plain ampersand.
        EXPECT_FALSE(MatchesAccelerator(c.caption, 0) || MatchesAccelerator(c.caption, '&')) << c.caption;
    }
}

TEST(RightAlign, WhiteLabelTwentyPixelsFromTheEdgeAndShadeOneFurtherLeft) {
    const struct { int window, label, left, shade; } cases[] = {{1024, 189, 815, 814}, {640, 640, -20, -21}};
    for (const auto& c : cases) {
        const TRightAligned place = RightAlign(c.window, c.label);
        EXPECT_EQ(std::pair(place.Left, place.ShadeLeft), std::pair(c.left, c.shade)) << c.window << " " << c.label;
    }
}

TEST(ProductCaption, NameVersionAndInstallationOrNothingWithoutName) {
    EXPECT_EQ(ProductCaption("Atlas", "2.0"), "Atlas 2.0 Installation");
    EXPECT_EQ(ProductCaption("Atlas", ""), "Atlas Installation");
    EXPECT_EQ(ProductCaption("", "2.0"), std::nullopt);
}

}  // namespace quenby

// The version resource found in a PE image's bytes, and not in anything that only starts like one.
#include "publish/PeVersion.h"

#include <gtest/gtest.h>

#include "TinyPe.h"

TEST(PeVersion, OnlyAWholeImageWithAVersionTypeHasOne) {
    const std::string versioned = quenby::test::TinyPeImage(16);
    std::string farSection = versioned, named = versioned;
    farSection[0x138 + 20 + 1] = 0x7F;           // the section's bytes lie past the end of the file
    named[0x210 + 3] = static_cast<char>(0x80);  // a type by name, not the number 16
    const struct {
        std::string image;
        bool has;
    } cases[] = {
        {versioned, true},
        {quenby::test::TinyPeImage(3), false},  // icons only
        {versioned.substr(0, 0x212), false},    // cut inside the type's entry
        {farSection, false},
        {named, false},
        {"MZ" + std::string(0x40, '\xFF'), false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(quenby::HasVersionResource(quenby::TBytes(c.image.begin(), c.image.end())), c.has) << c.image.size();
}

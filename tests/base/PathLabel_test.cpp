#include "base/PathLabel.h"

#include <gtest/gtest.h>

using quenby::PathLabel;

TEST(PathLabel, ShowsSixtyCharactersInFullAndShortensSixtyOne) {
    const std::string sixty = "C:\\" + std::string(47, 'a') + "\\file.txt.";  // 3 + 47 + 10
    ASSERT_EQ(sixty.size(), 60u);
    EXPECT_EQ(PathLabel(sixty), sixty);
    const std::string sixtyOne = "C:\\" + std::string(48, 'a') + "\\file.txt.";
    EXPECT_EQ(PathLabel(sixtyOne), "C:\\...\\file.txt.");
    EXPECT_EQ(PathLabel(""), "");
}

TEST(PathLabel, CutsTheTailAtItsFirstBackslash) {
    const std::string path = "D:\\Program Files\\Example Vendors\\Example Product\\Libraries\\module.dll";
    ASSERT_EQ(path.size(), 69u);
    EXPECT_EQ(PathLabel(path), "D:\\...\\Example Product\\Libraries\\module.dll");
}

TEST(PathLabel, KeepsTheShareOfANetworkPath) {
    const std::string path = "\\\\server\\share\\Program Files\\Example Vendors\\Example Product\\module.dll";
    EXPECT_EQ(PathLabel(path), "\\\\server\\share\\...\\Example Vendors\\Example Product\\module.dll");
}

TEST(PathLabel, TailWithoutBackslashAndPathWithoutDrive) {
    const std::string name(70, 'n');
    EXPECT_EQ(PathLabel("C:\\" + name), "C:\\..." + std::string(52, 'n'));
    const std::string relative = std::string(30, 'r') + "\\" + std::string(40, 's');
    EXPECT_EQ(PathLabel(relative), "\\...\\" + std::string(40, 's'));
}

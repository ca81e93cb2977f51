#include "base/PathLabel.h"

#include <gtest/gtest.h>

TEST(PathLabel, LongPathsKeepTheirRootAndTheTailFromItsFirstBackslash) {
    const std::string sixty = "C:\\" + std::string(47, 'a') + "\\file.txt.";
    const std::pair<std::string, std::string> cases[] = {
        {sixty, sixty},
        {"C:\\" + std::string(48, 'a') + "\\file.txt.", "C:\\...\\file.txt."},
        {"D:\\Program Files\\Example Vendors\\Example Product\\Libraries\\module.dll",
         "D:\\...\\Example Product\\Libraries\\module.dll"},
        {"\\\\server\\share\\Program Files\\Example Vendors\\Example Product\\module.dll",
         "\\\\server\\share\\...\\Example Vendors\\Example Product\\module.dll"},
        {"C:\\" + std::string(70, 'n'), "C:\\..." + std::string(52, 'n')},
        {std::string(30, 'r') + "\\" + std::string(40, 's'), "\\...\\" + std::string(40, 's')},
    };
    for (const auto& [path, label] : cases) EXPECT_EQ(quenby::PathLabel(path), label) << path;
}

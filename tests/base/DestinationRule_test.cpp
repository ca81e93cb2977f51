#include "base/DestinationRule.h"

#include <gtest/gtest.h>

using quenby::IsFullDirectoryPath;

TEST(DestinationRule, AcceptsOnlyFullDrivePathsAndNetworkShares) {
    for (const char* path : {"C:\\", "c:\\Program Files\\Widget", "D:\\a\\b\\", "\\\\server\\share",
                             "\\\\server\\share\\", "\\\\server\\share\\Widget 2.0\\bin", "C:\\it's (x86) & more"})
        EXPECT_TRUE(IsFullDirectoryPath(path)) << path;
    // Partial paths and forbidden characters.
    for (const char* path :
         {"",           "?Atlas",       "Widget",      "\\Widget",        "C:",       "C:Widget",      "1:\\x",
          "\\\\server", "\\\\server\\", "\\\\\\share", "\\\\server\\\\x", "C:\\a|b",  "C:\\a?b",       "C:\\a*",
          "C:\\a<b",    "C:\\a>b",      "C:\\\"a\"",   "C:\\a:b",         "C:\\a\tb", "\\\\s:x\\share"})
        EXPECT_FALSE(IsFullDirectoryPath(path)) << path;
    // A folder's spellings of their own, a device path and a drive's administrative share: one folder, two seals.
    for (const char* path : {"\\\\.\\GLOBALROOT\\Device\\x", "\\\\.\\C:", "\\\\server\\C$\\Orrery", "\\\\server\\d$"})
        EXPECT_FALSE(IsFullDirectoryPath(path)) << path;
}

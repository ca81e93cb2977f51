// The instructions as the reading routine takes them from a file, with the installer's defaults. (The
// portable reader's own rules are compared with the profile functions in tests/win/ini_reader_test.cpp.)
#include "publish/IniFile.h"

#include <gtest/gtest.h>

#include "base/Instructions.h"

TEST(IniFile, InstructionsTakeTheInstallersDefaults) {
    quenby::TInstructions in;
    in.ReadFrom(quenby::TIniFile("[Settings]\nExpand=0x10\n[Items]\nw.exe\nv.exe=\n[FilesIn]\na=\nb=\n"), "A:\\\\");
    EXPECT_TRUE(in.Expand);
    EXPECT_EQ(in.ProgGroup, "Tavix");
    EXPECT_EQ(in.Directory, "c:\\tmp");
    EXPECT_EQ(in.Items.Items(), std::vector<std::string>({"v.exe"}));
    EXPECT_EQ(in.ItemsValues.Items(), std::vector<std::string>({""}));
    EXPECT_EQ(in.ProgressStep, 20);
    EXPECT_EQ(in.InstructionsPath, "A:\\\\Quenby.ipi");
    EXPECT_TRUE(in.DisplayTitle.empty());
}

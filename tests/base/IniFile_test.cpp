// The instructions as the reading routine takes them from a file, with the installer's defaults. (The
// portable reader's own rules are compared with the profile functions in tests/win/ini_reader_test.cpp.)
#include "publish/IniFile.h"

#include <gtest/gtest.h>

#include "base/Instructions.h"

TEST(IniFile, InstructionsTakeTheInstallersDefaults) {
    quenby::TInstructions in;
    in.ReadFrom(quenby::TIniFile("[Settings]\nExpand=0x10\n[Items]\nw.exe\nv.exe=\n[FilesIn]\na=\nb=\n"), "A:\\\\");
    EXPECT_EQ(std::tie(in.Expand, in.ProgressStep, in.ProgGroup, in.Directory, in.InstructionsPath, in.DisplayTitle),
              std::make_tuple(true, 20, "Tavix", "c:\\tmp", "A:\\\\Quenby.ipi", ""));
    EXPECT_EQ(in.Items.Items(), std::vector<std::string>({"v.exe"}));
    EXPECT_EQ(in.ItemsValues.Items(), std::vector<std::string>({""}));
}

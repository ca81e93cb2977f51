// Reading the installation instructions from real Quenby.ipi files.
#include "base/Instructions.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "UiProbe.h"
#include "install/InstructionsFile.h"

using quenby::TInstructions;
using quenby::TStringList;
using quenby::test::TScratchFolder;

namespace {

using Texts = std::vector<std::string>;

const char kFullFile[] =
    "[Settings]\r\n"
    "Application=Widget Works\r\n"
    "Copyright=By Someone\r\n"
    "WebAddress=www.example.test\r\n"
    "EmailAddress=mail@example.test\r\n"
    "Version=2.1\r\n"
    "ProgGroup=Widgets\r\n"
    "Expand=1\r\n"
    "Directory=d:\\widgets\r\n"
    "[FilesIn]\r\nw.ex_=\r\nhelp.hl_=\r\n"
    "[FilesOut]\r\nw.exe=0\r\nhelp.hlp=\r\n"
    "[SysFilesIn]\r\nctl.dl_=\r\n"
    "[SysFilesOut]\r\nctl.dll=1\r\n"
    "[StartInfo]\r\nterms.txt=\r\nreadme.txt=\r\n"
    "[EndInfo]\r\nthanks.txt=\r\n"
    "[Items]\r\nw.exe=Widget Works\r\nplain.exe=\r\nw.exe=Second\r\n"
    "[AddOns]\r\n0=readme.txt\r\n1=setup2.exe /q\r\n"
    "[Keys]\r\nProduct=Software\\Widgets\r\nValues=Software\\Widgets\\Options\r\n"
    "[Dirs]\r\ndata=0\r\nc:\\shared=1\r\n";

// All sixteen lists, in a fixed order, for checks that concern every one of them.
std::vector<const TStringList*> AllLists(const TInstructions& in) {
    return {&in.FilesIn,  &in.SysFilesIn,        &in.StartInfo,   &in.EndInfo,     &in.FilesOut, &in.FilesOutValues,
            &in.SysFilesOut, &in.SysFilesOutValues, &in.Items, &in.ItemsValues, &in.AddOns,   &in.AddOnsValues,
            &in.Keys,     &in.KeysValues,        &in.Dirs,        &in.DirsValues};
}

bool AllListsEmpty(const TInstructions& in) {
    for (const TStringList* list : AllLists(in))
        if (!list->Empty()) return false;
    return true;
}

TInstructions ReadInstructions(const TScratchFolder& folder, const std::string& content) {
    folder.Write("Quenby.ipi", content);
    TInstructions in;
    in = quenby::ReadInstructionsFile(folder.Path() + "\\");
    return in;
}

}  // namespace

TEST(Instructions, FullFileFillsSettingsListsAndDerivedValues) {
    TScratchFolder folder("quenby-instructions-full");
    TInstructions in = ReadInstructions(folder, kFullFile);

    EXPECT_FALSE(in.Missing);
    EXPECT_EQ(in.SourceDir, folder.Path() + "\\");
    EXPECT_EQ(in.InstructionsPath, folder.Path() + "\\Quenby.ipi");
    EXPECT_EQ(in.Application, "Widget Works");
    EXPECT_EQ(in.Copyright, "By Someone");
    EXPECT_EQ(in.WebAddress, "www.example.test");
    EXPECT_EQ(in.EmailAddress, "mail@example.test");
    EXPECT_EQ(in.Version, "2.1");
    EXPECT_EQ(in.ProgGroup, "Widgets");
    EXPECT_TRUE(in.Expand);
    EXPECT_EQ(in.Directory, "d:\\widgets");
    EXPECT_EQ(in.DisplayTitle, "Widget Works 2.1");
    EXPECT_EQ(in.ProgressStep, 16) << "100 div (2 + 1 + 3)";

    EXPECT_EQ(in.FilesIn.Items(), (Texts{"w.ex_", "help.hl_"}));
    EXPECT_EQ(in.SysFilesIn.Items(), (Texts{"ctl.dl_"}));
    EXPECT_EQ(in.StartInfo.Items(), (Texts{"terms.txt", "readme.txt"}));
    EXPECT_EQ(in.EndInfo.Items(), (Texts{"thanks.txt"}));
    EXPECT_EQ(in.FilesOut.Items(), (Texts{"w.exe", "help.hlp"}));
    EXPECT_EQ(in.FilesOutValues.Items(), (Texts{"0", ""}));
    EXPECT_EQ(in.SysFilesOut.Items(), (Texts{"ctl.dll"}));
    EXPECT_EQ(in.SysFilesOutValues.Items(), (Texts{"1"}));
    // Duplicate keys stay, each reading the first one's value, so the two lists keep one length.
    EXPECT_EQ(in.Items.Items(), (Texts{"w.exe", "plain.exe", "w.exe"}));
    EXPECT_EQ(in.ItemsValues.Items(), (Texts{"Widget Works", "", "Widget Works"}));
    EXPECT_EQ(in.AddOns.Items(), (Texts{"0", "1"}));
    EXPECT_EQ(in.AddOnsValues.Items(), (Texts{"readme.txt", "setup2.exe /q"}));
    EXPECT_EQ(in.Keys.Items(), (Texts{"Product", "Values"}));
    EXPECT_EQ(in.KeysValues.Items(), (Texts{"Software\\Widgets", "Software\\Widgets\\Options"}));
    EXPECT_EQ(in.Dirs.Items(), (Texts{"data", "c:\\shared"}));
    EXPECT_EQ(in.DirsValues.Items(), (Texts{"0", "1"}));
}

TEST(Instructions, EmptyFileOrMissingSettingsTakeTheDefaults) {
    TScratchFolder folder("quenby-instructions-empty");
    for (const char* content : {"", "[Settings]\r\nApplication=\r\n", "[Other]\r\nProgGroup=x\r\n"}) {
        SCOPED_TRACE(content);
        TInstructions in = ReadInstructions(folder, content);
        EXPECT_FALSE(in.Missing);
        EXPECT_EQ(in.Application, "");
        EXPECT_EQ(in.Version, "");
        EXPECT_EQ(in.ProgGroup, "Tavix");
        EXPECT_EQ(in.Directory, "c:\\tmp");
        EXPECT_FALSE(in.Expand);
        EXPECT_EQ(in.DisplayTitle, "");
        EXPECT_EQ(in.ProgressStep, 33);
        EXPECT_TRUE(AllListsEmpty(in));
    }
}

TEST(Instructions, MissingFileSetsTheFlagAndNothingElse) {
    TScratchFolder folder("quenby-instructions-missing");
    TInstructions in = ReadInstructions(folder, kFullFile);
    ASSERT_FALSE(in.Missing);
    DeleteFileA((folder / "Quenby.ipi").c_str());
    CreateDirectoryA((folder / "Quenby.ipi").c_str(), nullptr);  // a folder of that name is no file

    in = quenby::ReadInstructionsFile(folder.Path() + "\\");
    EXPECT_TRUE(in.Missing);
    EXPECT_EQ(in.InstructionsPath, folder.Path() + "\\Quenby.ipi");
    for (const std::string* setting : {&in.Application, &in.Copyright, &in.WebAddress, &in.EmailAddress, &in.Version,
                                       &in.ProgGroup, &in.Directory, &in.DisplayTitle})
        EXPECT_EQ(*setting, "") << "no defaults without a file";
    EXPECT_FALSE(in.Expand);
    EXPECT_TRUE(AllListsEmpty(in));
}

TEST(Instructions, ExpandIsAWholeNumberThatIsOnWhenNotZero) {
    TScratchFolder folder("quenby-instructions-expand");
    const std::pair<const char*, bool> cases[] = {{"1", true}, {"0", false}, {"yes", false}, {"0x10", true}, {nullptr, false}};
    for (auto [value, expected] : cases) {
        std::string content = "[Settings]\r\n";
        if (value) content.append("Expand=").append(value).append("\r\n");
        EXPECT_EQ(ReadInstructions(folder, content).Expand, expected) << (value ? value : "(missing)");
    }
}

TEST(Instructions, ProgressStepAndDisplayTitleFollowTheFile) {
    TScratchFolder folder("quenby-instructions-derived");
    const std::pair<int, int> steps[] = {{12, 6}, {0, 33}, {97, 1}, {98, 0}};
    for (auto [files, step] : steps) {
        std::string content = "[FilesIn]\r\n";
        // The system files count as well: two of them when there are enough files.
        int system = files >= 2 ? 2 : 0;
        for (int i = 0; i < files - system; ++i) content.append("f").append(std::to_string(i)).append("=\r\n");
        content.append("[SysFilesIn]\r\n");
        for (int i = 0; i < system; ++i) content.append("s").append(std::to_string(i)).append("=\r\n");
        EXPECT_EQ(ReadInstructions(folder, content).ProgressStep, step) << files << " files";
    }

    const std::tuple<const char*, const char*, const char*> titles[] = {
        {"Widget", "1.0", "Widget 1.0"}, {"Widget", "", "Widget"}, {"", "1.0", ""}};
    for (auto [application, version, title] : titles) {
        std::string content = std::string("[Settings]\r\nApplication=") + application;
        content.append("\r\nVersion=").append(version).append("\r\n");
        EXPECT_EQ(ReadInstructions(folder, content).DisplayTitle, title);
    }
}

TEST(Instructions, ReadTakesTheCurrentDirectoryAsTheSource) {
    TScratchFolder folder("quenby-instructions-current");
    folder.Write("Quenby.ipi", "[Settings]\r\nApplication=Here\r\n");
    quenby::test::TCurrentDirectory current(folder.Path());
    TInstructions in;
    in = quenby::ReadInstructionsFromMedium();
    EXPECT_EQ(in.SourceDir, folder.Path() + "\\");
    EXPECT_FALSE(in.Missing);
    EXPECT_EQ(in.Application, "Here");

    // At a drive's root the source directory ends in two backslashes, which still name that root.
    const char rootFile[] = "C:\\Quenby.ipi";
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
    DeleteFileA(rootFile);
    in = quenby::ReadInstructionsFromMedium();
    EXPECT_EQ(in.SourceDir, "C:\\\\");
    EXPECT_TRUE(in.Missing);
    folder.Write("root.ipi", "[Settings]\r\nApplication=Root\r\n");
    ASSERT_TRUE(CopyFileA((folder / "root.ipi").c_str(), rootFile, FALSE));
    in = quenby::ReadInstructionsFromMedium();
    DeleteFileA(rootFile);
    EXPECT_EQ(in.InstructionsPath, "C:\\\\Quenby.ipi");
    EXPECT_FALSE(in.Missing);
    EXPECT_EQ(in.Application, "Root");
}

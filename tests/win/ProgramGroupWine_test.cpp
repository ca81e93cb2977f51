// The group step against Wine's own Program Manager server: the group folder and one working link per item.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <set>

#include "win/DdeClientConv.h"
#include "win/FindSearch.h"
#include "ProgmanRecorder.h"
#include "install/ProgramGroup.h"
#include "RecordArgs.h"
#include "ScratchFolder.h"
#include "ShellLinkReader.h"

using namespace quenby;
using quenby::test::TProgmanRecorder;

namespace {

class ProgramGroupWine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        ASSERT_TRUE(TDdeClientConv::InitializeLibrary());
        ASSERT_TRUE(quenby::test::WaitForWineProgramManager(30000));
    }
    static void TearDownTestSuite() { CoUninitialize(); }

    static std::string ProgramsFolder() {
        char path[MAX_PATH] = {};
        EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, path), S_OK);
        return path;
    }

    // A destination folder holding a real program for every item key.
    static void MakeDestination(const std::string& destination, const TInstructions& instructions) {
        ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
        const std::string program = quenby::test::ProgramFolder() + "record_args.exe";
        for (const auto& key : instructions.Items)
            ASSERT_TRUE(CopyFileA(program.c_str(), (destination + "\\" + key).c_str(), FALSE)) << key;
    }

    // The .lnk names in the group folder once `count` of them appeared (or the time ran out).
    static std::set<std::string> WaitForLinks(const std::string& folder, std::size_t count) {
        std::set<std::string> names;
        for (DWORD start = GetTickCount(); GetTickCount() - start < 20000; TProgmanRecorder::Pump(200)) {
            names.clear();
            for (TFindSearch search(folder + "\\*.lnk", 0xFF); search.Found(); search.Next())
                names.insert(search.Name());
            if (names.size() >= count) break;
        }
        TProgmanRecorder::Pump(1000);  // nothing more is coming: the uninstaller item is refused by Wine
        return names;
    }

    static void CheckGroup(const std::string& group, const std::string& folderName, bool spaced) {
        quenby::test::TScratchFolder scratch("quenby_group");
        const std::string destination = scratch / folderName;
        ASSERT_EQ(destination.find(' ') != std::string::npos, spaced) << destination;
        TInstructions instructions;
        instructions.Application = "Calc";
        instructions.ProgGroup = group;
        instructions.Items.Add("calc.exe");
        instructions.ItemsValues.Add("Calculator");
        instructions.Items.Add("tool box.exe");
        instructions.ItemsValues.Add("Tool Box");
        MakeDestination(destination, instructions);

        TDdeClientConv conversation;
        CreateProgramGroup(conversation, instructions, destination, "C:\\windows");
        EXPECT_TRUE(conversation.IsOpen());
        const std::string folder = ProgramsFolder() + "\\" + group;
        EXPECT_EQ(WaitForLinks(folder, 2), (std::set<std::string>{"Calculator.lnk", "Tool Box.lnk"}));
        for (int i = 0; i < instructions.Items.Count(); ++i) {
            auto link = quenby::drive::ReadShellLink(folder + "\\" + instructions.ItemsValues[i] + ".lnk");
            ASSERT_TRUE(link) << instructions.ItemsValues[i];
            EXPECT_EQ(lstrcmpiA(link->Target.c_str(), (destination + "\\" + instructions.Items[i]).c_str()), 0)
                << link->Target;
            EXPECT_EQ(link->Arguments, "");
            EXPECT_EQ(link->Description, instructions.ItemsValues[i]);
        }
        conversation.Close();
    }
};

}  // namespace

TEST_F(ProgramGroupWine, PlainDestinationGivesTheGroupWithOneLinkPerItem) {
    CheckGroup("Quenby Plain", "Plain", false);
}

TEST_F(ProgramGroupWine, DestinationWithASpaceGivesTheGroupWithOneLinkPerItem) {
    CheckGroup("Quenby Spaced", "My Tools", true);
}

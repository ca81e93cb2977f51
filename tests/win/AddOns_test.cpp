// The add-ons step: what the shell starts, with which parameters, and the error for a bad kind.
#include <gtest/gtest.h>

#include <objbase.h>

#include <algorithm>

#include "install/ProgramGroup.h"
#include "ProgmanRecorder.h"
#include "RecordArgs.h"
#include "ScratchFolder.h"
#include "base/Errors.h"

using namespace quenby;
using quenby::test::TProgmanRecorder;

namespace {

class AddOns : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        ASSERT_TRUE(CreateDirectoryA((m_folder / "My Tools").c_str(), nullptr));
        // Relative add-on files are found from the current directory, the medium's folder.
        ASSERT_TRUE(SetCurrentDirectoryA(m_folder.Path().c_str()));
        Place("rec.exe");
        Place("My.exe");
        Place("My Tools\\rec.exe");
        m_record = quenby::test::UseFreshRecordFile("addons.log");
    }
    void TearDown() override {
        SetCurrentDirectoryA(quenby::test::ProgramFolder().c_str());
        CoUninitialize();
    }

    void Place(const std::string& name) const {
        const std::string program = quenby::test::ProgramFolder() + "record_args.exe";
        ASSERT_TRUE(CopyFileA(program.c_str(), (m_folder / name).c_str(), FALSE)) << name;
    }

    static TInstructions WithAddOns(std::vector<std::pair<std::string, std::string>> entries) {
        TInstructions instructions;
        for (auto& [key, value] : entries) {
            instructions.AddOns.Add(key);
            instructions.AddOnsValues.Add(value);
        }
        return instructions;
    }

    // The recorded starts, sorted: the started programs run on their own and may finish in any order.
    std::vector<std::string> Started(std::size_t expected) const {
        quenby::test::WaitForRecordedLines(m_record, expected, 15000);
        TProgmanRecorder::Pump(1500);  // time for a start that should not have happened
        auto lines = quenby::test::RecordedLines(m_record);
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    quenby::test::TScratchFolder m_folder{"quenby_addons"};
    std::string m_record;
};

}  // namespace

TEST_F(AddOns, StartsKindsZeroToTwoOnlyWithTheParametersAfterTheFirstSpace) {
    const std::string rec = m_folder / "rec.exe";
    // Documents open with the program registered for them: here the recorder, which names the document.
    const std::string command = "\"" + rec + "\" \"%1\"";
    ASSERT_EQ(RegSetKeyValueA(HKEY_CLASSES_ROOT, ".txt", nullptr, REG_SZ, "quenbytxt", 10), 0);
    ASSERT_EQ(RegSetKeyValueA(HKEY_CLASSES_ROOT, "quenbytxt\\shell\\open\\command", nullptr,
                              REG_SZ, command.c_str(), static_cast<DWORD>(command.size() + 1)),
              0);
    m_folder.Write("readme.txt", "read me");
    int handled = 0;
    StartAddOns(nullptr, WithAddOns({{"0", "readme.txt"},
                                     {"0", "rec.exe"},
                                     {"1", rec + " /s"},
                                     {"3", rec + " /never"},
                                     {"-1", rec + " /never"},
                                     {"2", rec + " /last  two"}}),
                handled);
    EXPECT_EQ(Started(4), (std::vector<std::string>{rec + "|", rec + "|\"" + (m_folder / "readme.txt") + "\"",
                                                    rec + "|/last  two", rec + "|/s"}));
}

TEST_F(AddOns, AValueWhosePathHoldsASpaceIsSplitAtThatSpace) {
    int handled = 0;
    StartAddOns(nullptr, WithAddOns({{"1", (m_folder / "My Tools") + "\\rec.exe /x"}}), handled);
    // The file is "...\My" (the shell finds My.exe); the rest of the path became parameters.
    EXPECT_EQ(Started(1), (std::vector<std::string>{(m_folder / "My.exe") + "|Tools\\rec.exe /x"}));
}

TEST_F(AddOns, AKindThatIsNotAWholeNumberEndsTheStepWithTheConversionError) {
    const std::string rec = m_folder / "rec.exe";
    const TInstructions instructions =
        WithAddOns({{"1", rec + " /before"}, {"1x", rec + " /bad"}, {"1", rec + " /after"}});
    int handled = 0;
    // A retry meets the same entry again and starts nothing twice.
    for (int run = 0; run < 2; ++run) {
        try {
            StartAddOns(nullptr, instructions, handled);
            FAIL() << "no error";
        } catch (const EConvertError& error) {
            EXPECT_STREQ(error.what(), "'1x' is not a valid integer value");
        }
        EXPECT_EQ(handled, 1);
    }
    EXPECT_EQ(Started(1), (std::vector<std::string>{rec + "|/before"}));
}

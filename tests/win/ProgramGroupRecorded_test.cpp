// The group step against a Program Manager server of the tests' own: the exact bytes and order of the
// macros, refusals, a server that goes away, and no server at all.
#include <gtest/gtest.h>

#include "win/DdeClientConv.h"
#include "ProgmanRecorder.h"
#include "install/ProgramGroup.h"
#include "RecordArgs.h"

using namespace quenby;
using quenby::test::TProgmanRecorder;

namespace {

const std::string kWindows = "C:\\windows";

TInstructions Instructions(std::vector<std::pair<std::string, std::string>> items) {
    TInstructions instructions;
    instructions.Application = "Calc, (Pro)";
    instructions.ProgGroup = "Tavix \"Tools\"";
    for (auto& [key, title] : items) {
        instructions.Items.Add(key);
        instructions.ItemsValues.Add(title);
    }
    return instructions;
}

// What the server receives: the macro, its line end and the terminating zero.
std::string Sent(const std::string& macro) { return macro + "\r\n" + std::string(1, '\0'); }

class ProgramGroupRecorded : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(TDdeClientConv::InitializeLibrary());
        ASSERT_TRUE(quenby::test::WaitForWineProgramManager(30000));
    }
};

}  // namespace

TEST_F(ProgramGroupRecorded, SendsGroupItemsAndUninstallerInOrderOnOneConversation) {
    TProgmanRecorder recorder;
    ASSERT_TRUE(recorder.Registered());
    TDdeClientConv conversation;
    CreateProgramGroup(conversation, Instructions({{"calc.exe", "Calculator"}, {"bin\\a b.exe", "A, (b)"}}),
                       "D:\\My Tools", kWindows);
    ASSERT_TRUE(recorder.WaitForMacros(4, 10000));
    TProgmanRecorder::Pump(300);
    EXPECT_EQ(recorder.Macros(), (std::vector<std::string>{
                                     Sent("[CreateGroup(Tavix \"Tools\")]"),
                                     Sent("[AddItem(\"D:\\My Tools\\calc.exe\",Calculator)]"),
                                     Sent("[AddItem(\"D:\\My Tools\\bin\\a b.exe\",A, (b))]"),
                                     Sent("[AddItem(C:\\windows\\Uninstall.exe D:\\My Tools,Uninstall Calc, (Pro))]"),
                                 }));
    EXPECT_EQ(recorder.Connections(), 1);
    EXPECT_TRUE(conversation.IsOpen());

    // A second run while the conversation is still open reuses it.
    CreateProgramGroup(conversation, Instructions({}), "D:\\Tools", kWindows);
    ASSERT_TRUE(recorder.WaitForMacros(6, 10000));
    auto macros = recorder.Macros();
    EXPECT_EQ(macros[4], Sent("[CreateGroup(Tavix \"Tools\")]"));
    EXPECT_EQ(macros[5], Sent("[AddItem(C:\\windows\\Uninstall.exe D:\\Tools,Uninstall Calc, (Pro))]"));
    EXPECT_EQ(recorder.Connections(), 1);

    conversation.Close();
    EXPECT_FALSE(conversation.IsOpen());
    TProgmanRecorder::Pump(300);
    EXPECT_EQ(recorder.Disconnections(), 1);
}

TEST_F(ProgramGroupRecorded, RefusesMacrosLongerThanTheBufferWithoutCuttingThem) {
    TProgmanRecorder recorder;
    TDdeClientConv conversation;
    // "[AddItem(C:\A\" + key + ",T)]\r\n" is 20 characters around the key.
    const std::string fits(260 - 20, 'f'), tooLong(261 - 20, 'l');
    ASSERT_EQ(Sent("[AddItem(C:\\A\\" + fits + ",T)]").size(), 261u);
    CreateProgramGroup(conversation, Instructions({{fits, "T"}, {tooLong, "T"}, {"z.exe", "Z"}}), "C:\\A", kWindows);
    ASSERT_TRUE(recorder.WaitForMacros(4, 10000));
    TProgmanRecorder::Pump(500);
    auto macros = recorder.Macros();
    ASSERT_EQ(macros.size(), 4u);
    EXPECT_EQ(macros[1], Sent("[AddItem(C:\\A\\" + fits + ",T)]"));
    EXPECT_EQ(macros[2], Sent("[AddItem(C:\\A\\z.exe,Z)]"));
    EXPECT_FALSE(conversation.SendMacro(std::string(259, 'x') + "\r\n"));
    EXPECT_TRUE(conversation.SendMacro(std::string(258, 'x') + "\r\n"));
}

TEST_F(ProgramGroupRecorded, AServerThatRefusesStillGetsEachItemOnce) {
    // Sending does not wait for the answer, so a refusal by the server is never seen and not re-sent.
    TProgmanRecorder recorder({.Refuse = true});
    TDdeClientConv conversation;
    CreateProgramGroup(conversation, Instructions({{"a.exe", "A"}, {"b.exe", "B"}}), "C:\\A", kWindows);
    ASSERT_TRUE(recorder.WaitForMacros(4, 10000));
    TProgmanRecorder::Pump(500);
    EXPECT_EQ(recorder.Macros().size(), 4u);
}

TEST_F(ProgramGroupRecorded, AConversationWhoseServerWentAwayRefusesEveryMacroAndTheStepEnds) {
    TProgmanRecorder recorder({.VanishAfter = 1});
    TDdeClientConv conversation;
    ASSERT_TRUE(conversation.Open());
    EXPECT_FALSE(conversation.Open());  // already open: nothing new
    ASSERT_TRUE(conversation.SendMacro("[CreateGroup(G)]\r\n"));
    ASSERT_TRUE(recorder.WaitForMacros(1, 10000));
    TProgmanRecorder::Pump(500);
    EXPECT_FALSE(conversation.SendMacro("[CreateGroup(G)]\r\n"));

    const DWORD start = GetTickCount();
    CreateProgramGroup(conversation, Instructions({{"a.exe", "A"}, {"b.exe", "B"}}), "C:\\A", kWindows);
    EXPECT_LT(GetTickCount() - start, 5000u);
    TProgmanRecorder::Pump(500);
    EXPECT_EQ(recorder.Macros().size(), 1u);
    conversation.Close();
}

TEST_F(ProgramGroupRecorded, WithNoServerTheApplicationIsStartedOnceAndTheStepEnds) {
    const std::string record = quenby::test::UseFreshRecordFile("progman_started.log");
    TDdeClientConv conversation("QUENBYNOSERVER", "PROGMAN",
                                "\"" + quenby::test::ProgramFolder() + "record_args.exe\" started");
    CreateProgramGroup(conversation, Instructions({{"a.exe", "A"}}), "C:\\A", kWindows);
    EXPECT_FALSE(conversation.IsOpen());
    EXPECT_FALSE(conversation.SendMacro("[CreateGroup(G)]\r\n"));
    auto lines = quenby::test::WaitForRecordedLines(record, 1, 10000);
    TProgmanRecorder::Pump(1000);
    lines = quenby::test::RecordedLines(record);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("record_args.exe|started"), std::string::npos) << lines[0];

    TDdeClientConv nothingToStart("QUENBYNOSERVER", "PROGMAN", "QUENBYNOPROGRAM");
    EXPECT_FALSE(nothingToStart.Open());
    CreateProgramGroup(nothingToStart, Instructions({{"a.exe", "A"}}), "C:\\A", kWindows);
    EXPECT_FALSE(nothingToStart.IsOpen());
}

// The GUI driver against a small program of known behaviour (tools/quenby_testapp.cpp): only what the
// end-to-end tests of Setup.exe would not notice when it went wrong (timings, queued presses, the
// diagnostics of a failed wait). One start of the program serves every case.
#include <gtest/gtest.h>

#include "Driver.h"
#include "E2e.h"
#include "FormNames.h"
#include "ScratchFolder.h"
#include "wizard/forms/MainDialogForm.h"

namespace quenby::drive {
namespace {

using quenby::test::TScratchFolder;

enum : int { kStatus = 101, kEdit = 102, kWork = 103, kBox = 104, kDisabled = 105, kQuit = 106, kInnerEdit = 108,
             kHidden = 109, kTree = 110, kTreePath = 111, kTyped = 112 };

// The error's text holds `part`.
template <typename F>
void ExpectDriveError(F action, const std::string& part) {
    try {
        action();
        ADD_FAILURE() << "no error; expected one with " << part;
    } catch (const EDriveError& error) {
        EXPECT_NE(std::string(error.what()).find(part), std::string::npos) << error.what();
    }
}

TEST(Driver, WorksAProgramOfKnownBehaviour) {
    TScratchFolder folder("quenby-driver");
    folder.Write("caption.txt", "Started Here\r\n");
    auto driver = quenby::test::Start(quenby::test::ToolExe("quenby_testapp"), folder.Path());
    HWND main = driver->WaitWindow({"TTestMain", "Started Here"}, 30000);  // caption read in that folder
    {
        SCOPED_TRACE("timeline: an 800 ms blocking splash, then the main window");
        auto splash = driver->FirstRecord("TTestSplash");
        auto record = driver->FirstRecord("TTestMain");
        ASSERT_TRUE(splash && splash->shown && splash->gone && record) << driver->TimelineText();
        EXPECT_GE(MaxGap(*splash->shown, *splash->gone), 800) << driver->TimelineText();
        EXPECT_LE(splash->gone->after, record->created.by) << driver->TimelineText();
    }
    {
        SCOPED_TRACE("controls inside panels; a missing one names the caller's line");
        EXPECT_EQ(Text(FindControl(main, kInnerEdit)), "inner");
        int line = __LINE__ + 1;
        ExpectDriveError([&] { Control(main, 999); }, "driver_test.cpp:" + std::to_string(line));
        EXPECT_THROW(Press(Control(main, kDisabled)), EDriveError);
        EXPECT_THROW(Press(Control(main, kHidden)), EDriveError);
    }
    {
        SCOPED_TRACE("presses return at once; a press made while the program works follows");
        long long before = driver->NowMs();
        Press(Control(main, kWork));
        Press(Control(main, kWork));
        EXPECT_LT(driver->NowMs() - before, 300);
        WaitText(Control(main, kStatus), "Working", 5000);
        EXPECT_FALSE(Responsive(main, 100));
        WaitText(Control(main, kStatus), "Worked 2", 10000);
        EXPECT_TRUE(Responsive(main, 1000));
    }
    {
        SCOPED_TRACE("typing is seen by the program, as keys and as a replaced text");
        Click(Control(main, kEdit));
        Keys("type \"Jane Doe\"");
        WaitText(Control(main, kTyped), "Typed: Jane Doe", 5000);
        Type(Control(main, kEdit), "Acme Ltd.");
        WaitText(Control(main, kEdit), "Acme Ltd.", 5000);
    }
    {
        SCOPED_TRACE("a tree filled on expansion; a missing folder lists what is there");
        TRemoteTree tree(Control(main, kTree));
        tree.SelectPath("data/alpha");
        WaitText(Control(main, kTreePath), "Data\\Alpha", 5000);
        ExpectDriveError([&] { tree.SelectPath("C:\\Delta"); }, "[Alpha] [Beta] [Gamma]");
    }
    {
        SCOPED_TRACE("a message box holding the program up ends a wait at once and is named");
        Press(Control(main, kBox));
        TMessageBox box = driver->WaitMessageBox(10000);
        EXPECT_EQ(box.text, "Something went wrong");
        long long before = driver->NowMs();
        ExpectDriveError([&] { driver->WaitWindow({"TTestNever"}, 20000); }, "\"Error\": \"Something went wrong\"");
        EXPECT_LT(driver->NowMs() - before, 5000);
        driver->CloseMessageBox(box);
        WaitText(Control(main, kStatus), "Box closed", 5000);
        EXPECT_TRUE(driver->MessageBoxes().empty());
    }
    Press(Control(main, kQuit));
    EXPECT_EQ(driver->WaitExit(10000), 7u);
}

TEST(Driver, HostCommandsAndControlNames) {
    TScratchFolder folder("quenby-driver-host");
    EXPECT_EQ(RunHost("exit 3"), 3);
    const std::string awkward = "it's \"here\" \\ \\\" $HOME";  // survives both command-line layers
    std::string file = folder / "out.txt";
    EXPECT_EQ(RunHost("printf '%s' " + ShellQuoted(awkward) + " >" + ShellQuoted(UnixPath(file))), 0);
    EXPECT_EQ(quenby::test::ReadWholeFile(file), awkward);

    EXPECT_EQ(ControlIdByName("TMainDialog", "NextBut"), ui::ControlId(forms::kMainDialogControls, "NextBut"));
    EXPECT_EQ(ControlIdByName("TMainWindow", "NextBut"), -1);  // another form's control
    EXPECT_EQ(ControlIdByName("TTestMain", "1234"), 1234);
}

}  // namespace
}  // namespace quenby::drive

// The GUI driver against a small program of known behaviour (tools/quenby_testapp.cpp), so that a
// failing end-to-end test of Setup.exe can be trusted to be about Setup.exe.
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "Driver.h"
#include "E2e.h"
#include "FormNames.h"
#include "ScratchFolder.h"
#include "forms/MainDialogForm.h"
#include "forms/MainWindowForm.h"

namespace quenby::drive {
namespace {

using quenby::test::TScratchFolder;

enum : int {
    kStatus = 101, kEdit = 102, kWork = 103, kBox = 104, kDisabled = 105, kQuit = 106,
    kPanel = 107, kInnerEdit = 108, kHidden = 109, kTree = 110, kTreePath = 111, kTyped = 112,
    kDirTree = 113, kDirectory = 114,
};

class DriverTest : public testing::Test {
protected:
    DriverTest() : m_folder("quenby-driver") { m_folder.Write("caption.txt", "Started Here\r\n"); }

    HWND StartMain() {
        m_driver = quenby::test::Start(quenby::test::ToolExe("quenby_testapp"), m_folder.Path());
        return m_driver->WaitWindow({"TTestMain", "Started Here"}, 30000);
    }

    TScratchFolder m_folder;
    std::unique_ptr<TDriver> m_driver;
};

TEST_F(DriverTest, StartsInTheGivenFolderAndRecordsWhenWindowsCameAndWent) {
    HWND main = StartMain();  // the caption comes from a file of the current directory
    auto splash = m_driver->FirstRecord("TTestSplash");
    ASSERT_TRUE(splash && splash->shown && splash->gone) << m_driver->TimelineText();
    auto record = m_driver->FirstRecord("TTestMain");
    ASSERT_TRUE(record && record->shown);
    EXPECT_EQ(record->window, main);
    // The program blocks 800 ms with its splash shown, destroys it, then creates the main window.
    EXPECT_GE(MaxGap(*splash->shown, *splash->gone), 800) << m_driver->TimelineText();
    EXPECT_LE(MinGap(*splash->shown, record->created), 2000) << m_driver->TimelineText();
    EXPECT_LE(splash->gone->after, record->created.by) << m_driver->TimelineText();
    EXPECT_TRUE(m_driver->Windows({"TTestSplash", std::nullopt, false}).empty());
}

TEST_F(DriverTest, ReadsControlsAlsoInsidePanels) {
    HWND main = StartMain();
    EXPECT_EQ(Text(Control(main, kStatus)), "Ready");
    EXPECT_EQ(Text(Control(main, kWork)), "&Work");
    HWND inner = FindControl(main, kInnerEdit);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(GetParent(inner), Control(main, kPanel));
    EXPECT_EQ(Text(inner), "inner");
    EXPECT_TRUE(Visible(Control(main, kWork)));
    EXPECT_FALSE(Visible(Control(main, kHidden)));
    EXPECT_FALSE(Enabled(Control(main, kDisabled)));
    RECT status = RectIn(Control(main, kStatus), main);
    EXPECT_EQ(status.left, 10);
    EXPECT_EQ(status.top, 10);
    EXPECT_EQ(status.right - status.left, 300);
    EXPECT_EQ(FindControl(main, 999), nullptr);
    int line = __LINE__ + 1;
    try { Control(main, 999); FAIL() << "no error for a missing control"; } catch (const EDriveError& error) {
        EXPECT_NE(std::string(error.what()).find("driver_test.cpp:" + std::to_string(line)), std::string::npos)
            << error.what();
    }
}

TEST_F(DriverTest, PressReturnsWhileTheProgramWorksAndQueuedPressesFollow) {
    HWND main = StartMain();
    HWND status = Control(main, kStatus);
    long long before = m_driver->NowMs();
    Press(Control(main, kWork));
    Press(Control(main, kWork));  // made while the first is being handled: acted on afterwards
    EXPECT_LT(m_driver->NowMs() - before, 300);
    WaitText(status, "Working", 5000);
    EXPECT_FALSE(Responsive(main, 100));
    WaitText(status, "Worked 2", 10000);
    EXPECT_TRUE(Responsive(main, 1000));
    EXPECT_THROW(Press(Control(main, kDisabled)), EDriveError);
    EXPECT_THROW(Press(Control(main, kHidden)), EDriveError);
}

TEST_F(DriverTest, ClicksAndTypesAsMouseAndKeyboardDo) {
    HWND main = StartMain();
    Click(Control(main, kWork));
    WaitText(Control(main, kStatus), "Worked 1", 10000);
    Click(Control(main, kEdit));
    Keys("type \"Jane Doe\"");
    WaitText(Control(main, kTyped), "Typed: Jane Doe", 5000);
}

TEST_F(DriverTest, TypesAndReplacesTextInEditBoxes) {
    HWND main = StartMain();
    HWND edit = Control(main, kEdit);
    Type(edit, "Jane Doe");
    WaitText(Control(main, kTyped), "Typed: Jane Doe", 5000);  // the program saw the changes
    Type(edit, "Acme Ltd.");
    WaitText(edit, "Acme Ltd.", 5000);
    Type(edit, "");
    WaitText(edit, "", 5000);
    SetText(Control(main, kInnerEdit), "set at once");
    EXPECT_EQ(Text(Control(main, kInnerEdit)), "set at once");
}

TEST_F(DriverTest, ReadsAndClosesMessageBoxes) {
    HWND main = StartMain();
    EXPECT_TRUE(m_driver->MessageBoxes().empty());
    Press(Control(main, kBox));
    TMessageBox box = m_driver->WaitMessageBox(10000);
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, "Something went wrong");
    EXPECT_EQ(m_driver->MessageBoxes().size(), 1u);
    long long before = m_driver->NowMs();
    try {
        m_driver->WaitWindow({"TTestNever"}, 20000);
        FAIL() << "no error while a message box holds the program up";
    } catch (const EDriveError& error) {
        EXPECT_NE(std::string(error.what()).find("\"Error\": \"Something went wrong\""), std::string::npos)
            << error.what();
    }
    EXPECT_LT(m_driver->NowMs() - before, 5000);
    m_driver->CloseMessageBox(box);
    WaitText(Control(main, kStatus), "Box closed", 5000);
    EXPECT_TRUE(m_driver->MessageBoxes().empty());
}

TEST_F(DriverTest, SelectsTreeFoldersThatFillWhenExpanded) {
    HWND main = StartMain();
    TRemoteTree tree(Control(main, kTree));
    ASSERT_EQ(tree.Roots().size(), 2u);
    EXPECT_EQ(tree.ItemText(tree.Roots()[1]), "Data");
    tree.SelectPath("C:\\Beta\\Gamma");
    WaitText(Control(main, kTreePath), " (C:)\\Beta\\Gamma", 5000);
    HTREEITEM alpha = tree.SelectPath("data/alpha");
    EXPECT_EQ(tree.Selection(), alpha);
    WaitText(Control(main, kTreePath), "Data\\Alpha", 5000);
    try {
        tree.SelectPath("C:\\Delta");
        FAIL() << "no error for a missing folder";
    } catch (const EDriveError& error) {
        EXPECT_NE(std::string(error.what()).find("[Alpha] [Beta] [Gamma]"), std::string::npos) << error.what();
    }
}

TEST_F(DriverTest, SelectsAFolderInTheDirectoryTree) {
    m_folder.Write("Sub Folder\\Deeper\\file.txt", "x");
    HWND main = StartMain();
    TRemoteTree tree(Control(main, kDirTree));
    // The drive shows as the shell names it (" (C:)"); the path is typed in another case.
    std::string path = m_folder.Path() + "\\sub folder\\DEEPER";
    tree.SelectPath(path);
    WaitText(Control(main, kDirectory), m_folder.Path() + "\\Sub Folder\\Deeper\\", 10000);
}

TEST_F(DriverTest, ScreenshotIsAPngOfTheWholeScreen) {
    StartMain();
    m_driver->Settle();
    std::string path = quenby::test::Shot("main");
    std::ifstream file(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG");
    auto big = [&](std::size_t at) { return bytes[at] << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3]; };
    EXPECT_EQ(big(16), 1024);  // the Wine runner's X screen
    EXPECT_EQ(big(20), 768);
}

TEST_F(DriverTest, RunsHostCommandsAndWaitsForTheirStatus) {
    EXPECT_EQ(RunHost("exit 3"), 3);
    const std::string awkward = "it's \"here\" \\ \\\" $HOME";  // survives both command-line layers
    std::string file = m_folder / "out.txt";
    EXPECT_EQ(RunHost("printf '%s' " + ShellQuoted(awkward) + " >" + ShellQuoted(UnixPath(file))), 0);
    EXPECT_EQ(quenby::test::ReadWholeFile(file), awkward);
}

TEST(DriverNames, ControlsAreNamedAsTheirFormNamesThem) {
    using ui::ControlId;
    EXPECT_EQ(ControlIdByName("TMainDialog", "NextBut"), ControlId(forms::kMainDialogControls, "NextBut"));
    EXPECT_EQ(ControlIdByName("TMainWindow", "EmailLabel"), ControlId(forms::kMainWindowControls, "EmailLabel"));
    EXPECT_EQ(ControlIdByName("TMainWindow", "NextBut"), -1);  // another form's control
    EXPECT_EQ(ControlIdByName("TTestMain", "1234"), 1234);
}

TEST_F(DriverTest, WaitsForTheEndAndItsExitCode) {
    HWND main = StartMain();
    Press(Control(main, kQuit));
    EXPECT_EQ(m_driver->WaitExit(10000), 7u);
    EXPECT_FALSE(m_driver->Running());
    EXPECT_TRUE(m_driver->FirstRecord("TTestMain")->gone.has_value());
    EXPECT_THROW(m_driver->WaitWindow({"TTestMain"}, 1000), EDriveError);
}

}  // namespace
}  // namespace quenby::drive

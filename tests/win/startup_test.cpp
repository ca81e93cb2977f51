// The start-up windows and the window framework, in process under Wine: everything is checked through
// the windows themselves (IDs, texts, places, states), as another process would see them.
#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <set>
#include <string_view>

#include "MainDlg.h"
#include "MainWin.h"
#include "Pause.h"
#include "ScratchFolder.h"
#include "UiProbe.h"
#include "WaitWin.h"
#include "base/Errors.h"
#include "forms/MainDialogForm.h"
#include "forms/MainWindowForm.h"
#include "forms/WaitDialogForm.h"
#include "ui/Application.h"

namespace quenby {
namespace {

using test::RectInParent;
using test::WindowText;
using ui::ControlId;

constexpr char kAtlasInstructions[] =
    "[Settings]\r\nApplication=Atlas\r\nVersion=2.0\r\nCopyright=Copyright 1999 Atlas Ltd.\r\n"
    "WebAddress=http://www.atlas.example\r\nEmailAddress=help@atlas.example\r\n";

class StartupTest : public ::testing::Test {
protected:
    StartupTest() { SetPauseFunction([](unsigned) {}); }
    ~StartupTest() override { SetPauseFunction(nullptr); }

    ui::TApplication m_application{GetModuleHandleA(nullptr)};
};

// Every declared control but the timer is a child window found by its derived ID, with its caption as
// window text and its declared visibility and enabled state.
void ExpectDeclaredControls(HWND top, std::span<const ui::TControlDecl> table, bool checkCaptions) {
    for (const ui::TControlDecl& row : table) {
        if (row.Kind == ui::Kind::Timer) continue;
        const HWND control = ui::FindControl(top, ControlId(table, row.Name));
        ASSERT_NE(control, nullptr) << row.Name;
        if (!row.Parent) {
            EXPECT_EQ(GetDlgItem(top, ControlId(table, row.Name)), control) << row.Name;
        }
        if (checkCaptions) {
            EXPECT_EQ(WindowText(control), row.Caption) << row.Name;
        }
        EXPECT_EQ((GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE) != 0, row.Visible) << row.Name;
        EXPECT_EQ(IsWindowEnabled(control) != FALSE, row.Enabled) << row.Name;
    }
}

TEST_F(StartupTest, FormTablesDeriveUniqueIdsAndCreateEveryControlAsAWindow) {
    for (std::span<const ui::TControlDecl> table :
         {std::span<const ui::TControlDecl>(forms::kWaitDialogControls), std::span<const ui::TControlDecl>(forms::kMainWindowControls),
          std::span<const ui::TControlDecl>(forms::kMainDialogControls)}) {
        std::set<int> ids;
        std::set<std::string_view> names;
        for (const ui::TControlDecl& row : table) {
            ids.insert(ControlId(table, row.Name));
            names.insert(row.Name);
        }
        EXPECT_EQ(ids.size(), table.size());
        EXPECT_EQ(names.size(), table.size());
    }
    static_assert(ControlId(forms::kMainDialogControls, "NextBut") != ControlId(forms::kMainDialogControls, "PrevBut"));

    test::TScratchFolder folder("quenby-forms");  // no instructions: every design-time caption stays
    test::TCurrentDirectory current(folder.Path());
    TWaitDialog splash;
    EXPECT_EQ(test::ClassNameOf(splash.Handle()), "TWaitDialog");
    ExpectDeclaredControls(splash.Handle(), forms::kWaitDialogControls, true);
    TMainWindow backdrop;
    EXPECT_EQ(test::ClassNameOf(backdrop.Handle()), "TMainWindow");
    ExpectDeclaredControls(backdrop.Handle(), forms::kMainWindowControls, true);
    TMainDialog wizard(backdrop);
    EXPECT_EQ(test::ClassNameOf(wizard.Handle()), "TMainDialog");
    EXPECT_EQ(GetWindow(wizard.Handle(), GW_OWNER), backdrop.Handle());
    ExpectDeclaredControls(wizard.Handle(), forms::kMainDialogControls, false);
    EXPECT_EQ(WindowText(GetDlgItem(wizard.Handle(), ControlId(forms::kMainDialogControls, "NextBut"))), "&Next");
    RECT client;
    GetClientRect(wizard.Handle(), &client);
    EXPECT_EQ(client.right, 432);
    EXPECT_EQ(client.bottom, 347);
    const LONG_PTR style = GetWindowLongPtrA(wizard.Handle(), GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & WS_SYSMENU, 0);  // no title-bar buttons
}

TEST_F(StartupTest, PicturesAreSixteenColourBitmapsOfTheDeclaredSize) {
    const struct {
        const char* name;
        int width, height;
    } bitmaps[] = {{forms::kSplashBitmap, 432, 259}, {forms::kBackdropBitmap, 91, 139}};
    for (const auto& expected : bitmaps) {
        const HRSRC resource = FindResourceA(nullptr, expected.name, MAKEINTRESOURCEA(2));  // RT_BITMAP
        ASSERT_NE(resource, nullptr) << expected.name;
        const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, resource)));
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->biWidth, expected.width) << expected.name;
        EXPECT_EQ(header->biHeight, expected.height) << expected.name;
        EXPECT_EQ(header->biBitCount, 4) << expected.name;
    }
    for (const char* icon : {forms::kProgramIcon, forms::kSetupIcon})
        EXPECT_NE(FindResourceA(nullptr, icon, MAKEINTRESOURCEA(14)), nullptr) << icon;  // RT_GROUP_ICON
}

// What the pause saw of the splash while the GUI thread was blocked.
struct TSplashSeen {
    unsigned Milliseconds = 0;
    bool Visible = false, TopMost = false;
    RECT Window{}, Client{}, Image{};
};
TSplashSeen g_splashSeen;

TEST_F(StartupTest, SplashIsOnTopAndPaintedDuringTheBlockingPauseThenDestroyed) {
    SetPauseFunction([](unsigned milliseconds) {
        g_splashSeen.Milliseconds = milliseconds;
        const HWND splash = FindWindowA("TWaitDialog", nullptr);
        if (!splash) return;
        g_splashSeen.Visible = IsWindowVisible(splash) != FALSE;
        g_splashSeen.TopMost = (GetWindowLongPtrA(splash, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        g_splashSeen.Window = RectInParent(splash);
        GetClientRect(splash, &g_splashSeen.Client);
        g_splashSeen.Image = RectInParent(GetDlgItem(splash, ControlId(forms::kWaitDialogControls, "Image")));
        // Painted already: nothing is waiting to be painted.
        g_splashSeen.Visible = g_splashSeen.Visible && !GetUpdateRect(splash, nullptr, FALSE);
    });
    ShowSplash();
    EXPECT_EQ(g_splashSeen.Milliseconds, 3000u);
    EXPECT_TRUE(g_splashSeen.Visible);
    EXPECT_TRUE(g_splashSeen.TopMost);
    EXPECT_EQ(g_splashSeen.Client.right, 438);
    EXPECT_EQ(g_splashSeen.Client.bottom, 265);
    EXPECT_EQ(g_splashSeen.Window.left, (GetSystemMetrics(SM_CXSCREEN) - 438) / 2);
    EXPECT_EQ(g_splashSeen.Window.top, (GetSystemMetrics(SM_CYSCREEN) - 265) / 2);
    EXPECT_EQ(g_splashSeen.Image.left, 3);
    EXPECT_EQ(g_splashSeen.Image.top, 3);
    EXPECT_EQ(g_splashSeen.Image.right - g_splashSeen.Image.left, 432);
    EXPECT_EQ(g_splashSeen.Image.bottom - g_splashSeen.Image.top, 259);
    EXPECT_EQ(FindWindowA("TWaitDialog", nullptr), nullptr);
}

TEST_F(StartupTest, BackdropCaptionsFollowTheInstructions) {
    const struct {
        const char* instructions;  // nullptr: no file
        const char* product;
        const char* caption;
        const char* publisher;
    } cases[] = {
        {kAtlasInstructions, "Atlas 2.0 Installation", "Atlas 2.0", "Copyright 1999 Atlas Ltd."},
        {"[Settings]\r\nApplication=Atlas\r\n", "Atlas Installation", "Atlas", forms::kDefaultPublisher},
        {"[Settings]\r\nVersion=2.0\r\n", forms::kDefaultProduct, "", forms::kDefaultPublisher},
        {nullptr, forms::kDefaultProduct, "MainWindow", forms::kDefaultPublisher},
    };
    for (const auto& c : cases) {
        test::TScratchFolder folder("quenby-captions");
        if (c.instructions) folder.Write("Quenby.ipi", c.instructions);
        test::TCurrentDirectory current(folder.Path());
        TMainWindow backdrop;
        const HWND top = backdrop.Handle();
        const auto text = [&](const char* name) {
            return WindowText(GetDlgItem(top, ControlId(forms::kMainWindowControls, name)));
        };
        EXPECT_EQ(WindowText(top), c.caption);
        EXPECT_EQ(text("ProductLabel"), c.product);
        EXPECT_EQ(text("ProductShadeLabel"), c.product);
        EXPECT_EQ(text("ByLabel"), c.publisher);
        EXPECT_EQ(text("ByShadeLabel"), c.publisher);
        EXPECT_EQ(backdrop.Instructions().Missing, c.instructions == nullptr);
        EXPECT_EQ(m_application.Cursor(), ui::TCursor::Default);
    }
}

TEST_F(StartupTest, BackdropCoversTheScreenWithShadesTwoPixelsLowerAndAddressesRightAligned) {
    test::TScratchFolder folder("quenby-layout");
    folder.Write("Quenby.ipi", kAtlasInstructions);
    test::TCurrentDirectory current(folder.Path());
    TMainWindow backdrop;
    const HWND top = backdrop.Handle();
    const RECT screen = RectInParent(top);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    EXPECT_EQ(screen.left, 0);
    EXPECT_EQ(screen.top, 0);
    EXPECT_EQ(screen.right, width);
    EXPECT_EQ(screen.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(IsWindowVisible(top));

    const auto place = [&](const char* name) {
        return RectInParent(GetDlgItem(top, ControlId(forms::kMainWindowControls, name)));
    };
    const struct {
        const char *white, *shade;
        int top;
        bool rightAligned;
    } pairs[] = {{"ProductLabel", "ProductShadeLabel", 18, false},
                 {"ByLabel", "ByShadeLabel", 56, false},
                 {"WebLabel", "WebShadeLabel", 30, true},
                 {"EmailLabel", "EmailShadeLabel", 54, true}};
    for (const auto& pair : pairs) {
        const RECT white = place(pair.white), shade = place(pair.shade);
        const int whiteWidth = white.right - white.left;
        EXPECT_GT(whiteWidth, 0) << pair.white;
        EXPECT_EQ(white.top, pair.top) << pair.white;
        EXPECT_EQ(shade.top, pair.top + 2) << pair.shade;
        EXPECT_EQ(shade.right - shade.left, whiteWidth) << pair.shade;
        if (pair.rightAligned) {
            EXPECT_EQ(white.left, width - whiteWidth - 20) << pair.white;
            EXPECT_EQ(shade.left, width - whiteWidth - 21) << pair.shade;
        } else {
            EXPECT_EQ(white.left, 20) << pair.white;
            EXPECT_EQ(shade.left, 20) << pair.shade;
        }
    }
    // The stretched picture and the frame follow the window to the screen's size.
    for (const char* filling : {"Image", "Bevel1"}) {
        const RECT r = place(filling);
        EXPECT_EQ(r.right - r.left, width) << filling;
    }
}

TEST_F(StartupTest, MissingInstructionsGiveOneErrorBoxAfterASecondThenTheProgramEnds) {
    test::TScratchFolder folder("quenby-missing");
    test::TCurrentDirectory current(folder.Path());
    auto box = test::CloseNextMessageBox();
    const DWORD created = GetTickCount();
    TMainWindow backdrop;
    m_application.SetMainForm(&backdrop);
    m_application.Run();
    const DWORD ended = GetTickCount();
    const test::TSeenBox seen = box.get();
    EXPECT_TRUE(seen.Seen);
    EXPECT_EQ(seen.Caption, "Error");
    EXPECT_NE(std::find(seen.Texts.begin(), seen.Texts.end(), "No installation instructions, exiting instalation."),
              seen.Texts.end());
    EXPECT_TRUE(seen.HasErrorIcon);
    EXPECT_GE(ended - created, 900u);
    EXPECT_TRUE(m_application.Terminated());
    EXPECT_EQ(FindWindowA("TMainDialog", nullptr), nullptr);
    EXPECT_FALSE(test::CloseNextMessageBox(500).get().Seen);
}

TEST_F(StartupTest, TimerOpensTheWizardModallyAndItsTerminationEndsTheMessageLoop) {
    test::TScratchFolder folder("quenby-wizard");
    folder.Write("Quenby.ipi", kAtlasInstructions);
    test::TCurrentDirectory current(folder.Path());
    TMainWindow backdrop;
    m_application.SetMainForm(&backdrop);
    const HWND top = backdrop.Handle();
    struct TWizardSeen {
        DWORD AfterMs = 0;
        std::string Caption, Info;
        bool BackdropDisabled = false;
    };
    const DWORD created = GetTickCount();
    auto wizard = std::async(std::launch::async, [top, created] {
        TWizardSeen seen;
        const HWND dialog = test::WaitForWindow("TMainDialog", GetCurrentProcessId(), 10000);
        if (!dialog) return seen;
        seen.AfterMs = GetTickCount() - created;
        seen.Caption = WindowText(dialog);
        seen.Info = WindowText(ui::FindControl(dialog, ControlId(forms::kMainDialogControls, "InfoLabel")));
        seen.BackdropDisabled = !IsWindowEnabled(top);
        // Cancel, then Next on the interruption page: the application terminates.
        PostMessageA(ui::FindControl(dialog, ControlId(forms::kMainDialogControls, "CancelBut")), BM_CLICK, 0, 0);
        PostMessageA(ui::FindControl(dialog, ControlId(forms::kMainDialogControls, "NextBut")), BM_CLICK, 0, 0);
        return seen;
    });
    m_application.Run();
    const TWizardSeen seen = wizard.get();
    EXPECT_GE(seen.AfterMs, 900u);
    EXPECT_EQ(seen.Caption, "Atlas 2.0 Installation");
    EXPECT_EQ(seen.Info,
              "Welcome to Quenby. This program will automatically install and configure Atlas 2.0 on your computer.");
    EXPECT_TRUE(seen.BackdropDisabled);
    EXPECT_TRUE(m_application.Terminated());
    EXPECT_TRUE(IsWindowEnabled(top));
}

}  // namespace
}  // namespace quenby

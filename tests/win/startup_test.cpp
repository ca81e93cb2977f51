// The start-up windows in process under Wine, checked through the windows themselves (IDs, texts, places,
// states). Captions, timings and the missing-instructions message are checked from outside (e2e).
#include <gtest/gtest.h>

#include <set>
#include <string_view>

#include "wizard/MainDialog.h"
#include "wizard/MainWin.h"
#include "win/Pause.h"
#include "ScratchFolder.h"
#include "UiProbe.h"
#include "wizard/WaitWin.h"
#include "wizard/forms/MainDialogForm.h"
#include "wizard/forms/MainWindowForm.h"
#include "wizard/forms/WaitDialogForm.h"
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

}  // namespace
}  // namespace quenby

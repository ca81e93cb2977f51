// Setup.exe started from a distribution folder and watched from outside: the splash, the backdrop with
// the product's lines, the wizard one second later; and the wizard's layout at a higher DPI. (Missing
// instructions: tests/e2e/faults_test.cpp.)
#include <gtest/gtest.h>

#include <cstdlib>

#include "Driver.h"
#include "Prefix.h"
#include "Wizard.h"
#include "wizard/forms/MainDialogForm.h"
#include "wizard/forms/MainWindowForm.h"

namespace quenby {
namespace {

using drive::MaxGap;
using drive::MinGap;
using drive::Text;
using test::TScratchFolder;

constexpr DWORD kStartMs = 60000;  // Wine's first start of a prefix can be slow

HWND Label(HWND backdrop, const char* name) {
    return drive::Control(backdrop, ui::ControlId(forms::kMainWindowControls, name));
}

TEST(Startup, SplashThreeSecondsThenTheBackdropsLinesThenTheWizardOneSecondLater) {
    TScratchFolder folder("quenby-timing");
    folder.Write("Quenby.ipi",
                 "[Settings]\r\nApplication=Atlas\r\nVersion=2.0\r\nCopyright=Atlas is made by Orbis Works\r\n"
                 "WebAddress=www.orbis-works.example\r\nEmailAddress=atlas@orbis-works.example\r\n");
    auto driver = test::Start(test::SetupExe(), folder.Path());
    driver->WaitWindow({"TWaitDialog"}, kStartMs);
    Sleep(500);  // painted once, then the program blocks: there is nothing to settle
    test::Shot("splash");
    HWND backdrop = driver->WaitWindow({"TMainWindow"}, 30000);
    driver->WaitWindow({"TMainDialog"}, 30000);
    test::Shot("backdrop");

    auto splash = driver->FirstRecord("TWaitDialog");
    auto shown = driver->FirstRecord("TMainWindow");
    auto wizard = driver->FirstRecord("TMainDialog");
    ASSERT_TRUE(splash && splash->shown && splash->gone && shown && shown->shown && wizard) << driver->TimelineText();
    EXPECT_GE(MaxGap(*splash->shown, *shown->shown), 3000) << driver->TimelineText();
    EXPECT_LE(splash->gone->after, shown->shown->by) << driver->TimelineText();
    // The backdrop's timer is one second from its creation; the wizard is created when it fires.
    EXPECT_GE(MaxGap(shown->created, wizard->created), 1000) << driver->TimelineText();
    EXPECT_LE(MinGap(shown->created, wizard->created), 3500) << driver->TimelineText();
    EXPECT_TRUE(driver->MessageBoxes().empty());

    EXPECT_EQ(Text(backdrop), "Atlas 2.0");
    for (const auto& [white, shade, text] :
         {std::tuple{"ProductLabel", "ProductShadeLabel", "Atlas 2.0 Installation"},
          std::tuple{"ByLabel", "ByShadeLabel", "Atlas is made by Orbis Works"},
          std::tuple{"WebLabel", "WebShadeLabel", "www.orbis-works.example"},
          std::tuple{"EmailLabel", "EmailShadeLabel", "atlas@orbis-works.example"}}) {
        SCOPED_TRACE(white);
        EXPECT_EQ(Text(Label(backdrop, white)), text);
        EXPECT_EQ(Text(Label(backdrop, shade)), text);
        EXPECT_EQ(drive::RectIn(Label(backdrop, shade), backdrop).top,
                  drive::RectIn(Label(backdrop, white), backdrop).top + 2);
    }
}

void SetLogPixels(DWORD dpi) {
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi, sizeof dpi),
              ERROR_SUCCESS);
}

// Wine reads LogPixels at each process start; every place and size that is not the content's own grows
// by half at 144 dpi.
TEST(Startup, At144DpiTheWizardAndEveryDeclaredControlGrowByHalf) {
    TScratchFolder folder("quenby-dpi");
    folder.Write("Quenby.ipi", "[Settings]\r\nApplication=Scale Probe\r\nVersion=1.0\r\n");
    SetLogPixels(144);
    test::TWizard wizard(folder.Path());
    SetLogPixels(96);
    wizard.Shot("welcome-144");
    const auto grown = [](int declared, LONG actual) { return std::abs(actual - declared * 3 / 2) <= 1; };
    RECT client{};
    GetClientRect(wizard.Dialog(), &client);
    EXPECT_TRUE(grown(forms::kMainDialogForm.ClientWidth, client.right) &&
                grown(forms::kMainDialogForm.ClientHeight, client.bottom));
    int checked = 0;
    for (const ui::TControlDecl& decl : forms::kMainDialogControls) {
        const HWND control = drive::FindControl(wizard.Dialog(), ui::ControlId(forms::kMainDialogControls, decl.Name));
        EXPECT_TRUE(control) << decl.Name;
        if (!control || !drive::Visible(control) || (decl.Options & ui::kAutoSize)) continue;
        ++checked;
        const RECT at = drive::RectIn(control, GetParent(control));
        EXPECT_TRUE(grown(decl.Bounds.Left, at.left) && grown(decl.Bounds.Top, at.top) &&
                    grown(decl.Bounds.Width, at.right - at.left) && grown(decl.Bounds.Height, at.bottom - at.top))
            << decl.Name << " at " << at.left << "," << at.top << ", " << at.right - at.left << " wide";
    }
    EXPECT_GE(checked, 5);  // the welcome page's label, memo and three buttons at least
}

}  // namespace
}  // namespace quenby

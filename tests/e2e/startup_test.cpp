// Setup.exe started from a distribution folder and watched from outside: the splash, the backdrop with
// the product's lines, the wizard one second later, or the message for missing instructions.
#include <gtest/gtest.h>

#include "Driver.h"
#include "E2e.h"
#include "ScratchFolder.h"
#include "forms/MainWindowForm.h"

namespace quenby {
namespace {

using drive::MaxGap;
using drive::MinGap;
using drive::Text;
using forms::kMainWindowControls;
using test::TScratchFolder;
using ui::ControlId;

constexpr DWORD kStartMs = 60000;  // Wine's first start of a prefix can be slow

HWND Label(HWND backdrop, const char* name) { return drive::Control(backdrop, ControlId(kMainWindowControls, name)); }

TEST(Startup, MissingInstructionsGiveOneMessageAndTheProgramEnds) {
    TScratchFolder folder("quenby-no-instructions");
    auto driver = test::Start(test::SetupExe(), folder.Path());
    drive::TMessageBox box = driver->WaitMessageBox(kStartMs);
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, "No installation instructions, exiting instalation.");
    EXPECT_EQ(driver->MessageBoxes().size(), 1u);
    // Nothing was read: the backdrop keeps its design-time texts.
    HWND backdrop = driver->WaitWindow({"TMainWindow"}, 1000);
    EXPECT_EQ(Text(backdrop), "MainWindow");
    EXPECT_EQ(Text(Label(backdrop, "ProductLabel")), "Quenby Rel. 3.2");
    test::Shot("message");

    driver->CloseMessageBox(box);
    EXPECT_EQ(driver->WaitExit(30000), 0u);
    EXPECT_FALSE(driver->FirstRecord("TMainDialog")) << driver->TimelineText();
    int boxes = 0;
    for (const drive::TWindowRecord& record : driver->Timeline()) boxes += record.className == "#32770";
    EXPECT_EQ(boxes, 1) << driver->TimelineText();
}

TEST(Startup, SplashThreeSecondsThenBackdropThenWizardOneSecondLater) {
    TScratchFolder folder("quenby-timing");
    folder.Write("Quenby.ipi", 
        "[Settings]\r\nApplication=Atlas\r\nVersion=2.0\r\nCopyright=Atlas is made by Orbis Works\r\n"
        "WebAddress=www.orbis-works.example\r\nEmailAddress=atlas@orbis-works.example\r\n");
    auto driver = test::Start(test::SetupExe(), folder.Path());
    driver->WaitWindow({"TWaitDialog"}, kStartMs);
    Sleep(500);  // painted once, then the program blocks: there is nothing to settle
    test::Shot("splash");
    driver->WaitWindow({"TMainWindow"}, 30000);
    Sleep(300);
    test::Shot("backdrop");
    driver->WaitWindow({"TMainDialog"}, 30000);
    driver->Settle();
    test::Shot("wizard");

    auto splash = driver->FirstRecord("TWaitDialog");
    auto backdrop = driver->FirstRecord("TMainWindow");
    auto wizard = driver->FirstRecord("TMainDialog");
    ASSERT_TRUE(splash && splash->shown && splash->gone && backdrop && backdrop->shown && wizard)
        << driver->TimelineText();
    EXPECT_GE(MaxGap(*splash->shown, *backdrop->shown), 3000) << driver->TimelineText();
    EXPECT_LE(splash->gone->after, backdrop->shown->by) << driver->TimelineText();
    // The backdrop's timer is one second from its creation; the wizard is created when it fires.
    EXPECT_GE(MaxGap(backdrop->created, wizard->created), 1000) << driver->TimelineText();
    EXPECT_LE(MinGap(backdrop->created, wizard->created), 2500) << driver->TimelineText();
    EXPECT_TRUE(driver->MessageBoxes().empty());
}

struct TProductCase {
    const char* name;
    const char* settings;
    const char* product;  // ProductLabel and its shade
    const char* caption;  // the backdrop's caption
};

class StartupProduct : public testing::TestWithParam<TProductCase> {};

TEST_P(StartupProduct, LabelsAndCaptionComeFromTheInstructions) {
    TScratchFolder folder("quenby-product");
    folder.Write("Quenby.ipi", std::string("[Settings]\r\n") + GetParam().settings);
    auto driver = test::Start(test::SetupExe(), folder.Path());
    driver->WaitWindow({"TMainDialog"}, kStartMs);  // the backdrop is complete by then
    HWND backdrop = driver->WaitWindow({"TMainWindow"}, 1000);
    EXPECT_EQ(Text(Label(backdrop, "ProductLabel")), GetParam().product);
    EXPECT_EQ(Text(Label(backdrop, "ProductShadeLabel")), GetParam().product);
    EXPECT_EQ(Text(backdrop), GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(
    Startup, StartupProduct,
    testing::Values(TProductCase{"NameAndVersion", "Application=Atlas\r\nVersion=2.0\r\n", "Atlas 2.0 Installation",
                                 "Atlas 2.0"},
                    TProductCase{"NameOnly", "Application=Atlas\r\n", "Atlas Installation", "Atlas"},
                    TProductCase{"VersionOnly", "Version=3.1\r\n", "Quenby Rel. 3.2", ""}),
    [](const testing::TestParamInfo<TProductCase>& param) { return std::string(param.param.name); });

TEST(Startup, PublisherLinesAndTheirShadesWithAddressesAlignedRight) {
    TScratchFolder folder("quenby-publisher");
    folder.Write("Quenby.ipi", 
        "[Settings]\r\nApplication=Atlas\r\nCopyright=Atlas is made by Orbis Works\r\n"
        "WebAddress=www.orbis-works.example\r\nEmailAddress=atlas@orbis-works.example\r\n");
    auto driver = test::Start(test::SetupExe(), folder.Path());
    driver->WaitWindow({"TMainDialog"}, kStartMs);
    HWND backdrop = driver->WaitWindow({"TMainWindow"}, 1000);
    struct TPair {
        const char *white, *shade, *text;
    };
    for (TPair pair : {TPair{"ByLabel", "ByShadeLabel", "Atlas is made by Orbis Works"},
                       TPair{"WebLabel", "WebShadeLabel", "www.orbis-works.example"},
                       TPair{"EmailLabel", "EmailShadeLabel", "atlas@orbis-works.example"}}) {
        SCOPED_TRACE(pair.white);
        EXPECT_EQ(Text(Label(backdrop, pair.white)), pair.text);
        EXPECT_EQ(Text(Label(backdrop, pair.shade)), pair.text);
        RECT white = drive::RectIn(Label(backdrop, pair.white), backdrop);
        RECT shade = drive::RectIn(Label(backdrop, pair.shade), backdrop);
        EXPECT_EQ(shade.top, white.top + 2);
    }
    RECT screen = drive::ScreenRect(backdrop);
    for (auto [white, shade] : {std::pair{"WebLabel", "WebShadeLabel"}, std::pair{"EmailLabel", "EmailShadeLabel"}}) {
        SCOPED_TRACE(white);
        RECT whiteRect = drive::RectIn(Label(backdrop, white), backdrop);
        RECT shadeRect = drive::RectIn(Label(backdrop, shade), backdrop);
        EXPECT_EQ(whiteRect.right, screen.right - screen.left - 20);
        EXPECT_EQ(shadeRect.left, whiteRect.left - 1);
    }
}

}  // namespace
}  // namespace quenby

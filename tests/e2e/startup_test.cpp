// Setup.exe started from a distribution folder and watched from outside: the splash, the backdrop with
// the product's lines, the wizard one second later, or the message for missing instructions.
#include <gtest/gtest.h>

#include "Driver.h"
#include "E2e.h"
#include "ScratchFolder.h"
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

TEST(Startup, MissingInstructionsGiveOneMessageAndTheProgramEnds) {
    TScratchFolder folder("quenby-no-instructions");
    auto driver = test::Start(test::SetupExe(), folder.Path());
    drive::TMessageBox box = driver->WaitMessageBox(kStartMs);
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, "No installation instructions, exiting instalation.");
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
    Sleep(300);
    test::Shot("backdrop");
    driver->WaitWindow({"TMainDialog"}, 30000);

    auto splash = driver->FirstRecord("TWaitDialog");
    auto shown = driver->FirstRecord("TMainWindow");
    auto wizard = driver->FirstRecord("TMainDialog");
    ASSERT_TRUE(splash && splash->shown && splash->gone && shown && shown->shown && wizard) << driver->TimelineText();
    EXPECT_GE(MaxGap(*splash->shown, *shown->shown), 3000) << driver->TimelineText();
    EXPECT_LE(splash->gone->after, shown->shown->by) << driver->TimelineText();
    // The backdrop's timer is one second from its creation; the wizard is created when it fires.
    EXPECT_GE(MaxGap(shown->created, wizard->created), 1000) << driver->TimelineText();
    EXPECT_LE(MinGap(shown->created, wizard->created), 2500) << driver->TimelineText();
    EXPECT_TRUE(driver->MessageBoxes().empty());

    EXPECT_EQ(Text(backdrop), "Atlas 2.0");
    struct TPair {
        const char *white, *shade, *text;
    };
    for (TPair pair : {TPair{"ProductLabel", "ProductShadeLabel", "Atlas 2.0 Installation"},
                       TPair{"ByLabel", "ByShadeLabel", "Atlas is made by Orbis Works"},
                       TPair{"WebLabel", "WebShadeLabel", "www.orbis-works.example"},
                       TPair{"EmailLabel", "EmailShadeLabel", "atlas@orbis-works.example"}}) {
        SCOPED_TRACE(pair.white);
        EXPECT_EQ(Text(Label(backdrop, pair.white)), pair.text);
        EXPECT_EQ(Text(Label(backdrop, pair.shade)), pair.text);
        EXPECT_EQ(drive::RectIn(Label(backdrop, pair.shade), backdrop).top,
                  drive::RectIn(Label(backdrop, pair.white), backdrop).top + 2);
    }
}

TEST(Startup, ProductLabelAndCaptionWithoutVersionOrWithoutApplication) {
    const struct {
        const char *settings, *product, *caption;
    } cases[] = {{"Application=Atlas\r\n", "Atlas Installation", "Atlas"},
                 {"Version=3.1\r\n", "Quenby Rel. 3.2", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        TScratchFolder folder("quenby-product");
        folder.Write("Quenby.ipi", std::string("[Settings]\r\n") + c.settings);
        auto driver = test::Start(test::SetupExe(), folder.Path());
        driver->WaitWindow({"TMainDialog"}, kStartMs);  // the backdrop is complete by then
        HWND backdrop = driver->WaitWindow({"TMainWindow"}, 1000);
        EXPECT_EQ(Text(Label(backdrop, "ProductLabel")), c.product);
        EXPECT_EQ(Text(Label(backdrop, "ProductShadeLabel")), c.product);
        EXPECT_EQ(Text(backdrop), c.caption);
    }
}

}  // namespace
}  // namespace quenby

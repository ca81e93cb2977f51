// The window framework under Wine, on a probe form: the error boundary of the handlers, and flat buttons
// with accelerators that never take the focus. (Panels, memos and the hosted tree: wizard_test.)
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "UiProbe.h"
#include "base/Errors.h"
#include "base/Texts.h"
#include "ui/Application.h"
#include "ui/Form.h"

namespace quenby {
namespace {

using namespace ui;

constexpr TFormDecl kProbeForm{
    .ClassName = "TProbeForm",
    .Caption = "Probe",
    .Style = FormStyle::Dialog,
    .ClientWidth = 320,
    .ClientHeight = 220,
    .Font = {"MS Sans Serif", 11},
    .Centred = true,
    .Visible = true,
};

constexpr TControlDecl kProbeControls[] = {
    {.Name = "ThrowBut", .Kind = Kind::Button, .Bounds = {10, 10, 80, 25}, .Caption = "&Throw"},
    {.Name = "NextBut", .Kind = Kind::Button, .Bounds = {100, 10, 80, 25}, .Caption = "&Next"},
    {.Name = "PrevBut", .Kind = Kind::Button, .Bounds = {190, 10, 80, 25}, .Caption = "&Previous", .Enabled = false},
    {.Name = "Panel", .Kind = Kind::Panel, .Bounds = {10, 50, 300, 160}},
    {.Name = "NameEdit", .Kind = Kind::Edit, .Parent = "Panel", .Bounds = {0, 0, 120, 21}},
    {.Name = "Timer", .Kind = Kind::Timer, .Enabled = false, .Interval = 50},
};
static_assert(IsValidFormTable(kProbeControls));

class TProbeForm final : public TFormOf<kProbeControls> {
public:
    TProbeForm() : TFormOf(kProbeForm) { Create(nullptr); }
    ~TProbeForm() override { Destroy(); }

    int Throws = 0, Nexts = 0, Prevs = 0, Ticks = 0;

private:
    void ControlEvent(TControl& control) override { RouteEvent(*this, kEvents, control); }
    void ThrowButClick() {
        ++Throws;
        throw EFOpenError("notice.txt");
    }
    void NextButClick() { ++Nexts; }
    void PrevButClick() { ++Prevs; }
    void TimerTimer() {
        ++Ticks;
        Control("Timer").SetEnabled(false);
        throw std::runtime_error("The timer failed");
    }
    static constexpr TEventRow<TProbeForm> kEvents[] = {
        {"ThrowBut", &TProbeForm::ThrowButClick},
        {"NextBut", &TProbeForm::NextButClick},
        {"PrevBut", &TProbeForm::PrevButClick},
        {"Timer", &TProbeForm::TimerTimer},
    };
};

class FrameworkTest : public ::testing::Test {
protected:
    FrameworkTest() { m_application.SetTitle(kApplicationTitle); }

    HWND Item(const char* name) { return FindControl(m_form.Handle(), ControlId(kProbeControls, name)); }
    // Runs the message loop until the condition holds or the time is up.
    template <typename F>
    bool PumpUntil(F condition, DWORD timeoutMs = 5000) {
        const DWORD start = GetTickCount();
        MSG message;
        while (!condition()) {
            if (GetTickCount() - start > timeoutMs) return false;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) m_application.ProcessMessage(message);
            Sleep(5);
        }
        return true;
    }

    TApplication m_application{GetModuleHandleA(nullptr)};
    TProbeForm m_form;
};

bool HasText(const test::TSeenBox& box, const std::string& text) {
    return std::find(box.Texts.begin(), box.Texts.end(), text) != box.Texts.end();
}

TEST_F(FrameworkTest, UncaughtHandlerFailureIsShownInTheErrorBoxAndTheProgramGoesOn) {
    for (int press = 1; press <= 2; ++press) {
        test::TBoxWatch watch;
        SendMessageA(Item("ThrowBut"), BM_CLICK, 0, 0);  // returns once the box is dismissed
        const auto boxes = watch.Stop();
        ASSERT_EQ(boxes.size(), 1u) << press;
        EXPECT_EQ(boxes[0].Caption, "Quenby 3.2");
        EXPECT_TRUE(HasText(boxes[0], "Cannot open file notice.txt.")) << press;
        EXPECT_TRUE(boxes[0].HasErrorIcon);
        EXPECT_EQ(m_form.Throws, press);
    }
    // A failing timer handler is reported the same way, from inside the message loop (the box is
    // dismissed before the handler's dispatch returns).
    test::TBoxWatch watch;
    m_form.Control("Timer").SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return m_form.Ticks == 1; }));
    const auto boxes = watch.Stop();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, "Quenby 3.2");
    EXPECT_TRUE(HasText(boxes[0], "The timer failed."));
    // Other buttons still work afterwards.
    SendMessageA(Item("NextBut"), BM_CLICK, 0, 0);
    EXPECT_EQ(m_form.Nexts, 1);
}

TEST_F(FrameworkTest, AcceleratorsPressEnabledButtonsAndButtonsNeverTakeTheFocus) {
    SetForegroundWindow(m_form.Handle());
    SetFocus(m_form.Handle());
    PostMessageA(m_form.Handle(), WM_CHAR, 'n', 0);
    PostMessageA(m_form.Handle(), WM_CHAR, 'p', 0);  // Previous is disabled
    ASSERT_TRUE(PumpUntil([&] { return m_form.Nexts == 1; }));
    EXPECT_EQ(m_form.Prevs, 0);

    // In the edit box a plain letter is typed; Alt+letter still presses the button.
    SetFocus(Item("NameEdit"));
    PostMessageA(Item("NameEdit"), WM_CHAR, 'n', 0);
    PostMessageA(Item("NameEdit"), WM_SYSCHAR, 'N', 1 << 29);
    ASSERT_TRUE(PumpUntil([&] { return m_form.Nexts == 2; }));
    EXPECT_EQ(test::WindowText(Item("NameEdit")), "n");

    // A mouse click runs the handler and leaves the focus in the edit box.
    SendMessageA(Item("NextBut"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(Item("NextBut"), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(m_form.Nexts, 3);
    EXPECT_EQ(GetFocus(), Item("NameEdit"));
    // Released outside the button: no click.
    SendMessageA(Item("NextBut"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(Item("NextBut"), WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
    EXPECT_EQ(m_form.Nexts, 3);

    m_form.Control("PrevBut").SetEnabled(true);
    PostMessageA(m_form.Handle(), WM_SYSCHAR, 'p', 1 << 29);
    ASSERT_TRUE(PumpUntil([&] { return m_form.Prevs == 1; }));
}

}  // namespace
}  // namespace quenby

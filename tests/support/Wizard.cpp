#include "Wizard.h"

#include <algorithm>
#include <cctype>

#include <gtest/gtest.h>

#include "Host.h"
#include "Prefix.h"
#include "ui/Form.h"
#include "wizard/forms/MainDialogForm.h"

namespace quenby::test {

using namespace drive;

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// A visible top-level window of another process whose caption holds `part` (lower case).
HWND FindOtherWindow(DWORD exceptProcess, const std::string& part) {
    for (HWND window = FindWindowExA(nullptr, nullptr, nullptr, nullptr); window;
         window = FindWindowExA(nullptr, window, nullptr, nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != exceptProcess && IsWindowVisible(window) && Lower(Text(window)).find(part) != std::string::npos)
            return window;
    }
    return nullptr;
}

// The label shows no more lines than its height holds: the text measured as the form draws it there.
void ExpectWhole(HWND label, const std::string& text) {
    const TFont font = ui::MakeFont(forms::kMainDialogForm.Font);  // the label declares no font of its own
    RECT place{};
    GetClientRect(label, &place);
    RECT needed{0, 0, place.right, 0};
    TWindowDC screen(nullptr);
    TSavedDC saved(screen.Get());
    SelectObject(screen.Get(), font.Get());
    DrawTextA(screen.Get(), text.data(), int(text.size()), &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_LE(needed.bottom, place.bottom) << "cut off: " << text;
}

}  // namespace

std::string SetupExe() { return SetupBuildDir() + "\\Setup.exe"; }

REGSAM SetupView() { return Is32BitProgram(SetupExe()) ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }

std::unique_ptr<TDriver> Start(const std::string& program, const std::string& folder, const std::string& arguments) {
    UseVirtualDesktop(1024, 768);  // the runner's Xvfb screen
    return std::make_unique<TDriver>(program, folder, arguments);
}

void InsertDisk(const std::string& mediaFolder) {
    ASSERT_EQ(RunHost("ln -sfn \"$WINEPREFIX/media/" + mediaFolder + "\" \"$WINEPREFIX/dosdevices/a:\""), 0);
}

void Shot(const std::string& name) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    const std::string folder = SetupBuildDir() + "\\screenshots\\" + test->test_suite_name() + "." + test->name();
    MakeFolders(folder);
    Screenshot(folder, name + ".png");
}

TWizard::TWizard(const std::string& distribution) : TWizard(SetupExe(), distribution) {}

TWizard::TWizard(const std::string& program, const std::string& currentDir, const std::string& arguments)
    : m_driver(Start(program, currentDir, arguments)) {
    m_dialog = m_driver->WaitWindow({"TMainDialog"}, kStartMs);
}

HWND TWizard::Item(const char* name) const {
    return Control(m_dialog, ui::ControlId(forms::kMainDialogControls, name));
}

HWND TWizard::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(m_dialog, nullptr), &info) ? info.hwndFocus : nullptr;
}

void TWizard::WaitInfo(const std::string& text) const {
    WaitText(Item("InfoLabel"), text, kPageMs);
    ExpectWhole(Item("InfoLabel"), text);
    CloseProgramManager();
}

void TWizard::WaitPage(const std::string& info, const char* shownControl) const {
    WaitInfo(info);
    WaitUntil([&] { return Visible(Item(shownControl)); }, kPageMs, std::string(shownControl) + " on view");
}

void TWizard::Enter(const char* edit, const std::string& text) const {
    const HWND box = Item(edit);
    Click(box);
    WaitUntil([&] { return Focus() == box; }, kPageMs, std::string("the focus in ") + edit);
    Type(box, text);
    WaitText(box, text, kPageMs);
}

void TWizard::StartCopyInto(const std::string& destination) const {
    Enter("EditPath", destination);
    Click(Item("NextBut"));
}

void TWizard::Shot(const std::string& name) const {
    m_driver->Settle();
    test::Shot(name);
}

void TWizard::CloseOtherWindow(const std::string& captionPart) const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindOtherWindow(m_driver->ProcessId(), Lower(captionPart))) != nullptr; }, kPageMs,
              "a window of another program named like " + captionPart);
    const std::string caption = Text(found);
    PostMessageA(found, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindowVisible(found); }, kPageMs, "the window " + caption + " closed");
}

void TWizard::CloseProgramManager() const {
    const HWND progman = FindOtherWindow(m_driver->ProcessId(), "program manager");
    if (!progman) return;
    PostMessageA(progman, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindow(progman) || !IsWindowVisible(progman); }, kPageMs, "Program Manager closed");
}

void TWizard::WaitNotice(const std::string& firstLine, const TWhere& where) const {
    WaitUntil([&] { return Text(Item("InfoMemo")).starts_with(firstLine); }, kPageMs, "the notice " + firstLine, where);
}

void TWizard::PastNotices(std::initializer_list<const char*> firstLines, const TWhere& where) const {
    for (const char* line : firstLines) {
        Click(Item("NextBut"), where);
        WaitNotice(line, where);
    }
}

void TWizard::ToDestinationPage(const std::string& name, const std::string& organization) const {
    Click(Item("NextBut"));
    WaitUntil([&] { return Visible(Item("EditName")); }, kPageMs, "the user page");
    if (!name.empty()) Enter("EditName", name);
    if (!organization.empty()) Enter("EditOrg", organization);
    Click(Item("NextBut"));
    WaitUntil([&] { return Visible(Item("EditPath")); }, kPageMs, "the destination page");
}

void TWizard::Finish(const std::string& productAndVersion, const char* closingNotice, DWORD exitCode,
                     const char* shot) {
    CloseProgramManager();
    if (closingNotice) PastNotices({closingNotice});
    Click(Item("NextBut"));
    WaitPage("Quenby has installed " + productAndVersion + " successfully, congratulations.", "InfoMemo");
    if (shot) Shot(shot);
    Click(Item("NextBut"));
    EXPECT_EQ(m_driver->WaitExit(kPageMs), exitCode) << productAndVersion;
}

void TWizard::Cancel(const std::string& productAndVersion, DWORD exitCode) {
    CloseProgramManager();
    Click(Item("CancelBut"));
    WaitPage("The installation of " + productAndVersion + " did not completed successfuly.", "InfoMemo");
    Click(Item("NextBut"));
    EXPECT_EQ(m_driver->WaitExit(kPageMs), exitCode) << productAndVersion;
}

}  // namespace quenby::test

#include "Wizard.h"

#include "ConsoleRun.h"
#include "E2e.h"
#include "forms/MainDialogForm.h"

namespace quenby::test {

using namespace drive;

TWizard::TWizard(const std::string& distribution, const std::string& program)
    : m_driver(Start(program.empty() ? SetupExe() : program, distribution)) {
    m_dialog = m_driver->WaitWindow({"TMainDialog"}, 60000);
}

HWND TWizard::Item(const char* name) const {
    return Control(m_dialog, ui::ControlId(forms::kMainDialogControls, name));
}

void TWizard::WaitInfo(const std::string& text) const { WaitText(Item("InfoLabel"), text, kPageMs); }

void TWizard::WaitPage(const std::string& info, const char* shownControl) const {
    WaitInfo(info);
    WaitUntil([&] { return Visible(Item(shownControl)); }, kPageMs, std::string(shownControl) + " on view");
}

void TWizard::Enter(const char* edit, const std::string& text) const {
    const HWND box = Item(edit);
    Click(box);
    WaitUntil(
        [&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof(info);
            return GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &info) && info.hwndFocus == box;
        },
        kPageMs, std::string("the focus in ") + edit);
    Type(box, text);
    WaitText(box, text, kPageMs);
}

void TWizard::Shot(const std::string& name) const {
    m_driver->Settle();
    test::Shot(name);
}

void TWizard::CloseGroupWindow(const std::string& group) const {
    HWND folder = nullptr;
    WaitUntil(
        [&] {
            for (folder = FindWindowExA(nullptr, nullptr, nullptr, group.c_str()); folder;
                 folder = FindWindowExA(nullptr, folder, nullptr, group.c_str())) {
                DWORD process = 0;
                GetWindowThreadProcessId(folder, &process);
                if (process != m_driver->ProcessId() && IsWindowVisible(folder)) return true;
            }
            return false;
        },
        kPageMs, "the group's folder window");
    PostMessageA(folder, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindowVisible(folder); }, kPageMs, "the folder window closed");
}

void TWizard::ToDestinationPage() const {
    Click(Item("NextBut"));
    WaitUntil([&] { return Visible(Item("EditName")); }, kPageMs, "the user page");
    Click(Item("NextBut"));
    WaitUntil([&] { return Visible(Item("EditPath")); }, kPageMs, "the destination page");
}

}  // namespace quenby::test

// The wizard of a started Setup.exe, driven from outside: its controls found by the form table's names.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "Driver.h"

namespace quenby::test {

constexpr DWORD kPageMs = 20000;

class TWizard {
public:
    // Starts the program (Setup.exe by default) in the distribution folder and waits for the wizard.
    explicit TWizard(const std::string& distribution, const std::string& program = {});

    drive::TDriver& Driver() { return *m_driver; }
    HWND Dialog() const { return m_dialog; }
    HWND Item(const char* name) const;
    void WaitInfo(const std::string& text) const;
    // The instruction line changes before the page's panel comes into view.
    void WaitPage(const std::string& info, const char* shownControl) const;
    // As a user does: a click into the box, then typing; a plain letter typed elsewhere would press the
    // button whose accelerator it is.
    void Enter(const char* edit, const std::string& text) const;
    // A screenshot into the running test's screenshot folder (E2e.h), once the program has settled.
    void Shot(const std::string& name) const;
    // Wine's Program Manager opens a folder window for a new group, over the wizard; the user closes it.
    void CloseGroupWindow(const std::string& group) const;
    // Next from the welcome page through the user page (left as proposed) to the destination page.
    void ToDestinationPage() const;

private:
    std::unique_ptr<drive::TDriver> m_driver;
    HWND m_dialog = nullptr;
};

}  // namespace quenby::test

// The wizard of a Setup.exe started under the driver, its controls found by the form table's names, and
// what a user does on its pages: clicks into boxes and types, waits for pages, closes the windows that
// other programs open over it.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "Driver.h"

namespace quenby::test {

constexpr DWORD kPageMs = 20000;
// Up to a program's first window: the first 32-bit start of a prefix under emulation takes about a minute.
constexpr DWORD kStartMs = 180000;

class TWizard {
public:
    // The build's Setup.exe started in `distribution`.
    explicit TWizard(const std::string& distribution);
    // `program` started with `currentDir` as its current directory, e.g. A:\Setup.exe in A:\.
    TWizard(const std::string& program, const std::string& currentDir);

    drive::TDriver& Driver() { return *m_driver; }
    HWND Dialog() const { return m_dialog; }
    HWND Item(const char* name) const;
    void WaitInfo(const std::string& text) const;
    // The instruction line changes before the page's panel comes into view.
    void WaitPage(const std::string& info, const char* shownControl) const;
    // As a user does: a click into the box, then typing; a plain letter typed elsewhere would press the
    // button whose accelerator it is.
    void Enter(const char* edit, const std::string& text) const;
    // A settled screenshot into the running test's folder (E2e.h).
    void Shot(const std::string& name) const;
    // Waits for a window of another program on view whose caption holds `captionPart` (case ignored),
    // e.g. Program Manager's folder window for a new group or the add-on's editor, and closes it.
    void CloseOtherWindow(const std::string& captionPart) const;
    // Next from the welcome page through the user page (left as proposed) to the destination page.
    void ToDestinationPage() const;

private:
    std::unique_ptr<drive::TDriver> m_driver;
    HWND m_dialog = nullptr;
};

}  // namespace quenby::test

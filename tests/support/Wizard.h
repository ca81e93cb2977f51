// The real Setup.exe (or another program) started under the driver inside Wine's virtual desktop, its
// wizard's controls found by the form table's names, and what a user does on its pages.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "Driver.h"

namespace quenby::test {

// The next-disk prompt on the progress panel, as the user reads it.
inline constexpr char kDiskPromptText[] =
    "Please insert the next disk and press ok to continue or cancel to exit the installation.";

// Up to a page's change. A wait ends as soon as the change is seen; the bound is for the shipped 32-bit
// program under emulation, where starting an add-on (a 32-bit program too) holds the copy step a minute.
constexpr DWORD kPageMs = 90000;
// Up to a program's first window: the first 32-bit start of a prefix under emulation takes about a minute.
constexpr DWORD kStartMs = 180000;

std::string SetupExe();  // of SetupBuildDir()
// The registry view Setup.exe writes HKLM\SOFTWARE into: a 32-bit program's lands under WOW6432Node.
REGSAM SetupView();
// Starts `program` in `folder`, in a virtual desktop of the screen's size so that Wine draws frames.
std::unique_ptr<drive::TDriver> Start(const std::string& program, const std::string& folder,
                                      const std::string& arguments = "");
// A screenshot into <SetupBuildDir()>/screenshots/<Suite.Test>/<name>.png: apart for the i686 runs.
void Shot(const std::string& name);
// Points the floppy drive A: at a folder that the prepare script laid out, e.g. "orrery/disk2".
void InsertDisk(const std::string& mediaFolder);

class TWizard {
public:
    explicit TWizard(const std::string& distribution);  // the build's Setup.exe started there
    TWizard(const std::string& program, const std::string& currentDir, const std::string& arguments = "");

    drive::TDriver& Driver() { return *m_driver; }
    HWND Dialog() const { return m_dialog; }
    HWND Item(const char* name) const;
    HWND Focus() const;  // the control of the wizard's thread that has the keyboard focus
    void WaitInfo(const std::string& text) const;
    // The instruction line changes before the page's panel comes into view.
    void WaitPage(const std::string& info, const char* shownControl) const;
    // A click into the box, then typing: a letter typed elsewhere would press the button it names.
    void Enter(const char* edit, const std::string& text) const;
    // On the destination page: the folder typed, then Next, which starts the copy step.
    void StartCopyInto(const std::string& destination) const;
    void Shot(const std::string& name) const;  // settled first
    // Waits for another program's window whose caption holds `captionPart` (case ignored) and closes it.
    void CloseOtherWindow(const std::string& captionPart) const;
    // When Wine's shell answers DDE late, the group step starts Program Manager, whose window may cover
    // the wizard: closed before the next click.
    void CloseProgramManager() const;
    // The notice memo showing a file by its first line; PastNotices presses Next before each. A timeout is
    // reported at the caller's line.
    void WaitNotice(const std::string& firstLine, const drive::TWhere& where = drive::TWhere::current()) const;
    void PastNotices(std::initializer_list<const char*> firstLines,
                     const drive::TWhere& where = drive::TWhere::current()) const;
    // Next from the welcome page or a notice through the user page (names left as proposed unless given)
    // to the destination page.
    void ToDestinationPage(const std::string& name = "", const std::string& organization = "") const;
    // From the page after the copy step: Next (through the closing notice, when given) to the finish
    // page, a screenshot of it when named, then Next to the program's end.
    void Finish(const std::string& productAndVersion, const char* closingNotice = nullptr, DWORD exitCode = 0,
                const char* shot = nullptr);
    // Cancel, then Next on the page that says the installation did not complete, to the program's end.
    void Cancel(const std::string& productAndVersion, DWORD exitCode = 1602);

private:
    std::unique_ptr<drive::TDriver> m_driver;
    HWND m_dialog = nullptr;
};

}  // namespace quenby::test

// The application object: title, message loop, terminate request, application-wide cursor and the
// standard error box. There is one per process, owned by the program entry (or by a test).
#pragma once
#include <windows.h>

#include <exception>
#include <string>
#include <utility>

#include "win/Handles.h"

namespace quenby::ui {

class TForm;

enum class TCursor { Default, HourGlass };

class TApplication {
public:
    explicit TApplication(HINSTANCE module);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    static TApplication& Instance();
    static bool Exists();

    HINSTANCE Module() const { return m_module; }
    // The hidden owner of every form; it carries the title for the task bar.
    HWND Handle() const { return m_window.Get(); }
    const std::string& Title() const { return m_title; }
    void SetTitle(const std::string& title);

    // Closing the main form ends the message loop.
    void SetMainForm(TForm* form) { m_mainForm = form; }
    TForm* MainForm() const { return m_mainForm; }

    // Runs messages until the terminate request has been taken from the queue.
    void Run();
    // Waits for one message and handles it.
    void HandleMessage();
    // Asks for the end of the message loop (and of any modal form's loop).
    void Terminate();
    bool Terminated() const { return m_terminated; }
    // What the process ends with (the program's outcome for whoever started it); 0 unless set.
    void SetExitCode(int code) { m_exitCode = code; }
    int ExitCode() const { return m_exitCode; }

    void SetCursor(TCursor cursor);
    TCursor Cursor() const { return m_cursor; }
    // For WM_SETCURSOR: true when a cursor other than the default is in force and was set.
    bool ApplyCursor() const;

    // The standard error box: caption = title, text = message + ".", error icon, one OK button.
    void ShowException(const std::exception& error) const noexcept;

    // One message of a message loop: button accelerators, dialog keys, then translate and dispatch.
    void ProcessMessage(MSG& message);

private:
    bool PressAccelerator(const MSG& message);

    HINSTANCE m_module;
    std::string m_title;
    TWindow m_window;
    TForm* m_mainForm = nullptr;
    bool m_terminated = false;
    int m_exitCode = 0;
    TCursor m_cursor = TCursor::Default;
};

// Shows the hourglass while it lives; the cursor in force before comes back also when the scope is left
// by an exception.
class TBusyCursor {
public:
    TBusyCursor() : m_previous(TApplication::Instance().Cursor()) {
        TApplication::Instance().SetCursor(TCursor::HourGlass);
    }
    ~TBusyCursor() { TApplication::Instance().SetCursor(m_previous); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    TCursor m_previous;
};

// The one place where handler failures are caught for display: every window procedure of the framework
// runs its work through CallHandler, so an exception never crosses into Windows.
void ReportUncaught(std::exception_ptr failure) noexcept;

template <typename F>
LRESULT CallHandler(F&& work, LRESULT resultOnFailure = 0) noexcept {
    try {
        return std::forward<F>(work)();
    } catch (...) {
        ReportUncaught(std::current_exception());
        return resultOnFailure;
    }
}

}  // namespace quenby::ui

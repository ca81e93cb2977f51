// Drives a Windows program from outside, as a user would: starts it in a chosen current directory,
// watches its top-level windows come and go (a timeline in milliseconds since the start), finds them,
// answers its message boxes and waits for its end. Control-level operations are in Controls.h, the
// tree view in RemoteTree.h, screenshots in Screenshot.h; this header brings them all in.
#pragma once
#include <windows.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <source_location>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Controls.h"
#include "DriveError.h"
#include "Handles.h"
#include "Host.h"
#include "RemoteTree.h"

namespace quenby::drive {

// When something happened, as far as polling can tell: after `after` and no later than `by`
// (milliseconds since the program was started).
struct TMoment {
    long long after = 0;
    long long by = 0;
};
// The longest and shortest time that can have passed from `from` to `to`.
inline long long MaxGap(const TMoment& from, const TMoment& to) { return to.by - from.after; }
inline long long MinGap(const TMoment& from, const TMoment& to) { return to.after - from.by; }

struct TWindowRecord {
    HWND window = nullptr;
    std::string className;
    std::string caption;           // as last seen
    TMoment created;               // first seen existing
    std::optional<TMoment> shown;  // first seen visible
    std::optional<TMoment> gone;   // first seen destroyed
};

struct TWindowQuery {
    TWindowQuery(std::string cls = {}, std::optional<std::string> exactCaption = std::nullopt, bool onView = true)
        : className(std::move(cls)), caption(std::move(exactCaption)), visible(onView) {}
    std::string className;               // empty: any class
    std::optional<std::string> caption;  // exact caption, when given
    bool visible;                        // only windows on view
};

struct TMessageBox {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};

class TDriver {
public:
    // Starts `program` (a Windows path) with `currentDir` as its current directory.
    TDriver(const std::string& program, const std::string& currentDir, const std::string& arguments = "",
            const std::source_location& where = std::source_location::current());
    TDriver(const TDriver&) = delete;
    TDriver& operator=(const TDriver&) = delete;
    // Ends the program if it is still running: it was started here.
    ~TDriver();

    DWORD ProcessId() const { return m_processId; }
    long long NowMs() const;

    // Every top-level window of the program seen so far, in the order first seen.
    std::vector<TWindowRecord> Timeline() const;
    // The first window of this class seen at any time.
    std::optional<TWindowRecord> FirstRecord(const std::string& className) const;
    std::string TimelineText() const;

    std::vector<HWND> Windows(const TWindowQuery& query) const;  // top-level windows now
    // Fails at once when the program shows a message box instead (unless a message box is waited for).
    HWND WaitWindow(const TWindowQuery& query, DWORD timeoutMs,
                    const std::source_location& where = std::source_location::current()) const;
    void WaitGone(HWND window, DWORD timeoutMs,
                  const std::source_location& where = std::source_location::current()) const;

    // Message boxes ("#32770" dialogs) of the program now on view.
    std::vector<TMessageBox> MessageBoxes() const;
    TMessageBox WaitMessageBox(DWORD timeoutMs,
                               const std::source_location& where = std::source_location::current()) const;
    // Presses the box's button with this ID (IDOK: "OK") and waits until the box is gone.
    void CloseMessageBox(const TMessageBox& box, int buttonId = IDOK,
                         const std::source_location& where = std::source_location::current()) const;

    // Waits until each window of the program on view reads its queue again, then a little longer for
    // pending painting: call before a screenshot.
    void Settle(DWORD timeoutMs = 30000, const std::source_location& where = std::source_location::current()) const;

    bool Running() const;
    DWORD WaitExit(DWORD timeoutMs, const std::source_location& where = std::source_location::current()) const;

private:
    void Watch();
    void Poll() const;

    THandle m_process;
    THandle m_thread;
    DWORD m_processId = 0;
    std::string m_programName;
    // The program and the copies of itself it started (Uninstall.exe runs its removal from one): their
    // windows count as the program's.
    std::vector<DWORD> Family() const;
    // The copies found, held open from then on: an identifier of a process that has ended may be given to
    // another one (under Wine at once), which must never be waited for or ended in a copy's stead.
    std::vector<HANDLE> Copies() const;
    mutable std::mutex m_familyMutex;
    mutable std::vector<DWORD> m_family;
    mutable std::vector<std::pair<DWORD, THandle>> m_copies;
    mutable long long m_familyAt = 0;
    LARGE_INTEGER m_start{}, m_frequency{};

    mutable std::mutex m_pollMutex;  // one pass at a time, from the watcher or a wait
    mutable std::mutex m_mutex;
    mutable std::vector<TWindowRecord> m_records;
    mutable long long m_lastPoll = 0;  // when the previous pass began
    std::atomic<bool> m_stop{false};
    std::thread m_watcher;
};

}  // namespace quenby::drive

// Reading windows the way another process would: texts, places, message boxes; and the current
// directory of start-up tests.
#pragma once
#include <windows.h>

#include <future>
#include <string>
#include <vector>

namespace quenby::test {

std::string WindowText(HWND window);
std::string ClassNameOf(HWND window);
// The window's rectangle in its parent's client coordinates (the screen for a top-level window).
RECT RectInParent(HWND window);

struct TSeenBox {
    bool Seen = false;
    std::string Caption;
    std::vector<std::string> Texts;  // the texts of its child windows (the message, the button)
    bool HasErrorIcon = false;
};

// Waits on another thread for the next message box of this process, records it and presses its OK.
std::future<TSeenBox> CloseNextMessageBox(DWORD timeoutMs = 15000);

// Waits on the calling thread for a visible top-level window of the class in the given process
// (0: any); processes no messages.
HWND WaitForWindow(const char* className, DWORD processId, DWORD timeoutMs);

// Runs the current directory change for a scope and restores the previous one.
class TCurrentDirectory {
public:
    explicit TCurrentDirectory(const std::string& path);
    ~TCurrentDirectory();
    TCurrentDirectory(const TCurrentDirectory&) = delete;
    TCurrentDirectory& operator=(const TCurrentDirectory&) = delete;

private:
    std::string m_previous;
};

}  // namespace quenby::test

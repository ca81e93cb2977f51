// Reading windows the way another process would: texts, places, message boxes; and the current
// directory of in-process tests.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
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

// Closes with OK every message box of this process that shows up while it lives, from another thread,
// and records what they showed.
class TBoxWatch {
public:
    TBoxWatch();
    ~TBoxWatch();
    TBoxWatch(const TBoxWatch&) = delete;
    TBoxWatch& operator=(const TBoxWatch&) = delete;
    std::vector<TSeenBox> Stop();  // the boxes seen so far, in order

private:
    void Watch();
    std::atomic<bool> m_stop{false};
    std::vector<TSeenBox> m_seen;
    std::thread m_thread;
};

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

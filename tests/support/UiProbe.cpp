#include "UiProbe.h"

#include <stdexcept>

namespace quenby::test {

std::string WindowText(HWND window) {
    // WM_GETTEXT works across processes, which GetWindowText does not for every window.
    char text[1024] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    return text;
}

std::string ClassNameOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

RECT RectInParent(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    if (HWND parent = GetAncestor(window, GA_PARENT); parent && parent != GetDesktopWindow())
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

namespace {

struct TBoxSearch {
    DWORD Process;
    HWND Found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<TBoxSearch*>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->Process && IsWindowVisible(window) && ClassNameOf(window) == "#32770") {
        search->Found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM lParam) {
    auto* box = reinterpret_cast<TSeenBox*>(lParam);
    box->Texts.push_back(WindowText(window));
    if (ClassNameOf(window) == "Static" && (GetWindowLongPtrA(window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        const auto icon = reinterpret_cast<HICON>(SendMessageA(window, STM_GETICON, 0, 0));
        box->HasErrorIcon = box->HasErrorIcon || icon == LoadIconA(nullptr, IDI_HAND);
    }
    return TRUE;
}

}  // namespace

std::future<TSeenBox> CloseNextMessageBox(DWORD timeoutMs) {
    const DWORD process = GetCurrentProcessId();
    return std::async(std::launch::async, [process, timeoutMs] {
        TSeenBox box;
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < timeoutMs) {
            TBoxSearch search{process, nullptr};
            EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
            if (search.Found) {
                Sleep(100);  // let it finish painting
                box.Seen = true;
                box.Caption = WindowText(search.Found);
                EnumChildWindows(search.Found, CollectChild, reinterpret_cast<LPARAM>(&box));
                PostMessageA(search.Found, WM_COMMAND, IDOK, 0);
                break;
            }
            Sleep(20);
        }
        return box;
    });
}

HWND WaitForWindow(const char* className, DWORD processId, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        for (HWND window = FindWindowExA(nullptr, nullptr, className, nullptr); window;
             window = FindWindowExA(nullptr, window, className, nullptr)) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if ((processId == 0 || process == processId) && IsWindowVisible(window)) return window;
        }
        Sleep(10);
    }
    return nullptr;
}

TCurrentDirectory::TCurrentDirectory(const std::string& path) {
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    m_previous = previous;
    SetCurrentDirectoryA(path.c_str());
}

TCurrentDirectory::~TCurrentDirectory() { SetCurrentDirectoryA(m_previous.c_str()); }

}  // namespace quenby::test

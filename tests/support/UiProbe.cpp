#include "UiProbe.h"

#include <set>

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

BOOL CALLBACK CollectChild(HWND window, LPARAM lParam) {
    auto* box = reinterpret_cast<TSeenBox*>(lParam);
    box->Texts.push_back(WindowText(window));
    if (ClassNameOf(window) == "Static" && (GetWindowLongPtrA(window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        const auto icon = reinterpret_cast<HICON>(SendMessageA(window, STM_GETICON, 0, 0));
        box->HasErrorIcon = box->HasErrorIcon || icon == LoadIconA(nullptr, IDI_HAND);
    }
    return TRUE;
}

BOOL CALLBACK CollectBoxes(HWND window, LPARAM lParam) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && ClassNameOf(window) == "#32770")
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
    return TRUE;
}

}  // namespace

TBoxWatch::TBoxWatch() : m_thread([this] { Watch(); }) {}

TBoxWatch::~TBoxWatch() { Stop(); }

std::vector<TSeenBox> TBoxWatch::Stop() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    return m_seen;
}

void TBoxWatch::Watch() {
    std::set<HWND> handled;
    while (!m_stop) {
        std::vector<HWND> boxes;
        EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&boxes));
        for (HWND box : boxes) {
            if (!handled.insert(box).second) continue;
            Sleep(100);  // let it finish painting
            TSeenBox seen;
            seen.Seen = true;
            seen.Caption = WindowText(box);
            EnumChildWindows(box, CollectChild, reinterpret_cast<LPARAM>(&seen));
            m_seen.push_back(seen);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        Sleep(20);
    }
}

TCurrentDirectory::TCurrentDirectory(const std::string& path) {
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    m_previous = previous;
    SetCurrentDirectoryA(path.c_str());
}

TCurrentDirectory::~TCurrentDirectory() { SetCurrentDirectoryA(m_previous.c_str()); }

}  // namespace quenby::test

#include "Controls.h"

#include <cstring>
#include <vector>

#include "DriveError.h"
#include "Host.h"
#include "ui/Form.h"

namespace quenby::drive {

namespace {

// For another process's window GetWindowTextA reads the window manager's copy and sends nothing.
std::string WindowManagerText(HWND window) {
    std::vector<char> buffer(GetWindowTextLengthA(window) + 2, '\0');
    int copied = GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), copied > 0 ? copied : 0);
}

std::string Describe(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return ClassName(window) + " #" + std::to_string(GetDlgCtrlID(window)) + " \"" + text + "\"";
}

}  // namespace

HWND FindControl(HWND top, int id) { return ui::FindControl(top, id); }

HWND Control(HWND top, int id, const TWhere& where) {
    HWND control = FindControl(top, id);
    if (!control) throw EDriveError("no control with ID " + std::to_string(id) + " in " + Describe(top), where);
    return control;
}

std::string ClassName(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string Text(HWND window) {
    std::string cls = ClassName(window);
    if (_stricmp(cls.c_str(), "Edit") == 0 || _strnicmp(cls.c_str(), "RichEdit", 8) == 0 ||
        _stricmp(cls.c_str(), "ComboBox") == 0)
        return SentText(window);
    return WindowManagerText(window);
}

std::string SentText(HWND window, DWORD busyMs) {
    DWORD_PTR length = 0;
    if (SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, busyMs, &length)) {
        std::vector<char> buffer(length + 2, '\0');
        DWORD_PTR copied = 0;
        if (SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), SMTO_NORMAL,
                                busyMs, &copied))
            return std::string(buffer.data(), copied);
    }
    return WindowManagerText(window);
}

bool Visible(HWND window) { return IsWindowVisible(window) != FALSE; }
bool Enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }

RECT ScreenRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

RECT RectIn(HWND window, HWND top) {
    RECT rect = ScreenRect(window);
    MapWindowPoints(HWND_DESKTOP, top, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

namespace {

// A page shows its controls a moment after its first text changes: a person sees them appear before acting.
constexpr DWORD kAppearMs = 2000;

bool Appears(HWND window, bool enabled) {
    return PollUntil([&] { return Visible(window) && (!enabled || Enabled(window)); }, kAppearMs);
}

}  // namespace

void Press(HWND button, const TWhere& where) {
    if (!IsWindow(button)) throw EDriveError("pressing a window that does not exist", where);
    if (!Appears(button, true)) {
        if (!Visible(button)) throw EDriveError("pressing hidden " + Describe(button), where);
        throw EDriveError("pressing disabled " + Describe(button), where);
    }
    WPARAM command = MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED);
    if (!PostMessageA(GetParent(button), WM_COMMAND, command, reinterpret_cast<LPARAM>(button)))
        throw EDriveError("cannot post a press to " + Describe(button), where);
}

void Click(HWND window, const TWhere& where) {
    if (!Appears(window, false)) throw EDriveError("clicking hidden " + Describe(window), where);
    RECT rect = ScreenRect(window);
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    HWND hit = WindowFromPoint(centre);
    if (hit != window && !IsChild(window, hit))
        throw EDriveError(Describe(window) + " is covered by " + Describe(hit), where);
    ClickAt(centre.x, centre.y, where);
}

void Type(HWND edit, const std::string& text, const TWhere& where) {
    if (!Appears(edit, true)) throw EDriveError("typing into unusable " + Describe(edit), where);
    if (GetWindowLongPtrA(edit, GWL_STYLE) & ES_READONLY)
        throw EDriveError("typing into read-only " + Describe(edit), where);
    bool posted = PostMessageA(edit, EM_SETSEL, 0, -1) && PostMessageA(edit, WM_CHAR, VK_BACK, 1);
    for (char c : text) posted = posted && PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    if (!posted) throw EDriveError("cannot post keys to " + Describe(edit), where);
}

void SetText(HWND edit, const std::string& text, const TWhere& where) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 10000,
                             &result) ||
        !result)
        throw EDriveError("WM_SETTEXT refused by " + Describe(edit), where);
}

bool Responsive(HWND window, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

bool PollUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= end) return false;
        Sleep(10);
    }
    return true;
}

void WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, const std::string& what, const TWhere& where) {
    if (!PollUntil(condition, timeoutMs))
        throw EDriveError("timed out after " + std::to_string(timeoutMs) + " ms waiting for " + what, where);
}

void WaitText(HWND window, const std::string& text, DWORD timeoutMs, const TWhere& where) {
    std::string last;
    if (!PollUntil([&] { return (last = Text(window)) == text; }, timeoutMs))
        throw EDriveError("waited " + std::to_string(timeoutMs) + " ms for \"" + text + "\" in " + ClassName(window) +
                              ", last seen \"" + last + "\"",
                          where);
}

}  // namespace quenby::drive

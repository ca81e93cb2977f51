// Reading and operating the controls of another process's windows, as a user would, without ever
// blocking on a program that is busy inside a handler.
#pragma once
#include <windows.h>

#include <functional>
#include <source_location>
#include <string>

namespace quenby::drive {

using TWhere = std::source_location;

// The control with this ID anywhere below `top` (inside panels too); nullptr when there is none.
HWND FindControl(HWND top, int id);
// The same, failing at the caller's line when there is none.
HWND Control(HWND top, int id, const TWhere& where = TWhere::current());

std::string ClassName(HWND window);
// What the window shows. An edit box's contents are asked for with WM_GETTEXT (which waits while the
// program is busy); for every other window the window manager's copy of its caption is read, which
// never waits, so that labels can be watched while the program works inside a handler.
std::string Text(HWND window);
// WM_GETTEXT; when the program does not answer within `busyMs`, the window manager's copy.
std::string SentText(HWND window, DWORD busyMs = 5000);
bool Visible(HWND window);  // the window and all its ancestors shown
bool Enabled(HWND window);
RECT ScreenRect(HWND window);
RECT RectIn(HWND window, HWND top);  // in the client coordinates of `top`

// A press as the button's parent sees it (BN_CLICKED), posted: returns at once while the program
// works; the handler runs when the program next reads its queue. Fails on a button still hidden or
// disabled after a moment (Click and Type wait the same moment for their window to appear).
void Press(HWND button, const TWhere& where = TWhere::current());
// A real click of the X pointer at the centre of the window, which must be on top there. Returns once
// the click is made, not when the program has handled it. (SendInput clicks are lost in Wine's virtual
// desktop; X input works with and without it.)
void Click(HWND window, const TWhere& where = TWhere::current());
// Replaces the contents of an edit box: select all, then posted characters, as typing does.
void Type(HWND edit, const std::string& text, const TWhere& where = TWhere::current());
// Replaces the contents at once with WM_SETTEXT (waits for the program to take it).
void SetText(HWND edit, const std::string& text, const TWhere& where = TWhere::current());

// True once the window's thread answers a sent message within `timeoutMs` (it reads its queue).
bool Responsive(HWND window, DWORD timeoutMs);

// Polls `condition` every few milliseconds; false once `timeoutMs` has passed without it.
bool PollUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// The same, failing at the caller's line after `timeoutMs`.
void WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, const std::string& what,
               const TWhere& where = TWhere::current());
// Waits until the control's text equals `text`; the failure names the text last seen.
void WaitText(HWND window, const std::string& text, DWORD timeoutMs, const TWhere& where = TWhere::current());

}  // namespace quenby::drive

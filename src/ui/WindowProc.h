// The window procedure of every framework window, forms and the framework's own control classes alike:
// the object arrives as the creation parameter, lives in GWLP_USERDATA until WM_NCDESTROY, and handles
// each message in between behind the error boundary.
#pragma once
#include <windows.h>

#include "ui/Application.h"

namespace quenby::ui {

// T has Attach(HWND), Detach() and LRESULT HandleMessage(UINT, WPARAM, LPARAM).
template <typename T>
LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<T*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        created->Attach(window);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* object = reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!object) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        object->Detach();
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return CallHandler([&] { return object->HandleMessage(message, wParam, lParam); });
}

}  // namespace quenby::ui

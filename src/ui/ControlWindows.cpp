// The window procedure and painting of the framework's own control classes: labels, pictures, bevels,
// flat buttons and panels.
#include "ui/ControlWindows.h"

#include "ui/Application.h"
#include "ui/Control.h"
#include "ui/Dpi.h"
#include "ui/Form.h"
#include "ui/WindowProc.h"

namespace quenby::ui {

void RegisterControlClasses(HINSTANCE module) {
    for (const char* name : {kLabelClass, kPictureClass, kBevelClass, kButtonClass, kPanelClass}) {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &ObjectWindowProc<TControl>;
        windowClass.hInstance = module;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = name;
        RegisterClassExA(&windowClass);  // already registered by an earlier application object: fine
    }
}

LRESULT TControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = m_handle;
    switch (message) {
        case WM_ERASEBKGND: return 1;  // WM_PAINT paints everything
        case WM_PAINT: {
            TPaint paint(window);
            const HDC dc = paint.Get();
            if (IsTransparent()) {
                m_form.PaintBeneath(*this, dc);
            } else {
                RECT client;
                GetClientRect(window, &client);
                FillRect(dc, &client, BackBrush());
            }
            if (Kind() == Kind::Button)
                PaintButton(dc);
            else
                PaintContent(dc);
            return 0;
        }
        case WM_NCHITTEST:
            // Clicks on labels, pictures and bevels belong to what lies beneath them.
            if (IsGraphic()) return HTTRANSPARENT;
            break;
        case WM_SIZE:
            if (Kind() == Kind::Panel || Kind() == Kind::Host) InvalidateRect(window, nullptr, FALSE);
            break;
        case WM_NOTIFY:
            if (Kind() == Kind::Host && m_notify) return m_notify(*reinterpret_cast<NMHDR*>(lParam));
            [[fallthrough]];
        case WM_COMMAND:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_SETCURSOR: {
            if (Kind() != Kind::Panel && Kind() != Kind::Host) break;
            LRESULT result = 0;
            if (m_form.HandleChildMessage(message, wParam, lParam, result)) return result;
            break;
        }
        default:
            if (Kind() == Kind::Button) return ButtonMessage(message, wParam, lParam);
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void TControl::PaintContent(HDC dc) const {
    const RECT r{0, 0, m_bounds.Width, m_bounds.Height};
    switch (Kind()) {
        case Kind::Label: {
            TSavedDC saved(dc);
            SelectObject(dc, FontHandle());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, TextColour());
            RECT text = r;
            UINT flags = DT_NOPREFIX | DT_EXPANDTABS;
            if (m_decl.Options & kWordWrap) flags |= DT_WORDBREAK;
            DrawTextA(dc, m_caption.c_str(), static_cast<int>(m_caption.size()), &text, flags);
            break;
        }
        case Kind::Picture: {
            if (m_icon) {
                DrawIconEx(dc, 0, 0, m_icon.Get(), 0, 0, 0, nullptr, DI_NORMAL);
            } else if (m_bitmap) {
                BITMAP info{};
                GetObjectA(m_bitmap.Get(), sizeof(info), &info);
                TMemoryDC memory(dc, m_bitmap.Get());
                // Pixel for pixel at 96 dpi; above it a picture grows with the rest of the form.
                const int width = (m_decl.Options & kStretch) ? m_bounds.Width : Scale(info.bmWidth);
                const int height = (m_decl.Options & kStretch) ? m_bounds.Height : Scale(info.bmHeight);
                if (width == info.bmWidth && height == info.bmHeight) {
                    BitBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
                } else {
                    TSavedDC saved(dc);
                    SetStretchBltMode(dc, (m_decl.Options & kStretch) ? COLORONCOLOR : HALFTONE);
                    SetBrushOrgEx(dc, 0, 0, nullptr);
                    StretchBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
                }
            }
            break;
        }
        case Kind::Bevel: {
            if (m_decl.Options & kTopLine) {
                // A lowered rule: shadow line over highlight line.
                RECT shadow{0, 0, m_bounds.Width, 1};
                RECT light{0, 1, m_bounds.Width, 2};
                FillRect(dc, &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
                FillRect(dc, &light, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
            } else {
                RECT frame = r;
                DrawEdge(dc, &frame, BDR_RAISEDINNER, BF_RECT);
            }
            break;
        }
        default: break;
    }
}

void TControl::PaintButton(HDC dc) const {
    RECT r{0, 0, m_bounds.Width, m_bounds.Height};
    const bool enabled = IsWindowEnabled(m_handle) != FALSE;
    if (enabled && (m_pressed || m_hot)) DrawEdge(dc, &r, m_pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    TSavedDC saved(dc);
    SelectObject(dc, FontHandle());
    SetBkMode(dc, TRANSPARENT);
    const UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (m_pressed) OffsetRect(&r, 1, 1);
    if (!enabled) {
        // Embossed, as disabled buttons are drawn.
        RECT light = r;
        OffsetRect(&light, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, m_caption.c_str(), static_cast<int>(m_caption.size()), &light, flags);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    } else {
        SetTextColor(dc, TextColour());
    }
    DrawTextA(dc, m_caption.c_str(), static_cast<int>(m_caption.size()), &r, flags);
}

// Mouse capture and BM_CLICK of a flat button. It never calls SetFocus, so the focus stays where it was.
LRESULT TControl::ButtonMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = m_handle;
    switch (message) {
        case WM_GETDLGCODE: return DLGC_STATIC;  // not a tab stop, no keyboard of its own
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            m_pressed = true;
            SetCapture(window);
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_MOUSEMOVE: {
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            RECT client;
            GetClientRect(window, &client);
            const bool inside = PtInRect(&client, at) != FALSE;
            const bool pressed = inside && GetCapture() == window;
            if (inside != m_hot || pressed != m_pressed) {
                m_hot = inside;
                m_pressed = pressed;
                InvalidateRect(window, nullptr, FALSE);
            }
            if (inside) {
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
                TrackMouseEvent(&track);
            }
            return 0;
        }
        case WM_MOUSELEAVE:
            m_hot = false;
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_LBUTTONUP: {
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            RECT client;
            GetClientRect(window, &client);
            const bool wasPressed = m_pressed && GetCapture() == window && PtInRect(&client, at);
            m_pressed = false;
            if (GetCapture() == window) ReleaseCapture();
            InvalidateRect(window, nullptr, FALSE);
            if (wasPressed) Click();
            return 0;
        }
        case WM_CAPTURECHANGED:
            m_pressed = false;
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case BM_CLICK: Click(); return 0;
        case WM_ENABLE: InvalidateRect(window, nullptr, FALSE); return 0;
        default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void TControl::Click() {
    if (!IsWindowEnabled(m_handle) || !IsWindowVisible(m_handle)) return;
    SendMessageA(GetParent(m_handle), WM_COMMAND, MAKEWPARAM(m_id, BN_CLICKED), reinterpret_cast<LPARAM>(m_handle));
}

}  // namespace quenby::ui

#include "ui/Control.h"

#include <algorithm>
#include "base/Errors.h"
#include "base/Texts.h"

#include "ui/Application.h"
#include "ui/ControlWindows.h"
#include "ui/Dpi.h"
#include "ui/Form.h"

namespace quenby::ui {

namespace {

RECT ToRect(const TBounds& b) { return {b.Left, b.Top, b.Left + b.Width, b.Top + b.Height}; }

}  // namespace

COLORREF ColourOf(TColour colour) {
    return colour.IsSystem() ? GetSysColor(colour.SystemIndex()) : static_cast<COLORREF>(colour.Rgb());
}

TControl::TControl(TForm& form, const TControlDecl& decl, int id, TControl* parent)
    : m_form(form),
      m_decl(decl),
      m_id(id),
      m_parent(parent),
      m_bounds(Scale(decl.Bounds)),
      m_caption(decl.Caption ? decl.Caption : ""),
      m_timerEnabled(decl.Enabled) {}

bool TControl::IsGraphic() const { return Kind() == Kind::Label || Kind() == Kind::Picture || Kind() == Kind::Bevel; }

bool TControl::IsTransparent() const {
    return Kind() == Kind::Bevel || (Kind() == Kind::Label && (m_decl.Options & kTransparent));
}

void TControl::CreateWindowIn(HWND parentWindow) {
    if (Kind() == Kind::Timer) return;
    const HINSTANCE module = TApplication::Instance().Module();
    if (Kind() == Kind::Picture) {
        if (m_decl.Options & kIcon)
            m_icon.Reset(static_cast<HICON>(LoadImageA(module, m_decl.Resource, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
        else
            m_bitmap.Reset(static_cast<HBITMAP>(LoadImageA(module, m_decl.Resource, IMAGE_BITMAP, 0, 0, 0)));
    }
    if (m_decl.Options & kAutoSize) SizeToContent();

    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    const char* className = kLabelClass;
    switch (Kind()) {
        case Kind::Label: break;
        case Kind::Picture: className = kPictureClass; break;
        case Kind::Bevel: className = kBevelClass; break;
        case Kind::Button: className = kButtonClass; break;
        case Kind::Panel:
        case Kind::Host:
            className = kPanelClass;
            style |= WS_CLIPCHILDREN;
            exStyle |= WS_EX_CONTROLPARENT;
            break;
        case Kind::Edit:
            className = "EDIT";
            style |= WS_TABSTOP | ES_AUTOHSCROLL;
            exStyle |= WS_EX_CLIENTEDGE;
            break;
        case Kind::Memo:
            className = "EDIT";
            style |= ES_MULTILINE | ES_READONLY | ES_NOHIDESEL;
            break;
        case Kind::ProgressBar: className = PROGRESS_CLASSA; break;
        case Kind::Timer: return;
    }
    if (m_decl.Visible) style |= WS_VISIBLE;
    if (!m_decl.Enabled) style |= WS_DISABLED;
    const bool own = className != std::string_view("EDIT") && className != std::string_view(PROGRESS_CLASSA);
    m_handle = CreateWindowExA(exStyle, className, m_caption.c_str(), style, m_bounds.Left, m_bounds.Top,
                               m_bounds.Width, m_bounds.Height, parentWindow,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(m_id)), module, own ? this : nullptr);
    if (!m_handle) throw Exception(CannotCreateControlText(std::string(Name())));
    if (!own) SendMessageA(m_handle, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
    if (Kind() == Kind::ProgressBar) SendMessageA(m_handle, PBM_SETRANGE32, 0, 100);
    if (Kind() == Kind::Edit || Kind() == Kind::Memo)
        SendMessageA(m_handle, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
}

void TControl::StartTimer() {
    if (Kind() == Kind::Timer && m_timerEnabled)
        m_timer.Start(m_form.Handle(), static_cast<UINT_PTR>(m_id), m_decl.Interval);
}

void TControl::SizeToContent() {
    switch (Kind()) {
        case Kind::Label: {
            TWindowDC screen(nullptr);
            TSavedDC saved(screen.Get());
            SelectObject(screen.Get(), FontHandle());
            // An empty caption still has the height of a line.
            const std::string text = m_caption.empty() ? " " : m_caption;
            RECT r{0, 0, (m_decl.Options & kWordWrap) ? m_bounds.Width : 0, 0};
            UINT flags = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS;
            if (m_decl.Options & kWordWrap) flags |= DT_WORDBREAK;
            DrawTextA(screen.Get(), text.c_str(), static_cast<int>(text.size()), &r, flags);
            m_bounds.Width = r.right - r.left;
            m_bounds.Height = r.bottom - r.top;
            break;
        }
        case Kind::Picture: {
            if (m_bitmap) {
                BITMAP info{};
                GetObjectA(m_bitmap.Get(), sizeof(info), &info);
                m_bounds.Width = Scale(info.bmWidth);
                m_bounds.Height = Scale(info.bmHeight);
            } else if (m_icon) {
                m_bounds.Width = GetSystemMetrics(SM_CXICON);
                m_bounds.Height = GetSystemMetrics(SM_CYICON);
            }
            break;
        }
        default: break;
    }
}

std::string TControl::Caption() const {
    if (!m_handle || (Kind() != Kind::Edit && Kind() != Kind::Memo)) return m_caption;
    const int length = GetWindowTextLengthA(m_handle);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(m_handle, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

void TControl::SetCaption(const std::string& text) {
    m_caption = text;
    if (!m_handle) return;
    SetWindowTextA(m_handle, m_caption.c_str());
    if (m_decl.Options & kAutoSize)
        SetBounds(m_bounds);  // re-measures and repaints what it covered
    else if (IsGraphic() || Kind() == Kind::Button)
        Repaint();
}

void TControl::SetBounds(const TBounds& bounds) {
    const RECT before = ToRect(m_bounds);
    m_bounds = bounds;
    if (m_decl.Options & kAutoSize) SizeToContent();
    if (!m_handle) return;
    SetWindowPos(m_handle, nullptr, m_bounds.Left, m_bounds.Top, m_bounds.Width, m_bounds.Height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    // Graphic controls show what lies beneath them, so the parent repaints both places with its children.
    const RECT after = ToRect(m_bounds);
    RECT both;
    UnionRect(&both, &before, &after);
    RedrawWindow(GetParent(m_handle), &both, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool TControl::Visible() const {
    if (Kind() == Kind::Timer) return m_timer.Running();
    return m_handle && (GetWindowLongPtrA(m_handle, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TControl::SetVisible(bool visible) {
    if (Kind() == Kind::Timer) return SetEnabled(visible);
    if (m_handle) ShowWindow(m_handle, visible ? SW_SHOWNA : SW_HIDE);
}

bool TControl::Enabled() const {
    if (Kind() == Kind::Timer) return m_timerEnabled;
    return m_handle && IsWindowEnabled(m_handle);
}

void TControl::SetEnabled(bool enabled) {
    if (Kind() == Kind::Timer) {
        m_timerEnabled = enabled;
        if (enabled)
            StartTimer();
        else
            m_timer.Stop();
        return;
    }
    if (!m_handle) return;
    EnableWindow(m_handle, enabled ? TRUE : FALSE);
    m_hot = m_pressed = false;
    InvalidateRect(m_handle, nullptr, FALSE);
}

void TControl::Repaint() {
    if (!m_handle) return;
    if (IsTransparent()) {
        RECT r = ToRect(m_bounds);
        RedrawWindow(GetParent(m_handle), &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    } else {
        RedrawWindow(m_handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}

int TControl::Position() const { return m_handle ? static_cast<int>(SendMessageA(m_handle, PBM_GETPOS, 0, 0)) : 0; }

void TControl::SetPosition(int position) {
    if (m_handle) SendMessageA(m_handle, PBM_SETPOS, static_cast<WPARAM>(std::clamp(position, 0, 100)), 0);
}

void TControl::ClearLines() { SetCaption(""); }

void TControl::AddLine(const std::string& line) {
    std::string text = Caption();
    if (!text.empty()) text += "\r\n";
    SetCaption(text + line);
}

HFONT TControl::FontHandle() const {
    return m_form.FontFor(m_decl.Font.IsDefault() ? m_form.Decl().Font : m_decl.Font);
}

COLORREF TControl::TextColour() const {
    if (!m_decl.TextColour.IsDefault()) return ColourOf(m_decl.TextColour);
    return ColourOf(m_form.Decl().FontColour);
}

COLORREF TControl::BackColour() const {
    if (!m_decl.BackColour.IsDefault()) return ColourOf(m_decl.BackColour);
    return m_parent ? m_parent->BackColour() : m_form.Colour();
}

HBRUSH TControl::BackBrush() {
    if (!m_backBrush) m_backBrush.Reset(CreateSolidBrush(BackColour()));
    return m_backBrush.Get();
}

}  // namespace quenby::ui

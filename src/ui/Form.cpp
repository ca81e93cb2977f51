#include "ui/Form.h"

#include "base/Errors.h"
#include "base/Texts.h"

#include "base/Accelerator.h"
#include "ui/Application.h"
#include "ui/Dpi.h"
#include "ui/WindowProc.h"

namespace quenby::ui {

namespace {

bool SameFont(const TFontDecl& a, const TFontDecl& b) {
    return std::string_view(a.Face ? a.Face : "") == (b.Face ? b.Face : "") && a.Height == b.Height &&
           a.Bold == b.Bold && a.Italic == b.Italic;
}

bool Intersect(const TControl& a, const TControl& b) {
    return a.Left() < b.Left() + b.Width() && b.Left() < a.Left() + a.Width() && a.Top() < b.Top() + b.Height() &&
           b.Top() < a.Top() + a.Height();
}

struct TFindControl {
    int Id;
    HWND Found;
};

BOOL CALLBACK FindControlProc(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<TFindControl*>(lParam);
    if (GetDlgCtrlID(window) != search->Id) return TRUE;
    search->Found = window;
    return FALSE;
}

}  // namespace

TForm::TForm(const TFormDecl& decl, std::span<const TControlDecl> controls)
    : m_decl(decl), m_table(controls), m_colourBrush(CreateSolidBrush(ColourOf(decl.Colour))) {}

TForm::~TForm() {
    if (m_handle) DestroyWindow(m_handle);
    if (TApplication::Exists() && TApplication::Instance().MainForm() == this)
        TApplication::Instance().SetMainForm(nullptr);
}

TForm* TForm::FromHandle(HWND window) {
    if (!window) return nullptr;
    // Only windows whose procedure is ours carry a TForm in their user data.
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)) != &ObjectWindowProc<TForm>) return nullptr;
    return reinterpret_cast<TForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void TForm::RegisterWindowClass() const {
    const HINSTANCE module = TApplication::Instance().Module();
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExA(module, m_decl.ClassName, &existing)) return;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = &ObjectWindowProc<TForm>;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    if (m_decl.Icon)  // shared icons belong to the system's cache, not to us
        windowClass.hIcon =
            static_cast<HICON>(LoadImageA(module, m_decl.Icon, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    windowClass.lpszClassName = m_decl.ClassName;
    if (!RegisterClassExA(&windowClass)) throw Exception(kCannotRegisterClass);
}

void TForm::Create(HWND owner) {
    TApplication& application = TApplication::Instance();
    RegisterWindowClass();
    DWORD style = WS_POPUP | WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    if (m_decl.Style == FormStyle::Dialog) {
        style |= WS_CAPTION;
        exStyle |= WS_EX_DLGMODALFRAME;
    }
    if (m_decl.TopMost) exStyle |= WS_EX_TOPMOST;
    RECT frame{0, 0, Scale(m_decl.ClientWidth), Scale(m_decl.ClientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    int left = 0, top = 0;
    if (m_decl.Centred) {
        left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    }
    if (!owner) owner = application.Handle();
    CreateWindowExA(exStyle, m_decl.ClassName, m_decl.Caption, style, left, top, width, height, owner, nullptr,
                    application.Module(), this);
    if (!m_handle) throw Exception(CannotCreateWindowText(m_decl.ClassName));
    CreateControls();
    CallHandler([&] {
        FormCreate();
        return LRESULT{0};
    });
    if (m_decl.Visible) Show();
}

void TForm::CreateControls() {
    for (std::size_t i = 0; i < m_table.size(); ++i) {
        const TControlDecl& decl = m_table[i];
        TControl* parent = decl.Parent ? &ControlAt(ControlIndex(m_table, decl.Parent)) : nullptr;
        TControl& control = m_controls.emplace_back(*this, decl, ControlIdAt(i), parent);
        control.CreateWindowIn(parent ? parent->Handle() : m_handle);
    }
    // Stacking: windowed controls above graphic ones, in declaration order (also the tab order);
    // among graphic controls a later one lies above an earlier one.
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW;
    for (TControl& control : m_controls)
        if (control.Handle() && !control.IsGraphic()) SetWindowPos(control.Handle(), HWND_BOTTOM, 0, 0, 0, 0, flags);
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it)
        if (it->Handle() && it->IsGraphic()) SetWindowPos(it->Handle(), HWND_BOTTOM, 0, 0, 0, 0, flags);
    RECT client;
    GetClientRect(m_handle, &client);
    FitFillingControls(m_handle, client.right, client.bottom);
    for (TControl& control : m_controls) control.StartTimer();
}

void TForm::Destroy() {
    if (m_handle) DestroyWindow(m_handle);
}

TControl* TForm::ControlById(int id) {
    for (TControl& control : m_controls)
        if (control.Id() == id) return &control;
    return nullptr;
}

TControl* TForm::ControlByHandle(HWND window) {
    if (!window) return nullptr;
    for (TControl& control : m_controls)
        if (control.Handle() == window) return &control;
    return nullptr;
}

std::string TForm::Caption() const {
    char text[512] = {};
    if (m_handle) GetWindowTextA(m_handle, text, sizeof(text));
    return text;
}

void TForm::SetCaption(const std::string& caption) {
    if (m_handle) SetWindowTextA(m_handle, caption.c_str());
}

int TForm::Width() const {
    RECT r{};
    GetWindowRect(m_handle, &r);
    return r.right - r.left;
}

int TForm::Height() const {
    RECT r{};
    GetWindowRect(m_handle, &r);
    return r.bottom - r.top;
}

int TForm::ClientWidth() const {
    RECT r{};
    GetClientRect(m_handle, &r);
    return r.right;
}

int TForm::ClientHeight() const {
    RECT r{};
    GetClientRect(m_handle, &r);
    return r.bottom;
}

void TForm::SetBounds(int left, int top, int width, int height) {
    SetWindowPos(m_handle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::Show() {
    CallHandler([&] {
        FormShow();
        return LRESULT{0};
    });
    ShowWindow(m_handle, m_decl.Maximised ? SW_SHOWMAXIMIZED : SW_SHOW);
}

void TForm::Hide() { ShowWindow(m_handle, SW_HIDE); }

void TForm::BringToFront() {
    SetWindowPos(m_handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(m_handle);
}

int TForm::ShowModal() {
    TApplication& application = TApplication::Instance();
    const HWND owner = GetWindow(m_handle, GW_OWNER);
    // Re-enable the owner before this form hides, so that Windows activates the owner next.
    struct TOwnerDisabled {
        HWND Owner;
        bool WasEnabled;
        ~TOwnerDisabled() {
            if (Owner && WasEnabled) EnableWindow(Owner, TRUE);
        }
    } disabled{owner, owner && IsWindowEnabled(owner)};
    if (owner) EnableWindow(owner, FALSE);
    m_modal = true;
    m_modalResult = 0;
    Show();
    SetActiveWindow(m_handle);
    while (m_modalResult == 0 && !application.Terminated()) application.HandleMessage();
    if (m_modalResult == 0) m_modalResult = kModalCancel;
    m_modal = false;
    const int result = m_modalResult;
    if (disabled.Owner && disabled.WasEnabled) EnableWindow(disabled.Owner, TRUE);
    disabled.Owner = nullptr;
    if (m_handle) Hide();
    return result;
}

void TForm::Close() {
    if (m_handle) SendMessageA(m_handle, WM_CLOSE, 0, 0);
}

void TForm::Repaint() {
    if (m_handle)
        RedrawWindow(m_handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

TFont MakeFont(const TFontDecl& font) {
    return TFont(CreateFontA(-Scale(font.Height), 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL, font.Italic, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, font.Face ? font.Face : "MS Sans Serif"));
}

HFONT TForm::FontFor(const TFontDecl& font) {
    for (auto& [decl, handle] : m_fonts)
        if (SameFont(decl, font)) return handle.Get();
    TFont handle = MakeFont(font.IsDefault() ? m_decl.Font : font);
    const HFONT result = handle.Get();
    m_fonts.emplace_back(font, std::move(handle));
    return result;
}

COLORREF TForm::Colour() const { return ColourOf(m_decl.Colour); }

void TForm::PaintBeneath(const TControl& control, HDC dc) {
    RECT client{0, 0, control.Width(), control.Height()};
    TControl* parent = control.Parent();
    FillRect(dc, &client, parent ? parent->BackBrush() : m_colourBrush.Get());
    for (TControl& sibling : m_controls) {
        if (&sibling == &control) break;
        if (!sibling.IsGraphic() || sibling.Parent() != parent || !sibling.Visible() || !Intersect(sibling, control))
            continue;
        TSavedDC saved(dc);
        OffsetViewportOrgEx(dc, sibling.Left() - control.Left(), sibling.Top() - control.Top(), nullptr);
        IntersectClipRect(dc, 0, 0, sibling.Width(), sibling.Height());
        if (!sibling.IsTransparent()) {
            RECT own{0, 0, sibling.Width(), sibling.Height()};
            FillRect(dc, &own, sibling.BackBrush());
        }
        sibling.PaintContent(dc);
    }
}

bool TForm::PressAccelerator(char typed) {
    for (TControl& control : m_controls) {
        if (control.Kind() != Kind::Button || !control.Handle()) continue;
        if (!IsWindowVisible(control.Handle()) || !IsWindowEnabled(control.Handle())) continue;
        if (!MatchesAccelerator(control.Caption(), typed)) continue;
        SendMessageA(control.Handle(), BM_CLICK, 0, 0);
        return true;
    }
    return false;
}

void TForm::FitFillingControls(HWND parent, int width, int height) {
    for (TControl& control : m_controls)
        if ((control.Decl().Options & kFillParent) && control.Handle() && GetParent(control.Handle()) == parent)
            control.SetBounds({0, 0, width, height});
}

bool TForm::HandleChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_COMMAND: {
            TControl* control = ControlById(LOWORD(wParam));
            if (!control || control->Kind() != Kind::Button || HIWORD(wParam) != BN_CLICKED) return false;
            ControlEvent(*control);
            result = 0;
            return true;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            TControl* control = ControlByHandle(reinterpret_cast<HWND>(lParam));
            if (!control || (control->Decl().BackColour.IsDefault() && control->Decl().TextColour.IsDefault()))
                return false;
            const HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, control->TextColour());
            SetBkColor(dc, control->BackColour());
            result = reinterpret_cast<LRESULT>(control->BackBrush());
            return true;
        }
        case WM_SETCURSOR: {
            if (TApplication::Instance().ApplyCursor()) {
                result = TRUE;
                return true;
            }
            TControl* control = ControlByHandle(reinterpret_cast<HWND>(wParam));
            if (control && (control->Decl().Options & kArrowCursor) && LOWORD(lParam) == HTCLIENT) {
                ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
                result = TRUE;
                return true;
            }
            return false;
        }
        default: return false;
    }
}

void TForm::Detach() {
    m_handle = nullptr;
    for (TControl& control : m_controls) control.Detach();
}

LRESULT TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(m_handle, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, m_colourBrush.Get());
            return 1;
        }
        case WM_SIZE: FitFillingControls(m_handle, LOWORD(lParam), HIWORD(lParam)); break;
        case WM_TIMER:
            if (TControl* timer = ControlById(static_cast<int>(wParam)); timer && timer->Kind() == Kind::Timer) {
                ControlEvent(*timer);
                return 0;
            }
            break;
        case WM_CLOSE:
            FormClose();
            if (m_modal)
                EndModal(kModalCancel);
            else if (TApplication::Instance().MainForm() == this)
                TApplication::Instance().Terminate();
            else
                Hide();
            return 0;
        case WM_DESTROY:
            for (TControl& control : m_controls)
                if (control.Kind() == Kind::Timer) control.SetEnabled(false);
            FormDestroy();
            return 0;
        case WM_COMMAND:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_SETCURSOR:
            if (HandleChildMessage(message, wParam, lParam, result)) return result;
            break;
        default: break;
    }
    return DefWindowProcA(m_handle, message, wParam, lParam);
}

HWND FindControl(HWND top, int id) {
    TFindControl search{id, nullptr};
    EnumChildWindows(top, FindControlProc, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

}  // namespace quenby::ui

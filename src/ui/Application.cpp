#include "ui/Application.h"

#include "base/Errors.h"
#include "base/Texts.h"
#include "ui/CommonControls.h"
#include "ui/ControlWindows.h"
#include "ui/Form.h"

namespace quenby::ui {

namespace {

TApplication* g_application = nullptr;
constexpr char kApplicationClass[] = "TApplication";

LRESULT CALLBACK ApplicationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

// The executable's name without folder and extension: the title until the program sets its own.
std::string ModuleBaseName(HINSTANCE module) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    std::string name = path;
    if (const auto slash = name.find_last_of("\\/"); slash != std::string::npos) name.erase(0, slash + 1);
    if (const auto dot = name.find_last_of('.'); dot != std::string::npos) name.erase(dot);
    return name;
}

}  // namespace

TApplication::TApplication(HINSTANCE module) : m_module(module), m_title(ModuleBaseName(module)) {
    if (g_application) throw EProgramFault("a second application object");
    InitCommonControls(ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_TREEVIEW_CLASSES);
    RegisterControlClasses(module);

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = ApplicationProc;
    windowClass.hInstance = module;
    windowClass.lpszClassName = kApplicationClass;
    RegisterClassExA(&windowClass);  // fails harmlessly when a previous application object registered it
    // A zero-sized visible window owns every form: the task bar shows one button, with the title.
    m_window.Reset(CreateWindowExA(
        0, kApplicationClass, m_title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
        GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr, module, nullptr));
    ShowWindow(m_window.Get(), SW_SHOWNOACTIVATE);
    g_application = this;
}

TApplication::~TApplication() {
    m_window.Reset();
    g_application = nullptr;
}

TApplication& TApplication::Instance() {
    if (!g_application) throw EProgramFault("no application object");
    return *g_application;
}

bool TApplication::Exists() { return g_application != nullptr; }

void TApplication::SetTitle(const std::string& title) {
    m_title = title;
    SetWindowTextA(m_window.Get(), m_title.c_str());
}

void TApplication::Run() {
    while (!m_terminated) HandleMessage();
}

void TApplication::HandleMessage() {
    MSG message;
    // The terminate request arrives as WM_QUIT, taken from the queue here (also by a modal loop).
    if (GetMessageA(&message, nullptr, 0, 0) <= 0)
        m_terminated = true;
    else
        ProcessMessage(message);
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::SetCursor(TCursor cursor) {
    m_cursor = cursor;
    ::SetCursor(LoadCursorA(nullptr, cursor == TCursor::HourGlass ? IDC_WAIT : IDC_ARROW));
}

bool TApplication::ApplyCursor() const {
    if (m_cursor == TCursor::Default) return false;
    ::SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    return true;
}

void TApplication::ShowException(const std::exception& error) const noexcept {
    try {
        const std::string text = ErrorBoxText(error);
        MessageBoxA(GetActiveWindow(), text.c_str(), m_title.c_str(), MB_ICONERROR | MB_OK);
    } catch (...) {
        MessageBoxA(GetActiveWindow(), kOutOfMemory, nullptr, MB_ICONERROR | MB_OK);
    }
}

void TApplication::ProcessMessage(MSG& message) {
    if ((message.message == WM_CHAR || message.message == WM_SYSCHAR) && PressAccelerator(message)) return;
    if (message.hwnd) {
        const HWND root = GetAncestor(message.hwnd, GA_ROOT);
        // Tab and arrow keys between the edit boxes and the tree of a form.
        if (root && TForm::FromHandle(root) && IsDialogMessageA(root, &message)) return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

bool TApplication::PressAccelerator(const MSG& message) {
    if (!message.hwnd) return false;
    TForm* form = TForm::FromHandle(GetAncestor(message.hwnd, GA_ROOT));
    if (!form) return false;
    if (message.message == WM_CHAR) {
        // A plain letter belongs to an edit box that has the focus; Alt+letter always to the buttons.
        const HWND focus = GetFocus();
        if (focus && focus != form->Handle() &&
            (SendMessageA(focus, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message)) & DLGC_WANTCHARS))
            return false;
    }
    return form->PressAccelerator(static_cast<char>(message.wParam));
}

void ReportUncaught(std::exception_ptr failure) noexcept {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& error) {
        if (TApplication::Exists()) TApplication::Instance().ShowException(error);
    } catch (...) {
        if (TApplication::Exists()) TApplication::Instance().ShowException(Exception(kUnknownFailure));
    }
}

}  // namespace quenby::ui

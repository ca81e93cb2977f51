// A top-level window created from its declaration: the window of its own class, then one TControl per
// table row. Derived forms call Create() at the end of their constructor and Destroy() at the start of
// their destructor, so that FormCreate and FormDestroy reach the derived handlers.
#pragma once
#include <windows.h>

#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Control.h"
#include "ui/FormDecl.h"
#include "win/Handles.h"

namespace quenby::ui {

constexpr int kModalOk = 1;
constexpr int kModalCancel = 2;

// The font a form makes for a declaration that names its face (a control's own or the form's), so that a
// test can measure text as the form draws it.
TFont MakeFont(const TFontDecl& font);

class TForm {
public:
    TForm(const TFormDecl& decl, std::span<const TControlDecl> controls);
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    static TForm* FromHandle(HWND window);

    HWND Handle() const { return m_handle; }
    const TFormDecl& Decl() const { return m_decl; }

    // The control of the table's row.
    TControl& ControlAt(std::size_t index) { return m_controls.at(index); }
    const TControl& ControlAt(std::size_t index) const { return m_controls.at(index); }
    TControl* ControlById(int id);
    TControl* ControlByHandle(HWND window);
    std::deque<TControl>& Controls() { return m_controls; }

    std::string Caption() const;
    void SetCaption(const std::string& caption);
    int Width() const;
    int Height() const;
    int ClientWidth() const;
    int ClientHeight() const;
    void SetBounds(int left, int top, int width, int height);

    // Show runs FormShow first.
    void Show();
    void Hide();
    void BringToFront();
    bool Visible() const { return m_handle && IsWindowVisible(m_handle); }
    // Disables the owner and runs messages until EndModal or the application terminates.
    int ShowModal();
    void EndModal(int result) { m_modalResult = result; }
    bool IsModal() const { return m_modal; }
    // As the close command: FormClose, then end the modal run, end the application (main form) or hide.
    void Close();
    // Paints the whole window and its children now.
    void Repaint();

    // --- used by the framework ---
    HFONT FontFor(const TFontDecl& font);
    COLORREF Colour() const;
    HBRUSH ColourBrush() const { return m_colourBrush.Get(); }
    // Fills a graphic control's rectangle with what lies beneath it: its parent's colour and the
    // graphic siblings declared before it.
    void PaintBeneath(const TControl& control, HDC dc);
    bool PressAccelerator(char typed);
    // Messages that panels pass up: commands, notifications, control colours, the cursor.
    bool HandleChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Handlers are called from the window procedures through the framework's guard.
    void RaiseControlEvent(TControl& control) { ControlEvent(control); }

protected:
    void Create(HWND owner);
    void Destroy();

    virtual void FormCreate() {}
    virtual void FormShow() {}
    virtual void FormClose() {}
    virtual void FormDestroy() {}
    // A button was clicked or a timer fired.
    virtual void ControlEvent(TControl& control) { (void)control; }

private:
    template <typename T>
    friend LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND window) { m_handle = window; }
    void Detach();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void RegisterWindowClass() const;
    void CreateControls();
    void FitFillingControls(HWND parent, int width, int height);

    const TFormDecl& m_decl;
    std::span<const TControlDecl> m_table;
    HWND m_handle = nullptr;
    std::deque<TControl> m_controls;  // stable addresses; children refer to their parent panels
    std::vector<std::pair<TFontDecl, TFont>> m_fonts;
    TBrush m_colourBrush;
    bool m_modal = false;
    int m_modalResult = 0;
};

// A form over its own control table, whose controls are reached by names the compiler checks.
template <const auto& Table>
class TFormOf : public TForm {
public:
    using TName = TControlName<Table>;

    TControl& Control(TName name) { return ControlAt(name.Index()); }
    const TControl& Control(TName name) const { return ControlAt(name.Index()); }

protected:
    explicit TFormOf(const TFormDecl& decl) : TForm(decl, Table) {}
};

// Routes a control event to a member handler by the control's name:
//   static constexpr TEventRow<TMainDialog> kEvents[] = {{"NextBut", &TMainDialog::NextButClick}, ...};
//   void ControlEvent(TControl& c) override { RouteEvent(*this, kEvents, c); }
template <typename F>
struct TEventRow {
    typename F::TName Control;
    void (F::*Handler)();
};

template <typename F, std::size_t N>
bool RouteEvent(F& form, const TEventRow<F> (&rows)[N], const TControl& control) {
    for (const TEventRow<F>& row : rows)
        if (ControlIdAt(row.Control.Index()) == control.Id()) {
            (form.*row.Handler)();
            return true;
        }
    return false;
}

// Finds a control window below a top-level window by its ID, however deep it sits in panels; works on
// another process's windows too.
HWND FindControl(HWND top, int id);

}  // namespace quenby::ui

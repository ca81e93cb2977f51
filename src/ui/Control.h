// One declared control at run time: its child window (every control but a timer is a real child window
// with its declared ID and its caption as window text) and the operations the forms' handlers use.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <string_view>

#include "ui/FormDecl.h"
#include "win/Handles.h"

namespace quenby::ui {

class TForm;

COLORREF ColourOf(TColour colour);

class TControl {
public:
    TControl(TForm& form, const TControlDecl& decl, int id, TControl* parent);
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    const TControlDecl& Decl() const { return m_decl; }
    std::string_view Name() const { return m_decl.Name; }
    ui::Kind Kind() const { return m_decl.Kind; }
    int Id() const { return m_id; }
    HWND Handle() const { return m_handle; }
    TControl* Parent() const { return m_parent; }
    TForm& Form() const { return m_form; }

    // The window text; for edit boxes what the user typed.
    std::string Caption() const;
    void SetCaption(const std::string& text);

    int Left() const { return m_bounds.Left; }
    int Top() const { return m_bounds.Top; }
    int Width() const { return m_bounds.Width; }
    int Height() const { return m_bounds.Height; }
    void SetLeft(int left) { SetBounds({left, m_bounds.Top, m_bounds.Width, m_bounds.Height}); }
    void SetBounds(const TBounds& bounds);

    // A timer is "visible" and "enabled" while it runs.
    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);

    // Paints the control (and for a transparent one what lies beneath it) at once.
    void Repaint();

    // Progress bar, 0 to 100.
    int Position() const;
    void SetPosition(int position);

    // Memo: the lines shown, separated by CR LF.
    void ClearLines();
    void AddLine(const std::string& line);

    // Host: the hosted control's notifications (WM_NOTIFY to the host) go to this handler.
    using TNotifyHandler = std::function<LRESULT(NMHDR&)>;
    void SetNotifyHandler(TNotifyHandler handler) { m_notify = std::move(handler); }

    // --- used by the framework ---
    void CreateWindowIn(HWND parentWindow);
    void StartTimer();
    void Attach(HWND window) { m_handle = window; }
    void Detach() { m_handle = nullptr; }
    bool IsGraphic() const;
    bool IsTransparent() const;
    // Draws the control's own content (no background) in its client coordinates.
    void PaintContent(HDC dc) const;
    HFONT FontHandle() const;
    COLORREF TextColour() const;
    COLORREF BackColour() const;  // its own colour, or what it inherits from its parent
    HBRUSH BackBrush();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void SizeToContent();
    void PaintButton(HDC dc) const;
    LRESULT ButtonMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Click();

    TForm& m_form;
    const TControlDecl& m_decl;
    int m_id;
    TControl* m_parent;
    HWND m_handle = nullptr;
    TBounds m_bounds;
    std::string m_caption;  // painted by labels and buttons; mirrors the window text
    TBitmap m_bitmap;
    TIcon m_icon;
    TBrush m_backBrush;
    TTimer m_timer;
    TNotifyHandler m_notify;
    bool m_timerEnabled;
    bool m_pressed = false;
    bool m_hot = false;
};

}  // namespace quenby::ui

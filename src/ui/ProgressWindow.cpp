#include "ui/ProgressWindow.h"

#include "win/Pause.h"

namespace quenby::ui {

TProgressWindow::TProgressWindow(const TFormDecl& decl, const std::string& caption, TPlace place) : TFormOf(decl) {
    Create(nullptr);
    SetCaption(caption);  // before it is seen
    if (place == TPlace::AboveCentre) {
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        SetBounds((work.left + work.right - Width()) / 2, work.top + (work.bottom - work.top) / 4 - Height() / 2,
                  Width(), Height());
    }
    Show();
    Repaint();
}

TProgressWindow::~TProgressWindow() { Destroy(); }

// The label repaints itself; looking at the queue keeps the window from looking hung while the run goes on,
// and leaves input (and a quit request) there for the run's end.
void TProgressWindow::ShowItem(const std::string& item) {
    Control("ItemLabel").SetCaption(item);
    LookAtQueue();
}

void TProgressWindow::ShowPosition(int percent) {
    Control("ProgressBar").SetPosition(percent);
    UpdateWindow(Control("ProgressBar").Handle());
}

}  // namespace quenby::ui

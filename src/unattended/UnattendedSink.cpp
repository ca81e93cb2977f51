#include "unattended/UnattendedSink.h"

#include "base/PathLabel.h"

namespace quenby {

namespace {
constexpr ui::TFormDecl kSilentProgressForm = ui::forms::ProgressForm("TSilentProgressForm");
}  // namespace

TUnattendedSink::TUnattendedSink(const TInstructions& instructions, bool window, bool addOns) : m_addOns(addOns) {
    if (window)
        m_window = std::make_unique<ui::TProgressWindow>(kSilentProgressForm, instructions.DisplayTitle,
                                                         ui::TProgressWindow::TPlace::Centre);
}

void TUnattendedSink::FileStarted(const std::string&, const std::string& target) {
    if (m_window) m_window->ShowItem(PathLabel(target));
}

void TUnattendedSink::Progress(int position) {
    if (m_window) m_window->ShowPosition(position);
}

}  // namespace quenby

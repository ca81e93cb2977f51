#include "uninstall/RemovalSink.h"

#include "base/Texts.h"
#include "ui/ProgressWindow.h"

namespace quenby {

namespace {
constexpr ui::TFormDecl kUninstallForm = ui::forms::ProgressForm("TUninstallForm");
}  // namespace

TLoggedRemoval::TLoggedRemoval(TLogFile& log, bool window) : m_log(log), m_window(window) {}
TLoggedRemoval::~TLoggedRemoval() = default;

void TLoggedRemoval::Started(const std::string& displayName) {
    if (m_window)
        m_form = std::make_unique<ui::TProgressWindow>(kUninstallForm, UninstallFormCaption(displayName),
                                                       ui::TProgressWindow::TPlace::AboveCentre);
}

void TLoggedRemoval::Step(const std::string& item, int percent) {
    m_log.Line(kLogRemoving, item);
    if (!m_form) return;
    m_form->ShowPosition(percent);
    m_form->ShowItem(item);
}

void TLoggedRemoval::Left(const std::string& line) { m_log.Line(kLogLeft, line); }

void TLoggedRemoval::Finished(const std::string& text) {
    m_form.reset();
    m_log.Line(text);
}

HWND TLoggedRemoval::FormHandle() const { return m_form ? m_form->Handle() : nullptr; }

void TWindowedRemoval::Refused(const std::string& text, const char* caption) {
    m_log.Line(text);
    MessageBoxA(nullptr, text.c_str(), caption, MB_ICONERROR | MB_OK);
}

bool TWindowedRemoval::Confirmed(const std::string& displayName) {
    if (MessageBoxA(nullptr, ConfirmRemovalText(displayName).c_str(), kUninstallTitle, MB_YESNO | MB_ICONQUESTION) ==
        IDYES)
        return true;
    m_log.Line(kLogDeclined);
    return false;
}

bool TWindowedRemoval::SharedFileGoes(const std::string& path) {
    const bool goes = MessageBoxA(FormHandle(), RemoveSharedFileText(path).c_str(), kSharedCaption,
                                  MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
    if (goes) m_log.Line(kLogSharedRemoved, path);
    return goes;
}

void TWindowedRemoval::Finished(const std::string& text) {
    TLoggedRemoval::Finished(text);
    MessageBoxA(nullptr, text.c_str(), kUninstallTitle, MB_ICONINFORMATION | MB_OK);
}

}  // namespace quenby

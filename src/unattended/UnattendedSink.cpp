#include "unattended/UnattendedSink.h"

namespace quenby {

TUnattendedSink::TUnattendedSink(const TInstructions& instructions, bool window, bool addOns) : m_addOns(addOns) {
    if (window) m_window = std::make_unique<TSilentProgress>(instructions.DisplayTitle);
}

void TUnattendedSink::FileStarted(const std::string&, const std::string& target) {
    if (m_window) m_window->ShowFile(target);
}

void TUnattendedSink::Progress(int position) {
    if (m_window) m_window->ShowProgress(position);
}

}  // namespace quenby

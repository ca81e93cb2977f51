#include "unattended/SilentProgress.h"

#include "base/PathLabel.h"
#include "win/Pause.h"

namespace quenby {

TSilentProgress::TSilentProgress(const std::string& caption) : TFormOf(ui::forms::kSilentProgressForm) {
    Create(nullptr);
    SetCaption(caption);  // before it is seen
    Show();
    Repaint();
}

TSilentProgress::~TSilentProgress() { Destroy(); }

// The run works on this thread: each change is painted at once and the window never looks hung, while
// input waits in the queue.
void TSilentProgress::ShowFile(const std::string& target) {
    Control("FileLabel").SetCaption(PathLabel(target));
    Control("FileLabel").Repaint();
    LookAtQueue();
}

void TSilentProgress::ShowProgress(int position) {
    Control("ProgressBar").SetPosition(position);
    UpdateWindow(Control("ProgressBar").Handle());
}

}  // namespace quenby

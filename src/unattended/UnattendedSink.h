// The engine's sink for /SILENT and /VERYSILENT: no pauses, no boxes (the log is install/LoggedSink.h's);
// under /SILENT the file and the bar go to the one small window. Every question an interactive run would
// ask gets a fixed answer here: a damaged file or a missing disk ends the run.
#pragma once
#include <memory>
#include <string>

#include "base/Instructions.h"
#include "install/InstallSink.h"
#include "ui/ProgressWindow.h"

namespace quenby {

class TUnattendedSink final : public TInstallSink {
public:
    TUnattendedSink(const TInstructions& instructions, bool window, bool addOns);

    // Whether the run installed everything (false after a missing disk or a failure).
    bool Completed() const { return m_completed; }

    void RunStarted() override {}
    void FileStarted(const std::string& source, const std::string& target) override;
    void Progress(int position) override;
    void NeedDisk(const std::string&) override {}
    // Nobody can put an undamaged disk in.
    bool RetryDamaged(const std::string&) override { return false; }
    void Done() override { m_completed = true; }
    void RunEnded() override {}
    bool AddOnWanted(const std::string&) override { return m_addOns; }
    HWND Owner() const override { return m_window ? m_window->Handle() : nullptr; }

private:
    std::unique_ptr<ui::TProgressWindow> m_window;
    bool m_addOns;
    bool m_completed = false;
};

}  // namespace quenby

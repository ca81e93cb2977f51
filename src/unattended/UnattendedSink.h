// The engine's sink for /SILENT and /VERYSILENT: no pauses, no boxes; every event goes to the log, and
// under /SILENT the file and the bar to the one small window. Every question an interactive run would
// ask gets a fixed answer here: a damaged file or a missing disk ends the run.
#pragma once
#include <memory>
#include <string>

#include "base/Instructions.h"
#include "install/InstallSink.h"
#include "unattended/SilentProgress.h"
#include "win/LogFile.h"

namespace quenby {

class TUnattendedSink final : public TInstallSink {
public:
    TUnattendedSink(const TInstructions& instructions, TLogFile& log, bool window, bool addOns);

    // Whether the run installed everything (false after a missing disk or a failure).
    bool Completed() const { return m_completed; }

    void RunStarted() override {}
    void FileStarted(const std::string& source, const std::string& target) override;
    void TargetExists(const std::string&) override { m_existed = true; }
    void FileDone() override;
    void Progress(int position) override;
    void NeedDisk(const std::string& source) override;
    bool RetryDamaged(const std::string& source) override;
    void FileKept(const std::string& target) override;
    void FileReplacedAtRestart(const std::string& target) override;
    void Done() override { m_completed = true; }
    void RunEnded() override {}
    void DirectoryCreated(const std::string& path) override;
    void GroupSent(const std::string& group, const std::vector<std::string>& items) override;
    void ValueWritten(const std::string& key, const std::string& name) override;
    void CounterRaised(const std::string& sharedFile) override;
    void AddOnStarted(const std::string& file) override;
    void OldCopyKept(const std::string& path, const std::string& copy) override;
    void Undone(const std::string& what) override;
    void NotUndone(const std::string& what, const std::string& why) override;
    void RolledBack() override;
    bool AddOnWanted(const std::string& file) override;
    HWND Owner() const override { return m_window ? m_window->Handle() : nullptr; }

private:
    TLogFile& m_log;
    std::unique_ptr<TSilentProgress> m_window;
    bool m_addOns;
    bool m_completed = false;
    std::string m_source, m_target;
    bool m_existed = false;
    bool m_fileNoted = false;  // the current file's outcome is in the log already
};

}  // namespace quenby

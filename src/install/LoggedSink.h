// A sink that writes every event of a run to the /LOG file and passes it on to the sink that presents the
// run (the wizard, or an unattended run's window): one log for either mode.
#pragma once
#include <string>
#include <vector>

#include "install/InstallSink.h"
#include "win/LogFile.h"

namespace quenby {

class TLoggedSink final : public TInstallSink {
public:
    TLoggedSink(TInstallSink& presenter, TLogFile& log) : m_presenter(presenter), m_log(log) {}

    void RunStarted() override { m_presenter.RunStarted(); }
    void FileStarted(const std::string& source, const std::string& target) override;
    void TargetExists(const std::string& target) override;
    void FileDone() override;
    void Progress(int position) override { m_presenter.Progress(position); }
    void NeedDisk(const std::string& source) override;
    bool RetryDamaged(const std::string& source) override;
    void FileKept(const std::string& target) override;
    void FileReplacedAtRestart(const std::string& target) override;
    void StepFailed(const std::string& message) override { m_presenter.StepFailed(message); }
    void Done() override { m_presenter.Done(); }
    void RunEnded() override { m_presenter.RunEnded(); }
    void DirectoryCreated(const std::string& path) override;
    void GroupSent(const std::string& group, const std::vector<std::string>& items,
                   const std::vector<bool>& accepted) override;
    void ValueWritten(const std::string& key, const std::string& name) override;
    void CounterRaised(const std::string& sharedFile) override;
    void AddOnStarted(const std::string& file) override;
    void OldCopyKept(const std::string& path, const std::string& copy) override;
    void Undone(const std::string& what) override;
    void NotUndone(const std::string& what, const std::string& why) override;
    void RolledBack() override;
    bool AddOnWanted(const std::string& file) override;
    HWND Owner() const override { return m_presenter.Owner(); }

private:
    TInstallSink& m_presenter;
    TLogFile& m_log;
    std::string m_source, m_target;
    bool m_existed = false;
    bool m_fileNoted = false;  // the current file's outcome is in the log already
};

}  // namespace quenby

// What the installation engine tells whoever presents it: the wizard, or an unattended run's progress
// window and log. The engine never asks a sink to change a page or a control; each sink maps the events
// to what it shows. Events beyond the core ones have empty defaults, so a new event touches no sink that
// does not care about it.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace quenby {

class TInstallSink {
public:
    virtual ~TInstallSink() = default;

    // The run's checks passed; nothing is changed yet.
    virtual void RunStarted() = 0;
    // Before a file is copied or expanded: the source and the target it goes to.
    virtual void FileStarted(const std::string& source, const std::string& target) = 0;
    // The file about to be written is in place already (it is then replaced or kept).
    virtual void TargetExists(const std::string& target) { (void)target; }
    // After it landed and the progress moved.
    virtual void FileDone() {}
    // The bar's position, 0 to 100.
    virtual void Progress(int position) = 0;
    // A source file is missing: the next disk is wanted. The run ends here and resumes at that file.
    virtual void NeedDisk(const std::string& source) = 0;
    // A source file does not match the medium's checksum: true to read it again (an undamaged disk was
    // put in), false to end the run as a failure.
    virtual bool RetryDamaged(const std::string& source) {
        (void)source;
        return false;
    }
    // A file was not written: the one in place is the same version or newer.
    virtual void FileKept(const std::string& target) { (void)target; }
    // A file in use waits beside its target for the next restart.
    virtual void FileReplacedAtRestart(const std::string& target) { (void)target; }
    // The run ends with this failure (the exception then propagates to the run's caller).
    virtual void StepFailed(const std::string& message) { (void)message; }
    // Everything was installed.
    virtual void Done() = 0;
    // However the run ended: after Done, NeedDisk or a failure, and after a failed check too.
    virtual void RunEnded() = 0;

    // What the run made, for a sink that keeps a log of it.
    virtual void DirectoryCreated(const std::string& path) { (void)path; }
    // The group with every item sent to it, the uninstaller's last; whether Program Manager's conversation
    // accepted each: the group, then each item (none were without a conversation).
    virtual void GroupSent(const std::string& group, const std::vector<std::string>& items,
                           const std::vector<bool>& accepted) {
        (void)group, (void)items, (void)accepted;
    }
    // `key` as ShownKey (win/RegistryKey.h) shows it.
    virtual void ValueWritten(const std::string& key, const std::string& name) { (void)key, (void)name; }
    virtual void CounterRaised(const std::string& sharedFile) { (void)sharedFile; }
    virtual void AddOnStarted(const std::string& file) { (void)file; }
    // Before an unattended run overwrites a file: where its old bytes wait, should the run fail.
    virtual void OldCopyKept(const std::string& path, const std::string& copy) { (void)path, (void)copy; }
    // A failed run's changes put back, one by one (`what`: a path, a registry value or key, a group), and
    // then the end of it.
    virtual void Undone(const std::string& what) { (void)what; }
    virtual void NotUndone(const std::string& what, const std::string& why) { (void)what, (void)why; }
    virtual void RolledBack() {}
    // Whether an add-on that the instructions start is started now; an unattended run passes them over.
    virtual bool AddOnWanted(const std::string& file) {
        (void)file;
        return true;
    }

    // The window that owns what the run starts (add-ons through the shell); none without windows.
    virtual HWND Owner() const { return nullptr; }
};

}  // namespace quenby

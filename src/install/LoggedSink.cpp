#include "install/LoggedSink.h"

#include "base/Texts.h"

namespace quenby {

void TLoggedSink::FileStarted(const std::string& source, const std::string& target) {
    m_source = source;
    m_target = target;
    m_existed = false;
    m_fileNoted = false;
    m_presenter.FileStarted(source, target);
}

void TLoggedSink::TargetExists(const std::string& target) {
    m_existed = true;
    m_presenter.TargetExists(target);
}

void TLoggedSink::FileDone() {
    if (!m_fileNoted) m_log.Line(m_existed ? kLogFileReplaced : kLogFileCopied, m_source + " -> " + m_target);
    m_presenter.FileDone();
}

void TLoggedSink::NeedDisk(const std::string& source) {
    m_log.Line(kLogMissingSource, source);
    m_presenter.NeedDisk(source);
}

bool TLoggedSink::RetryDamaged(const std::string& source) {
    m_log.Line(kLogFileDamaged, source);
    return m_presenter.RetryDamaged(source);
}

void TLoggedSink::FileKept(const std::string& target) {
    m_log.Line(kLogFileKept, target);
    m_fileNoted = true;
    m_presenter.FileKept(target);
}

void TLoggedSink::FileReplacedAtRestart(const std::string& target) {
    m_log.Line(kLogFileAtRestart, target);
    m_fileNoted = true;
    m_presenter.FileReplacedAtRestart(target);
}

void TLoggedSink::DirectoryCreated(const std::string& path) {
    m_log.Line(kLogDirectory, path);
    m_presenter.DirectoryCreated(path);
}

void TLoggedSink::GroupSent(const std::string& group, const std::vector<std::string>& items,
                            const std::vector<bool>& accepted) {
    // Never "made": Program Manager carries a macro out after accepting it, and says nothing more.
    auto line = [&](std::size_t at, const char* kind, const std::string& name) {
        m_log.Line(at < accepted.size() && accepted[at] ? kLogProgmanAccepted : kLogProgmanRefused,
                   std::string(kind) + " " + name);
    };
    line(0, kLogGroup, group);
    for (std::size_t i = 0; i < items.size(); ++i) line(i + 1, kLogItem, items[i]);
    m_presenter.GroupSent(group, items, accepted);
}

void TLoggedSink::ValueWritten(const std::string& key, const std::string& name) {
    m_log.Line(kLogValue, key + " " + name);
    m_presenter.ValueWritten(key, name);
}

void TLoggedSink::CounterRaised(const std::string& sharedFile) {
    m_log.Line(kLogCounter, sharedFile);
    m_presenter.CounterRaised(sharedFile);
}

void TLoggedSink::AddOnStarted(const std::string& file) {
    m_log.Line(kLogAddOnStarted, file);
    m_presenter.AddOnStarted(file);
}

void TLoggedSink::OldCopyKept(const std::string& path, const std::string& copy) {
    m_log.Line(kLogOldCopy, path + " in " + copy);
    m_presenter.OldCopyKept(path, copy);
}

void TLoggedSink::Undone(const std::string& what) {
    m_log.Line(kLogUndone, what);
    m_presenter.Undone(what);
}

void TLoggedSink::NotUndone(const std::string& what, const std::string& why) {
    m_log.Line(kLogNotUndone, what + ": " + why);
    m_presenter.NotUndone(what, why);
}

void TLoggedSink::RolledBack() {
    m_log.Line(kLogRolledBack);
    m_presenter.RolledBack();
}

bool TLoggedSink::AddOnWanted(const std::string& file) {
    const bool wanted = m_presenter.AddOnWanted(file);
    if (!wanted) m_log.Line(kLogAddOnSkipped, file);
    return wanted;
}

}  // namespace quenby

#include "unattended/UnattendedSink.h"

#include "base/InstallRecord.h"
#include "base/Texts.h"

namespace quenby {

TUnattendedSink::TUnattendedSink(const TInstructions& instructions, TLogFile& log, bool window, bool addOns)
    : m_log(log), m_addOns(addOns) {
    if (window) m_window = std::make_unique<TSilentProgress>(instructions.DisplayTitle);
}

void TUnattendedSink::FileStarted(const std::string& source, const std::string& target) {
    m_source = source;
    m_target = target;
    m_existed = false;
    m_fileNoted = false;
    if (m_window) m_window->ShowFile(target);
}

void TUnattendedSink::FileDone() {
    if (!m_fileNoted) m_log.Line(m_existed ? kLogFileReplaced : kLogFileCopied, m_source + " -> " + m_target);
}

void TUnattendedSink::Progress(int position) {
    if (m_window) m_window->ShowProgress(position);
}

void TUnattendedSink::NeedDisk(const std::string& source) { m_log.Line(kLogMissingSource, source); }

bool TUnattendedSink::RetryDamaged(const std::string& source) {
    m_log.Line(kLogFileDamaged, source);
    return false;
}

void TUnattendedSink::FileKept(const std::string& target) {
    m_log.Line(kLogFileKept, target);
    m_fileNoted = true;
}

void TUnattendedSink::FileReplacedAtRestart(const std::string& target) {
    m_log.Line(kLogFileAtRestart, target);
    m_fileNoted = true;
}

void TUnattendedSink::DirectoryCreated(const std::string& path) { m_log.Line(kLogDirectory, path); }

void TUnattendedSink::GroupSent(const std::string& group, const std::vector<std::string>& items) {
    m_log.Line(kLogGroup, group);
    for (const std::string& title : items) m_log.Line(kLogItem, title);
}

void TUnattendedSink::ValueWritten(const std::string& key, const std::string& name) {
    m_log.Line(kLogValue, key + " " + name);
}

void TUnattendedSink::CounterRaised(const std::string& sharedFile) { m_log.Line(kLogCounter, sharedFile); }

void TUnattendedSink::AddOnStarted(const std::string& file) { m_log.Line(kLogAddOnStarted, file); }

void TUnattendedSink::OldCopyKept(const std::string& path, const std::string& copy) {
    m_log.Line(kLogOldCopy, path + " in " + copy);
}

void TUnattendedSink::Undone(const std::string& what) { m_log.Line(kLogUndone, what); }

void TUnattendedSink::NotUndone(const std::string& what, const std::string& why) {
    m_log.Line(kLogNotUndone, what + ": " + why);
}

void TUnattendedSink::RolledBack() { m_log.Line(kLogRolledBack); }

bool TUnattendedSink::AddOnWanted(const std::string& file) {
    if (!m_addOns) m_log.Line(kLogAddOnSkipped, file);
    return m_addOns;
}

}  // namespace quenby

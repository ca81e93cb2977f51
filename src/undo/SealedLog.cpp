#include "undo/SealedLog.h"

#include <algorithm>

#include "base/Errors.h"
#include "base/InstallRecord.h"
#include "base/Texts.h"
#include "win/FileSystem.h"
#include "win/NoticeFile.h"
#include "win/Sha256.h"
#include "win/SystemText.h"

namespace quenby {

namespace {

std::string SealValueName(const std::string& destination) {
    return HexText(Sha256(NormalisedDestination(destination)));
}

// The next free name for a log that cannot be verified.
std::string BadLogPath(const std::string& destination) {
    const std::string first = destination + "\\" + kBadLogName;
    std::string path = first;
    for (int number = 2; Exists(path) && number < 1000; ++number) path = first + "." + std::to_string(number);
    return path;
}

}  // namespace

std::optional<TLogSeal> ReadLogSeal(const std::string& destination) {
    const std::optional<TRegistryKey> key = TRegistryKey::Open(HKEY_LOCAL_MACHINE, kLogRecordsKey, KEY_QUERY_VALUE);
    if (!key) return std::nullopt;
    try {
        return ParseSeal(key->ReadText(SealValueName(destination)));
    } catch (const ERegistryException&) {
        return std::nullopt;  // not text: no record of Setup's
    }
}

void DeleteLogSeal(const std::string& destination) {
    std::string path = kLogRecordsKey;
    try {
        if (const auto key = TRegistryKey::Open(HKEY_LOCAL_MACHINE, path, KEY_SET_VALUE))
            key->DeleteValue(SealValueName(destination));
        else
            return;
        // The records' key and its parents go with the last record (up to SOFTWARE).
        for (; std::ranges::count(path, '\\') > 0; path.erase(path.rfind('\\'))) {
            const auto parent = TRegistryKey::Open(HKEY_LOCAL_MACHINE, path, KEY_READ);
            if (!parent || !parent->IsEmpty()) return;
            TRegistryKey::DeleteKey(HKEY_LOCAL_MACHINE, path);
        }
    } catch (const ERegistryException&) {
        // left: see the declaration
    }
}

std::optional<std::string> ReadVerifiedLog(const std::string& destination) {
    const std::optional<TLogSeal> seal = ReadLogSeal(destination);
    const std::string path = InstallLogPath(destination);
    if (!seal || !IsFile(path)) return std::nullopt;
    return VerifiedLogText(ReadWholeFile(path), *seal, Sha256);
}

TSealedLog::TSealedLog(const std::string& destination, bool mayBeginAnew)
    : m_destination(destination), m_path(InstallLogPath(destination)) {
    const std::optional<TLogSeal> seal = ReadLogSeal(destination);
    if (Exists(m_path)) {
        const std::optional<std::string> verified = ReadVerifiedLog(destination);
        if (verified) {
            m_file.Reset(CreateFileA(m_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
            LARGE_INTEGER end{};
            end.QuadPart = static_cast<LONGLONG>(seal->Bytes);
            // A line written after the last record (a run stopped in between) was never acted on.
            if (!m_file || !SetFilePointerEx(m_file.Get(), end, nullptr, FILE_BEGIN) || !SetEndOfFile(m_file.Get()))
                Fail(GetLastError());
            m_seal = *seal;
            return;
        }
        if (!mayBeginAnew) throw Exception(LogMismatchText(m_path));
        if (!MoveFileA(m_path.c_str(), BadLogPath(destination).c_str())) Fail(GetLastError());
    }
    // A log that appears meanwhile is someone else's: never adopted.
    m_file.Reset(CreateFileA(m_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
    if (!m_file) Fail(GetLastError());
    Append(std::string(kInstallLogHeader) + "\r\n");
}

void TSealedLog::Fail(DWORD error) const { throw Exception(CannotWriteLogText(m_path, SystemErrorText(error))); }

// Each line reaches the file before its action (a process stopped anywhere leaves it there); it is never
// forced to the disk. Forcing bought no order against a power cut, the record in the registry being
// written back lazily too: should a cut leave the two apart, the uninstaller refuses the log and removes
// nothing. It cost half a millisecond a line under Wine, and once for the closed log the whole
// installation's data with it (ext4 writes out what is pending with the one file): 5 to 10 ms, once 0.7 s.
void TSealedLog::Append(const std::string& line) {
    DWORD written = 0;
    if (!WriteFile(m_file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ||
        written != line.size())
        Fail(GetLastError());
    const TLogSeal next = ExtendSeal(m_seal, line, Sha256);
    if (!m_records) {
        m_records = TRegistryKey::Create(HKEY_LOCAL_MACHINE, kLogRecordsKey);
        if (!m_records) Fail(ERROR_ACCESS_DENIED);
        m_sealName = SealValueName(m_destination);
    }
    try {
        m_records->WriteText(m_sealName, SealText(next));
    } catch (const ERegistryException& error) {
        throw Exception(CannotWriteLogText(m_path, error.what()));
    }
    m_seal = next;
}

}  // namespace quenby

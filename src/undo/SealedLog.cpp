#include "undo/SealedLog.h"

#include <algorithm>
#include <cstdint>

#include "base/Errors.h"
#include "base/InstallRecord.h"
#include "base/Texts.h"
#include "win/FileSystem.h"
#include "win/NoLinkRemoval.h"
#include "win/PlainFile.h"
#include "win/Sha256.h"
#include "win/SystemText.h"

namespace quenby {

namespace {

// Where the destination's final form puts the log: a link, a second name of another file or a folder swapped
// in are refused, whatever the name said when it was checked.
bool IsPlainLog(HANDLE file, const std::string& destination) {
    return IsPlainFileAt(file, FinalPathBelow(FinalPathOf(destination), destination, InstallLogPath(destination)));
}

// The log opened without following a link; empty when there is none. Raises when it is no plain log.
THandle OpenLog(const std::string& destination, DWORD access) {
    const std::string path = InstallLogPath(destination);
    THandle file(CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (IsGoneError(error)) return file;
        throw Exception(CannotWriteLogText(path, SystemErrorText(error)));
    }
    if (!IsPlainLog(file.Get(), destination)) throw Exception(CannotWriteLogText(path, kLogNotPlainReason));
    return file;
}

// Exactly the sealed bytes, read through the handle (what lies beyond was never recorded), if they verify.
std::optional<std::string> ReadSealed(HANDLE file, const TLogSeal& seal) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || static_cast<std::uint64_t>(size.QuadPart) < seal.Bytes) return std::nullopt;
    std::string text(static_cast<std::size_t>(seal.Bytes), '\0');
    for (std::size_t done = 0; done < text.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1 << 20));
        DWORD read = 0;
        if (!ReadFile(file, text.data() + done, chunk, &read, nullptr) || read == 0) return std::nullopt;
        done += read;
    }
    return VerifiedLogText(text, seal, Sha256);
}

}  // namespace

std::string SealValueName(const std::string& destination) {
    return HexText(Sha256(NormalisedDestination(destination)));
}

std::string BadLogPath(const std::string& destination) {
    const std::string first = destination + "\\" + kBadLogName;
    std::string path = first;
    for (int number = 2; Exists(path) && number < 1000; ++number) path = first + "." + std::to_string(number);
    return path;
}

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
    if (!seal) return std::nullopt;
    try {
        const THandle file = OpenLog(destination, GENERIC_READ);
        return file ? ReadSealed(file.Get(), *seal) : std::nullopt;
    } catch (const Exception&) {
        return std::nullopt;
    }
}

TSealedLog::TSealedLog(const std::string& destination, bool mayBeginAnew, const std::function<void()>& afterCheck)
    : m_destination(destination), m_path(InstallLogPath(destination)) {
    const std::optional<TLogSeal> seal = ReadLogSeal(destination);
    m_file = OpenLog(destination, GENERIC_READ | GENERIC_WRITE | DELETE);
    if (m_file) {
        if (seal && ReadSealed(m_file.Get(), *seal)) {
            if (afterCheck) afterCheck();
            LARGE_INTEGER end{};
            end.QuadPart = static_cast<LONGLONG>(seal->Bytes);
            // A line written after the last record (a run stopped in between) was never acted on.
            if (!SetFilePointerEx(m_file.Get(), end, nullptr, FILE_BEGIN) || !SetEndOfFile(m_file.Get()))
                Fail(GetLastError());
            m_seal = *seal;
            return;
        }
        if (!mayBeginAnew) throw Exception(LogMismatchText(m_path));
        if (!RenameOpenFile(m_file.Get(), BadLogPath(destination))) Fail(GetLastError());
        m_file.Reset();
    }
    // A log that appears meanwhile is someone else's: never adopted.
    m_file.Reset(CreateFileA(m_path.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file) Fail(GetLastError());
    if (!IsPlainLog(m_file.Get(), destination)) throw Exception(CannotWriteLogText(m_path, kLogNotPlainReason));
    Append(std::string(kInstallLogHeader) + "\r\n");
}

void TSealedLog::Fail(DWORD error) const { throw Exception(CannotWriteLogText(m_path, SystemErrorText(error))); }

// Each line reaches the file before its action (a process stopped anywhere leaves it there); it is never
// forced to the disk. Forcing bought no order against a power cut, the record in the registry being written
// back lazily too: should a cut leave the two apart, the uninstaller refuses the log and removes nothing. It
// cost half a millisecond a line under Wine, and once for the closed log the whole installation's data with
// it (ext4 writes out what is pending with the one file): 5 to 10 ms, once 0.7 s.
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

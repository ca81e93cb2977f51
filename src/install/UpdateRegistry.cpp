#include "install/UpdateRegistry.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>

#include "base/Errors.h"
#include "base/InstallRecord.h"
#include "base/NumberRule.h"
#include "base/Texts.h"
#include "install/UninstallRecord.h"
#include "win/FileSystem.h"
#include "win/Handles.h"
#include "win/NoLinkRemoval.h"
#include "win/PlainFile.h"
#include "win/RegistryKey.h"
#include "win/SystemText.h"
#include "win/profile.h"

namespace quenby {

namespace {

// What the system's list of programs shows as the size: the installed files' bytes in KB, rounded up.
DWORD InstalledKilobytes(const TInstructions& instructions, const std::string& destination,
                         const std::string& windowsDir) {
    std::uint64_t bytes = 0;
    auto add = [&](const std::string& path) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
            bytes += (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    };
    for (int i = 0; i < instructions.SysFilesOut.Count(); ++i) add(windowsDir + "\\" + instructions.SysFilesOut[i]);
    for (int i = 0; i < instructions.FilesOut.Count(); ++i) add(destination + "\\" + instructions.FilesOut[i]);
    return static_cast<DWORD>(std::min<std::uint64_t>((bytes + 1023) / 1024, MAXDWORD));
}

// The record is written by name through the profile functions, which follow links: it is made here, or found
// to be a plain file of the destination, just before the step's first write. A swap after this check, before
// the profile functions open it, remains possible; the uninstaller trusts nothing the record holds.
void PrepareRecordFile(const std::string& destination, TRunJournal& journal) {
    const std::string path = UninstallRecordPath(destination);
    if (Exists(path))
        journal.FileKept(path);
    else
        journal.FileMade(path);
    THandle file(CreateFileA(path.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file && GetLastError() == ERROR_FILE_EXISTS)
        file.Reset(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file || !IsPlainFileAt(file.Get(), FinalPathBelow(FinalPathOf(destination), destination, path)))
        throw Exception(CannotWriteText(path));
}

// A shared file counted where every installer counts, in the 64-bit view where there is one, so that both
// builds count in one place. Another installer's value that is no count is left as it is: false then.
bool RaiseMachineCount(const std::string& path, TRunJournal& journal) {
    journal.ValueKept(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, kSharedDllsKey, path);
    const auto key =
        TRegistryKey::Create(HKEY_LOCAL_MACHINE, kSharedDllsKey, KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_64KEY);
    if (!key) throw ERegistryException(RegistryWriteText(path));
    const std::optional<DWORD> count = key->ReadDword(path);
    if (!count && key->ValueExists(path)) return false;
    key->WriteDword(path, count == MAXDWORD ? MAXDWORD : count.value_or(0) + 1);
    return true;
}

std::string TodayYyyymmdd() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char text[16] = {};
    wsprintfA(text, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
    return text;
}

}  // namespace

void UpdateRegistry(const TInstructions& instructions, const TUserAnswers& answers, const std::string& destination,
                    int& countersRaised, TInstallLogWriter& log, TInstallSink& sink) {
    auto write = [&](TRegistryProfile& profile, const std::string& section, const std::string& name,
                     const std::string& text) {
        log.WriteValue(profile, section, name, text);
        sink.ValueWritten(ShownKey(profile.Root(), profile.KeyPath(section)), name);
    };
    auto writeNumber = [&](TRegistryProfile& profile, const std::string& section, const std::string& name,
                           DWORD number) {
        log.WriteValue(profile, section, name, number);
        sink.ValueWritten(ShownKey(profile.Root(), profile.KeyPath(section)), name);
    };

    // Declared so that they are released in the order product registry profile, counter registry
    // profile, record profile, also on a failure.
    const TProfileFile record(UninstallRecordPath(destination));
    std::optional<TRegistryProfile> counters;
    std::optional<TRegistryProfile> product;

    const std::string basePath = instructions.KeysValues[0];
    log.KeysToCreate(HKEY_CURRENT_USER, CleanKeyPath(basePath));
    log.Journal().KeysKept(HKEY_CURRENT_USER, 0, CleanKeyPath(basePath));
    product.emplace(HKEY_CURRENT_USER, basePath);
    // Below the root, whatever key the profile stands in.
    const std::string countersPath = '\\' + std::string(kCountersParentKey) + '\\';
    log.KeysToCreate(HKEY_CURRENT_USER, CleanKeyPath(countersPath));
    log.Journal().KeysKept(HKEY_CURRENT_USER, 0, CleanKeyPath(countersPath));
    counters.emplace(HKEY_CURRENT_USER, countersPath);

    PrepareRecordFile(destination, log.Journal());
    const std::string installSection = basePath + "\\" + kRecordInstallSection;
    for (int entry = 1; entry < instructions.Keys.Count(); ++entry) {
        const std::string& subkey = instructions.KeysValues[entry];
        if (static_cast<std::size_t>(entry) >= instructions.KeySections.size()) throw EListError();
        const TInstructions::TValueSection& values = instructions.KeySections[static_cast<std::size_t>(entry)];
        for (int line = 0; line < values.Names.Count(); ++line) {
            const std::string& name = values.Names[line];
            const std::string& text = values.Texts[line];
            const std::string* personal = nullptr;
            if (SameUserText(name, "Name") && SameUserText(text, "$NAME"))
                personal = &answers.UserName;
            else if (SameUserText(name, "Organization") && SameUserText(text, "$ORG"))
                personal = &answers.Organisation;
            write(*product, basePath + "\\" + subkey, name, personal ? *personal : text);
            if (personal) record.WriteText(subkey, name, *personal);
        }
        write(*product, installSection, "Path", destination);
        record.WriteText(kRecordInstallSection, "Path", destination);
        write(*product, installSection, "Date", InstallationDateText());
        record.WriteText(kRecordInstallSection, "Date", InstallationDateText());
    }

    product.emplace(HKEY_LOCAL_MACHINE, "");
    const std::string windowsDir = WindowsDirectory();
    const std::string displayName = DisplayName(instructions.Application, instructions.Version);
    const std::string uninstallSection = UninstallEntryKey(instructions.Application);  // below the new root
    log.Add(TLogKind::Uninstall, instructions.Application);
    write(*product, uninstallSection, kEntryDisplayName, displayName);
    record.WriteText(kRecordUninstallSection, kEntryDisplayName, displayName);
    const std::string command = UninstallCommand(windowsDir, destination);
    write(*product, uninstallSection, kEntryUninstallString, command);
    record.WriteText(kRecordUninstallSection, kEntryUninstallString, command);
    // What the system's list of programs and package managers read beside the two above.
    write(*product, uninstallSection, kEntryQuietUninstallString, QuietUninstallCommand(windowsDir, destination));
    write(*product, uninstallSection, kEntryDisplayVersion, instructions.Version);
    write(*product, uninstallSection, kEntryInstallLocation, destination);
    write(*product, uninstallSection, kEntryInstallDate, TodayYyyymmdd());
    writeNumber(*product, uninstallSection, kEntryEstimatedSize,
                InstalledKilobytes(instructions, destination, windowsDir));
    if (!instructions.WebAddress.empty())
        write(*product, uninstallSection, kEntryUrlInfoAbout, instructions.WebAddress);
    if (!instructions.Publisher.empty()) write(*product, uninstallSection, kEntryPublisher, instructions.Publisher);
    write(*product, uninstallSection, kEntryDisplayIcon, DisplayIcon(instructions.Items, windowsDir, destination));
    if (const std::optional<TVersionNumbers> version = VersionNumbers(instructions.Version)) {
        writeNumber(*product, uninstallSection, kEntryVersionMajor, version->Major);
        writeNumber(*product, uninstallSection, kEntryVersionMinor, version->Minor);
    }
    writeNumber(*product, uninstallSection, kEntryNoModify, 1);
    writeNumber(*product, uninstallSection, kEntryNoRepair, 1);

    // Two steps a file, the user's count, then the machine's, so that a retry after a failure here raises
    // neither again.
    for (; countersRaised < 2 * instructions.SysFilesOut.Count(); ++countersRaised) {
        const std::string& sharedFile = instructions.SysFilesOut[countersRaised / 2];
        if (countersRaised % 2 == 1) {
            if (RaiseMachineCount(windowsDir + "\\" + sharedFile, log.Journal()))
                log.Add(TLogKind::MachineCounter, sharedFile);
            continue;
        }
        const std::int32_t count = counters->ReadNumber(kCountersSection, sharedFile, 0);
        log.KeysToCreate(HKEY_CURRENT_USER, counters->KeyPath(kCountersSection));
        log.Journal().ValueKept(HKEY_CURRENT_USER, 0, counters->KeyPath(kCountersSection), sharedFile);
        counters->WriteNumber(kCountersSection, sharedFile, count == INT32_MAX ? count : count + 1);
        log.Add(TLogKind::Counter, sharedFile);  // after the raise: never lowered unraised
        sink.CounterRaised(sharedFile);
    }
}

}  // namespace quenby

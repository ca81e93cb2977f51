#include "install/RoomCheck.h"

#include <windows.h>

#include <cstdint>
#include <map>

#include "base/Errors.h"
#include "base/InstallRecord.h"
#include "base/RoomRule.h"
#include "base/Texts.h"
#include "win/Handles.h"
#include "win/PrivateFolder.h"

namespace quenby {

namespace {

// Room a log line takes, on average, counted for every line the run may write.
constexpr std::uint64_t kLogLineBytes = 200;

// "X:\" or "\\server\share\": where the free space is asked.
std::string DriveRoot(const std::string& path) {
    if (path.size() >= 3 && path[1] == ':') return path.substr(0, 3);
    const std::size_t share = path.find('\\', path.find('\\', 2) + 1);
    return share == std::string::npos ? path + "\\" : path.substr(0, share + 1);
}

// What the source becomes on disk, unexpanded when it is no compressed file; none when it is not there.
std::optional<std::uint64_t> TargetSize(const std::string& source, bool expand) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(source.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    const std::uint64_t size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    if (!expand) return size;
    const THandle file(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    char header[14] = {};
    DWORD read = 0;
    if (!file || !ReadFile(file.Get(), header, sizeof header, &read, nullptr)) return size;
    return SzddExpandedSize(std::string_view(header, read)).value_or(size);
}

struct TDrive {
    std::uint64_t Cluster = 0;
    std::uint64_t Needed = 0;
};

}  // namespace

void CheckRoom(const TInstructions& instructions, const std::string& destination, const std::string& windowsDir,
               const TCopyResume& resume) {
    std::map<std::string, TDrive> drives;
    const auto add = [&](const std::string& target, std::uint64_t size) {
        const std::string root = DriveRoot(target);
        auto [place, isNew] = drives.try_emplace(root);
        if (isNew) {
            DWORD sectors = 0, bytes = 0, freeClusters = 0, clusters = 0;
            if (GetDiskFreeSpaceA(root.c_str(), &sectors, &bytes, &freeClusters, &clusters))
                place->second.Cluster = std::uint64_t{sectors} * bytes;
        }
        place->second.Needed += ClusterBytes(size, place->second.Cluster);
    };
    int lines = instructions.Dirs.Count() + 20;
    if (resume.Part == TCopyPart::Files) {
        const struct {
            const TStringList& In;
            const TStringList& Out;
            const std::string& Folder;
            int Start;
        } lists[] = {
            {instructions.SysFilesIn, instructions.SysFilesOut, windowsDir, resume.SystemFiles ? resume.Position : -1},
            {instructions.FilesIn, instructions.FilesOut, destination, resume.SystemFiles ? 0 : resume.Position},
        };
        for (const auto& list : lists)
            for (int i = list.Start; i >= 0 && i < list.In.Count() && i < list.Out.Count(); ++i) {
                lines += 3;
                // A source on a later disk is counted once that disk is in hand.
                if (const auto size = TargetSize(instructions.SourceDir + list.In[i], instructions.Expand))
                    add(list.Folder + "\\" + list.Out[i], *size);
                if (const auto old = TargetSize(list.Folder + "\\" + list.Out[i], false))
                    add(PrivateFoldersParent(), *old);
            }
    }
    add(UninstallRecordPath(destination), 1);
    add(InstallLogPath(destination), kLogLineBytes * static_cast<std::uint64_t>(lines));
    for (const std::string& kept : {UninstallRecordPath(destination), InstallLogPath(destination)})
        if (const auto old = TargetSize(kept, false)) add(PrivateFoldersParent(), *old);
    for (const auto& [root, drive] : drives) {
        ULARGE_INTEGER available{};
        if (!GetDiskFreeSpaceExA(root.c_str(), &available, nullptr, nullptr)) continue;
        if (available.QuadPart < drive.Needed)
            throw EDiskFull(NoRoomText(root.substr(0, root.size() - 1),
                                       DisplayName(instructions.Application, instructions.Version),
                                       KilobytesUp(drive.Needed), available.QuadPart / 1024));
    }
}

}  // namespace quenby

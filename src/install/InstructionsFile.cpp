#include "install/InstructionsFile.h"

#include <windows.h>

#include <vector>

#include "base/Errors.h"
#include "base/InstallRecord.h"
#include "base/Texts.h"
#include "win/Handles.h"
#include "win/SystemText.h"
#include "win/profile.h"

namespace quenby {

namespace {

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The profile functions read a file they cannot open as an empty one, which would offer to install
// nothing.
void CheckReadable(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw Exception(CannotReadInstructionsText(path, SystemErrorText(GetLastError())));
    const THandle owner(file);
}

}  // namespace

TInstructions ReadInstructionsFile(const std::string& sourceDir) {
    TInstructions in;
    in.SourceDir = sourceDir;
    in.InstructionsPath = sourceDir + kInstructionsFileName;
    if (!FileExists(in.InstructionsPath)) return in;
    CheckReadable(in.InstructionsPath);
    in.ReadFrom(TProfileFile(in.InstructionsPath), sourceDir);
    return in;
}

TInstructions ReadInstructionsFromMedium() {
    // Asking for the size first keeps a current directory longer than MAX_PATH whole.
    const DWORD size = GetCurrentDirectoryA(0, nullptr);
    std::vector<char> buffer(size + 1, '\0');
    const DWORD length = size ? GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data()) : 0;
    // Going on with an empty one would take the medium to be the drive's root.
    if (length == 0 || length >= buffer.size())
        throw Exception(CannotReadDirectoryText("current", SystemErrorText(GetLastError())));
    return ReadInstructionsFile(std::string(buffer.data(), length) + "\\");
}

}  // namespace quenby

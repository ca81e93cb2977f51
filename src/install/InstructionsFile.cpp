#include "install/InstructionsFile.h"

#include <windows.h>

#include <vector>

#include "win/profile.h"

namespace quenby {

namespace {

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

TInstructions ReadInstructionsFile(const std::string& sourceDir) {
    TInstructions in;
    in.SourceDir = sourceDir;
    in.InstructionsPath = sourceDir + "Quenby.ipi";
    if (FileExists(in.InstructionsPath)) in.ReadFrom(TProfileFile(in.InstructionsPath), sourceDir);
    return in;
}

TInstructions ReadInstructionsFromMedium() {
    // Asking for the size first keeps a current directory longer than MAX_PATH whole.
    DWORD size = GetCurrentDirectoryA(0, nullptr);
    std::vector<char> buffer(size + 1, '\0');
    DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    return ReadInstructionsFile(std::string(buffer.data(), length < buffer.size() ? length : 0) + "\\");
}

}  // namespace quenby

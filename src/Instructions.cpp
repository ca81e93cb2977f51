#include "Instructions.h"

#include <windows.h>

#include <vector>

#include "profile.h"

namespace quenby {

namespace {

constexpr char kSettings[] = "Settings";

void ReadKeysAndValues(const TProfileFile& file, const char* section, const std::string& defaultValue,
                       TStringList& keys, TStringList& values) {
    file.ListKeys(section, keys);
    values.Clear();
    for (const std::string& key : keys) values.Add(file.ReadText(section, key, defaultValue));
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void TInstructions::Read() {
    // Asking for the size first keeps a current directory longer than MAX_PATH whole.
    DWORD size = GetCurrentDirectoryA(0, nullptr);
    std::vector<char> buffer(size + 1, '\0');
    DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    ReadFrom(std::string(buffer.data(), length < buffer.size() ? length : 0) + "\\");
}

void TInstructions::ReadFrom(const std::string& sourceDir) {
    *this = TInstructions();
    SourceDir = sourceDir;
    InstructionsPath = SourceDir + "Quenby.ipi";
    if (!FileExists(InstructionsPath)) {
        Missing = true;
        return;
    }

    TProfileFile file(InstructionsPath);
    Missing = false;
    Application = file.ReadText(kSettings, "Application", "");
    Copyright = file.ReadText(kSettings, "Copyright", "");
    WebAddress = file.ReadText(kSettings, "WebAddress", "");
    EmailAddress = file.ReadText(kSettings, "EmailAddress", "");
    Version = file.ReadText(kSettings, "Version", "");
    ProgGroup = file.ReadText(kSettings, "ProgGroup", "Tavix");
    Expand = file.ReadFlag(kSettings, "Expand", false);
    Directory = file.ReadText(kSettings, "Directory", "c:\\tmp");

    file.ListKeys("FilesIn", FilesIn);
    file.ListKeys("SysFilesIn", SysFilesIn);
    file.ListKeys("StartInfo", StartInfo);
    file.ListKeys("EndInfo", EndInfo);

    ReadKeysAndValues(file, "FilesOut", "", FilesOut, FilesOutValues);
    ReadKeysAndValues(file, "SysFilesOut", "", SysFilesOut, SysFilesOutValues);
    ReadKeysAndValues(file, "Items", "Jester Break", Items, ItemsValues);
    ReadKeysAndValues(file, "AddOns", "", AddOns, AddOnsValues);
    ReadKeysAndValues(file, "Keys", "", Keys, KeysValues);
    ReadKeysAndValues(file, "Dirs", "", Dirs, DirsValues);
    KeySections.resize(static_cast<std::size_t>(Keys.Count()));
    for (int i = 1; i < Keys.Count(); ++i)
        ReadKeysAndValues(file, Keys[i].c_str(), "", KeySections[i].Names, KeySections[i].Texts);

    ProgressStep = 100 / (FilesIn.Count() + SysFilesIn.Count() + 3);
    if (Application.empty())
        DisplayTitle.clear();
    else
        DisplayTitle = Version.empty() ? Application : Application + " " + Version;
}

}  // namespace quenby

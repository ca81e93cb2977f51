#include "base/Instructions.h"

#include "base/InstallRecord.h"
#include "base/NumberRule.h"

namespace quenby {

namespace {

constexpr char kSettings[] = "Settings";

void ReadKeysAndValues(const TIniSource& file, const char* section, const std::string& defaultValue, TStringList& keys,
                       TStringList& values) {
    file.ListKeys(section, keys);
    values.Clear();
    for (const std::string& key : keys) values.Add(file.ReadText(section, key, defaultValue));
}

}  // namespace

void TInstructions::ReadFrom(const TIniSource& file, const std::string& sourceDir) {
    *this = TInstructions();
    SourceDir = sourceDir;
    InstructionsPath = SourceDir + kInstructionsFileName;
    Missing = false;
    Application = file.ReadText(kSettings, "Application", "");
    Copyright = file.ReadText(kSettings, "Copyright", "");
    WebAddress = file.ReadText(kSettings, "WebAddress", "");
    Publisher = file.ReadText(kSettings, "Publisher", "");
    EmailAddress = file.ReadText(kSettings, "EmailAddress", "");
    Version = file.ReadText(kSettings, "Version", "");
    ProgGroup = file.ReadText(kSettings, "ProgGroup", "Tavix");
    Expand = ReadNumber(file.ReadText(kSettings, "Expand", ""), 0) != 0;
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
    Checksums = ReadChecksums(file);

    ProgressStep = 100 / (FilesIn.Count() + SysFilesIn.Count() + 3);
    if (!Application.empty()) DisplayTitle = Version.empty() ? Application : Application + " " + Version;
}

}  // namespace quenby

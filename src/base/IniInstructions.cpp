#include "base/IniInstructions.h"

#include "base/NumberRule.h"

namespace quenby {

namespace {

constexpr char kSettings[] = "Settings";

void ReadKeysAndValues(const TIniFile& file, const char* section, const std::string& defaultValue,
                       TStringList& keys, TStringList& values) {
    file.ListKeys(section, keys);
    values.Clear();
    for (const std::string& key : keys) values.Add(file.ReadText(section, key, defaultValue));
}

}  // namespace

TInstructions ReadInstructions(const TIniFile& file, const std::string& sourceDir) {
    TInstructions in;
    in.SourceDir = sourceDir;
    in.InstructionsPath = sourceDir + "Quenby.ipi";
    in.Missing = false;
    in.Application = file.ReadText(kSettings, "Application", "");
    in.Copyright = file.ReadText(kSettings, "Copyright", "");
    in.WebAddress = file.ReadText(kSettings, "WebAddress", "");
    in.EmailAddress = file.ReadText(kSettings, "EmailAddress", "");
    in.Version = file.ReadText(kSettings, "Version", "");
    in.ProgGroup = file.ReadText(kSettings, "ProgGroup", "Tavix");
    in.Expand = ReadNumber(file.ReadText(kSettings, "Expand", ""), 0) != 0;
    in.Directory = file.ReadText(kSettings, "Directory", "c:\\tmp");

    file.ListKeys("FilesIn", in.FilesIn);
    file.ListKeys("SysFilesIn", in.SysFilesIn);
    file.ListKeys("StartInfo", in.StartInfo);
    file.ListKeys("EndInfo", in.EndInfo);

    ReadKeysAndValues(file, "FilesOut", "", in.FilesOut, in.FilesOutValues);
    ReadKeysAndValues(file, "SysFilesOut", "", in.SysFilesOut, in.SysFilesOutValues);
    ReadKeysAndValues(file, "Items", "Jester Break", in.Items, in.ItemsValues);
    ReadKeysAndValues(file, "AddOns", "", in.AddOns, in.AddOnsValues);
    ReadKeysAndValues(file, "Keys", "", in.Keys, in.KeysValues);
    ReadKeysAndValues(file, "Dirs", "", in.Dirs, in.DirsValues);
    in.KeySections.resize(static_cast<std::size_t>(in.Keys.Count()));
    for (int i = 1; i < in.Keys.Count(); ++i)
        ReadKeysAndValues(file, in.Keys[i].c_str(), "", in.KeySections[i].Names, in.KeySections[i].Texts);

    in.ProgressStep = 100 / (in.FilesIn.Count() + in.SysFilesIn.Count() + 3);
    if (!in.Application.empty()) in.DisplayTitle = in.Version.empty() ? in.Application : in.Application + " " + in.Version;
    return in;
}

}  // namespace quenby

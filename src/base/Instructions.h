// The installation instructions: everything about the product, read once from Quenby.ipi at start-up
// and never changed afterwards.
#pragma once
#include <string>
#include <vector>

#include "base/Checksums.h"
#include "base/IniSource.h"
#include "base/StringList.h"

namespace quenby {

struct TInstructions {
    // [Settings]
    std::string Application;
    std::string Copyright;
    std::string WebAddress;
    std::string Publisher;  // the company, for the uninstall entry; optional
    std::string EmailAddress;
    std::string Version;
    std::string ProgGroup;
    bool Expand = false;
    std::string Directory;

    // Key lists.
    TStringList FilesIn, SysFilesIn, StartInfo, EndInfo;
    // Key-and-value lists: key i and value i belong together.
    TStringList FilesOut, FilesOutValues;
    TStringList SysFilesOut, SysFilesOutValues;
    TStringList Items, ItemsValues;
    TStringList AddOns, AddOnsValues;
    TStringList Keys, KeysValues;
    TStringList Dirs, DirsValues;
    // The value section that each [Keys] entry after the first names, parallel to Keys (entry 0 stays
    // empty). Read here, from disk 1: the registry step runs when the last disk is in the drive.
    struct TValueSection {
        TStringList Names, Texts;
    };
    std::vector<TValueSection> KeySections;
    // [Checksums]: empty when the medium lists none, and then no file is checked.
    std::vector<TChecksum> Checksums;

    // Derived values.
    std::string SourceDir;         // current directory at start + "\"
    std::string InstructionsPath;  // SourceDir + kInstructionsFileName
    bool Missing = true;           // no instructions file at InstructionsPath
    std::string DisplayTitle;      // "Application Version", "Application" or empty
    int ProgressStep = 0;          // 100 div (files + system files + 3)

    // Everything from the file's entries, defaults included; sourceDir ends in a backslash. Clears
    // Missing.
    void ReadFrom(const TIniSource& file, const std::string& sourceDir);
};

}  // namespace quenby

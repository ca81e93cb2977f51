// The publisher tools' portable INI reader reads a file exactly as the system's profile functions do
// (the instructions are read through either by the same routine, so the files themselves are compared).
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Prefix.h"
#include "publish/IniFile.h"
#include "win/profile.h"

namespace quenby {
namespace {

bool SystemHasSection(const std::string& path, const std::string& section) {
    std::vector<char> names(65536, '\0');
    GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), path.c_str());
    for (const char* name = names.data(); *name; name += std::strlen(name) + 1)
        if (lstrcmpiA(name, section.c_str()) == 0) return true;
    return false;
}

TEST(IniReader, FilesReadTheSameAsThroughTheSystem) {
    const std::string files[] = {
        test::ReadFile(test::SourceDir() + "\\examples\\orrery\\media\\Quenby.ipi"),
        // Quotes, blanks, comments, bare lines, a key without a value, letters beyond ASCII.
        "[Settings]\r\n  Application =  Widget Works \r\nVersion=\"2.1\"\r\n"
        "\tDirectory\t=\t'C:\\Program Files\\Widget'\r\n"
        "[FilesIn]\r\n; the program\r\nw.ex_=\r\nbare-line\r\n  h.hl_  =  x  \r\n"
        "[Items]\r\nw.exe=\"Widget, \"the\" app\"\r\nnovalue.exe\r\nv.exe=Caf\xe9 \xe9\r\n[Owner]\r\nName = $NAME\r\n"
        "[Empty]\r\n",
        // Lines before any section, names differing in case, a section twice, a comment after a header,
        // an end-of-file mark, a byte-order mark.
        "Owner=before any section\n[settings]\nApplication=First\napplication=Second\n"
        "[FilesIn]\na=\nA=\n[Dirs] ; a comment\ndata=0\n[FilesIn]\nlater=\n[Prefs]\nColor=Blue\nColor=Red\n\x1a",
        "",
        "\xEF\xBB\xBF[Settings]\r\nApplication=Marked\r\n",
    };
    for (const std::string& text : files) {
        SCOPED_TRACE(text.substr(0, 60));
        test::TScratchFolder folder("quenby-ini-reader");
        const TProfileFile system(folder.Write("Quenby.ipi", text));
        const TIniFile portable(text);
        for (const char* section :
             {"Settings", "settings", "FilesIn", "Items", "Owner", "Prefs", "Dirs", "Empty", "Missing"}) {
            SCOPED_TRACE(section);
            EXPECT_EQ(portable.HasSection(section), SystemHasSection(system.Path(), section));
            TStringList systemKeys, portableKeys;
            system.ListKeys(section, systemKeys);
            portable.ListKeys(section, portableKeys);
            EXPECT_EQ(portableKeys.Items(), systemKeys.Items());
            // The reader's answers from the section read once are the system's for each key on its own.
            for (const char* key :
                 {"Application", "APPLICATION", "Version", "Directory", "novalue.exe", "bare-line", "Color", "Missing"})
                systemKeys.Add(key);
            for (const std::string& key : systemKeys) {
                char own[1024] = {};
                GetPrivateProfileStringA(section, key.c_str(), "-", own, sizeof own, system.Path().c_str());
                EXPECT_EQ(system.ReadText(section, key, "-"), own) << key;
                EXPECT_EQ(portable.ReadText(section, key, "-"), own) << key;
            }
        }
    }
}

}  // namespace
}  // namespace quenby

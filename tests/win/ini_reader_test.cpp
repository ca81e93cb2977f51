// The publisher tools' portable INI reader sees a Quenby.ipi exactly as Setup.exe's reading code does
// through the system's profile functions.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ConsoleRun.h"
#include "base/Instructions.h"
#include "ScratchFolder.h"
#include "publish/IniFile.h"
#include "base/Instructions.h"
#include "win/profile.h"
#include "install/InstructionsFile.h"

using quenby::TInstructions;
using quenby::test::TScratchFolder;

namespace {

void Append(std::string& out, const char* name, const quenby::TStringList& list) {
    out += std::string(name) + ":";
    for (const std::string& item : list) out += " <" + item + ">";
    out += "\n";
}

// Every field, one per line, so that a difference shows where it is.
std::string Describe(const TInstructions& in) {
    std::string out = "Application <" + in.Application + ">\nCopyright <" + in.Copyright + ">\nWebAddress <" +
                      in.WebAddress + ">\nEmailAddress <" + in.EmailAddress + ">\nVersion <" + in.Version +
                      ">\nProgGroup <" + in.ProgGroup + ">\nExpand " + (in.Expand ? "on" : "off") + "\nDirectory <" +
                      in.Directory + ">\nTitle <" + in.DisplayTitle + ">\nStep " + std::to_string(in.ProgressStep) +
                      "\n";
    Append(out, "FilesIn", in.FilesIn);
    Append(out, "SysFilesIn", in.SysFilesIn);
    Append(out, "StartInfo", in.StartInfo);
    Append(out, "EndInfo", in.EndInfo);
    Append(out, "FilesOut", in.FilesOut);
    Append(out, "FilesOutValues", in.FilesOutValues);
    Append(out, "SysFilesOut", in.SysFilesOut);
    Append(out, "SysFilesOutValues", in.SysFilesOutValues);
    Append(out, "Items", in.Items);
    Append(out, "ItemsValues", in.ItemsValues);
    Append(out, "AddOns", in.AddOns);
    Append(out, "AddOnsValues", in.AddOnsValues);
    Append(out, "Keys", in.Keys);
    Append(out, "KeysValues", in.KeysValues);
    Append(out, "Dirs", in.Dirs);
    Append(out, "DirsValues", in.DirsValues);
    for (const TInstructions::TValueSection& section : in.KeySections) {
        Append(out, "section names", section.Names);
        Append(out, "section texts", section.Texts);
    }
    return out;
}

bool SystemHasSection(const std::string& path, const std::string& section) {
    std::vector<char> names(65536, '\0');
    GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), path.c_str());
    for (const char* name = names.data(); *name; name += std::strlen(name) + 1)
        if (lstrcmpiA(name, section.c_str()) == 0) return true;
    return false;
}

void ExpectSameReading(const std::string& text) {
    TScratchFolder folder("quenby-ini-reader");
    folder.Write("Quenby.ipi", text);
    TInstructions system;
    system = quenby::ReadInstructionsFile(folder.Path() + "\\");
    quenby::TIniFile ini(text);
    TInstructions portable;
    portable.ReadFrom(ini, folder.Path() + "\\");
    EXPECT_EQ(Describe(portable), Describe(system));

    // Sections as the checks ask for them.
    quenby::TProfileFile file(system.InstructionsPath);
    for (const char* section : {"Owner", "owner", "Prefs", "Missing", "Empty", "Settings"}) {
        SCOPED_TRACE(section);
        EXPECT_EQ(ini.HasSection(section), SystemHasSection(system.InstructionsPath, section));
        quenby::TStringList systemKeys, portableKeys;
        file.ListKeys(section, systemKeys);
        ini.ListKeys(section, portableKeys);
        EXPECT_EQ(portableKeys.Items(), systemKeys.Items());
        for (const std::string& key : systemKeys)
            EXPECT_EQ(ini.ReadText(section, key, "-"), file.ReadText(section, key, "-")) << key;
    }
}

}  // namespace

TEST(IniReader, FilesReadTheSameAsThroughTheSystem) {
    std::string sample =
        quenby::test::ReadWholeFile(quenby::test::SourceDir() + "\\examples\\orrery\\media\\Quenby.ipi");
    ASSERT_FALSE(sample.empty());
    const std::string files[] = {
        sample,
        // Quotes, blanks and comments.
        "[Settings]\r\n"
        "  Application =  Widget Works \r\n"
        "Version=\"2.1\"\r\n"
        "\tDirectory\t=\t'C:\\Program Files\\Widget'\r\n"
        "Expand= 1\r\n"
        "[FilesIn]\r\n; the program\r\nw.ex_=\r\nbare-line\r\n  h.hl_  =  x  \r\n"
        "[FilesOut]\r\nw.exe=\" 0\"\r\nh.hlp=\"\r\n"
        "[Items]\r\nw.exe=\"Widget, \"the\" app\"\r\nnovalue.exe\r\n"
        "[Keys]\r\nBase=\\Software\\W\r\nOwner=Registration\r\nEmpty=Other\r\n"
        "[Owner]\r\nName = $NAME\r\n;Organization=$ORG\r\nOrganization=\"$ORG\"\r\n"
        "[Empty]\r\n",
        // Duplicates and odd lines.
        "AddOns=before any section\n"
        "[settings]\nApplication=First\napplication=Second\nExpand=0x10\nProgGroup=\n"
        "[FilesIn]\na=\nA=\nb=\n"
        "[FilesOut]\na=0\nA=1\nb=\n"
        "[Dirs] ; a comment after the header\ndata=0\n"
        "[FilesIn]\nlater=\n"
        "[AddOns]\n0=readme.txt\n1=setup.exe /s\nx=bad\n"
        "[Prefs]\nColor=Blue\nColor=Red\n\x1a",
        "",
        "\xEF\xBB\xBF[Settings]\r\nApplication=Marked\r\n[StartInfo]\r\nterms.txt=\r\n",
    };
    for (const std::string& text : files) {
        SCOPED_TRACE(text.substr(0, 60));
        ExpectSameReading(text);
    }
}

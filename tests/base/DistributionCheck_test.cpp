// The publisher's checks on a good distribution edited to hold one fault each.
#include "publish/DistributionCheck.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

#include "FakeDigest.h"
#include "TinyPe.h"
#include "base/Instructions.h"
#include "publish/DiskPacker.h"
#include "publish/IniFile.h"

using quenby::TFinding;
using quenby::TSeverity;

namespace {

std::string Text(const quenby::TMediaFile& file) { return std::string(file.Head.begin(), file.Head.end()); }

// Disks held in memory; names compare without regard to case, as on the target.
class TMemoryMedia : public quenby::TDistributionMedia {
public:
    TMemoryMedia(const std::string& instructions, int disks) : m_ini(instructions), m_disks(disks) {}

    void Put(int disk, const std::string& name, const std::string& content, bool compressed = false) {
        const quenby::TBytes bytes(content.begin(), content.end());
        m_disks.at(disk - 1)[Lower(name)] = compressed ? quenby::SzddCompress(bytes, 'x') : bytes;
    }
    void Remove(int disk, const std::string& name) { m_disks.at(disk - 1).erase(Lower(name)); }

    quenby::TInstructions Instructions() const {
        quenby::TInstructions in;
        in.ReadFrom(m_ini, "A:\\\\");
        return in;
    }
    std::vector<TFinding> Check() const { return quenby::CheckDistribution(Instructions(), *this); }

    int DiskCount() const override { return static_cast<int>(m_disks.size()); }
    std::optional<quenby::TMediaFile> File(int disk, const std::string& name) const override {
        const auto& files = m_disks.at(disk - 1);
        auto found = files.find(Lower(name));
        if (found == files.end()) return std::nullopt;
        return quenby::TMediaFile{found->second.size(), found->second};
    }
    bool HasSection(const std::string& section) const override { return m_ini.HasSection(section); }
    std::vector<std::string> SectionNames() const override { return m_ini.SectionNames(); }
    void ListKeys(const std::string& section, quenby::TStringList& list) const override {
        m_ini.ListKeys(section, list);
    }
    std::vector<quenby::TChecksum> Checksums() const override { return quenby::ReadChecksums(m_ini); }
    std::optional<std::string> Digest(int disk, const std::string& name) const override {
        const std::optional<quenby::TMediaFile> file = File(disk, name);
        return file ? std::optional(quenby::test::FakeDigestOf(Text(*file))) : std::nullopt;
    }

private:
    static std::string Lower(std::string text) {
        for (char& c : text)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return text;
    }
    quenby::TIniFile m_ini;
    std::vector<std::map<std::string, quenby::TBytes>> m_disks;
};

const std::string kGood =
    "[Settings]\nApplication=Widget\nPublisher=Acme\nVersion=2.0\nExpand=1\nDirectory=C:\\Program Files\\Widget\n"
    "[StartInfo]\nterms.txt=\n[EndInfo]\nthanks.txt=\n"
    "[Dirs]\ndata=0\n"
    "[SysFilesIn]\nwcore.dl_=\nUninstall.ex_=\n[SysFilesOut]\nwcore.dll=0\nUninstall.exe=0\n"
    "[FilesIn]\nwidget.ex_=\ndata\\sample.da_=\n[FilesOut]\nwidget.exe=0\ndata\\sample.dat=0\n"
    "[Items]\nwidget.exe=Widget\n[AddOns]\n0=thanks.txt\n"
    "[Keys]\nBase=\\Software\\Acme\\Widget\nOwner=Registration\n"
    "[Owner]\nName=$NAME\nOrganization=$ORG\nEdition=Home\n";

using TEdits = std::vector<std::pair<std::string, std::string>>;

// The good distribution, on one medium, with each `first` replaced by its `second` in the instructions.
TMemoryMedia Distribution(const TEdits& edits) {
    std::string text = kGood;
    for (const auto& [from, to] : edits) {
        size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) text.replace(at, from.size(), to);
    }
    TMemoryMedia media(text, 1);
    media.Put(1, "Quenby.ipi", text);
    media.Put(1, "terms.txt", "Terms.\r\n");
    media.Put(1, "thanks.txt", "Thanks.\r\n");
    // Without expansion the files are installed as they lie.
    const bool expand = text.find("Expand=1") != std::string::npos;
    for (const char* name : {"wcore.dl_", "Uninstall.ex_"}) media.Put(1, name, quenby::test::TinyPeImage(16), expand);
    media.Put(1, "widget.ex_", "program", expand);
    media.Put(1, "data\\sample.da_", "data", expand);
    return media;
}

// The one finding a faulty distribution must give: its severity, section and key.
void ExpectOnly(const std::vector<TFinding>& findings, TSeverity severity, const std::string& section,
                const std::string& key) {
    ASSERT_EQ(findings.size(), 1u) << (findings.empty() ? "none" : quenby::FormatFinding(findings[0]));
    EXPECT_EQ(std::tie(findings[0].Severity, findings[0].Section, findings[0].Key), std::tie(severity, section, key))
        << quenby::FormatFinding(findings[0]);
}

constexpr TSeverity E = TSeverity::Error;
constexpr TSeverity W = TSeverity::Warning;

}  // namespace

TEST(DistributionCheck, EachFaultInTheInstructionsGivesItsOneFinding) {
    const std::string p236(236, 'p'), s245(245, 's'), t211(211, 't'), longName(240, 'n');
    const std::string owner = kGood.substr(kGood.find("[Owner]"));  // the value section
    const struct {
        TEdits edits;
        TSeverity severity;
        const char* section;
        std::string key;
    } cases[] = {
        {{{"data\\sample.dat=0\n", ""}}, E, "FilesOut", ""},
        {{{"wcore.dll=0\n", "wcore.dll=0\nspare.dll=0\n"}}, E, "SysFilesOut", ""},
        {{{"0=thanks.txt", "first=thanks.txt"}}, E, "AddOns", "first"},
        {{{owner, ""}}, E, "Keys", "Owner"},
        // The registry step cannot take a first entry that is not there: the installation never completes.
        {{{"Base=\\Software\\Acme\\Widget\nOwner=Registration\n", ""}, {owner, ""}}, E, "Keys", ""},
        // Nor can the copy step start without the name of the uninstall entry.
        {{{"Application=Widget", "Application="}}, E, "Settings", "Application"},
        {{{"data=0\n", ""}}, E, "FilesOut", "data\\sample.dat"},
        // A value other than exactly "0" makes the entry a full path, not a folder below the destination.
        {{{"data=0\n", "data=00\n"}}, E, "FilesOut", "data\\sample.dat"},
        {{{"wcore.dll=0", "shared\\wcore.dll=0"}}, E, "SysFilesOut", "shared\\wcore.dll"},
        // C:\Program Files\Widget\ (24) + 236 = 260 characters, one too many; C:\WINDOWS\ (11) + 249 = 260.
        {{{"widget.exe=0", p236 + "=0"}, {"widget.exe=Widget\n", ""}}, E, "FilesOut", p236},
        {{{"wcore.dll=0", s245 + ".dll=0"}}, E, "SysFilesOut", s245 + ".dll"},
        // [AddItem("C:\Program Files\Widget\widget.exe",)] is 50 with its line end: a title of 211 is too long.
        {{{"widget.exe=Widget", "widget.exe=" + t211}}, E, "Items", "widget.exe"},
        {{{"Application=Widget", "Application=" + longName}}, E, "Settings", "Application"},
        // The group step puts the destination in front of an item's program.
        {{{"widget.exe=Widget", "widgets.exe=Widget"}}, E, "Items", "widgets.exe"},
        {{{"widget.exe=Widget", "C:\\Widget\\widget.exe=Widget"}}, E, "Items", "C:\\Widget\\widget.exe"},
        // A shared file without a version replaces even a newer one installed.
        {{{"wcore.dl_=", "widget.ex_="}}, W, "SysFilesIn", "widget.ex_"},
        {{{"Publisher=Acme\n", ""}}, W, "Settings", "Publisher"},
        {{{"Expand=1", "Expand=0"}, {"widget.exe=0", "widget.exe=00"}}, W, "FilesOut", "widget.exe"},
        {{{"Expand=1", "Expand=0"}, {"widget.exe=0", "widget.exe=\" 0\""}}, W, "FilesOut", "widget.exe"},
        {{{"Edition=Home", "Owner=$NAME"}}, W, "Owner", "Owner"},
        {{{"Name=$NAME", "Name=$NAMES"}}, W, "Owner", "Name"},
        {{{"Edition=Home", "Edition=Made for $org"}}, W, "Owner", "Edition"},
        // The sub-folder entry is no longer used; the duplicate is the one finding.
        {{{"data\\sample.dat=0", "WIDGET.EXE=0"}}, W, "FilesOut", "WIDGET.EXE"},
        // The uninstall command would name a missing program.
        {{{"Uninstall.ex_=\n", ""}, {"Uninstall.exe=0\n", ""}}, W, "SysFilesOut", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edits.back().second.substr(0, 40));
        ExpectOnly(Distribution(c.edits).Check(), c.severity, c.section, c.key);
    }
}

TEST(DistributionCheck, WhatOnlyLooksLikeAFaultGivesNoFinding) {
    const TEdits cases[] = {
        {},
        {{"0=thanks.txt", "0x2=thanks.txt"}},
        // A deeper relative entry makes its parents; a full path under the default destination counts too.
        {{"data=0\n", "data\\old=0\n"}},
        {{"data=0\n", "C:\\Program Files\\Widget\\DATA=1\n"}},
        {{"wcore.dll=0", "system\\wcore.dll=0"}},
        {{"widget.exe=0", std::string(235, 'p') + "=0"}, {"widget.exe=Widget\n", ""}},
        {{"widget.exe=Widget", "widget.exe=" + std::string(210, 't')}},
        {{"Expand=1", "Expand=0"}, {"widget.exe=0", "widget.exe=1"}},
        // With Expand=1 every file is written anew and the value is not consulted.
        {{"widget.exe=0", "widget.exe=00"}},
        {{"Name=$NAME\nOrganization=$ORG", "name=$name\nORGANIZATION=$Org"}},
        {{"[Settings]\nApplication", "[SETTINGS]\napplication"}, {"widget.exe=Widget", "WIDGET.EXE=Widget"}},
    };
    for (const TEdits& edits : cases) EXPECT_TRUE(Distribution(edits).Check().empty()) << edits.size();
}

TEST(DistributionCheck, FilesMissingUncompressedOrTooLongOnTheMedium) {
    TMemoryMedia media = Distribution({});
    media.Remove(1, "widget.ex_");
    ExpectOnly(media.Check(), E, "FilesIn", "widget.ex_");
    media.Put(1, "widget.ex_", "MZ plain program");
    ExpectOnly(media.Check(), W, "FilesIn", "widget.ex_");
    media.Put(1, "widget.ex_", "program", true);
    media.Remove(1, "terms.txt");
    ExpectOnly(media.Check(), E, "StartInfo", "terms.txt");
    // Sixteen lines, or two long lines that wrap, pass the notice box's fifteen.
    std::string text;
    for (int i = 0; i < 16; ++i) text += "A line of the terms.\r\n";
    media.Put(1, "terms.txt", text);
    ExpectOnly(media.Check(), W, "StartInfo", "terms.txt");
    media.Put(1, "terms.txt", std::string(500, 'x') + "\r\n" + std::string(500, 'y'));
    ExpectOnly(media.Check(), W, "StartInfo", "terms.txt");
    media.Put(1, "terms.txt", text.substr(0, text.size() / 16 * 15));
    EXPECT_TRUE(media.Check().empty());
}

TEST(DistributionCheck, DisksAreFollowedInCopyOrder) {
    const TMemoryMedia one = Distribution({});
    TMemoryMedia two(kGood, 2);
    for (const char* name :
         {"Quenby.ipi", "terms.txt", "wcore.dl_", "Uninstall.ex_", "widget.ex_", "thanks.txt", "data\\sample.da_"})
        two.Put(name == std::string("thanks.txt") || name[0] == 'd' ? 2 : 1, name, Text(*one.File(1, name)));
    EXPECT_TRUE(two.Check().empty());  // (the disks followed: the fuzz target)
    // Each fault: files moved from one disk to the other.
    const struct {
        std::vector<std::pair<const char*, int>> moves;  // name, the disk it goes to
        const char* section;
        const char* key;
    } cases[] = {
        {{{"thanks.txt", 1}}, "EndInfo", "thanks.txt"},  // read from the disk in the drive at the end
        {{{"terms.txt", 2}}, "StartInfo", "terms.txt"},  // not there yet when it is shown
        // Disk 2 is in the drive once a product file came from it: an earlier one left on disk 1 is lost.
        {{{"widget.ex_", 2}, {"data\\sample.da_", 1}}, "FilesIn", "data\\sample.da_"},
    };
    for (const auto& c : cases) {
        TMemoryMedia moved = two;
        for (const auto& [name, to] : c.moves) {
            moved.Remove(3 - to, name);
            moved.Put(to, name, Text(*one.File(1, name)));
        }
        const std::vector<TFinding> findings = moved.Check();
        ASSERT_FALSE(findings.empty()) << c.key;
        EXPECT_EQ(findings[0].Section + " " + findings[0].Key, std::string(c.section) + " " + c.key);
    }
}

TEST(DistributionCheck, ChecksumsCatchADamagedFileAndOneNotListedOrBadlyListed) {
    const TMemoryMedia clean = Distribution({});
    std::string listed = "[Checksums]\n";
    for (const char* name : {"wcore.dl_", "Uninstall.ex_", "widget.ex_", "data\\sample.da_"})
        listed += std::string(name) + "=" + *clean.Digest(1, name) + "\n";
    const std::string widget = "widget.ex_=" + *clean.Digest(1, "widget.ex_") + "\n";
    const auto widgetAs = [&](const std::string& line) {
        return std::string(listed).replace(listed.find(widget), widget.size(), line);
    };
    EXPECT_TRUE(Distribution({{"[Owner]", listed + "[Owner]"}}).Check().empty());
    const struct {
        std::string checksums;
        bool damaged;  // one byte differs on the medium
    } cases[] = {{listed, true}, {widgetAs(""), false}, {widgetAs("widget.ex_=12ab\n"), false}};
    for (const auto& c : cases) {
        TMemoryMedia media = Distribution({{"[Owner]", c.checksums + "[Owner]"}});
        if (c.damaged) media.Put(1, "widget.ex_", "prograM", true);
        ExpectOnly(media.Check(), E, "Checksums", "widget.ex_");
    }
}

TEST(DistributionCheck, FindingLineSaysWhatWhereAndWhatToDo) {
    const TFinding finding{E, "FilesIn", "widget.ex_", "the source file is on no disk", "Add the file"};
    EXPECT_EQ(quenby::FormatFinding(finding),
              "error: [FilesIn] widget.ex_: the source file is on no disk. Add the file.");
    // The report: errors first, then the counts, which --quiet leaves out with the warnings.
    const TFinding w{W, "Settings", "Colour", "w", ""};
    const std::string e = quenby::FormatFinding(finding) + "\n";
    const struct {
        std::vector<TFinding> findings;
        bool quiet;
        std::string report;
    } cases[] = {
        {{}, false, "no errors, no warnings\n"},
        {{w, finding, w}, false, e + "warning: w\nwarning: w\n1 error, 2 warnings\n"},
        {{finding, w, finding}, false, e + e + "warning: w\n2 errors, 1 warning\n"},
        {{w, finding, w}, true, e},
    };
    for (const auto& c : cases) EXPECT_EQ(quenby::FindingsReport(c.findings, c.quiet), c.report);
}

TEST(DistributionCheck, ANameSetupDoesNotReadIsWarnedAboutWithTheNearestItMayMean) {
    const struct {
        TEdits edits;
        const char* line;
    } cases[] = {
        {{{"Version=2.0", "ProgramGroup=Acme"}},
         "warning: `[Settings] ProgramGroup` is not a setting Setup reads; did you mean `ProgGroup`?"},
        {{{"Directory=", "InstallDir="}},
         "warning: `[Settings] InstallDir` is not a setting Setup reads; did you mean `Directory`?"},
        {{{"Version=2.0", "Colour=Blue"}}, "warning: `[Settings] Colour` is not a setting Setup reads."},
        {{{"[EndInfo]", "[EndNotice]"}},
         "warning: `[EndNotice]` is not a section Setup reads; did you mean `[EndInfo]`?"},
        {{{"[Items]", "[Item]"}}, "warning: `[Item]` is not a section Setup reads; did you mean `[Items]`?"},
    };
    for (const auto& c : cases) {
        const std::vector<TFinding> findings = Distribution(c.edits).Check();
        ASSERT_EQ(findings.size(), 1u) << c.line;
        EXPECT_EQ(quenby::FormatFinding(findings[0]), c.line);
    }
}

// The publisher's checks on distributions with one fault each, and on the sample product.
#include "publish/DistributionCheck.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "publish/IniFile.h"
#include "base/Instructions.h"

using quenby::TFinding;
using quenby::TSeverity;

namespace {

// Disks held in memory; names compare without regard to case, as on the target.
class TMemoryMedia : public quenby::TDistributionMedia {
public:
    TMemoryMedia(const std::string& instructions, int disks) : m_ini(instructions), m_disks(disks) {}

    void Put(int disk, const std::string& name, const std::string& content) {
        m_disks.at(disk - 1)[Lower(name)] = quenby::TBytes(content.begin(), content.end());
    }
    void PutCompressed(int disk, const std::string& name, const std::string& content) {
        quenby::TBytes packed = quenby::SzddCompress(quenby::TBytes(content.begin(), content.end()), 'x');
        m_disks.at(disk - 1)[Lower(name)] = packed;
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
    "[Settings]\nApplication=Widget\nVersion=2.0\nExpand=1\nDirectory=C:\\Program Files\\Widget\n"
    "[StartInfo]\nterms.txt=\n[EndInfo]\nthanks.txt=\n"
    "[Dirs]\ndata=0\n"
    "[SysFilesIn]\nwcore.dl_=\n[SysFilesOut]\nwcore.dll=0\n"
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
    media.PutCompressed(1, "wcore.dl_", "core");
    media.PutCompressed(1, "widget.ex_", "program");
    media.PutCompressed(1, "data\\sample.da_", "data");
    return media;
}

TMemoryMedia Distribution(const std::string& from = "", const std::string& to = "") {
    return from.empty() ? Distribution(TEdits{}) : Distribution(TEdits{{from, to}});
}

// The one finding a faulty distribution must give: its severity, section and key.
void ExpectOnly(const std::vector<TFinding>& findings, TSeverity severity, const std::string& section,
                const std::string& key) {
    ASSERT_EQ(findings.size(), 1u) << (findings.empty() ? "none" : quenby::FormatFinding(findings[0]));
    EXPECT_EQ(findings[0].Severity, severity) << quenby::FormatFinding(findings[0]);
    EXPECT_EQ(findings[0].Section, section) << quenby::FormatFinding(findings[0]);
    EXPECT_EQ(findings[0].Key, key) << quenby::FormatFinding(findings[0]);
}

constexpr TSeverity E = TSeverity::Error;
constexpr TSeverity W = TSeverity::Warning;

}  // namespace

TEST(DistributionCheck, GoodDistributionHasNoFindings) { EXPECT_TRUE(Distribution().Check().empty()); }

TEST(DistributionCheck, UnpairedListsAreErrors) {
    ExpectOnly(Distribution("data\\sample.dat=0\n", "").Check(), E, "FilesOut", "");
    ExpectOnly(Distribution("wcore.dll=0\n", "wcore.dll=0\nspare.dll=0\n").Check(), E, "SysFilesOut", "");
}

TEST(DistributionCheck, SourceOnNoDiskIsAnError) {
    TMemoryMedia media = Distribution();
    media.Remove(1, "widget.ex_");
    ExpectOnly(media.Check(), E, "FilesIn", "widget.ex_");
}

TEST(DistributionCheck, MissingNoticeIsAnError) {
    TMemoryMedia media = Distribution();
    media.Remove(1, "terms.txt");
    ExpectOnly(media.Check(), E, "StartInfo", "terms.txt");
}

TEST(DistributionCheck, AddOnKeyThatIsNoWholeNumberIsAnError) {
    ExpectOnly(Distribution("0=thanks.txt", "first=thanks.txt").Check(), E, "AddOns", "first");
    EXPECT_TRUE(Distribution("0=thanks.txt", "0x2=thanks.txt").Check().empty());
}

TEST(DistributionCheck, KeysProblemsAreErrors) {
    ExpectOnly(Distribution("Owner=Registration", "Ownr=Registration").Check(), E, "Keys", "Ownr");
    // The registry step cannot take a first entry that is not there: the installation never completes.
    ExpectOnly(Distribution("Base=\\Software\\Acme\\Widget\nOwner=Registration\n", "").Check(), E, "Keys", "");
    // Nor can the copy step start without the name of the uninstall entry.
    ExpectOnly(Distribution("Application=Widget", "Application=").Check(), E, "Settings", "Application");
}

TEST(DistributionCheck, SubFolderThatNoDirsEntryCreatesIsAnError) {
    ExpectOnly(Distribution("data=0\n", "").Check(), E, "FilesOut", "data\\sample.dat");
    // A value other than exactly "0" makes the entry a full path, not a folder below the destination.
    ExpectOnly(Distribution("data=0\n", "data=00\n").Check(), E, "FilesOut", "data\\sample.dat");
    // A deeper relative entry makes its parents; a full path under the default destination counts too.
    EXPECT_TRUE(Distribution("data=0\n", "data\\old=0\n").Check().empty());
    EXPECT_TRUE(Distribution("data=0\n", "C:\\Program Files\\Widget\\DATA=1\n").Check().empty());
    ExpectOnly(Distribution("wcore.dll=0", "shared\\wcore.dll=0").Check(), E, "SysFilesOut", "shared\\wcore.dll");
    EXPECT_TRUE(Distribution("wcore.dll=0", "system\\wcore.dll=0").Check().empty());
}

TEST(DistributionCheck, PathsAndMacrosBeyondTheInstallersLimitsAreErrors) {
    const std::string longName(240, 'n');
    // C:\Program Files\Widget\ (24) + 236 = 260 characters: one too many; 235 fits.
    ExpectOnly(Distribution("widget.exe=0", std::string(236, 'p') + "=0").Check(), E, "FilesOut",
               std::string(236, 'p'));
    EXPECT_TRUE(Distribution("widget.exe=0", std::string(235, 'p') + "=0").Check().empty());
    // C:\WINDOWS\ (11) + 249 = 260.
    ExpectOnly(Distribution("wcore.dll=0", std::string(245, 's') + ".dll=0").Check(), E, "SysFilesOut",
               std::string(245, 's') + ".dll");
    ExpectOnly(Distribution("widget.exe=Widget", "widget.exe=" + longName).Check(), E, "Items", "widget.exe");
    // [AddItem("C:\Program Files\Widget\widget.exe",)] is 50 with its line end: a title of 210 fits, 211 not.
    EXPECT_TRUE(Distribution("widget.exe=Widget", "widget.exe=" + std::string(210, 't')).Check().empty());
    ExpectOnly(Distribution("widget.exe=Widget", "widget.exe=" + std::string(211, 't')).Check(), E, "Items",
               "widget.exe");
    ExpectOnly(Distribution("Application=Widget", "Application=" + longName).Check(), E, "Settings", "Application");
}

TEST(DistributionCheck, UncompressedSourceUnderExpandIsAWarning) {
    TMemoryMedia media = Distribution();
    media.Put(1, "widget.ex_", "MZ plain program");
    ExpectOnly(media.Check(), W, "FilesIn", "widget.ex_");
}

TEST(DistributionCheck, ReplaceValueThatLooksLikeZeroIsAWarningWithoutExpand) {
    // Compressed sources under Expand=0 are no concern of these checks.
    for (const char* value : {"00", "\" 0\"", "+0", "0x0"})
        ExpectOnly(Distribution({{"Expand=1", "Expand=0"}, {"widget.exe=0", std::string("widget.exe=") + value}}).Check(),
                   W, "FilesOut", "widget.exe");
    for (const char* value : {"0", "", "1", "yes", "-1"})
        EXPECT_TRUE(
            Distribution({{"Expand=1", "Expand=0"}, {"widget.exe=0", std::string("widget.exe=") + value}}).Check().empty())
            << value;
    // With Expand=1 every file is written anew and the value is not consulted.
    EXPECT_TRUE(Distribution("widget.exe=0", "widget.exe=00").Check().empty());
}

TEST(DistributionCheck, PersonalValueOnAnotherLineIsAWarning) {
    ExpectOnly(Distribution("Edition=Home", "Owner=$NAME").Check(), W, "Owner", "Owner");
    ExpectOnly(Distribution("Name=$NAME", "Name=$NAMES").Check(), W, "Owner", "Name");
    ExpectOnly(Distribution("Edition=Home", "Edition=Made for $org").Check(), W, "Owner", "Edition");
    EXPECT_TRUE(Distribution("Name=$NAME\nOrganization=$ORG", "name=$name\nORGANIZATION=$Org").Check().empty());
}

TEST(DistributionCheck, NoticeLongerThanTheBoxIsAWarning) {
    TMemoryMedia media = Distribution();
    std::string text;
    for (int i = 0; i < 16; ++i) text += "A line of the terms.\r\n";
    media.Put(1, "terms.txt", text);
    ExpectOnly(media.Check(), W, "StartInfo", "terms.txt");
    // Long lines wrap: two lines of 500 characters fill the box as well.
    media.Put(1, "terms.txt", std::string(500, 'x') + "\r\n" + std::string(500, 'y'));
    ExpectOnly(media.Check(), W, "StartInfo", "terms.txt");
    media.Put(1, "terms.txt", text.substr(0, text.size() / 16 * 15));
    EXPECT_TRUE(media.Check().empty());
}

TEST(DistributionCheck, DuplicateDestinationIsAWarning) {
    std::vector<TFinding> findings =
        Distribution("data\\sample.dat=0", "WIDGET.EXE=0").Check();
    // The sub-folder entry is no longer used; the duplicate is the one finding.
    ExpectOnly(findings, W, "FilesOut", "WIDGET.EXE");
}

TEST(DistributionCheck, DisksAreFollowedInCopyOrder) {
    TMemoryMedia media = Distribution();
    TMemoryMedia twoDisks(kGood, 2);
    for (const char* name : {"Quenby.ipi", "terms.txt", "wcore.dl_", "widget.ex_"}) {
        auto file = media.File(1, name);
        twoDisks.Put(1, name, std::string(file->Head.begin(), file->Head.end()));
    }
    for (const char* name : {"thanks.txt", "data\\sample.da_"}) {
        auto file = media.File(1, name);
        twoDisks.Put(2, name, std::string(file->Head.begin(), file->Head.end()));
    }
    EXPECT_TRUE(twoDisks.Check().empty());
    quenby::TDiskSequence sequence = quenby::FollowDisks(twoDisks.Instructions(), twoDisks);
    EXPECT_EQ(sequence.SysFileDisks, std::vector<int>({1}));
    EXPECT_EQ(sequence.FileDisks, std::vector<int>({1, 2}));
    EXPECT_EQ(sequence.FinalDisk, 2);

    // The closing notice is read from the disk in the drive at the end, not from disk 1.
    TMemoryMedia noticeOnFirst = twoDisks;
    noticeOnFirst.Remove(2, "thanks.txt");
    noticeOnFirst.Put(1, "thanks.txt", "Thanks.");
    ExpectOnly(noticeOnFirst.Check(), E, "EndInfo", "thanks.txt");

    // A start notice on disk 2 is not there when it is shown.
    TMemoryMedia startOnSecond = twoDisks;
    startOnSecond.Remove(1, "terms.txt");
    startOnSecond.Put(2, "terms.txt", "Terms.");
    ExpectOnly(startOnSecond.Check(), E, "StartInfo", "terms.txt");

    // Disk 2 is in the drive once a product file came from it: an earlier file left on disk 1 is lost.
    TMemoryMedia outOfOrder = twoDisks;
    outOfOrder.Remove(1, "widget.ex_");
    outOfOrder.PutCompressed(2, "widget.ex_", "program");
    outOfOrder.Remove(2, "data\\sample.da_");
    outOfOrder.PutCompressed(1, "data\\sample.da_", "data");
    std::vector<TFinding> findings = outOfOrder.Check();
    ASSERT_FALSE(findings.empty());
    EXPECT_EQ(findings[0].Key, "data\\sample.da_");
    EXPECT_NE(findings[0].Problem.find("only on disk 1"), std::string::npos) << findings[0].Problem;
}

TEST(DistributionCheck, FindingLineSaysWhatWhereAndWhatToDo) {
    TFinding finding{E, "FilesIn", "widget.ex_", "the source file is on no disk", "Add the file"};
    EXPECT_EQ(quenby::FormatFinding(finding), "error: [FilesIn] widget.ex_: the source file is on no disk. Add the file.");
    finding.Key.clear();
    finding.Severity = W;
    EXPECT_EQ(quenby::FormatFinding(finding), "warning: [FilesIn]: the source file is on no disk. Add the file.");
}

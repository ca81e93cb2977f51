#include "base/InstallLog.h"

#include <gtest/gtest.h>

#include "FakeDigest.h"
#include "base/SameText.h"

using namespace quenby;

namespace {

const std::string kDest = "C:\\Program Files\\Orrery";
using K = TLogKind;

// A stand-in for the platform's rule (win/PathCompare.h, tested under Wine): ASCII names are all these use.
bool BelowAscii(std::string_view path, std::string_view folder) {
    return path.size() > folder.size() && path[folder.size()] == '\\' &&
           SameTextIgnoringCase(path.substr(0, folder.size()), folder);
}
constexpr TPathComparer kAsciiPaths{SameTextIgnoringCase, BelowAscii};

TLogEntry E(TLogKind kind, std::string path, bool existed = false, std::string root = "", std::string name = "") {
    return {kind, existed, std::move(root), std::move(path), std::move(name)};
}

std::string Log(const std::vector<TLogEntry>& entries) {
    std::string text = std::string(kInstallLogHeader) + "\r\n" + FormatLogLine(E(K::Destination, kDest));
    for (const TLogEntry& e : entries) text += FormatLogLine(e);
    return text;
}

TUninstallPlan Plan(const std::vector<TLogEntry>& entries) {
    return PlanUninstall(ParseLog(Log(entries)), kDest, kAsciiPaths);
}

}  // namespace

TEST(InstallLog, FieldsWithTabsLineEndsAndPercentsComeBackUnchanged) {
    const TLogEntry value = E(K::Value, "Software\\A%09\tb", true, "HKCU", "n\r\n%");
    const std::vector<TLogEntry> back = ParseLog(Log({value}));
    const auto fields = [](const TLogEntry& e) { return std::tie(e.Kind, e.Existed, e.Root, e.Path, e.Name); };
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(fields(back[1]), fields(value));
}

TEST(InstallLog, DamagedLinesAndAnythingTheInstallationCannotHaveMadeAreRefused) {
    const std::string head = std::string(kInstallLogHeader) + "\r\n";
    for (const std::string& text : std::vector<std::string>{
             "", "Quenby installation log 2\r\n", head + "file\tnew\tC:\\a", head + "file\tmaybe\tC:\\a\r\n",
             head + "file\tC:\\a\r\n", head + "remove\tC:\\a\r\n", head + "key\tHKCR\tx\r\n", head + "item\tbad%41\r\n",
             head + "value\tnew\tHKCU\tk\t\r\n"})
        EXPECT_THROW(ParseLog(text), ELogRefused) << text;
    for (const TLogEntry& entry :
         {E(K::File, "C:\\windows\\win.ini"), E(K::File, kDest + "\\..\\other.exe"), E(K::File, kDest + "/../x"),
          E(K::File, kDest + "\\data\\.. \\x"), E(K::File, kDest + " Two\\x"), E(K::File, kDest),
          E(K::Directory, "relative\\dir"), E(K::Directory, "C:\\a\\..\\windows"), E(K::Counter, "..\\boot.ini"),
          E(K::MachineCounter, "..\\boot.ini"), E(K::Kept, "..\\boot.ini"), E(K::AtRestart, "relative\\x.dll"),
          E(K::SystemFile, "C:\\x.dll"), E(K::SystemFile, "\\x.dll"), E(K::Key, "Software\\\\x", false, "HKCU"),
          E(K::Value, "..\\SYSTEM", false, "HKLM", "x"), E(K::Uninstall, "A\\..\\B"),
          E(K::Destination, "C:\\Program Files\\Other")})
        EXPECT_THROW(Plan({E(K::Group, "G"), entry}), ELogRefused) << entry.Path;
    EXPECT_THROW(PlanUninstall({}, kDest, kAsciiPaths), ELogRefused);  // no destination named
    EXPECT_THROW(Plan({E(K::Item, "Orrery")}), ELogRefused);           // an item before any group
}

TEST(InstallLog, PlanUndoesWhatTheFirstMentionMadeInReverseAndDeepestFirst) {
    const TUninstallPlan plan =
        Plan({E(K::Directory, kDest), E(K::Directory, kDest + "\\data\\deep"), E(K::Directory, "C:\\OrreryData"),
              E(K::SystemFile, "shared.dll"), E(K::SystemFile, "orphan.dll"), E(K::File, kDest + "\\a.exe"),
              E(K::File, kDest + "\\kept.txt", true), E(K::File, kDest + "\\b.txt"), E(K::Group, "Accessories", true),
              E(K::Group, "Orrery"), E(K::Item, "One"),
              E(K::Item, "x)][DeleteGroup(Startup"),  // would say another command: left
              E(K::Key, "Software\\B", false, "HKCU"), E(K::Key, "Software\\B\\O", false, "HKCU"),
              E(K::Value, "Software\\B\\O", false, "HKCU", "Name"), E(K::Value, "Software\\B\\O", true, "HKCU", "Old"),
              E(K::Counter, "shared.dll"), E(K::MachineCounter, "shared.dll"), E(K::Checked, "data\\b.tx_"),
              E(K::Kept, "shared.dll"), E(K::AtRestart, kDest + "\\b.txt"),  // change nothing
              // A second run over the first: what the first made stays the installation's.
              E(K::File, kDest + "\\A.EXE", true), E(K::Value, "Software\\B\\O", true, "HKCU", "Name"),
              E(K::Group, "orrery", true), E(K::Item, "Two"), E(K::Counter, "shared.dll")});
    EXPECT_EQ(plan.Files, (std::vector<std::string>{kDest + "\\b.txt", kDest + "\\a.exe"}));
    EXPECT_EQ(plan.Directories, (std::vector<std::string>{kDest + "\\data\\deep", kDest, "C:\\OrreryData"}));
    EXPECT_EQ(plan.NewSystemFiles, (std::vector<std::string>{"shared.dll", "orphan.dll"}));
    EXPECT_EQ(plan.Counters.size(), 2u);
    ASSERT_EQ(std::tuple(plan.Keys.size(), plan.Values.size(), plan.Groups.size()), std::tuple(2u, 1u, 2u));
    EXPECT_EQ(std::tie(plan.Keys[0].Key, plan.Values[0].Name, plan.Groups[0].Created, plan.Groups[1].Created),
              std::tuple("Software\\B\\O", "Name", false, true));
    EXPECT_EQ(plan.Groups[1].Items, (std::vector<std::string>{"Two", "One"}));
}

TEST(InstallLog, CommandLineIsTheDestinationWithOrWithoutQuotesAndTheSwitchesAroundIt) {
    // The line, then the destination, whether quiet, and the log ("-": no /LOG).
    const std::tuple<const char*, std::string, bool, const char*> cases[] = {
        {"C:\\Program Files\\Orrery", kDest, false, "-"},
        {"  \"C:\\Program Files\\Orrery\" ", kDest, false, "-"},
        {"   ", "", false, "-"},
        {"/VERYSILENT C:\\Program Files\\Orrery", kDest, true, "-"},
        {" /silent  \"C:\\Program Files\\Orrery\"", kDest, true, "-"},
        {"/SILENTC:\\Orrery", "/SILENTC:\\Orrery", false, "-"},  // glued to the path: part of it
        // The tools' line appended to the entry's command, and /LOG with or without its file.
        {"C:\\Program Files\\Orrery /VERYSILENT /suppressmsgboxes /NORESTART /SP- /LOG", kDest, true, ""},
        {"/LOG=\"C:\\my logs\\x.txt\" C:\\Program Files\\Orrery", kDest, false, "C:\\my logs\\x.txt"},
        {"\"/LOG=C:\\my logs\\x.txt\" C:\\Program Files\\Orrery /SILENT", kDest, true, "C:\\my logs\\x.txt"},
        {"C:\\Program Files\\Orrery /LOG= /X", "C:\\Program Files\\Orrery /LOG= /X", false, "-"},
        {"C:\\Program /SILENT Files", "C:\\Program /SILENT Files", false, "-"},  // only at either end
    };
    for (const auto& [line, destination, quiet, log] : cases) {
        const TRemovalOptions removal = ReadRemovalCommandLine(line);
        EXPECT_EQ(removal.Destination, destination) << line;
        EXPECT_EQ(removal.Quiet, quiet) << line;
        EXPECT_EQ(removal.LogWanted ? removal.Log : "-", log) << line;
    }
    EXPECT_EQ(QuietUninstallCommand("C:\\windows", kDest),
              "C:\\windows\\Uninstall.exe /VERYSILENT " + std::string(kDest));
}

TEST(InstallLog, OnlyTheRecordedLengthOfAnUnchangedChainIsVerified) {
    const TDigestFunction digest = [](std::string_view bytes) { return test::FakeDigestOf(std::string(bytes)); };
    const std::string genuine = Log({E(K::File, kDest + "\\a.exe"), E(K::Counter, "shared.dll")});
    TLogSeal seal;
    for (std::size_t start = 0, end = 0; start < genuine.size(); start = end) {
        end = genuine.find("\r\n", start) + 2;
        seal = ExtendSeal(seal, genuine.substr(start, end - start), digest);
    }
    ASSERT_EQ(seal.Lines, 4u);
    const std::optional<TLogSeal> back = ParseSeal(SealText(seal));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Digest, seal.Digest);
    // A line appended by anyone, or cut off by a crash, is beyond the recorded length: left out.
    for (const std::string& tail :
         {std::string(), std::string("file\tnew\t") + kDest + "\\b\r\n", std::string("file\tne")})
        EXPECT_EQ(VerifiedLogText(genuine + tail, *back, digest), genuine) << tail;
    // A changed byte, a missing one, a line fewer than the seal counts.
    const TLogSeal fewer{seal.Bytes, seal.Lines - 1, seal.Digest};
    for (const auto& [text, s] : {std::pair{std::string(genuine).replace(genuine.find("a.exe"), 1, "b"), seal},
                                  std::pair{genuine.substr(1), seal}, std::pair{genuine, fewer}})
        EXPECT_FALSE(VerifiedLogText(text, s, digest));
    for (const char* bad : {"", "1 2", "x 1 ab", "1 1 abc", "1 1 AB", "-1 1 ab"}) EXPECT_FALSE(ParseSeal(bad)) << bad;
    EXPECT_EQ(NormalisedDestination("c:\\Program files\\\\"), "C:\\PROGRAM FILES");
}

TEST(InstallLog, CountersAlreadyLoweredAreSkippedAndOnlyCreatedSharedFilesOffered) {
    const TUninstallPlan plan = Plan(
        {E(K::FinalPath, "C:\\Real\\Orrery"), E(K::SystemFile, "new.dll"), E(K::SystemFile, "old.dll", true),
         E(K::Counter, "new.dll"), E(K::MachineCounter, "new.dll"), E(K::Counter, "old.dll"), E(K::Counter, "NEW.dll"),
         E(K::MachineCounter, "NEW.dll"), E(K::Lowered, "new.dll"), E(K::MachineLowered, "new.dll"),
         E(K::Lowered, "old.dll"), E(K::FinalPath, "C:\\Later"), E(K::Group, "G"), E(K::Item, "..\\..\\Startup"),
         E(K::Item, "a/b"), E(K::Item, ".."), E(K::Item, "Read Me"), E(K::Group, "x\\y")});
    EXPECT_EQ(plan.Counters, std::vector<std::string>{"new.dll"});
    EXPECT_EQ(plan.MachineCounters, std::vector<std::string>{"new.dll"});
    EXPECT_EQ(plan.NewSystemFiles, std::vector<std::string>{"new.dll"});
    // As Setup counted before it counted machine-wide: for the user only.
    EXPECT_EQ(Plan({E(K::SystemFile, "user.dll"), E(K::Counter, "user.dll")}).UserCountedSystemFiles,
              std::vector<std::string>{"user.dll"});
    EXPECT_EQ(plan.DestinationFinal, "C:\\Real\\Orrery");
    ASSERT_EQ(plan.Groups.size(), 1u);
    EXPECT_EQ(plan.Groups[0].Items, std::vector<std::string>{"Read Me"});
}

// Only the last run, begun and never completed, is put back: not a completed one, not an earlier cut-off run
// that a later one completed, not a log from before the run lines.
TEST(InstallLog, OnlyALastRunThatNeverCompletedIsPutBack) {
    const std::string file = kDest + "\\a.txt";
    const TLogEntry saved = E(K::Saved, file, false, "", "C:\\windows\\Temp\\Quenby-1-1\\1");
    const TLogEntry old = E(K::OldValue, "Software\\Norvale Tests", false, kUserRootWord,
                            OldValueName(1, std::string("Bo\0", 3), "Name"));
    const TLogEntry start = E(K::RunStart, "App"), end = E(K::RunEnd, "App");
    const std::pair<std::vector<TLogEntry>, std::size_t> cases[] = {{{start, saved, old}, 2},
                                                                    {{start, saved, old, end}, 0},
                                                                    {{start, saved, start, old}, 1},
                                                                    {{start, saved, old, end, start}, 0},
                                                                    {{saved, old}, 0}};
    for (const auto& [entries, restored] : cases) {
        const TUninstallPlan plan = Plan(entries);
        EXPECT_EQ(plan.Restores.size() + plan.OldValues.size(), restored) << Log(entries);
    }
    const TUninstallPlan cut = Plan({start, saved, old});
    ASSERT_EQ(cut.OldValues.size(), 1u);
    EXPECT_EQ(cut.OldValues[0].Type + cut.OldValues[0].Data.size(), 1u + 3u);
    EXPECT_EQ(cut.OldValues[0].Name.Name + "|" + cut.Restores.at(0).Target, "Name|" + file);
    EXPECT_FALSE(ParseOldValue(E(K::OldValue, "K", false, kUserRootWord, "1:abc:Name")));  // odd hex
}

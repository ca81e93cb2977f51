#include "publish/DistributionCheck.h"

#include "base/DestinationRule.h"
#include "base/Errors.h"
#include "base/InstallRecord.h"
#include "base/NumberRule.h"
#include "base/ProgmanMacros.h"
#include "base/Texts.h"
#include "publish/IniFile.h"
#include "publish/NearestName.h"
#include "publish/PeVersion.h"

namespace quenby {

namespace {

// The copy step refuses a longer path ("Path too long"); the macro texts and their limit are the
// group step's own (ProgmanMacros).
bool PathFits(const std::string& path) { return path.size() <= kMaxPathLength; }

// ---- helpers ----

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string WithoutLineEnd(std::string macro) {
    while (!macro.empty() && (macro.back() == '\r' || macro.back() == '\n')) macro.pop_back();
    return macro;
}

std::string Folder(const std::string& name) {
    size_t slash = name.find_last_of('\\');
    return slash == std::string::npos ? std::string() : name.substr(0, slash);
}

std::string WithoutTrailingBackslash(std::string path) {
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

// A folder is made by a [Dirs] entry that names it or one of its sub-folders (parents are made too).
bool MadeBy(const std::string& folder, const std::string& dir) {
    std::string made = WithoutTrailingBackslash(dir);
    if (made.size() < folder.size()) return false;
    return SameTextIgnoringCase(made.substr(0, folder.size()), folder) &&
           (made.size() == folder.size() || made[folder.size()] == '\\');
}

bool ContainsIgnoringCase(const std::string& text, const std::string& part) {
    for (size_t i = 0; i + part.size() <= text.size(); ++i)
        if (SameTextIgnoringCase(text.substr(i, part.size()), part)) return true;
    return false;
}

std::string Trimmed(const std::string& text) {
    size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return {};
    return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

// ---- names Setup does not read ----

bool Lists(const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& listed : names)
        if (SameTextIgnoringCase(listed, name)) return true;
    return false;
}

std::string NotReadText(const std::string& name, const char* kind, const std::string& nearest) {
    const std::string text = "`" + name + "` is not " + kind + " Setup reads";
    return nearest.empty() ? text + "." : text + "; did you mean `" + nearest + "`?";
}

// Setup's own reading routine, run over a file that holds nothing, names every section it reads and, of a
// section it reads key by key rather than listing ([Settings]), every key: a name added there is known here.
class TNamesRead : public TIniSource {
public:
    struct TSection {
        std::string Name;
        bool Listed = false;
        std::vector<std::string> Keys;
    };

    TNamesRead() { TInstructions().ReadFrom(*this, ""); }
    const std::vector<TSection>& Sections() const { return m_sections; }

    std::string ReadText(const std::string& section, const std::string& key,
                         const std::string& defaultText) const override {
        Noted(section).Keys.push_back(key);
        return defaultText;
    }
    void ListKeys(const std::string& section, TStringList& list) const override {
        Noted(section).Listed = true;
        list.Clear();
    }

private:
    TSection& Noted(const std::string& section) const {
        for (TSection& noted : m_sections)
            if (noted.Name == section) return noted;
        return m_sections.emplace_back(TSection{section, false, {}});
    }
    mutable std::vector<TSection> m_sections;
};

class TChecker {
public:
    TChecker(const TInstructions& in, const TDistributionMedia& media, const TTargetAssumptions& target)
        : m_in(in), m_media(media), m_target(target), m_disks(FollowDisks(in, media)) {}

    std::vector<TFinding> Run() {
        CheckNames();
        CheckPairs("FilesIn", m_in.FilesIn, "FilesOut", m_in.FilesOut);
        CheckPairs("SysFilesIn", m_in.SysFilesIn, "SysFilesOut", m_in.SysFilesOut);
        CheckSources("SysFilesIn", m_in.SysFilesIn, m_disks.SysFileDisks);
        CheckSources("FilesIn", m_in.FilesIn, m_disks.FileDisks);
        CheckSystemFileVersions();
        CheckNotices("StartInfo", m_in.StartInfo, 1, "before anything is copied");
        CheckNotices("EndInfo", m_in.EndInfo, m_disks.FinalDisk, "after the last file is copied");
        CheckAddOns();
        CheckKeys();
        CheckItems();
        CheckSubFolders();
        CheckLimits();
        CheckReplaceValues("FilesOut", m_in.FilesOut, m_in.FilesOutValues);
        CheckReplaceValues("SysFilesOut", m_in.SysFilesOut, m_in.SysFilesOutValues);
        CheckDuplicates("FilesOut", m_in.FilesOut);
        CheckDuplicates("SysFilesOut", m_in.SysFilesOut);
        CheckUninstallerShipped();
        CheckChecksums();
        return std::move(m_findings);
    }

private:
    void Error(std::string section, std::string key, std::string problem, std::string remedy) {
        m_findings.push_back(
            {TSeverity::Error, std::move(section), std::move(key), std::move(problem), std::move(remedy)});
    }
    void Warning(std::string section, std::string key, std::string problem, std::string remedy) {
        m_findings.push_back(
            {TSeverity::Warning, std::move(section), std::move(key), std::move(problem), std::move(remedy)});
    }

    // A typo in a name is no error to Setup: the entry is not read, and the default or nothing takes its place.
    void CheckNames() {
        const TNamesRead read;
        std::vector<std::string> sections;
        for (const TNamesRead::TSection& section : read.Sections()) sections.push_back(section.Name);
        for (int i = 1; i < m_in.Keys.Count(); ++i) sections.push_back(m_in.Keys[i]);  // the value sections
        std::vector<std::string> seen;
        for (const std::string& name : m_media.SectionNames()) {
            if (Lists(seen, name)) continue;
            seen.push_back(name);
            if (!Lists(sections, name)) {
                const std::string nearest = NearestName(name, sections);
                Warning(name, "",
                        NotReadText("[" + name + "]", "a section", nearest.empty() ? "" : "[" + nearest + "]"), "");
                continue;
            }
            for (const TNamesRead::TSection& section : read.Sections())
                if (!section.Listed && SameTextIgnoringCase(section.Name, name)) CheckSettingNames(section);
        }
    }

    void CheckSettingNames(const TNamesRead::TSection& section) {
        TStringList keys;
        m_media.ListKeys(section.Name, keys);
        std::vector<std::string> seen;
        for (const std::string& key : keys) {
            if (Lists(section.Keys, key) || Lists(seen, key)) continue;
            seen.push_back(key);
            Warning(section.Name, key,
                    NotReadText("[" + section.Name + "] " + key, "a setting", NearestName(key, section.Keys)), "");
        }
    }

    bool SingleMedium() const { return m_media.DiskCount() <= 1; }
    std::string Disk(int disk) const { return "disk " + std::to_string(disk); }

    void CheckPairs(const char* inName, const TStringList& in, const char* outName, const TStringList& out) {
        if (in.Count() == out.Count()) return;
        std::string problem = "has " + std::to_string(out.Count()) + " entries but [" + inName + "] has " +
                              std::to_string(in.Count()) + "; entries pair by position, ";
        problem += out.Count() < in.Count() ? "and the copy stops with \"" + std::string(EListError().what()) +
                                                  "\" at the first file without a destination"
                                            : "and the extra destinations are ignored";
        Error(outName, "", problem,
              std::string("Give each [") + inName + "] entry exactly one [" + outName + "] entry, in the same order");
    }

    void CheckSources(const char* section, const TStringList& names, const std::vector<int>& disks) {
        for (int i = 0; i < names.Count(); ++i) {
            const std::string& name = names[i];
            int disk = disks[static_cast<size_t>(i)];
            if (disk == 0) {
                int earlier = 0;
                for (int d = 1; d <= m_media.DiskCount() && !earlier; ++d)
                    if (m_media.File(d, name)) earlier = d;
                if (earlier)
                    Error(section, name,
                          "the source file is only on " + Disk(earlier) +
                              ", but a later disk is in the drive when it "
                              "is copied, and the installer only ever asks for the next disk",
                          "Put it on the disk in the drive at that point or a later one, in copy order (system files, "
                          "then product files)");
                else
                    Error(section, name,
                          SingleMedium() ? "the source file is not in the distribution, so the installer asks for "
                                           "a next disk that never brings it"
                                         : "the source file is on no disk, so the installer asks for a next disk that "
                                           "never brings it",
                          "Add the file, or correct its name");
                continue;
            }
            if (m_in.Expand) {
                std::optional<TMediaFile> file = m_media.File(disk, name);
                if (file && !IsSzdd(file->Head))
                    Warning(section, name,
                            "Expand=1 but the source is not in the compressed (SZDD) format: it is copied unchanged",
                            "Compress it with \"quenby-pack compress\", or set Expand=0 when no file is compressed");
            }
        }
    }

    // A shared file replaces one already installed unless both carry versions and the installed one is as new.
    void CheckSystemFileVersions() {
        for (int i = 0; i < m_in.SysFilesIn.Count(); ++i) {
            const std::string& name = m_in.SysFilesIn[i];
            const int disk = m_disks.SysFileDisks[static_cast<size_t>(i)];
            std::optional<TBytes> bytes = disk ? m_media.Contents(disk, name) : std::nullopt;
            // As the copy step writes it; a damaged compressed file is no question of versions.
            if (bytes && m_in.Expand && IsSzdd(*bytes)) bytes = SzddExpand(*bytes);
            if (!bytes || HasVersionResource(*bytes)) continue;
            Warning("SysFilesIn", name,
                    "the file has no version resource, so it replaces a file of the same name already in the "
                    "Windows directory, even a newer one",
                    "Give it a version resource (VERSIONINFO), so that a newer copy already installed is kept");
        }
    }

    void CheckNotices(const char* section, const TStringList& names, int disk, const char* when) {
        for (const std::string& name : names) {
            std::optional<TMediaFile> file = m_media.File(disk, name);
            if (!file) {
                std::string problem =
                    SingleMedium() ? "the notice file is missing"
                                   : "the notice file is not on " + Disk(disk) + ", the disk in the drive " + when;
                Error(section, name,
                      problem + "; Next on its page fails with \"" + EFOpenError(m_target.SourceDir + name).what() +
                          "\" every time",
                      SingleMedium() ? "Add the file, or correct its name" : "Put the file on " + Disk(disk));
                continue;
            }
            std::string text(file->Head.begin(), file->Head.end());
            int lines = file->Size > file->Head.size() ? kNoticeBoxLines * 100 : NoticeLines(text);
            if (lines > kNoticeBoxLines)
                Warning(section, name,
                        "the notice fills about " + std::to_string(lines) + " lines; the notice box shows " +
                            std::to_string(kNoticeBoxLines) + " and has no scroll bars",
                        "Split it over several notices");
        }
    }

    void CheckAddOns() {
        for (int i = 0; i < m_in.AddOns.Count(); ++i) {
            if (ParseNumber(m_in.AddOns[i])) continue;
            Error("AddOns", m_in.AddOns[i],
                  "the key is not a whole number: the installation stops with \"" +
                      std::string(EConvertError(m_in.AddOns[i]).what()) +
                      "\" when it reaches this add-on, and never completes",
                  "Use 0, 1 or 2 to start the add-on, another number to leave it out");
        }
    }

    void CheckKeys() {
        if (m_in.Application.empty())
            Error("Settings", "Application",
                  "is empty or missing: the installer refuses to copy anything, since the uninstall entry is named "
                  "after it",
                  "Give the product's name, such as Application=Widget");
        if (m_in.Publisher.empty())
            Warning("Settings", "Publisher",
                    "is empty or missing: the uninstall entry names no publisher, and the system's list of programs "
                    "shows none",
                    "Give the company's name, such as Publisher=Acme Software");
        if (m_in.Keys.Empty()) {
            Error("Keys", "",
                  "the section is empty or missing: the registry step stops with \"" +
                      std::string(EListError().what()) +
                      "\", so no uninstall entry is written, no add-on starts and the installation never completes",
                  "Add a first entry naming the product's key, such as Base=\\Software\\Publisher\\Product");
            return;
        }
        for (int i = 1; i < m_in.Keys.Count(); ++i) {
            const std::string& section = m_in.Keys[i];
            if (!m_media.HasSection(section)) {
                Error("Keys", section,
                      "names the value section [" + section + "], which does not exist: no values are written to " +
                          "the subkey " + m_in.KeysValues[i],
                      "Add the section [" + section + "], or correct the name");
                continue;
            }
            const TInstructions::TValueSection& values = m_in.KeySections.at(static_cast<size_t>(i));
            for (int n = 0; n < values.Names.Count(); ++n)
                CheckPersonalValue(section, values.Names[n], values.Texts[n]);
        }
    }

    // The group step names each item's program below the destination.
    void CheckItems() {
        for (const std::string& program : m_in.Items) {
            const bool fullPath = program.rfind('\\', 0) == 0 || (program.size() > 1 && program[1] == ':');
            if (!fullPath && Lists(m_in.FilesOut.Items(), program)) continue;
            Error("Items", program,
                  fullPath ? "names a full path, but the item's program is taken relative to the destination (" +
                                 m_in.Directory + "\\" + program + "), so the item starts nothing"
                           : "the program is not among the installed files in [FilesOut], so the item starts nothing",
                  "Name the program as its [FilesOut] entry does, relative to the destination");
        }
    }

    void CheckPersonalValue(const std::string& section, const std::string& name, const std::string& text) {
        const bool mentionsName = ContainsIgnoringCase(text, "$NAME");
        const bool mentionsOrg = ContainsIgnoringCase(text, "$ORG");
        if (!mentionsName && !mentionsOrg) return;
        if ((SameTextIgnoringCase(name, "Name") && SameTextIgnoringCase(text, "$NAME")) ||
            (SameTextIgnoringCase(name, "Organization") && SameTextIgnoringCase(text, "$ORG")))
            return;
        Warning(section, name,
                Quoted(text) +
                    " is written literally: only the line Name=$NAME takes the user's name and only "
                    "Organization=$ORG the organisation",
                mentionsName ? "Write the line as Name=$NAME" : "Write the line as Organization=$ORG");
    }

    void CheckSubFolders() {
        for (int i = 0; i < m_in.FilesOut.Count(); ++i) {
            std::string folder = Folder(m_in.FilesOut[i]);
            if (folder.empty()) continue;
            bool made = false;
            for (int d = 0; d < m_in.Dirs.Count() && !made; ++d)
                made = m_in.DirsValues[d] == "0" ? MadeBy(folder, m_in.Dirs[d])
                                                 : MadeBy(m_in.Directory + "\\" + folder, m_in.Dirs[d]);
            if (!made)
                Error(
                    "FilesOut", m_in.FilesOut[i],
                    "goes into the sub-folder " + folder +
                        ", which no [Dirs] entry creates; the copy step creates no folders, so the file is not copied",
                    "Add " + folder + "=0 to [Dirs]");
        }
        for (int i = 0; i < m_in.SysFilesOut.Count(); ++i) {
            std::string folder = Folder(m_in.SysFilesOut[i]);
            // The Windows directory always holds these.
            if (folder.empty() || SameTextIgnoringCase(folder, "SYSTEM") || SameTextIgnoringCase(folder, "SYSTEM32"))
                continue;
            bool made = false;
            for (int d = 0; d < m_in.Dirs.Count() && !made; ++d)
                made = m_in.DirsValues[d] != "0" && MadeBy(m_target.WindowsDir + "\\" + folder, m_in.Dirs[d]);
            if (!made)
                Error("SysFilesOut", m_in.SysFilesOut[i],
                      "goes into the sub-folder " + folder +
                          " of the Windows directory, which no [Dirs] entry "
                          "creates; the copy step creates no folders, so the file is not copied",
                      "Install it into the Windows directory itself or its SYSTEM folder");
        }
    }

    void CheckPath(const char* section, const std::string& key, const std::string& what, const std::string& path,
                   const std::string& remedy) {
        if (PathFits(path)) return;
        Error(section, key,
              what + " " + path + " is " + std::to_string(path.size()) +
                  " characters long; the installer refuses paths over " + std::to_string(kMaxPathLength) +
                  " characters and copies nothing at all",
              remedy);
    }

    void CheckMacro(const char* section, const std::string& key, const std::string& macro, const std::string& remedy) {
        if (MacroFits(macro)) return;
        Error(section, key,
              "the Program Manager command " + WithoutLineEnd(macro) + " is " + std::to_string(macro.size()) +
                  " characters long with its line end; commands over " + std::to_string(kMacroBufferLength) +
                  " are not sent, so it is not created",
              remedy);
    }

    void CheckLimits() {
        const std::string& destination = m_in.Directory;
        const std::string shorter = "Shorten the name or the Directory setting";
        CheckPath("Settings", "Directory", "the destination", destination, "Shorten the Directory setting");
        for (int i = 0; i < m_in.Dirs.Count(); ++i) {
            bool relative = m_in.DirsValues[i] == "0";
            CheckPath("Dirs", m_in.Dirs[i], "the folder", relative ? destination + "\\" + m_in.Dirs[i] : m_in.Dirs[i],
                      relative ? shorter : "Shorten the path");
        }
        for (int i = 0; i < m_in.FilesOut.Count(); ++i)
            CheckPath("FilesOut", m_in.FilesOut[i], "with the default destination, the path",
                      destination + "\\" + m_in.FilesOut[i], shorter);
        for (int i = 0; i < m_in.SysFilesOut.Count(); ++i)
            CheckPath("SysFilesOut", m_in.SysFilesOut[i],
                      "in the Windows directory " + m_target.WindowsDir + ", the path",
                      m_target.WindowsDir + "\\" + m_in.SysFilesOut[i], "Shorten the name");
        for (int i = 0; i < m_in.FilesIn.Count(); ++i)
            CheckPath("FilesIn", m_in.FilesIn[i], "the source path", m_target.SourceDir + m_in.FilesIn[i],
                      "Shorten the name");
        for (int i = 0; i < m_in.SysFilesIn.Count(); ++i)
            CheckPath("SysFilesIn", m_in.SysFilesIn[i], "the source path", m_target.SourceDir + m_in.SysFilesIn[i],
                      "Shorten the name");

        CheckMacro("Settings", "ProgGroup", GroupMacro(m_in.ProgGroup), "Shorten the group name");
        for (int i = 0; i < m_in.Items.Count(); ++i)
            CheckMacro("Items", m_in.Items[i], ItemMacro(destination, m_in.Items[i], m_in.ItemsValues[i]),
                       "Shorten the item's program name, its title or the Directory setting");
        CheckMacro("Settings", "Application", UninstallerItemMacro(m_target.WindowsDir, destination, m_in.Application),
                   "Shorten the Application name or the Directory setting (this is the uninstaller's item)");
    }

    void CheckReplaceValues(const char* section, const TStringList& names, const TStringList& values) {
        // With Expand=1 every file is written anew and the value is not consulted.
        if (m_in.Expand) return;
        for (int i = 0; i < names.Count(); ++i) {
            const std::string& value = values[i];
            if (value == "0" || value.empty()) continue;
            std::optional<std::int32_t> number = ParseNumber(Trimmed(value));
            if (!number || *number != 0) continue;
            Warning(section, names[i],
                    "the replace value " + Quoted(value) + " keeps an existing file: only exactly \"0\" replaces it",
                    "Write 0 to replace an existing file, or 1 to keep it");
        }
    }

    void CheckDuplicates(const char* section, const TStringList& names) {
        for (int i = 0; i < names.Count(); ++i)
            for (int j = 0; j < i; ++j) {
                if (!SameTextIgnoringCase(names[i], names[j])) continue;
                Warning(section, names[i],
                        "the destination is named twice (entries " + std::to_string(j + 1) + " and " +
                            std::to_string(i + 1) +
                            "): the later file overwrites the earlier one or is skipped, and "
                            "both take the first entry's replace value",
                        "Remove one entry or give it another name");
                break;
            }
    }

    // Every installation registers Uninstall.exe in the Windows directory as its uninstall command.
    void CheckUninstallerShipped() {
        for (const std::string& name : m_in.SysFilesOut)
            if (SameTextIgnoringCase(name, kUninstallerName)) return;
        Warning("SysFilesOut", "",
                "Uninstall.exe is not shipped, so the uninstall command would name a missing program",
                "Put Uninstall.exe (from the same build as Setup.exe) in [SysFilesIn] and [SysFilesOut]");
    }

    // With [Checksums] every source file must be listed and match on the disk the installer reads it from.
    void CheckChecksums() {
        if (!m_media.HasSection(kChecksumsSection)) return;
        const std::vector<TChecksum> listed = m_media.Checksums();
        CheckListed(m_in.SysFilesIn, m_disks.SysFileDisks, listed);
        CheckListed(m_in.FilesIn, m_disks.FileDisks, listed);
    }

    void CheckListed(const TStringList& names, const std::vector<int>& disks, const std::vector<TChecksum>& listed) {
        for (int i = 0; i < names.Count(); ++i) {
            const std::string& name = names[i];
            const int disk = disks[static_cast<size_t>(i)];
            const std::string where = SingleMedium() ? "on the medium" : "on " + Disk(disk);
            const std::string* digest = ListedDigest(listed, name);
            if (!digest) {
                Error(kChecksumsSection, name, kChecksumUnlisted, kChecksumsWriteAgain);
            } else if (!IsSha256Hex(*digest)) {
                Error(kChecksumsSection, name, ChecksumMalformedText(*digest), kChecksumsWriteAgain);
            } else if (disk != 0) {  // a file on no disk has its finding already
                std::optional<std::string> actual = m_media.Digest(disk, name);
                if (!actual)
                    Error(kChecksumsSection, name, ChecksumUnreadableText(where), kChecksumMismatchRemedy);
                else if (!DigestMatches(*digest, *actual))
                    Error(kChecksumsSection, name, ChecksumMismatchText(where), kChecksumMismatchRemedy);
            }
        }
    }

    const TInstructions& m_in;
    const TDistributionMedia& m_media;
    const TTargetAssumptions& m_target;
    TDiskSequence m_disks;
    std::vector<TFinding> m_findings;
};

// Follows one list; a file found on no disk from the current one on leaves the drive as it is.
void FollowList(const TStringList& names, const TDistributionMedia& media, int& drive, std::vector<int>& disks) {
    for (const std::string& name : names) {
        int found = 0;
        for (int d = drive; d <= media.DiskCount() && !found; ++d)
            if (media.File(d, name)) found = d;
        disks.push_back(found);
        if (found) drive = found;
    }
}

}  // namespace

std::string FormatFinding(const TFinding& finding) {
    std::string line = finding.Severity == TSeverity::Error ? "error: " : "warning: ";
    if (finding.Remedy.empty()) return line + finding.Problem;
    line += "[" + finding.Section + "]";
    if (!finding.Key.empty()) line += " " + finding.Key;
    return line + ": " + finding.Problem + ". " + finding.Remedy + ".";
}

TDiskSequence FollowDisks(const TInstructions& in, const TDistributionMedia& media) {
    TDiskSequence sequence;
    int drive = 1;
    FollowList(in.SysFilesIn, media, drive, sequence.SysFileDisks);
    FollowList(in.FilesIn, media, drive, sequence.FileDisks);
    sequence.FinalDisk = drive;
    return sequence;
}

int NoticeLines(const std::string& text) {
    constexpr size_t kCharactersPerLine = 60;
    int lines = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        size_t length = end - start;
        if (length > 0 && text[end - 1] == '\r') --length;
        if (end == text.size() && length == 0 && start > 0) break;  // after the last line end
        lines += static_cast<int>(length == 0 ? 1 : (length + kCharactersPerLine - 1) / kCharactersPerLine);
        start = end + 1;
    }
    return lines;
}

std::vector<TFinding> CheckDistribution(const TInstructions& in, const TDistributionMedia& media,
                                        const TTargetAssumptions& target) {
    return TChecker(in, media, target).Run();
}

}  // namespace quenby

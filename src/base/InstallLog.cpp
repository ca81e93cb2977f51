#include "base/InstallLog.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Checksums.h"
#include "base/CommandLine.h"
#include "base/DestinationRule.h"
#include "base/SameText.h"

namespace quenby {

namespace {

struct TKindRow {
    TLogKind Kind;
    const char* Word;
    bool Flag, Root, Name;  // which fields the line carries besides its path
};
constexpr TKindRow kKinds[] = {
    {TLogKind::Application, "application", false, false, false},
    {TLogKind::Destination, "destination", false, false, false},
    {TLogKind::Directory, "directory", false, false, false},
    {TLogKind::File, "file", true, false, false},
    {TLogKind::SystemFile, "sysfile", true, false, false},
    {TLogKind::Counter, "counter", false, false, false},
    {TLogKind::Group, "group", true, false, false},
    {TLogKind::Item, "item", false, false, false},
    {TLogKind::Key, "key", false, true, false},
    {TLogKind::Value, "value", true, true, true},
    {TLogKind::Uninstall, "uninstall", false, false, false},
    {TLogKind::Kept, "kept", false, false, false},
    {TLogKind::AtRestart, "atrestart", false, false, false},
    {TLogKind::Checked, "checked", false, false, false},
    {TLogKind::FinalPath, "final", false, false, false},
    {TLogKind::Lowered, "lowered", false, false, false},
    {TLogKind::MachineCounter, "machinecounter", false, false, false},
    {TLogKind::MachineLowered, "machinelowered", false, false, false},
    {TLogKind::RunStart, "runstart", false, false, false},
    {TLogKind::RunEnd, "runend", false, false, false},
    {TLogKind::Saved, "saved", false, false, true},
    {TLogKind::OldValue, "oldvalue", false, true, true},
};

const TKindRow& RowOf(TLogKind kind) {
    return *std::find_if(std::begin(kKinds), std::end(kKinds), [&](const TKindRow& row) { return row.Kind == kind; });
}

// Tabs, line ends and the escape character itself cannot stand in a field as they are.
constexpr char kEscaped[] = {'%', '\t', '\r', '\n'};
constexpr const char* kEscapes[] = {"%25", "%09", "%0D", "%0A"};

std::string Escape(const std::string& field) {
    std::string out;
    for (char c : field) {
        const char* hit = std::find(std::begin(kEscaped), std::end(kEscaped), c);
        if (hit == std::end(kEscaped))
            out += c;
        else
            out += kEscapes[hit - std::begin(kEscaped)];
    }
    return out;
}

std::string Unescape(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '%') {
            out += field[i];
            continue;
        }
        const std::string code = field.substr(i, 3);
        const auto* hit =
            std::find_if(std::begin(kEscapes), std::end(kEscapes), [&](const char* e) { return code == e; });
        if (hit == std::end(kEscapes)) throw ELogRefused("a bad escape");
        out += kEscaped[hit - std::begin(kEscapes)];
        i += 2;
    }
    return out;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (char c : text)
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    return parts;
}

TLogEntry ParseLine(const std::string& line) {
    const std::vector<std::string> fields = Split(line, '\t');
    const auto* row =
        std::find_if(std::begin(kKinds), std::end(kKinds), [&](const TKindRow& r) { return fields[0] == r.Word; });
    if (row == std::end(kKinds)) throw ELogRefused("an unknown entry");
    const std::size_t expected = 2 + row->Flag + row->Root + row->Name;
    if (fields.size() != expected) throw ELogRefused("a wrong number of fields");
    TLogEntry entry;
    entry.Kind = row->Kind;
    std::size_t next = 1;
    if (row->Flag) {
        if (fields[next] != "new" && fields[next] != "old") throw ELogRefused("neither new nor old");
        entry.Existed = fields[next++] == "old";
    }
    if (row->Root) {
        if (fields[next] != kUserRootWord && fields[next] != kMachineRootWord)
            throw ELogRefused("an unknown registry root");
        entry.Root = fields[next++];
    }
    entry.Path = Unescape(fields[next++]);
    if (row->Name) entry.Name = Unescape(fields[next]);
    if (entry.Path.empty() || (row->Name && entry.Name.empty())) throw ELogRefused("an empty field");
    return entry;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Folded(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), Lower);
    return text;
}

std::string WithoutTrailingBackslash(std::string path) {
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

// Windows drops trailing dots and blanks from a name, so "..", ". " and "... " all climb.
bool IsDotsOnly(const std::string& component) { return component.find_first_not_of(". ") == std::string::npos; }

bool HasCleanComponents(const std::string& path) {
    if (path.find('/') != std::string::npos) return false;
    std::vector<std::string> parts = Split(path, '\\');
    if (parts.size() > 1 && parts.back().empty()) parts.pop_back();  // a root's trailing backslash
    return std::none_of(parts.begin(), parts.end(), [](const std::string& p) { return IsDotsOnly(p); });
}

bool IsCleanFullPath(const std::string& path) {
    if (!IsFullDirectoryPath(path)) return false;
    const bool unc = path.starts_with("\\\\");
    return HasCleanComponents(unc ? path.substr(2) : path);
}

bool IsCleanRelativeName(const std::string& name) {
    return name.find(':') == std::string::npos && name[0] != '\\' && IsCleanFullPath("C:\\" + name);
}

bool IsCleanKeyPath(const std::string& path) {
    return path.size() <= 255 && path.find_first_of("\r\n") == std::string::npos && HasCleanComponents(path) &&
           std::ranges::none_of(Split(path, '\\'), [](const std::string& p) { return p.empty(); });
}

// Program Manager splits its commands at the brackets, parentheses and commas, so a title holding one
// could say something else; and it takes a title as a file name in the group's folder, so a title that is
// no plain file name could name another folder (Wine deletes a group folder with all it holds).
bool IsPlainTitle(const std::string& title) {
    return !title.empty() && title.find_first_of("[](),\"\r\n\t\\/:*?<>|") == std::string::npos && !IsDotsOnly(title) &&
           title.find("..") == std::string::npos;
}

bool IsAcceptable(const TLogEntry& entry, const std::string& destination, const TPathComparer& paths) {
    switch (entry.Kind) {
        case TLogKind::Destination: return paths.Same(entry.Path, destination);
        case TLogKind::Directory: return IsCleanFullPath(entry.Path);
        case TLogKind::File: return IsCleanFullPath(entry.Path) && paths.Below(entry.Path, destination);
        case TLogKind::FinalPath: return IsCleanFullPath(entry.Path);
        case TLogKind::SystemFile:
        case TLogKind::Kept:
        case TLogKind::Counter:
        case TLogKind::Lowered:
        case TLogKind::MachineCounter:
        case TLogKind::MachineLowered: return IsCleanRelativeName(entry.Path);
        case TLogKind::AtRestart: return IsCleanFullPath(entry.Path);
        case TLogKind::RunStart:
        case TLogKind::RunEnd: return entry.Path.find('\\') == std::string::npos;
        case TLogKind::Saved: return IsCleanFullPath(entry.Path) && IsCleanFullPath(entry.Name);
        case TLogKind::OldValue: return IsCleanKeyPath(entry.Path) && ParseOldValue(entry).has_value();
        case TLogKind::Key:
        case TLogKind::Value: return IsCleanKeyPath(entry.Path);
        case TLogKind::Uninstall: return entry.Path.find('\\') == std::string::npos;
        case TLogKind::Group:
        case TLogKind::Item:
        case TLogKind::Checked:
        case TLogKind::Application: return true;
    }
    return false;
}

std::size_t Depth(const std::string& path) { return static_cast<std::size_t>(std::ranges::count(path, '\\')); }

template <typename T, typename DepthOf>
void DeepestFirst(std::vector<T>& list, DepthOf depth) {
    std::reverse(list.begin(), list.end());
    std::stable_sort(list.begin(), list.end(), [&](const T& a, const T& b) { return depth(a) > depth(b); });
}

}  // namespace

std::string FormatLogLine(const TLogEntry& entry) {
    const TKindRow& row = RowOf(entry.Kind);
    std::string line = row.Word;
    auto field = [&](const std::string& text) {
        line += '\t';
        line += text;
    };
    if (row.Flag) field(entry.Existed ? "old" : "new");
    if (row.Root) field(entry.Root);
    field(Escape(entry.Path));
    if (row.Name) field(Escape(entry.Name));
    line += "\r\n";
    return line;
}

std::vector<TLogEntry> ParseLog(const std::string& text) {
    std::vector<TLogEntry> entries;
    std::size_t start = 0;
    for (int number = 1; start < text.size(); ++number) {
        const std::size_t end = text.find("\r\n", start);
        const std::string where = "line " + std::to_string(number) + " ";
        if (end == std::string::npos) throw ELogRefused(where + "is cut off");
        const std::string line = text.substr(start, end - start);
        start = end + 2;
        if (number == 1) {
            if (line != kInstallLogHeader) throw ELogRefused(where + "is no installation log header");
            continue;
        }
        try {
            entries.push_back(ParseLine(line));
        } catch (const ELogRefused& error) {
            throw ELogRefused(where + "holds " + error.what());
        }
    }
    if (start == 0) throw ELogRefused("the log is empty");
    return entries;
}

std::string OldValueName(unsigned long type, std::string_view data, const std::string& name) {
    return std::to_string(type) + ":" + HexText(data) + ":" + name;
}

std::optional<TOldValue> ParseOldValue(const TLogEntry& entry) {
    const std::size_t typeEnd = entry.Name.find(':'), dataEnd = entry.Name.find(':', typeEnd + 1);
    if (typeEnd == 0 || typeEnd > 10 || dataEnd == std::string::npos || (dataEnd - typeEnd - 1) % 2 != 0)
        return std::nullopt;
    TOldValue value{{entry.Root, entry.Path, entry.Name.substr(dataEnd + 1)}, 0, {}};
    for (std::size_t i = 0; i < typeEnd; ++i) {
        if (entry.Name[i] < '0' || entry.Name[i] > '9') return std::nullopt;
        value.Type = value.Type * 10 + static_cast<unsigned long>(entry.Name[i] - '0');
    }
    auto nibble = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1; };
    for (std::size_t i = typeEnd + 1; i < dataEnd; i += 2) {
        const int high = nibble(entry.Name[i]), low = nibble(entry.Name[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        value.Data += static_cast<char>(high * 16 + low);
    }
    return value;
}

TUninstallPlan PlanUninstall(const std::vector<TLogEntry>& entries, const std::string& destination,
                             const TPathComparer& paths) {
    TUninstallPlan plan;
    std::map<std::string, bool> firstExisted;  // by kind and folded name
    auto isFirstNew = [&](const std::string& id, bool existed) {
        return firstExisted.try_emplace(Folded(id), existed).second && !existed;
    };
    std::map<std::string, bool> seen;
    auto isFirst = [&](const std::string& id) { return seen.try_emplace(Folded(id), true).second; };
    std::vector<std::string> newSystemFiles;
    std::map<std::string, int> lowered, machineLowered;  // by folded name: raises already undone
    std::map<std::string, bool> machineCounted;          // by folded name: whether counted machine-wide too
    bool destinationNamed = false;
    bool unfinished = false;  // the last run began and never completed

    for (const TLogEntry& entry : entries) {
        if (!IsAcceptable(entry, destination, paths))
            throw ELogRefused("it names " + entry.Path + ", which the installation into " + destination +
                              " cannot have made");
        switch (entry.Kind) {
            case TLogKind::Application: plan.Application = entry.Path; break;
            case TLogKind::Destination: destinationNamed = true; break;
            case TLogKind::FinalPath:
                if (plan.DestinationFinal.empty()) plan.DestinationFinal = entry.Path;
                break;
            case TLogKind::Lowered: ++lowered[Folded(entry.Path)]; break;
            case TLogKind::MachineLowered: ++machineLowered[Folded(entry.Path)]; break;
            case TLogKind::Directory:
                if (isFirst("d" + entry.Path)) plan.Directories.push_back(entry.Path);
                break;
            case TLogKind::File:
                if (isFirstNew("f" + entry.Path, entry.Existed)) plan.Files.push_back(entry.Path);
                break;
            case TLogKind::SystemFile:
                if (isFirstNew("s" + entry.Path, entry.Existed)) newSystemFiles.push_back(entry.Path);
                break;
            case TLogKind::Counter:
                plan.Counters.push_back(entry.Path);
                machineCounted.try_emplace(Folded(entry.Path), false);
                break;
            case TLogKind::MachineCounter:
                plan.MachineCounters.push_back(entry.Path);
                machineCounted[Folded(entry.Path)] = true;
                break;
            case TLogKind::Group: {
                auto same = [&](const TGroupUndo& g) { return Folded(g.Name) == Folded(entry.Path); };
                auto group = std::find_if(plan.Groups.begin(), plan.Groups.end(), same);
                if (group == plan.Groups.end())
                    plan.Groups.push_back({entry.Path, !entry.Existed, {}});
                else
                    std::rotate(group, group + 1, plan.Groups.end());  // items go to the group made current
                break;
            }
            case TLogKind::Item:
                if (plan.Groups.empty()) throw ELogRefused("it names the item " + entry.Path + " before any group");
                if (IsPlainTitle(entry.Path)) plan.Groups.back().Items.push_back(entry.Path);
                break;
            case TLogKind::Key:
                if (isFirst("k" + entry.Root + entry.Path)) plan.Keys.push_back({entry.Root, entry.Path, ""});
                break;
            case TLogKind::Value:
                if (isFirstNew("v" + entry.Root + entry.Path + "\t" + entry.Name, entry.Existed))
                    plan.Values.push_back({entry.Root, entry.Path, entry.Name});
                break;
            case TLogKind::Uninstall:
                if (isFirst("u" + entry.Path)) plan.UninstallEntries.push_back(entry.Path);
                break;
            case TLogKind::RunStart:
            case TLogKind::RunEnd:
                unfinished = entry.Kind == TLogKind::RunStart;
                plan.Restores.clear();
                plan.OldValues.clear();
                break;
            case TLogKind::Saved: plan.Restores.push_back({entry.Path, entry.Name}); break;
            case TLogKind::OldValue: plan.OldValues.push_back(*ParseOldValue(entry)); break;
            case TLogKind::Kept:
            case TLogKind::AtRestart:  // the file's own line says whether it was there before
            case TLogKind::Checked: break;
        }
    }
    // A completed run's removal never brings old versions back; nor does a log written before run lines.
    if (!unfinished) {
        plan.Restores.clear();
        plan.OldValues.clear();
    }
    std::reverse(plan.Restores.begin(), plan.Restores.end());
    std::reverse(plan.OldValues.begin(), plan.OldValues.end());
    if (!destinationNamed) throw ELogRefused("it names no destination");

    for (const std::string& name : newSystemFiles) {
        const auto counted = machineCounted.find(Folded(name));
        (counted == machineCounted.end() || counted->second ? plan.NewSystemFiles : plan.UserCountedSystemFiles)
            .push_back(name);
    }
    // A count recorded as undone by an earlier removal is not undone again, whichever raise it was.
    auto notYetUndone = [](std::vector<std::string>& raises, std::map<std::string, int>& undone) {
        std::reverse(raises.begin(), raises.end());
        std::erase_if(raises, [&](const std::string& name) {
            auto done = undone.find(Folded(name));
            return done != undone.end() && done->second-- > 0;
        });
    };
    notYetUndone(plan.Counters, lowered);
    notYetUndone(plan.MachineCounters, machineLowered);
    std::reverse(plan.Values.begin(), plan.Values.end());
    std::reverse(plan.Files.begin(), plan.Files.end());
    for (TGroupUndo& group : plan.Groups) std::reverse(group.Items.begin(), group.Items.end());
    // Program Manager would read a title holding its separators as another command.
    std::erase_if(plan.Groups, [](const TGroupUndo& group) { return !IsPlainTitle(group.Name); });
    DeepestFirst(plan.Keys, [](const TRegistryName& k) { return Depth(k.Key); });
    DeepestFirst(plan.Directories, [](const std::string& d) { return Depth(WithoutTrailingBackslash(d)); });
    return plan;
}

TLogSeal ExtendSeal(const TLogSeal& seal, std::string_view line, const TDigestFunction& digest) {
    std::string input = seal.Digest;
    input.append(line);
    return {seal.Bytes + line.size(), seal.Lines + 1, digest(input)};
}

std::string HexText(std::string_view bytes) {
    return HexDigest(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

std::string SealText(const TLogSeal& seal) {
    return std::to_string(seal.Bytes) + " " + std::to_string(seal.Lines) + " " + HexText(seal.Digest);
}

std::optional<TLogSeal> ParseSeal(const std::string& text) {
    const std::vector<std::string> parts = Split(text, ' ');
    auto number = [](const std::string& digits, std::uint64_t& out) {
        if (digits.empty() || digits.size() > 15 || digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        out = std::stoull(digits);
        return true;
    };
    TLogSeal seal;
    if (parts.size() != 3 || !number(parts[0], seal.Bytes) || !number(parts[1], seal.Lines) ||
        parts[2].size() % 2 != 0 || parts[2].find_first_not_of("0123456789abcdef") != std::string::npos)
        return std::nullopt;
    for (std::size_t i = 0; i < parts[2].size(); i += 2)
        seal.Digest += static_cast<char>(std::stoi(parts[2].substr(i, 2), nullptr, 16));
    return seal;
}

std::optional<std::string> VerifiedLogText(const std::string& text, const TLogSeal& seal,
                                           const TDigestFunction& digest) {
    if (seal.Bytes > text.size()) return std::nullopt;
    const auto length = static_cast<std::size_t>(seal.Bytes);  // no more than the text's size
    TLogSeal chain;
    for (std::size_t start = 0; start < length;) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos || end + 2 > length) return std::nullopt;
        chain = ExtendSeal(chain, std::string_view(text).substr(start, end + 2 - start), digest);
        start = end + 2;
    }
    if (chain.Lines != seal.Lines || chain.Digest != seal.Digest) return std::nullopt;
    return text.substr(0, length);
}

std::string NormalisedDestination(const std::string& destination) {
    std::string text = WithoutTrailingBackslash(destination);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return text;
}

namespace {

void RemoveQuietly(TRemovalOptions& removal, const std::string&) { removal.Quiet = true; }
void RemoveUnseen(TRemovalOptions& removal, const std::string&) { removal.Quiet = removal.NoWindow = true; }
void Accept(TRemovalOptions&, const std::string&) {}
// What deployment tools append to an entry's UninstallString, and /LOG with its file or alone.
constexpr TSwitch<TRemovalOptions> kRemovalSwitches[] = {
    {kSilentSwitch, nullptr, false, RemoveQuietly},
    {kVerySilentSwitch, nullptr, false, RemoveUnseen},
    {"/SUPPRESSMSGBOXES", nullptr, false, Accept},
    {"/NORESTART", nullptr, false, Accept},
    {"/SP-", nullptr, false, Accept},
    {"/LOG", "file", false,
     [](TRemovalOptions& removal, const std::string& value) {
         removal.LogWanted = true;
         removal.Log = value;
     },
     true},
};

// A word that is one of the switches, applied; false for anything else.
bool TakeSwitch(TRemovalOptions& removal, std::string word) {
    std::erase(word, '"');  // as programs split their arguments: quotes group, and are dropped
    const std::size_t equals = word.find('=');
    const auto* row = FindSwitch(kRemovalSwitches, std::string_view(word).substr(0, equals));
    if (!row) return false;
    const bool hasValue = equals != std::string::npos;
    if (hasValue ? !row->Value || equals + 1 == word.size() : row->Value && !row->MayBeAbsent) return false;
    row->Apply(removal, hasValue ? word.substr(equals + 1) : std::string());
    return true;
}

}  // namespace

TRemovalOptions ReadRemovalCommandLine(const std::string& line) {
    // The words, blank-separated, a quoted part holding its blanks; each with where it starts and ends.
    std::vector<std::pair<std::size_t, std::size_t>> words;
    for (std::size_t at = 0; at < line.size();) {
        if (line[at] == ' ' || line[at] == '\t') {
            ++at;
            continue;
        }
        const std::size_t start = at;
        for (bool quoted = false; at < line.size() && (quoted || (line[at] != ' ' && line[at] != '\t')); ++at)
            if (line[at] == '"') quoted = !quoted;
        words.emplace_back(start, at);
    }
    TRemovalOptions removal;
    std::size_t first = 0, last = words.size();
    const auto word = [&](std::size_t i) { return line.substr(words[i].first, words[i].second - words[i].first); };
    while (first < last && TakeSwitch(removal, word(first))) ++first;
    while (last > first && TakeSwitch(removal, word(last - 1))) --last;
    if (first == last) return removal;
    std::string text = line.substr(words[first].first, words[last - 1].second - words[first].first);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    removal.Destination = std::move(text);
    return removal;
}

}  // namespace quenby

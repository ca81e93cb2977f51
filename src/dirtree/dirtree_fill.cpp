// Tdirtree: how the tree fills and filters itself, and how nodes map to paths and back.
#include "dirtree/dirtree.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "base/Errors.h"
#include "ui/Application.h"
#include "win/FindSearch.h"
#include "win/Pause.h"
#include "win/SystemText.h"

namespace quenby {
namespace {

bool LessText(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_LESS_THAN;
}

std::string LowerText(std::string text) {
    if (!text.empty()) CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

bool DirectoryExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string DisplayName(const SHFILEINFOA& info) {
    return std::string(info.szDisplayName, strnlen(info.szDisplayName, sizeof(info.szDisplayName)));
}

// The node's text and icons as the shell gives them for the path itself.
TNodeLook ShellLook(const std::string& path) {
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_SMALLICON))
        return {FallbackNodeText(path), I_IMAGENONE, I_IMAGENONE};
    SHFILEINFOA open{};
    const bool opened = SHGetFileInfoA(path.c_str(), 0, &open, sizeof(open),
                                       SHGFI_SYSICONINDEX | SHGFI_OPENICON | SHGFI_SMALLICON) != 0;
    return {DisplayName(info), info.iIcon, opened ? open.iIcon : I_IMAGENONE};
}

// The shell customises a folder from its desktop.ini only when the folder is marked read-only or system. (Wine's
// shell reads the file in any folder; looking for it would cost more than the rest of a node together.)
bool ShellMayCustomise(DWORD attributes) {
    return (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

}  // namespace

void Tdirtree::ReadDrives() {
    if (!m_hwnd) return;
    m_filled = false;
    ui::TBusyCursor cursor;
    m_nodes.clear();
    TTreeUpdate update(*this);
    Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    // The windows are painted before the drives are read; input waits, so that no click or key acts on a
    // tree that is half read.
    LookAtQueue();
    const DWORD mask = GetLogicalDrives();
    for (int n = 0; n < 26; ++n) {
        if (!(mask & (DWORD{1} << n))) continue;
        const std::string root = std::string(1, char('A' + n)) + ":\\";
        if (!m_allowNetwork && GetDriveTypeA(root.c_str()) == DRIVE_REMOTE) continue;
        if (!PathAllowed(root)) continue;
        HTREEITEM node = AddDriveNode(root);
        if (IsUnprobedDriveKind(GetDriveTypeA(root.c_str()))) {
            WritableNode(node)->leftAlone = true;
            AppendPlaceholder(node, "u**");
        } else
            ProbeSubdirs(node);
    }
    m_filled = true;
}

void Tdirtree::Rebuild() {
    const std::string previous = GetDirectory();
    ReadDrives();
    SetDirectory(previous);
    if (NodeCount() > 0 && !Selected()) SetDirectory(previous.substr(0, 3));
    if (NodeCount() == 0 || Selected()) return;
    // The first drive that is not an unread drive of a local kind, else the last drive.
    const auto unreadLocal = [this](HTREEITEM drive) {
        const TDirNode* record = Node(drive);
        return record && record->leftAlone && !record->read;
    };
    HTREEITEM node = FirstRoot();
    while (unreadLocal(node) && NextSibling(node)) node = NextSibling(node);
    const TDirNode* drive = Node(node);
    const char letter = drive ? drive->path[0] : '?';
    std::string last;
    try {
        last = LastDir(letter);
    } catch (const EListError&) {
        // Choosing a fallback selection is a convenience; the rebuilt tree stands without one. An error of
        // an OnChange handler below is the caller's.
        return;
    }
    SetDirectory(last);
    if (GetDirectory() != last) {
        Select(node);
        SelectionChanged(node);
    }
}

HTREEITEM Tdirtree::AddDriveNode(const std::string& path) { return AddNode(nullptr, path, ShellLook(path)); }

// Asking the shell about a path makes it parse the path again, at a cost that grows with the size of the
// folder the path lies in. A plain folder looks like any other plain folder: its name, and the two icons that
// the shell gives them all; only drives and folders the shell may customise take the per-path calls.
HTREEITEM Tdirtree::AddDirNode(HTREEITEM parent, const std::string& path, const std::string& name, DWORD attributes) {
    const std::string folder = WithFinalBackslash(path);
    if (ShellMayCustomise(attributes)) return AddNode(parent, folder, ShellLook(folder));
    if (m_plainIcons.image == I_IMAGENONE) {
        // The shell's icons for a plain folder, taken from this one when the shell shows it as plain (by
        // attributes it gives the closed icon but not the open one).
        SHFILEINFOA info{};
        TNodeLook look = ShellLook(folder);
        if (SHGetFileInfoA(name.c_str(), FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                           SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON) &&
            info.iIcon == look.image)
            m_plainIcons = look;
        return AddNode(parent, folder, std::move(look));
    }
    return AddNode(parent, folder, {name, m_plainIcons.image, m_plainIcons.openImage});
}

HTREEITEM Tdirtree::AddNode(HTREEITEM parent, const std::string& path, TNodeLook look) {
    m_nodes.push_back({path});
    return Append(parent, look.text, static_cast<LPARAM>(m_nodes.size() - 1), look.image, look.openImage);
}

void Tdirtree::ProbeSubdirs(HTREEITEM node) {
    const TDirNode* record = Node(node);
    if (!record || record->read) return;
    const std::string path = record->path;
    if (OnSearch) OnSearch(path + "*.*");
    for (TFindSearch search(path + "*.*", kSearchAttrMask); search.Found(); search.Next()) {
        if (!(search.Attributes() & kAttrDirectory) || IsDotEntry(search.Name())) continue;
        if (PathAllowed(path + search.Name() + "\\") && AttrAllowed(search.Attributes())) {
            AppendPlaceholder(node, " ");
            break;
        }
    }
}

void Tdirtree::ReadSubdirs(HTREEITEM node) {
    const TDirNode* record = Node(node);
    if (!record || record->read) return;
    const std::string path = record->path;  // a copy: adding nodes moves the records
    DeleteChildren(node);
    WritableNode(node)->read = true;
    if (OnSearch) OnSearch(path + "*.*");
    std::vector<std::pair<std::string, DWORD>> found;
    {
        TFindSearch search(path + "*.*", kSearchAttrMask);
        for (; search.Found(); search.Next()) {
            if (!(search.Attributes() & kAttrDirectory) || IsDotEntry(search.Name())) continue;
            if (PathAllowed(path + search.Name() + "\\") && AttrAllowed(search.Attributes()))
                found.emplace_back(search.Name(), search.Attributes());
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return LessText(a.first, b.first); });
    for (const auto& [name, attributes] : found) AddDirNode(node, path + name, name, attributes);
}

void Tdirtree::ReadChildrenSubdirs(HTREEITEM node) {
    if (!node) return;
    for (HTREEITEM child = FirstChild(node); child; child = NextSibling(child)) ReadSubdirs(child);
}

bool Tdirtree::PathAllowed(const std::string& path) {
    bool allowed = true;
    if (!m_goBelowRecycleBin && BelowRecycleFolder(LowerText(path))) allowed = false;
    if (allowed && OnAddDir) OnAddDir(path, allowed);
    return allowed;
}

bool Tdirtree::AttrAllowed(DWORD attributes) const { return quenby::AttrAllowed(m_dirType, attributes); }

std::string Tdirtree::GetDirectory() const {
    const TDirNode* record = Node(Selected());
    return record ? record->path : "?";
}

void Tdirtree::SetDirectory(std::string S) {
    S = WithFinalBackslash(std::move(S));
    if (SameUserText(S, GetDirectory())) return;
    if (S.size() != 3 && !DirectoryExists(S)) return;
    const int n = CountBackslashes(S);
    if (n == 0) return;
    ui::TBusyCursor cursor;
    TTreeUpdate update(*this);
    HTREEITEM node = nullptr;
    for (int k = 1; k <= n; ++k) {
        const std::string prefix = PrefixThroughBackslash(S, k);
        node = k == 1 ? FindDriveNode(prefix) : FindChildNode(node, prefix);
        if (!node) return;
    }
    Select(node);
    Send(TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(node));
}

HTREEITEM Tdirtree::FindDriveNode(const std::string& prefix) { return FindNode(FirstRoot(), prefix); }

HTREEITEM Tdirtree::FindChildNode(HTREEITEM parent, const std::string& prefix) {
    return FindNode(FirstChild(parent), prefix);
}

// The node among first and its siblings whose path is the prefix, read on the way.
HTREEITEM Tdirtree::FindNode(HTREEITEM first, const std::string& prefix) {
    for (HTREEITEM node = first; node; node = NextSibling(node)) {
        const TDirNode* record = Node(node);
        if (!record || !SameUserText(record->path, prefix)) continue;
        ReadSubdirs(node);
        return node;
    }
    return nullptr;
}

void Tdirtree::BeforeExpand(HTREEITEM node) {
    ui::TBusyCursor cursor;
    ReadSubdirs(node);
    ReadChildrenSubdirs(node);
}

void Tdirtree::SelectionChanged(HTREEITEM node) {
    if (m_destroying || m_closing || !m_filled) return;
    const TDirNode* record = Node(node);
    if (!record) return;
    const std::string path = record->path;
    if (const auto slot = LastDirsSlot(path)) m_lastDirs[static_cast<size_t>(*slot)] = path;
    if (OnChange) OnChange(*this, node);
}

}  // namespace quenby

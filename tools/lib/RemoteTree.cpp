#include "RemoteTree.h"

#include <algorithm>
#include <cctype>

#include "Controls.h"
#include "DriveError.h"
#include "Host.h"

namespace quenby::drive {

namespace {

// TVITEMA as a 32-bit process lays it out.
struct TItem32 {
    UINT mask = 0;
    DWORD hItem = 0;
    UINT state = 0, stateMask = 0;
    DWORD pszText = 0;
    int cchTextMax = 0, iImage = 0, iSelectedImage = 0, cChildren = 0;
    DWORD lParam = 0;
};

DWORD Narrow(const void* pointer) { return static_cast<DWORD>(reinterpret_cast<UINT_PTR>(pointer)); }

constexpr std::size_t kTextOffset = (sizeof(TVITEMA) + 15) / 16 * 16;
constexpr std::size_t kTextSize = 1024;

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

bool Matches(const std::string& itemText, const std::string& component) {
    std::string item = Upper(itemText), wanted = Upper(component);
    if (item == wanted) return true;
    bool drive = wanted.size() == 2 && wanted[1] == ':';
    return drive && item.find("(" + wanted + ")") != std::string::npos;
}

// A window that hosts a tree view (the wizard's DirTree) stands for the tree view inside it.
HWND TreeViewIn(HWND window) {
    if (ClassName(window) == WC_TREEVIEWA) return window;
    const HWND inner = FindWindowExA(window, nullptr, WC_TREEVIEWA, nullptr);
    return inner ? inner : window;
}

}  // namespace

TRemoteTree::TRemoteTree(HWND tree, HWND shows, const std::source_location& where)
    : m_tree(TreeViewIn(tree)), m_shows(shows) {
    DWORD processId = 0;
    GetWindowThreadProcessId(m_tree, &processId);
    m_process = THandle(OpenProcess(
        PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE, processId));
    if (!m_process) throw EDriveError("cannot open the process of the tree view", where);
    // By the program file: a 32-bit process whose loader runs under emulation is not reported as WOW64.
    char image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    BOOL wow64 = FALSE;
    m_narrow = QueryFullProcessImageNameA(m_process.Get(), 0, image, &size)
                   ? Is32BitProgram(image)
                   : IsWow64Process(m_process.Get(), &wow64) && wow64;
}

LRESULT TRemoteTree::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR result = 0;
    // Expanding may read a folder of the file system inside the program: allow it time.
    if (!SendMessageTimeoutA(m_tree, message, wParam, lParam, SMTO_NORMAL, 30000, &result))
        throw EDriveError("the tree view did not answer message " + std::to_string(message),
                          std::source_location::current());
    return static_cast<LRESULT>(result);
}

HTREEITEM TRemoteTree::Next(HTREEITEM item, UINT relation) const {
    return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

std::vector<HTREEITEM> TRemoteTree::Roots() const {
    std::vector<HTREEITEM> items;
    for (HTREEITEM item = Next(nullptr, TVGN_ROOT); item; item = Next(item, TVGN_NEXT)) items.push_back(item);
    return items;
}

std::vector<HTREEITEM> TRemoteTree::Children(HTREEITEM parent) const {
    std::vector<HTREEITEM> items;
    for (HTREEITEM item = Next(parent, TVGN_CHILD); item; item = Next(item, TVGN_NEXT)) items.push_back(item);
    return items;
}

HTREEITEM TRemoteTree::Selection() const { return Next(nullptr, TVGN_CARET); }

std::string TRemoteTree::ItemText(HTREEITEM item) const {
    TRemoteMemory memory(m_process.Get(), kTextOffset + kTextSize);
    if (!memory.Address()) throw EDriveError("no memory in the tree's process", std::source_location::current());
    char* const remoteText = static_cast<char*>(memory.Address()) + kTextOffset;
    if (m_narrow) {
        const TItem32 record{.mask = TVIF_TEXT | TVIF_HANDLE,
                             .hItem = Narrow(item),
                             .pszText = Narrow(remoteText),
                             .cchTextMax = static_cast<int>(kTextSize)};
        memory.Write(0, &record, sizeof record);
    } else {
        TVITEMA record = {};
        record.mask = TVIF_TEXT | TVIF_HANDLE;
        record.hItem = item;
        record.pszText = remoteText;
        record.cchTextMax = static_cast<int>(kTextSize);
        memory.Write(0, &record, sizeof record);
    }
    char text[kTextSize] = {};
    memory.Write(kTextOffset, text, 1);
    if (!Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(memory.Address()))) return {};
    memory.Read(kTextOffset, text, kTextSize - 1);
    return text;
}

void TRemoteTree::Expand(HTREEITEM item) const { Send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item)); }

void TRemoteTree::Select(HTREEITEM item) const {
    Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    Send(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
}

HTREEITEM TRemoteTree::SelectPath(const std::string& path, const std::source_location& where) const {
    std::vector<std::string> parts = SplitPath(path);
    if (parts.empty()) throw EDriveError("empty tree path", where);
    std::vector<HTREEITEM> level = Roots();
    HTREEITEM found = nullptr;
    std::string folder;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            Expand(found);
            level = Children(found);
        }
        folder += Upper(parts[i]) + "\\";
        auto matches = [&](HTREEITEM item) {
            const std::string text = ItemText(item);
            if (!text.empty() || !m_shows) return Matches(text, parts[i]);
            Select(item);
            return Upper(Text(m_shows)).rfind(folder, 0) == 0;
        };
        auto match = std::find_if(level.begin(), level.end(), matches);
        if (match == level.end()) {
            std::string seen;
            for (HTREEITEM item : level) seen += " [" + ItemText(item) + "]";
            throw EDriveError("no tree item \"" + parts[i] + "\" of " + path + "; found" + seen, where);
        }
        found = *match;
    }
    Select(found);
    return found;
}

}  // namespace quenby::drive

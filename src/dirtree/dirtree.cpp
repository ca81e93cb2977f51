// Tdirtree: construction, its window, properties, notifications and the tree-view operations it uses.
#include "dirtree/dirtree.h"

#include <shellapi.h>

#include <utility>

#include "base/Errors.h"
#include "base/Texts.h"

namespace quenby {

Tdirtree::Tdirtree() {
    ui::InitCommonControls(ICC_TREEVIEW_CLASSES);
    for (int i = 0; i < 26; ++i) m_lastDirs[static_cast<size_t>(i)] = std::string(1, char('A' + i)) + ":\\";
    try {
        const DWORD size = GetCurrentDirectoryA(0, nullptr);
        if (size > 0) {
            std::string current(size, '\0');
            const DWORD length = GetCurrentDirectoryA(size, current.data());
            current.resize(length < size ? length : 0);
            if (const auto slot = LastDirsSlot(current)) m_lastDirs[static_cast<size_t>(*slot)] = current;
        }
        SHFILEINFOA info{};
        const DWORD_PTR list = SHGetFileInfoA("", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
        m_shellIcons = reinterpret_cast<HIMAGELIST>(list);
    } catch (...) {
        // Neither the current directory nor the icons are needed for the tree to work.
    }
}

Tdirtree::~Tdirtree() {
    m_filled = false;
    m_destroying = true;
    if (m_hwnd) DestroyWindow(m_hwnd);
}

void Tdirtree::SetParentPlace(HWND parent, int id, const RECT& place) {
    m_parent = parent;
    m_id = id;
    m_place = place;
}

HWND Tdirtree::HandleNeeded() {
    if (!m_hwnd) CreateHandle();
    return m_hwnd;
}

void Tdirtree::CreateHandle() {
    if (!m_parent || !IsWindow(m_parent)) throw Exception(kTreeWithoutParent);
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;
    if (!m_hideSelection) style |= TVS_SHOWSELALWAYS;
    HWND hwnd =
        CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "", style, m_place.left, m_place.top,
                        m_place.right - m_place.left, m_place.bottom - m_place.top, m_parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(m_id)), GetModuleHandleA(nullptr), nullptr);
    if (!hwnd) throw Exception(kTreeNotCreated);
    m_hwnd = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_treeProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Tdirtree::SubclassProc)));
    // The notifications then carry ANSI texts whatever the parent asks for; both kinds are handled.
    SendMessageA(hwnd, TVM_SETUNICODEFORMAT, FALSE, 0);
    SendMessageA(hwnd, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(m_shellIcons));
    if (m_font) SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    if (ReadOnStart) ReadDrives();
}

// Follows the window's end, also when the parent destroys it, so that no stale handle is kept. Not through
// comctl32's SetWindowSubclass: under Wine it looks up the window's chain with a server call on every
// message, which made expanding a large folder three times slower.
LRESULT CALLBACK Tdirtree::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Tdirtree*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    const WNDPROC treeProc = self->m_treeProc;
    if (msg == WM_DESTROY) self->m_closing = true;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(treeProc));
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        const LRESULT result = CallWindowProcA(treeProc, hwnd, msg, wParam, lParam);
        self->m_hwnd = nullptr;
        self->m_treeProc = nullptr;
        self->m_closing = false;
        return result;
    }
    return CallWindowProcA(treeProc, hwnd, msg, wParam, lParam);
}

bool Tdirtree::OnNotify(const NMHDR* hdr, LRESULT& result) {
    if (!hdr || !m_hwnd || hdr->hwndFrom != m_hwnd) return false;
    // The A and W forms of these notifications differ only in the text pointers, which are not read.
    const auto* tv = reinterpret_cast<const NMTREEVIEWA*>(hdr);
    const bool expanding = hdr->code == TVN_ITEMEXPANDINGA || hdr->code == TVN_ITEMEXPANDINGW;
    const bool changed = hdr->code == TVN_SELCHANGEDA || hdr->code == TVN_SELCHANGEDW;
    if (!expanding && !changed) return false;
    result = FALSE;
    try {
        if (changed)
            SelectionChanged(tv->itemNew.hItem);
        else if ((tv->action & (TVE_COLLAPSE | TVE_EXPAND)) == TVE_EXPAND)
            BeforeExpand(tv->itemNew.hItem);
    } catch (...) {
        if (m_ownCalls == 0) throw;
        if (!m_pending) m_pending = std::current_exception();
        if (expanding) result = TRUE;
    }
    return true;
}

void Tdirtree::SetDirType(tDirType value) {
    if (value == m_dirType) return;
    m_dirType = value;
    Rebuild();
}

void Tdirtree::SetAllowNetwork(bool value) {
    if (value == m_allowNetwork) return;
    m_allowNetwork = value;
    Rebuild();
}

void Tdirtree::SetGoBelowRecycleBin(bool value) {
    if (value == m_goBelowRecycleBin) return;
    m_goBelowRecycleBin = value;
    Rebuild();
}

void Tdirtree::SetHideSelection(bool value) {
    m_hideSelection = value;
    if (!m_hwnd) return;
    LONG_PTR style = GetWindowLongPtrA(m_hwnd, GWL_STYLE);
    style = value ? (style & ~LONG_PTR(TVS_SHOWSELALWAYS)) : (style | TVS_SHOWSELALWAYS);
    SetWindowLongPtrA(m_hwnd, GWL_STYLE, style);
}

void Tdirtree::SetFont(HFONT font) {
    m_font = font;
    if (m_hwnd) SendMessageA(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

const std::string& Tdirtree::LastDir(char letter) const {
    const auto slot = LastDirsSlot(std::string_view(&letter, 1));
    if (!slot) throw EListError();
    return m_lastDirs[static_cast<size_t>(*slot)];
}

HTREEITEM Tdirtree::Selected() const { return Item(TVGN_CARET, nullptr); }

TDirNode* Tdirtree::WritableNode(HTREEITEM node) { return const_cast<TDirNode*>(std::as_const(*this).Node(node)); }

LRESULT Tdirtree::Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!m_hwnd) return 0;
    ++m_ownCalls;
    const LRESULT result = SendMessageA(m_hwnd, msg, wParam, lParam);
    --m_ownCalls;
    RethrowPending();
    return result;
}

void Tdirtree::RethrowPending() {
    if (m_ownCalls == 0 && m_pending) std::rethrow_exception(std::exchange(m_pending, nullptr));
}

HTREEITEM Tdirtree::Item(UINT relation, HTREEITEM node) const {
    if (!m_hwnd) return nullptr;
    return reinterpret_cast<HTREEITEM>(SendMessageA(m_hwnd, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(node)));
}

const TDirNode* Tdirtree::Node(HTREEITEM node) const {
    if (!node || !m_hwnd) return nullptr;
    TVITEMA item{};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = node;
    if (!SendMessageA(m_hwnd, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
    if (item.lParam < 0 || static_cast<size_t>(item.lParam) >= m_nodes.size()) return nullptr;
    return &m_nodes[static_cast<size_t>(item.lParam)];
}

int Tdirtree::NodeCount() const { return m_hwnd ? static_cast<int>(SendMessageA(m_hwnd, TVM_GETCOUNT, 0, 0)) : 0; }

HTREEITEM Tdirtree::Append(HTREEITEM parent, const std::string& text, LPARAM data, int image, int selectedImage) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.lParam = data;
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    const auto node = reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    // Going on without the node would put its children at the root.
    if (!node) throw Exception(CannotAddToTreeText(text));
    return node;
}

void Tdirtree::AppendPlaceholder(HTREEITEM parent, const char* text) {
    Append(parent, text, -1, I_IMAGENONE, I_IMAGENONE);
}

void Tdirtree::DeleteChildren(HTREEITEM node) {
    while (HTREEITEM child = FirstChild(node))
        if (!Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(child))) break;
}

void Tdirtree::Select(HTREEITEM node) { Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node)); }

void Tdirtree::BeginUpdate() {
    HandleNeeded();
    if (m_updateCount++ == 0) Send(WM_SETREDRAW, FALSE, 0);
}

void Tdirtree::EndUpdate() {
    if (--m_updateCount > 0 || !m_hwnd) return;
    SendMessageA(m_hwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

}  // namespace quenby

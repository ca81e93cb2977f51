// The directory tree on real drives of the test prefix (made by dirtree_test.prepare.sh):
// C: and Z: fixed, E: CD-ROM, F: floppy, H: fixed with the test folders, N: network, R: RAM disk. The
// settings Setup.exe never changes (network drives, attribute filter, vetoes) are left as they come.
#include "dirtree/dirtree.h"
#include "base/Errors.h"
#include "ui/Application.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace quenby;

namespace {

WNDPROC g_treeProc = nullptr;
std::vector<WPARAM> g_redraws;  // every WM_SETREDRAW the tree view got
LRESULT CALLBACK RecordRedraws(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETREDRAW) g_redraws.push_back(wParam);
    return CallWindowProcA(g_treeProc, hwnd, msg, wParam, lParam);
}
// The tree view refuses every drive node at the root, as it would when out of memory.
LRESULT CALLBACK RefuseDriveNodes(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto* insert = reinterpret_cast<const TVINSERTSTRUCTA*>(lParam);
    if (msg == TVM_INSERTITEMA && insert->hParent == TVI_ROOT && insert->item.lParam >= 0) return 0;
    return CallWindowProcA(g_treeProc, hwnd, msg, wParam, lParam);
}

// The tree in a top-level window that forwards its notifications, as the wizard does.
class DirTree : public ::testing::Test {
protected:
    DirTree() {
        static const WNDCLASSA wc{0, HostProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "DirTreeTestHost"};
        static const bool registered = RegisterClassA(&wc) != 0;
        EXPECT_TRUE(registered);
        host = CreateWindowExA(0, "DirTreeTestHost", "Directory tree", WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0, 420,
                               560, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        current = this;
        tree.SetParentPlace(host, 100, RECT{10, 10, 410, 550});  // any control id
        tree.OnChange = [this](Tdirtree& sender, HTREEITEM node) {
            changes.push_back(sender.GetDirectory());
            nodePaths.push_back(sender.Node(node)->path);
        };
        tree.OnSearch = [this](const std::string& pattern) { searches.push_back(pattern); };
    }
    ~DirTree() override {
        DestroyWindow(host);
        current = nullptr;
    }
    // A handler's error that the window procedure caught would otherwise pass unseen.
    void TearDown() override { EXPECT_FALSE(atBoundary); }
    static LRESULT CALLBACK HostProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        LRESULT result = 0;
        try {
            if (msg == WM_NOTIFY && current && current->tree.OnNotify(reinterpret_cast<const NMHDR*>(lParam), result))
                return result;
        } catch (...) {
            current->atBoundary = std::current_exception();
            return 0;
        }
        return DefWindowProcA(window, msg, wParam, lParam);
    }

    HTREEITEM Next(UINT relation, HTREEITEM node) {
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(tree.Handle(), TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(node)));
    }
    std::string Text(HTREEITEM node) {
        char buffer[MAX_PATH + 1] = {};
        TVITEMA item{TVIF_TEXT | TVIF_HANDLE, node, 0, 0, buffer, sizeof(buffer), 0, 0, 0, 0};
        SendMessageA(tree.Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return buffer;
    }
    // A node as the tables spell it: "u" (unread) or "i" (read), then its path; empty for a placeholder.
    std::string Entry(HTREEITEM node) {
        const TDirNode* record = tree.Node(node);
        return record ? (record->read ? "i" : "u") + record->path : std::string();
    }
    std::string PathOf(HTREEITEM node) { return Entry(node).substr(Entry(node).empty() ? 0 : 1); }
    void HookTree(WNDPROC proc) {
        g_treeProc =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrA(tree.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
    }
    // A node's children as entries, or "<text>" for a placeholder.
    std::vector<std::string> Children(HTREEITEM node) {
        std::vector<std::string> out;
        for (HTREEITEM child = Next(TVGN_CHILD, node); child; child = Next(TVGN_NEXT, child)) {
            const std::string entry = Entry(child);
            out.push_back(entry.empty() ? std::string("<").append(Text(child)).append(">") : entry);
        }
        return out;
    }
    HTREEITEM Child(HTREEITEM parent, const std::string& path) {
        for (HTREEITEM node = Next(TVGN_CHILD, parent); node; node = Next(TVGN_NEXT, node))
            if (PathOf(node) == path) return node;
        return nullptr;
    }
    HTREEITEM Root(char letter) { return Child(TVI_ROOT, std::string(1, letter) + ":\\"); }
    bool Expand(HTREEITEM node) {
        SendMessageA(tree.Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
        return SendMessageA(tree.Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node), TVIS_EXPANDED) != 0;
    }
    // Drive level read, nothing selected.
    void Fill() {
        ASSERT_TRUE(tree.HandleNeeded());
        ASSERT_TRUE(tree.Filled());
        searches.clear();
    }

    ui::TApplication application{GetModuleHandleA(nullptr)};  // the tree's cursor and message pass
    HWND host = nullptr;
    Tdirtree tree;
    std::vector<std::string> changes;    // Directory as each OnChange handler saw it
    std::vector<std::string> nodePaths;  // the path of each OnChange's node
    std::exception_ptr atBoundary;       // what reached the window procedure's catch
    std::vector<std::string> searches;
    static inline DirTree* current = nullptr;
};

TEST_F(DirTree, DriveLevelProbesOnlyNetworkAndRamDrives) {
    tree.HandleNeeded();
    EXPECT_EQ(searches, (std::vector<std::string>{"N:\\*.*", "R:\\*.*"}));
    const std::vector<std::string> roots = Children(TVI_ROOT);
    for (const char* root : {"uC:\\", "uE:\\", "uF:\\", "uH:\\", "uN:\\", "uR:\\", "uZ:\\"})
        EXPECT_NE(std::find(roots.begin(), roots.end(), root), roots.end()) << root;
    EXPECT_TRUE(std::is_sorted(roots.begin(), roots.end()));
    for (char letter : {'C', 'E', 'F', 'H', 'Z'})
        EXPECT_EQ(Children(Root(letter)), std::vector<std::string>{"<u**>"}) << letter;
    for (char letter : {'N', 'R'}) EXPECT_EQ(Children(Root(letter)), std::vector<std::string>{"< >"}) << letter;
    EXPECT_NE(Text(Root('H')).find("HDLABEL"), std::string::npos);  // the shell's display name
    // A rebuild with nothing to keep selected takes the first drive whose folders were searched.
    tree.SetGoBelowRecycleBin(false);
    EXPECT_EQ(tree.GetDirectory(), "N:\\");
}

// Every node read on the way to a special folder of the prefix and to folders of H: (plain ones, and a system
// one that the shell customises from its desktop.ini) shows the text and both icons that the per-path calls give.
TEST_F(DirTree, NodesShowTheShellsNamesAndIconsForTheirPaths) {
    const auto perPath = [](const std::string& path, UINT flags) {
        SHFILEINFOA info{};
        SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON | flags);
        return info;
    };
    ASSERT_TRUE(SetFileAttributesA("H:\\System1", FILE_ATTRIBUTE_SYSTEM));
    ASSERT_NE(perPath("H:\\System1\\", 0).iIcon, perPath("H:\\beta\\", 0).iIcon);  // the shell customises it
    char documents[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, documents), S_OK);
    for (const std::string& path : {std::string(documents) + "\\", std::string("H:\\System1\\")}) {
        tree.SetDirectory(path);
        ASSERT_EQ(tree.GetDirectory(), path);
    }
    std::vector<HTREEITEM> nodes{TVI_ROOT};  // every node, breadth first; the root and placeholders have no path
    for (size_t i = 0; i < nodes.size(); ++i)
        for (HTREEITEM child = Next(TVGN_CHILD, nodes[i]); child; child = Next(TVGN_NEXT, child))
            nodes.push_back(child);
    for (HTREEITEM node : nodes) {
        const std::string path = PathOf(node);
        if (path.empty()) continue;
        TVITEMA item{TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE, node, 0, 0, nullptr, 0, 0, 0, 0, 0};
        SendMessageA(tree.Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(Text(node), perPath(path, SHGFI_DISPLAYNAME).szDisplayName) << path;
        EXPECT_EQ(item.iImage, perPath(path, 0).iIcon) << path;
        EXPECT_EQ(item.iSelectedImage, perPath(path, SHGFI_OPENICON).iIcon) << path;
    }
}

TEST_F(DirTree, DirectoryAcceptsDriveFormsAndIgnoresWhatItCannotShow) {
    tree.SetDirectory("c:");
    tree.SetDirectory("c:\\");
    tree.SetDirectory("h:\\alpha");
    EXPECT_EQ(tree.GetDirectory(), "H:\\Alpha\\");
    tree.SetDirectory("h:\\Alpha\\deep\\");
    EXPECT_EQ(tree.GetDirectory(), "H:\\Alpha\\Deep\\");
    EXPECT_EQ(changes, (std::vector<std::string>{"C:\\", "H:\\Alpha\\", "H:\\Alpha\\Deep\\"}));
    EXPECT_EQ(changes, nodePaths);  // the handler sees Directory already moved
    EXPECT_EQ(tree.LastDir('H'), "H:\\Alpha\\Deep\\");

    for (const char* ignored :
         {"?", "", "H:\\NoSuchFolder", "\\\\server", "\\\\server\\share\\", "H:\\file.txt", "Q:\\", "Q:"})
        tree.SetDirectory(ignored);
    EXPECT_EQ(tree.GetDirectory(), "H:\\Alpha\\Deep\\");
    EXPECT_EQ(changes.size(), 3u);
    // The walk read every component on its way.
    EXPECT_EQ(Entry(Child(Root('H'), "H:\\Alpha\\")), "iH:\\Alpha\\");
}

TEST_F(DirTree, ExpandingReadsTheNodeAndItsFirstLevelOnly) {
    Fill();
    HTREEITEM h = Root('H');
    EXPECT_TRUE(Expand(h));
    // Sorted ignoring case; every child read so that its button shows exactly when it has folders.
    EXPECT_EQ(Children(h), (std::vector<std::string>{"iH:\\Alpha\\", "iH:\\beta\\", "iH:\\Gamma\\", "iH:\\Hidden1\\",
                                                     "iH:\\HiddenSys\\", "iH:\\Recycled\\", "iH:\\System1\\"}));
    EXPECT_EQ(Children(Child(h, "H:\\Alpha\\")), std::vector<std::string>{"uH:\\Alpha\\Deep\\"});
    EXPECT_TRUE(Children(Child(h, "H:\\beta\\")).empty());
    EXPECT_EQ(std::count(searches.begin(), searches.end(), "H:\\Alpha\\Deep\\*.*"), 0);

    searches.clear();
    EXPECT_TRUE(Expand(Child(h, "H:\\Alpha\\")));
    EXPECT_EQ(searches, std::vector<std::string>{"H:\\Alpha\\Deep\\*.*"});

    // A floppy drive is left alone until it is expanded.
    searches.clear();
    HTREEITEM f = Root('F');
    EXPECT_TRUE(Expand(f));
    EXPECT_EQ(searches, (std::vector<std::string>{"F:\\*.*", "F:\\Disk1\\*.*"}));
    EXPECT_EQ(Children(f), std::vector<std::string>{"iF:\\Disk1\\"});
    EXPECT_TRUE(changes.empty());
}

TEST_F(DirTree, ANodeTheTreeViewRefusesIsAnErrorNotAPlaceholderAtTheRoot) {
    tree.ReadOnStart = false;
    tree.HandleNeeded();
    HookTree(&RefuseDriveNodes);
    EXPECT_THROW(tree.SetDirType(tDirType{dtNormal}), Exception);
    EXPECT_EQ(Children(TVI_ROOT), std::vector<std::string>{});
}

TEST_F(DirTree, HandlerErrorsReachTheCallerWithCursorAndRedrawRestored) {
    Fill();
    HookTree(&RecordRedraws);
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(arrow);
    int calls = 0, withHourglass = 0;
    tree.OnAddDir = [&](std::string filename, bool&) {
        ++calls;
        withHourglass += GetCursor() == LoadCursorA(nullptr, IDC_WAIT);
        if (filename == "H:\\Gamma\\") throw Exception("refused");
    };
    EXPECT_THROW(tree.SetDirectory("H:\\Gamma\\g1"), Exception);
    EXPECT_GT(calls, 0);
    EXPECT_EQ(withHourglass, calls);
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_EQ(g_redraws, (std::vector<WPARAM>{FALSE, TRUE}));

    // An error in OnChange raised inside the tree's own selection goes to the caller, not the parent.
    tree.OnAddDir = nullptr;
    tree.OnChange = [](Tdirtree&, HTREEITEM) { throw Exception("change refused"); };
    EXPECT_THROW(tree.SetDirectory("N:\\Share2"), Exception);
    EXPECT_FALSE(atBoundary);
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_EQ(g_redraws, (std::vector<WPARAM>{FALSE, TRUE, FALSE, TRUE}));
}

}  // namespace

// The directory tree on real drives of the test prefix (made by dirtree_test.prepare.sh):
// C: and Z: fixed, E: CD-ROM, F: floppy, H: fixed with the test folders, N: network, R: RAM disk.
#include "dirtree/dirtree.h"

#include "E2e.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace quenby;

namespace {

constexpr int kTreeId = 100;

struct THost;
THost* g_host = nullptr;

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// A top-level window that holds one tree and forwards its notifications, as the wizard does.
struct THost {
    HWND hwnd = nullptr;
    Tdirtree tree;
    std::vector<std::string> changes;  // Directory as each OnChange handler saw it
    std::vector<std::string> nodePaths;  // the path of each OnChange's node
    std::exception_ptr atBoundary;      // what reached the window procedure's catch
    Tdirtree* extra = nullptr;          // a second control on the same window

    THost() {
        static const bool registered = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = HostProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = "DirTreeTestHost";
            return RegisterClassA(&wc) != 0;
        }();
        EXPECT_TRUE(registered);
        hwnd = CreateWindowExA(0, "DirTreeTestHost", "Directory tree", WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0,
                               420, 560, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        g_host = this;
        tree.SetParentPlace(hwnd, kTreeId, RECT{10, 10, 410, 550});
        tree.OnChange = [this](Tdirtree& sender, HTREEITEM node) {
            changes.push_back(sender.GetDirectory());
            nodePaths.push_back(EntryPath(sender.PathEntry(node)));
        };
    }
    ~THost() {
        DestroyWindow(hwnd);
        g_host = nullptr;
    }
};

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NOTIFY && g_host) {
        LRESULT result = 0;
        try {
            const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
            if (g_host->tree.OnNotify(hdr, result)) return result;
            if (g_host->extra && g_host->extra->OnNotify(hdr, result)) return result;
        } catch (...) {
            g_host->atBoundary = std::current_exception();
            return 0;
        }
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

std::string Unread(const std::string& path) { return "u" + path; }
std::string Read(const std::string& path) { return "i" + path; }

class DirTree : public ::testing::Test {
protected:
    void SetUp() override {
        host = std::make_unique<THost>();
        tree().OnSearch = [this](const std::string& pattern) { searches.push_back(pattern); };
    }
    void TearDown() override { host.reset(); }

    Tdirtree& tree() { return host->tree; }
    HWND treeWindow() { return tree().Handle(); }

    HTREEITEM Next(UINT relation, HTREEITEM node) {
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(treeWindow(), TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(node)));
    }
    std::string Text(HTREEITEM node) {
        char buffer[MAX_PATH + 1] = {};
        TVITEMA item{};
        item.mask = TVIF_TEXT | TVIF_HANDLE;
        item.hItem = node;
        item.pszText = buffer;
        item.cchTextMax = sizeof(buffer);
        SendMessageA(treeWindow(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return buffer;
    }
    TVITEMA Item(HTREEITEM node) {
        TVITEMA item{};
        item.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_PARAM;
        item.hItem = node;
        item.stateMask = TVIS_EXPANDED;
        SendMessageA(treeWindow(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item;
    }
    // A node's children: their path entries, or "<text>" for a placeholder.
    std::vector<std::string> Children(HTREEITEM node) {
        std::vector<std::string> out;
        for (HTREEITEM child = Next(TVGN_CHILD, node); child; child = Next(TVGN_NEXT, child)) {
            const std::string entry = tree().PathEntry(child);
            std::string shown = entry;
            if (entry.empty()) shown.append("<").append(Text(child)).append(">");
            out.push_back(shown);
        }
        return out;
    }
    std::vector<std::string> Roots() { return Children(TVI_ROOT); }
    HTREEITEM Find(HTREEITEM first, const std::string& path) {
        for (HTREEITEM node = first; node; node = Next(TVGN_NEXT, node))
            if (EntryPath(tree().PathEntry(node)) == path) return node;
        return nullptr;
    }
    HTREEITEM Root(char letter) { return Find(Next(TVGN_ROOT, nullptr), std::string(1, letter) + ":\\"); }
    HTREEITEM Child(HTREEITEM parent, const std::string& path) { return Find(Next(TVGN_CHILD, parent), path); }
    bool Expand(HTREEITEM node) {
        SendMessageA(treeWindow(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
        return (Item(node).state & TVIS_EXPANDED) != 0;
    }
    // Drive level read, nothing selected.
    void Fill() {
        ASSERT_TRUE(tree().HandleNeeded());
        ASSERT_TRUE(tree().Filled());
        searches.clear();
    }
    bool Searched(const std::string& pattern) {
        return std::find(searches.begin(), searches.end(), pattern) != searches.end();
    }

    std::unique_ptr<THost> host;
    std::vector<std::string> searches;
};

// Attributes that Wine keeps in the folders' extended attributes; set once for all tests. (Wine keeps no
// archive attribute on a folder, so the archive rule is tested natively only.)
class DirTreeEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        const struct {
            const char* path;
            DWORD attributes;
        } folders[] = {{"H:\\Hidden1", FILE_ATTRIBUTE_HIDDEN},
                       {"H:\\System1", FILE_ATTRIBUTE_SYSTEM},
                       {"H:\\HiddenSys", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
                       {"R:\\Hid", FILE_ATTRIBUTE_HIDDEN}};
        for (const auto& f : folders) {
            ASSERT_TRUE(SetFileAttributesA(f.path, f.attributes)) << f.path;
            ASSERT_EQ(GetFileAttributesA(f.path) & 0x3F, f.attributes | FILE_ATTRIBUTE_DIRECTORY) << f.path;
        }
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new DirTreeEnvironment);

TEST_F(DirTree, WithoutWindowReadsQuestionMarkAndSharesTheSystemImageList) {
    EXPECT_EQ(tree().GetDirectory(), "?");
    EXPECT_FALSE(tree().HandleAllocated());
    EXPECT_FALSE(tree().Filled());
    tree().SetDirectory("?");
    tree().SetDirectory("");
    EXPECT_FALSE(tree().HandleAllocated());

    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(tree().LastDir(current[0]), current);
    EXPECT_EQ(tree().LastDir(current[0] == 'Q' ? 'P' : 'Q'), current[0] == 'Q' ? "P:\\" : "Q:\\");

    SHFILEINFOA info{};
    const auto system = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    ASSERT_TRUE(system);
    EXPECT_EQ(tree().GetShellIcons(), system);
    {
        THost other;
        other.tree.SetDirectory("c:\\");
        EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(other.tree.Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0)),
                  system);
    }
    g_host = host.get();
    ASSERT_GT(ImageList_GetImageCount(system), 0);
    HICON icon = ImageList_GetIcon(system, 0, ILD_NORMAL);
    EXPECT_TRUE(icon);
    if (icon) DestroyIcon(icon);
}

TEST_F(DirTree, DriveLevelProbesOnlyNetworkAndRamDrives) {
    tree().HandleNeeded();
    EXPECT_EQ(searches, (std::vector<std::string>{"N:\\*.*", "R:\\*.*"}));
    EXPECT_EQ(tree().GetDirectory(), "?");
    EXPECT_FALSE(tree().Selected());

    const std::vector<std::string> roots = Roots();
    for (const char* root : {"uC:\\", "uE:\\", "uF:\\", "uH:\\", "uN:\\", "uR:\\", "uZ:\\"})
        EXPECT_NE(std::find(roots.begin(), roots.end(), root), roots.end()) << root;
    EXPECT_TRUE(std::is_sorted(roots.begin(), roots.end()));
    for (char letter : {'C', 'E', 'F', 'H', 'Z'})
        EXPECT_EQ(Children(Root(letter)), std::vector<std::string>{"<u**>"}) << letter;
    EXPECT_EQ(Children(Root('N')), std::vector<std::string>{"< >"});
    EXPECT_EQ(Children(Root('R')), std::vector<std::string>{"< >"});  // its only folder is hidden

    EXPECT_NE(Text(Root('H')).find("HDLABEL"), std::string::npos);
    EXPECT_TRUE(host->changes.empty());
}

// Every node read on the way to a special folder of the prefix and to folders of H: (plain ones, and a system
// one that the shell customises from its desktop.ini) shows the text and both icons that the per-path calls give.
TEST_F(DirTree, NodesShowTheShellsNamesAndIconsForTheirPaths) {
    const auto perPath = [](const std::string& path, UINT flags) {
        SHFILEINFOA info{};
        SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON | flags);
        return info;
    };
    ASSERT_NE(perPath("H:\\System1\\", 0).iIcon, perPath("H:\\beta\\", 0).iIcon);  // the shell customises it
    char documents[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, documents), S_OK);
    for (const std::string& path : {std::string(documents) + "\\", std::string("H:\\System1\\")}) {
        tree().SetDirectory(path);
        ASSERT_EQ(tree().GetDirectory(), path);
    }
    std::vector<HTREEITEM> nodes;
    for (HTREEITEM root = Next(TVGN_ROOT, nullptr); root; root = Next(TVGN_NEXT, root)) nodes.push_back(root);
    for (size_t i = 0; i < nodes.size(); ++i)
        for (HTREEITEM child = Next(TVGN_CHILD, nodes[i]); child; child = Next(TVGN_NEXT, child))
            nodes.push_back(child);
    for (HTREEITEM node : nodes) {
        const std::string path = EntryPath(tree().PathEntry(node));
        if (path.empty()) continue;
        EXPECT_EQ(Text(node), perPath(path, SHGFI_DISPLAYNAME).szDisplayName) << path;
        EXPECT_EQ(Item(node).iImage, perPath(path, 0).iIcon) << path;
        EXPECT_EQ(Item(node).iSelectedImage, perPath(path, SHGFI_OPENICON).iIcon) << path;
    }
}

TEST_F(DirTree, DirectoryAcceptsDriveFormsAndIgnoresWhatItCannotShow) {
    tree().SetDirectory("c:\\");
    EXPECT_TRUE(tree().HandleAllocated());
    EXPECT_EQ(tree().GetDirectory(), "C:\\");
    EXPECT_EQ(host->changes, std::vector<std::string>{"C:\\"});

    for (const char* same : {"c:", "C:\\", "c:\\"}) tree().SetDirectory(same);
    EXPECT_EQ(host->changes.size(), 1u);

    tree().SetDirectory("h:\\alpha");
    EXPECT_EQ(tree().GetDirectory(), "H:\\Alpha\\");
    tree().SetDirectory("H:\\ALPHA\\");
    tree().SetDirectory("h:\\Alpha\\deep\\");
    EXPECT_EQ(tree().GetDirectory(), "H:\\Alpha\\Deep\\");
    EXPECT_EQ(host->changes, (std::vector<std::string>{"C:\\", "H:\\Alpha\\", "H:\\Alpha\\Deep\\"}));
    EXPECT_EQ(host->changes, host->nodePaths);  // the handler sees Directory already moved
    EXPECT_EQ(tree().LastDir('H'), "H:\\Alpha\\Deep\\");

    for (const char* ignored :
         {"?", "", "H:\\NoSuchFolder", "\\\\server", "\\\\server\\share\\", "H:\\file.txt", "Q:\\", "Q:"})
        tree().SetDirectory(ignored);
    EXPECT_EQ(tree().GetDirectory(), "H:\\Alpha\\Deep\\");
    EXPECT_EQ(host->changes.size(), 3u);
    tree().SetDirectory("H:");
    EXPECT_EQ(tree().GetDirectory(), "H:\\");

    // The walk read every component on its way and one level is shown below the selection.
    EXPECT_EQ(tree().PathEntry(Root('H')), Read("H:\\"));
    EXPECT_EQ(tree().PathEntry(Child(Root('H'), "H:\\Alpha\\")), Read("H:\\Alpha\\"));
}

TEST_F(DirTree, ExpandingReadsTheNodeAndItsFirstLevelOnly) {
    Fill();
    HTREEITEM h = Root('H');
    std::vector<std::pair<std::string, bool>> expanding;
    tree().OnExpanding = [&](Tdirtree& sender, HTREEITEM node, bool&) {
        expanding.emplace_back(sender.PathEntry(node), Children(node).empty());
    };
    EXPECT_TRUE(Expand(h));
    EXPECT_EQ(expanding, (std::vector<std::pair<std::string, bool>>{{Read("H:\\"), false}}));
    // Sorted ignoring case; every child read so that its button shows exactly when it has folders.
    EXPECT_EQ(Children(h), (std::vector<std::string>{Read("H:\\Alpha\\"), Read("H:\\beta\\"),
                                                     Read("H:\\Gamma\\"), Read("H:\\Hidden1\\"),
                                                     Read("H:\\HiddenSys\\"), Read("H:\\Recycled\\"),
                                                     Read("H:\\System1\\")}));
    EXPECT_EQ(Children(Child(h, "H:\\Alpha\\")), std::vector<std::string>{Unread("H:\\Alpha\\Deep\\")});
    EXPECT_TRUE(Children(Child(h, "H:\\beta\\")).empty());
    EXPECT_TRUE(Searched("H:\\*.*") && Searched("H:\\Alpha\\*.*") && Searched("H:\\beta\\*.*"));
    EXPECT_FALSE(Searched("H:\\Alpha\\Deep\\*.*"));

    searches.clear();
    EXPECT_TRUE(Expand(Child(h, "H:\\Alpha\\")));
    EXPECT_EQ(searches, std::vector<std::string>{"H:\\Alpha\\Deep\\*.*"});

    // A floppy drive is left alone until it is expanded, and its answer may refuse the expansion.
    tree().OnExpanding = [](Tdirtree&, HTREEITEM, bool& allow) { allow = false; };
    searches.clear();
    HTREEITEM f = Root('F');
    EXPECT_FALSE(Expand(f));
    EXPECT_EQ(searches, (std::vector<std::string>{"F:\\*.*", "F:\\Disk1\\*.*"}));
    EXPECT_EQ(Children(f), std::vector<std::string>{Read("F:\\Disk1\\")});
    EXPECT_TRUE(host->changes.empty());
}

TEST_F(DirTree, UserClickOnTheButtonExpandsThroughTheSameReading) {
    Fill();
    RECT rect{};
    const HTREEITEM e = Root('E');
    std::memcpy(&rect, &e, sizeof(e));  // the message takes the item in the rectangle
    ASSERT_TRUE(SendMessageA(treeWindow(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));
    const int y = (rect.top + rect.bottom) / 2;
    int x = 0;
    for (; x < rect.left; ++x) {
        TVHITTESTINFO hit{{x, y}, 0, nullptr};
        SendMessageA(treeWindow(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.hItem == Root('E') && (hit.flags & TVHT_ONITEMBUTTON)) break;
    }
    ASSERT_LT(x, rect.left) << "no expand button found";
    SendMessageA(treeWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(treeWindow(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    EXPECT_EQ(Children(Root('E')), std::vector<std::string>{Read("E:\\Cd1\\")});
    EXPECT_TRUE(Item(Root('E')).state & TVIS_EXPANDED);
}

TEST_F(DirTree, RecycleFolderIsShownWithNothingBelowIt) {
    tree().SetDirectory("H:\\Recycled\\Trash");
    EXPECT_EQ(tree().GetDirectory(), "H:\\Recycled\\Trash\\");
    tree().SetGoBelowRecycleBin(false);
    EXPECT_EQ(tree().GetDirectory(), "H:\\");  // rebuilt: the drive root of the folder no longer shown
    HTREEITEM recycled = Child(Root('H'), "H:\\Recycled\\");
    ASSERT_TRUE(recycled);
    EXPECT_TRUE(Children(recycled).empty());
    tree().SetDirectory("h:\\recycled\\trash\\inner");
    EXPECT_EQ(tree().GetDirectory(), "H:\\");
    tree().SetDirectory("h:\\RECYCLED");
    EXPECT_EQ(tree().GetDirectory(), "H:\\Recycled\\");

    tree().SetGoBelowRecycleBin(true);
    EXPECT_EQ(tree().GetDirectory(), "H:\\Recycled\\");
    EXPECT_EQ(Children(Child(Root('H'), "H:\\Recycled\\")), std::vector<std::string>{Unread("H:\\Recycled\\Trash\\")});
}

TEST_F(DirTree, NetworkSwitchAndVetoRemoveDrives) {
    tree().SetDirectory("N:\\Share1");
    ASSERT_EQ(tree().GetDirectory(), "N:\\Share1\\");
    const size_t before = host->changes.size();
    tree().SetAllowNetwork(true);  // the value it has: no rebuild
    EXPECT_EQ(host->changes.size(), before);

    tree().SetAllowNetwork(false);
    EXPECT_FALSE(Root('N'));
    EXPECT_NE(tree().GetDirectory().substr(0, 1), "N");
    tree().SetDirectory("N:\\Share2");
    EXPECT_NE(tree().GetDirectory(), "N:\\Share2\\");

    std::vector<std::string> asked;
    tree().OnAddDir = [&](std::string filename, bool& doAdd) {
        asked.push_back(filename);
        if (filename == "R:\\") doAdd = false;
    };
    tree().SetAllowNetwork(true);
    EXPECT_FALSE(Root('R'));
    EXPECT_TRUE(Root('N'));
    EXPECT_NE(std::find(asked.begin(), asked.end(), "N:\\Share1\\"), asked.end());  // the probe asked too
    tree().SetDirectory("R:\\");
    EXPECT_NE(tree().GetDirectory(), "R:\\");
}

TEST_F(DirTree, DirTypeFiltersFoldersByAttribute) {
    Fill();
    tree().SetDirType(tDirType{dtNormal});
    Expand(Root('H'));
    EXPECT_EQ(Children(Root('H')), (std::vector<std::string>{Read("H:\\Alpha\\"), Read("H:\\beta\\"),
                                                             Read("H:\\Gamma\\"), Read("H:\\Recycled\\")}));
    EXPECT_TRUE(Children(Root('R')).empty());  // probe found no visible folder

    std::vector<std::string> asked;
    tree().OnAddDir = [&](std::string filename, bool&) { asked.push_back(filename); };
    tree().SetDirType(tDirType{dtHidden});
    Expand(Root('H'));
    EXPECT_EQ(Children(Root('H')), std::vector<std::string>{Read("H:\\Hidden1\\")});
    EXPECT_EQ(Children(Root('R')), std::vector<std::string>{"< >"});
    // The veto callback sees the folders that the attribute rule then refuses.
    EXPECT_NE(std::find(asked.begin(), asked.end(), "H:\\System1\\"), asked.end());
}

TEST_F(DirTree, RebuildSelectsThePreviousFolderElseItsDriveElseTheFallback) {
    tree().SetDirectory("H:\\Alpha\\Deep");
    host->changes.clear();
    tree().SetDirType(tDirType{dtNormal});
    EXPECT_EQ(tree().GetDirectory(), "H:\\Alpha\\Deep\\");
    EXPECT_EQ(host->changes, std::vector<std::string>{"H:\\Alpha\\Deep\\"});

    tree().SetDirType(tDirType{dtNormal, dtAll});
    tree().SetDirectory("H:\\Hidden1");
    tree().SetDirType(tDirType{dtNormal});
    EXPECT_EQ(tree().GetDirectory(), "H:\\");

    // Neither the folder nor its drive: the first drive that is not an unread local one, at its last
    // directory (N:\Share1\ was chosen on drive N earlier in this control's life).
    tree().SetDirectory("N:\\Share1");
    tree().SetDirectory("R:\\");
    tree().OnAddDir = [](std::string filename, bool& doAdd) { doAdd = filename.substr(0, 1) != "R"; };
    host->changes.clear();
    tree().SetDirType(tDirType{dtNormal, dtAll});
    EXPECT_EQ(tree().GetDirectory(), "N:\\Share1\\");
    EXPECT_EQ(host->changes, std::vector<std::string>{"N:\\Share1\\"});

    // The only drive left, whose last directory is no longer shown: the drive is selected and reported
    // by the tree and then once more.
    tree().OnAddDir = nullptr;
    tree().SetDirectory("H:\\Hidden1");
    tree().SetDirectory("N:\\Share2");
    ASSERT_EQ(tree().GetDirectory(), "N:\\Share2\\");
    host->changes.clear();
    tree().OnAddDir = [](std::string filename, bool& doAdd) { doAdd = filename.substr(0, 1) == "H"; };
    tree().SetDirType(tDirType{dtNormal});
    EXPECT_EQ(Roots(), std::vector<std::string>{Read("H:\\")});
    EXPECT_EQ(tree().GetDirectory(), "H:\\");
    EXPECT_EQ(host->changes, (std::vector<std::string>{"H:\\", "H:\\"}));

    // The fallback's own lookup may fail quietly; an OnChange handler's error is the caller's.
    tree().OnAddDir = [](std::string filename, bool& doAdd) { doAdd = filename.substr(0, 1) == "N"; };
    tree().OnChange = [](Tdirtree&, HTREEITEM) { throw Exception("change refused"); };
    EXPECT_THROW(tree().SetDirType(tDirType{dtNormal, dtAll}), Exception);
}

WNDPROC g_treeProc = nullptr;
// The tree view refuses every drive node at the root, as it would when out of memory.
LRESULT CALLBACK RefuseDriveNodes(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == TVM_INSERTITEMA) {
        const auto* insert = reinterpret_cast<const TVINSERTSTRUCTA*>(lParam);
        if (insert->hParent == TVI_ROOT && insert->item.lParam >= 0) return 0;
    }
    return CallWindowProcA(g_treeProc, hwnd, msg, wParam, lParam);
}

TEST_F(DirTree, ANodeTheTreeViewRefusesIsAnErrorNotAPlaceholderAtTheRoot) {
    tree().ReadOnStart = false;
    tree().HandleNeeded();
    g_treeProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(treeWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RefuseDriveNodes)));
    EXPECT_THROW(tree().SetDirType(tDirType{dtNormal}), Exception);
    EXPECT_EQ(Roots(), std::vector<std::string>{});
}

TEST_F(DirTree, HandlerErrorsReachTheCallerWithCursorAndRedrawRestored) {
    Fill();
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(arrow);
    int calls = 0, withHourglass = 0;
    tree().OnAddDir = [&](std::string filename, bool&) {
        ++calls;
        withHourglass += GetCursor() == LoadCursorA(nullptr, IDC_WAIT);
        if (filename == "H:\\Gamma\\") throw Exception("refused");
    };
    EXPECT_THROW(tree().SetDirectory("H:\\Gamma\\g1"), Exception);
    EXPECT_GT(calls, 0);
    EXPECT_EQ(withHourglass, calls);
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_TRUE(IsWindowVisible(treeWindow()));

    // An error in OnChange raised inside the tree's own selection goes to the caller, not the parent.
    tree().OnAddDir = nullptr;
    tree().OnChange = [](Tdirtree&, HTREEITEM) { throw Exception("change refused"); };
    EXPECT_THROW(tree().SetDirectory("N:\\Share2"), Exception);
    EXPECT_FALSE(host->atBoundary);
    EXPECT_EQ(GetCursor(), arrow);
    tree().OnChange = nullptr;

    // With redraw left off the tree would not lay out the nodes it gains.
    HTREEITEM c = Root('C');
    Expand(c);
    RECT first{}, second{};
    HTREEITEM child = Next(TVGN_CHILD, c);
    ASSERT_TRUE(child && Next(TVGN_NEXT, child));
    HTREEITEM sibling = Next(TVGN_NEXT, child);
    std::memcpy(&first, &child, sizeof(child));
    std::memcpy(&second, &sibling, sizeof(sibling));
    ASSERT_TRUE(SendMessageA(treeWindow(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&first)))
        << "redraw still off";
    ASSERT_TRUE(SendMessageA(treeWindow(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&second)));
    EXPECT_GT(second.top, first.top);
    EXPECT_GT(first.right, first.left);
}

TEST_F(DirTree, RecreatedWindowHoldsAFreshDriveLevelAndDestructionIsSilent) {
    tree().SetDirectory("H:\\Alpha");
    const size_t changes = host->changes.size();
    tree().DestroyHandle();
    EXPECT_FALSE(tree().HandleAllocated());
    EXPECT_EQ(tree().GetDirectory(), "?");
    tree().HandleNeeded();
    EXPECT_EQ(tree().GetDirectory(), "?");
    EXPECT_EQ(tree().PathEntry(Root('H')), Unread("H:\\"));
    EXPECT_EQ(host->changes.size(), changes);

    // A second control on the same window, destroyed while a node is selected.
    int otherChanges = 0;
    {
        Tdirtree other;
        host->extra = &other;
        other.SetParentPlace(host->hwnd, kTreeId + 1, RECT{0, 0, 100, 100});
        other.OnChange = [&](Tdirtree&, HTREEITEM) { ++otherChanges; };
        other.SetDirectory("H:\\beta");
        EXPECT_EQ(otherChanges, 1);
    }
    host->extra = nullptr;
    EXPECT_EQ(otherChanges, 1);
}

TEST_F(DirTree, ScreenshotShowsDrivesWithShellIconsAndAnExpandedSelectedFolder) {
    tree().SetDirectory("H:\\Alpha");
    ASSERT_TRUE(Expand(tree().Selected()));
    SetForegroundWindow(host->hwnd);
    SetFocus(treeWindow());
    for (int i = 0; i < 20; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(25);
    }
    UpdateWindow(host->hwnd);

    const std::string file = test::Shot("dirtree");
    EXPECT_NE(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES) << file;
}

}  // namespace

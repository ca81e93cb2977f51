// Times the directory tree expanding a folder of many subfolders (each holding one subfolder) against a
// bare loop that makes the same directory searches and tree-view insertions, in the same run; for scale,
// up to kMostPerPath also the loop with the two per-path SHGetFileInfoA calls per node.
//
//   tree_bench.exe [COUNT...]     (default: 500 1000 5000)
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dirtree/dirtree.h"
#include "ui/Application.h"
#include "win/FindSearch.h"

using namespace quenby;

namespace {

Tdirtree* g_tree = nullptr;
constexpr int kMostPerPath = 1000;  // above this the per-path loop takes minutes
constexpr int kRuns = 11;

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NOTIFY && g_tree) {
        LRESULT result = 0;
        try {
            if (g_tree->OnNotify(reinterpret_cast<const NMHDR*>(lParam), result)) return result;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "error: %s\n", e.what());
        }
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

std::string MakeFolders(int count) {
    const std::string top = "C:\\treebench" + std::to_string(count) + "\\";
    const std::string big = top + "big\\";
    CreateDirectoryA(top.c_str(), nullptr);
    CreateDirectoryA(big.c_str(), nullptr);
    char name[32];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof(name), "d%05d", i);
        CreateDirectoryA((big + name).c_str(), nullptr);
        CreateDirectoryA((big + name + "\\sub").c_str(), nullptr);
    }
    return top;
}

HTREEITEM Insert(HWND tree, HTREEITEM parent, const std::string& text) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text.c_str());
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

std::vector<std::string> Subfolders(const std::string& path) {
    std::vector<std::string> names;
    for (TFindSearch search(path + "*.*", kSearchAttrMask); search.Found(); search.Next())
        if ((search.Attributes() & kAttrDirectory) && !IsDotEntry(search.Name())) names.push_back(search.Name());
    return names;
}

void ShellInfo(const std::string& path) {
    SHFILEINFOA info{};
    SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_SMALLICON);
    SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_OPENICON | SHGFI_SMALLICON);
}

// The same searches and insertions as the control's two expansions, on a plain tree view.
double Baseline(HWND host, const std::string& big, bool withShell) {
    HWND tree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                                WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0, 0, 400, 500,
                                host, nullptr, GetModuleHandleA(nullptr), nullptr);
    HTREEITEM root = Insert(tree, TVI_ROOT, "big");
    const double start = Now();
    std::vector<HTREEITEM> nodes;
    for (const std::string& name : Subfolders(big)) {
        if (withShell) ShellInfo(big + name + "\\");
        nodes.push_back(Insert(tree, root, name));
    }
    size_t i = 0;
    for (const std::string& name : Subfolders(big)) {
        const std::string path = big + name + "\\";
        for (const std::string& sub : Subfolders(path)) {
            if (withShell) ShellInfo(path + sub + "\\");
            Insert(tree, nodes[i], sub);
        }
        ++i;
    }
    const double seconds = Now() - start;
    DestroyWindow(tree);
    return seconds;
}

struct TControlTimes {
    double readBig;    // expanding the parent: the folder's own subfolders are listed
    double expandBig;  // expanding the folder: each subfolder's one subfolder is listed
};

TControlTimes Control(HWND host, const std::string& top) {
    Tdirtree tree;
    g_tree = &tree;
    tree.SetParentPlace(host, 1, RECT{0, 0, 400, 500});
    tree.SetDirectory(top);
    HTREEITEM topNode = tree.Selected();
    TControlTimes times{};
    double start = Now();
    SendMessageA(tree.Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(topNode));
    times.readBig = Now() - start;
    HTREEITEM big = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree.Handle(), TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(topNode)));
    start = Now();
    SendMessageA(tree.Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(big));
    times.expandBig = Now() - start;
    g_tree = nullptr;
    return times;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {500, 1000, 5000};
    ui::TApplication application(GetModuleHandleA(nullptr));  // the tree's cursor and message pass

    WNDCLASSA wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TreeBenchHost";
    RegisterClassA(&wc);
    HWND host = CreateWindowExA(0, "TreeBenchHost", "tree bench", WS_POPUP | WS_VISIBLE, 0, 0, 420, 520, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);

    std::printf(
        "| subfolders | nodes | control (best) | per node | bare loop (best) | per node | median ratio "
        "| loop with per-path shell calls |\n");
    std::printf("|---|---|---|---|---|---|---|---|\n");
    for (int count : counts) {
        const std::string top = MakeFolders(count);
        const std::string big = top + "big\\";
        Baseline(host, big, false);  // warms the file system's caches for every run below
        // The machine is shared: the two sides run alternately several times; each side's best time is kept,
        // and the ratio is the median of the runs' ratios, which one lucky or unlucky run does not move.
        double bare = 1e9, total = 1e9;
        std::vector<double> ratios;
        for (int run = 0; run < kRuns; ++run) {
            const double bareRun = Baseline(host, big, false);
            const TControlTimes control = Control(host, top);
            bare = std::min(bare, bareRun);
            total = std::min(total, control.readBig + control.expandBig);
            ratios.push_back((control.readBig + control.expandBig) / bareRun);
        }
        std::nth_element(ratios.begin(), ratios.begin() + kRuns / 2, ratios.end());
        const double ratio = ratios[kRuns / 2];
        // The route the control no longer takes; its cost grows with the square of the count.
        const double perPath = count <= kMostPerPath ? Baseline(host, big, true) : 0;
        const double nodes = 2.0 * count;
        std::printf("| %d | %.0f | %.3f s | %.1f us | %.3f s | %.1f us | %.2f | ", count, nodes, total,
                    total / nodes * 1e6, bare, bare / nodes * 1e6, ratio);
        if (perPath > 0)
            std::printf("%.3f s, %.1f us per node |\n", perPath, perPath / nodes * 1e6);
        else
            std::printf("not run above %d |\n", kMostPerPath);
        std::fflush(stdout);
    }
    DestroyWindow(host);
    return 0;
}

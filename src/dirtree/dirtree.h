// Tdirtree: a tree view of the machine's drives and directories that fills itself lazily, shows the
// shell's display names and small icons, and maps its selection to a path and back.
//
// The host creates it without a window, tells it where its window goes (SetParentPlace), and forwards
// every WM_NOTIFY to OnNotify. Setting Directory creates the window when there is none.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "base/DirTreeRules.h"
#include "ui/CommonControls.h"

namespace quenby {

class Tdirtree;

// What the control knows of a drive or directory node; the node's lParam is the record's index.
struct TDirNode {
    std::string path;        // with its final backslash
    bool read = false;       // its subdirectories are its children
    bool leftAlone = false;  // a drive of a kind that is not searched while the drive level is read
};

// A node's text, image and selected (open) image.
struct TNodeLook {
    std::string text;
    int image;
    int openImage;
};

// Veto callback for a candidate drive root or directory (full path ending in "\").
using taddfileevent = std::function<void(std::string Filename, bool& DoAdd)>;
using TTreeChangeEvent = std::function<void(Tdirtree& Sender, HTREEITEM Node)>;

class Tdirtree {
public:
    Tdirtree();
    ~Tdirtree();
    Tdirtree(const Tdirtree&) = delete;
    Tdirtree& operator=(const Tdirtree&) = delete;

    // Where the window goes when it is created; does not create it.
    void SetParentPlace(HWND parent, int id, const RECT& place);
    HWND Handle() const { return m_hwnd; }
    // Creates the window when there is none (reading the drive level when ReadOnStart is true).
    // Raises Exception when no parent window is known.
    HWND HandleNeeded();

    // The host calls this for every WM_NOTIFY it receives. True when the notification was the tree's;
    // then result is what the window procedure returns. Exceptions from the event handlers propagate.
    bool OnNotify(const NMHDR* hdr, LRESULT& result);

    // Directory: the selected path with its final backslash, or "?".
    std::string GetDirectory() const;
    void SetDirectory(std::string S);

    void SetDirType(tDirType value);
    void SetAllowNetwork(bool value);
    void SetGoBelowRecycleBin(bool value);
    void SetHideSelection(bool value);
    // The font of the window, now and when it is created; the caller keeps it alive.
    void SetFont(HFONT font);

    bool ReadOnStart = true;
    taddfileevent OnAddDir;
    TTreeChangeEvent OnChange;
    // Called with the pattern of every directory search the control makes (diagnostics, tests).
    std::function<void(const std::string& pattern)> OnSearch;

    bool Filled() const { return m_filled; }
    const std::string& LastDir(char letter) const;
    HTREEITEM Selected() const;
    // A drive or directory node's record; nullptr for a placeholder or no node.
    const TDirNode* Node(HTREEITEM node) const;

private:
    friend class TTreeUpdate;

    void CreateHandle();
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // Population and path mapping.
    void ReadDrives();
    void Rebuild();
    HTREEITEM AddDriveNode(const std::string& path);
    HTREEITEM AddDirNode(HTREEITEM parent, const std::string& path, const std::string& name, DWORD attributes);
    HTREEITEM AddNode(HTREEITEM parent, const std::string& path, TNodeLook look);
    void ProbeSubdirs(HTREEITEM node);
    void ReadSubdirs(HTREEITEM node);
    void ReadChildrenSubdirs(HTREEITEM node);
    bool PathAllowed(const std::string& path);
    bool AttrAllowed(DWORD attributes) const;
    HTREEITEM FindDriveNode(const std::string& prefix);
    HTREEITEM FindChildNode(HTREEITEM parent, const std::string& prefix);
    HTREEITEM FindNode(HTREEITEM first, const std::string& prefix);
    void BeforeExpand(HTREEITEM node);
    void SelectionChanged(HTREEITEM node);

    // Tree-view operations.
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam);
    HTREEITEM Item(UINT relation, HTREEITEM node) const;
    HTREEITEM FirstRoot() const { return Item(TVGN_ROOT, nullptr); }
    HTREEITEM FirstChild(HTREEITEM node) const { return Item(TVGN_CHILD, node); }
    HTREEITEM NextSibling(HTREEITEM node) const { return Item(TVGN_NEXT, node); }
    TDirNode* WritableNode(HTREEITEM node);
    int NodeCount() const;
    HTREEITEM Append(HTREEITEM parent, const std::string& text, LPARAM data, int image, int selectedImage);
    void AppendPlaceholder(HTREEITEM parent, const char* text);
    void DeleteChildren(HTREEITEM node);
    void Select(HTREEITEM node);
    void BeginUpdate();
    void EndUpdate();
    void RethrowPending();

    HIMAGELIST m_shellIcons = nullptr;  // the shell's system image list of small icons: shared, never destroyed
    std::array<std::string, 26> m_lastDirs;
    bool m_filled = false;
    tDirType m_dirType{dtNormal, dtAll};
    bool m_allowNetwork = true;
    bool m_goBelowRecycleBin = true;
    bool m_hideSelection = false;
    HFONT m_font = nullptr;
    std::vector<TDirNode> m_nodes;  // every drive and directory node since the drive level was last read
    TNodeLook m_plainIcons{"", I_IMAGENONE, I_IMAGENONE};  // the shell's icons for a folder it does not customise

    HWND m_hwnd = nullptr;
    WNDPROC m_treeProc = nullptr;  // the tree view's procedure, under the control's own
    HWND m_parent = nullptr;
    int m_id = 0;
    RECT m_place{};
    bool m_destroying = false;  // the control
    bool m_closing = false;     // its window
    int m_updateCount = 0;
    // An exception raised by a handler inside one of the control's own tree-view calls is kept here and
    // raised again when that call returns, so that it reaches the caller instead of the parent window.
    int m_ownCalls = 0;
    std::exception_ptr m_pending;
};

// Redraw suspended for the guard's life; the window is created first when there is none.
class TTreeUpdate {
public:
    explicit TTreeUpdate(Tdirtree& tree) : m_tree(tree) { m_tree.BeginUpdate(); }
    ~TTreeUpdate() { m_tree.EndUpdate(); }
    TTreeUpdate(const TTreeUpdate&) = delete;
    TTreeUpdate& operator=(const TTreeUpdate&) = delete;

private:
    Tdirtree& m_tree;
};

}  // namespace quenby

// A tree view of another process, read and operated through its own messages. The tree view's
// messages carry pointers that the system does not copy between processes, so their records live in
// memory allocated inside the tree's process, laid out as that process reads them (a 32-bit program's
// records have 32-bit pointers and handles).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <source_location>
#include <string>
#include <vector>

#include "Handles.h"

namespace quenby::drive {

class TRemoteTree {
public:
    // `tree` is the tree view or a window that holds one. `shows`, when given, is a window whose text begins
    // with the selected folder (the wizard's EditPath): SelectPath reads it where the items' texts cannot be
    // read, as in a 32-bit program whose loader runs under emulation (its memory is not where the system
    // looks for it from outside).
    explicit TRemoteTree(HWND tree, HWND shows = nullptr,
                         const std::source_location& where = std::source_location::current());

    std::vector<HTREEITEM> Roots() const;
    std::vector<HTREEITEM> Children(HTREEITEM item) const;
    std::string ItemText(HTREEITEM item) const;
    HTREEITEM Selection() const;
    // Expands the item; the first expansion lets the tree fill the item's children.
    void Expand(HTREEITEM item) const;
    // Selects the item, as a click on it does: the tree reports the change to its parent.
    void Select(HTREEITEM item) const;

    // Expands and selects the folder given as a path ("C:\Apps\Atlas"). A drive component matches an
    // item named like the component or carrying it in brackets (" (C:)"); other components match item
    // names without regard to case. Fails at the caller's line, naming the items it found instead.
    HTREEITEM SelectPath(const std::string& path,
                         const std::source_location& where = std::source_location::current()) const;

private:
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const;
    HTREEITEM Next(HTREEITEM item, UINT relation) const;

    HWND m_tree;
    THandle m_process;
    HWND m_shows;
    bool m_narrow = false;  // the tree's process is a 32-bit one
};

}  // namespace quenby::drive

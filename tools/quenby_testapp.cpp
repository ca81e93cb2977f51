// A small Windows program for testing the GUI driver: a splash shown while the program blocks, then a
// main window with labels, edit boxes (one inside a panel), buttons (one busy for a while, one that
// opens a message box, one disabled, one hidden, one that quits with exit code 7), a tree view that
// fills its items only when they are first expanded, and the project's directory tree.
#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <fstream>
#include <memory>
#include <string>

#include "dirtree/dirtree.h"
#include "ui/Application.h"

namespace {

enum : int {
    kStatus = 101, kEdit = 102, kWork = 103, kBox = 104, kDisabled = 105, kQuit = 106,
    kPanel = 107, kInnerEdit = 108, kHidden = 109, kTree = 110, kTreePath = 111, kTyped = 112,
    kDirTree = 113, kDirectory = 114,
};
constexpr char kPlaceholder[] = "u**";

HINSTANCE g_instance;
int g_worked = 0;
std::unique_ptr<quenby::Tdirtree> g_dirTree;

HWND Child(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_instance, nullptr);
}

HTREEITEM AddItem(HWND tree, HTREEITEM parent, const char* text, int depth) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text);
    insert.item.lParam = depth;
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (depth < 3) {
        insert.hParent = item;
        insert.item.pszText = const_cast<char*>(kPlaceholder);
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
    }
    return item;
}

std::string ItemText(HWND tree, HTREEITEM item, LPARAM* depth = nullptr) {
    char text[260] = {};
    TVITEMA record = {};
    record.mask = TVIF_TEXT | TVIF_PARAM;
    record.hItem = item;
    record.pszText = text;
    record.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&record));
    if (depth) *depth = record.lParam;
    return text;
}

// Replaces an item's placeholder by its children, as a lazily filled folder tree does.
void Fill(HWND tree, HTREEITEM item) {
    HTREEITEM first = TreeView_GetChild(tree, item);
    if (!first || ItemText(tree, first) != kPlaceholder) return;
    LPARAM depth = 0;
    ItemText(tree, item, &depth);
    TreeView_DeleteItem(tree, first);
    for (const char* name : {"Alpha", "Beta", "Gamma"}) AddItem(tree, item, name, static_cast<int>(depth) + 1);
}

std::string PathOf(HWND tree, HTREEITEM item) {
    std::string path;
    for (; item; item = TreeView_GetParent(tree, item)) path = ItemText(tree, item) + (path.empty() ? "" : "\\" + path);
    return path;
}

void SetStatus(HWND window, const std::string& text) {
    SetDlgItemTextA(window, kStatus, text.c_str());
    UpdateWindow(GetDlgItem(window, kStatus));
}

void Create(HWND window) {
    Child(window, "Static", "Ready", 0, 10, 10, 300, 20, kStatus);
    Child(window, "Edit", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 10, 40, 200, 22, kEdit);
    Child(window, "Button", "&Work", BS_PUSHBUTTON, 10, 80, 90, 25, kWork);
    Child(window, "Button", "&Box", BS_PUSHBUTTON, 110, 80, 90, 25, kBox);
    Child(window, "Button", "Disabled", BS_PUSHBUTTON | WS_DISABLED, 210, 80, 90, 25, kDisabled);
    Child(window, "Button", "&Quit", BS_PUSHBUTTON, 10, 120, 90, 25, kQuit);
    HWND hidden = Child(window, "Button", "Hidden", BS_PUSHBUTTON, 110, 120, 90, 25, kHidden);
    ShowWindow(hidden, SW_HIDE);
    HWND panel = Child(window, "TTestPanel", "", WS_BORDER, 10, 160, 250, 60, kPanel);
    Child(panel, "Edit", "inner", WS_BORDER | ES_AUTOHSCROLL, 10, 15, 200, 22, kInnerEdit);
    Child(window, "Static", "", 0, 10, 240, 300, 20, kTyped);
    Child(window, "Static", "", 0, 320, 10, 260, 20, kTreePath);
    HWND tree = Child(window, WC_TREEVIEWA, "", WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                                    TVS_SHOWSELALWAYS, 320, 40, 260, 300, kTree);
    AddItem(tree, TVI_ROOT, " (C:)", 0);
    AddItem(tree, TVI_ROOT, "Data", 0);
    Child(window, "Static", "", 0, 600, 10, 290, 20, kDirectory);
    g_dirTree = std::make_unique<quenby::Tdirtree>();
    g_dirTree->SetParentPlace(window, kDirTree, RECT{600, 40, 890, 340});
    g_dirTree->OnChange = [window](quenby::Tdirtree& sender, HTREEITEM) {
        SetDlgItemTextA(window, kDirectory, sender.GetDirectory().c_str());
    };
    g_dirTree->HandleNeeded();
}

void Command(HWND window, int id, int code) {
    switch (id) {
        case kWork:
            SetStatus(window, "Working");
            Sleep(1500);  // busy inside the handler, reading no input, as a long copy step does
            SetStatus(window, "Worked " + std::to_string(++g_worked));
            break;
        case kBox:
            MessageBoxA(window, "Something went wrong", "Error", MB_ICONERROR | MB_OK);
            SetStatus(window, "Box closed");
            break;
        case kQuit:
            PostQuitMessage(7);
            break;
        case kEdit:
            if (code == EN_CHANGE) {
                char text[256] = {};
                GetDlgItemTextA(window, kEdit, text, sizeof text);
                SetDlgItemTextA(window, kTyped, (std::string("Typed: ") + text).c_str());
            }
            break;
        default:
            break;
    }
}

LRESULT Notify(HWND window, const NMHDR& header) {
    if (header.idFrom != kTree) return 0;
    const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
    if (header.code == TVN_ITEMEXPANDINGA && change.action == TVE_EXPAND) Fill(header.hwndFrom, change.itemNew.hItem);
    if (header.code == TVN_SELCHANGEDA)
        SetDlgItemTextA(window, kTreePath, PathOf(header.hwndFrom, change.itemNew.hItem).c_str());
    return 0;
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            Create(window);
            return 0;
        case WM_COMMAND:
            Command(window, LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            LRESULT result = 0;
            try {
                if (g_dirTree && g_dirTree->OnNotify(reinterpret_cast<const NMHDR*>(lParam), result)) return result;
            } catch (const std::exception& error) {
                SetDlgItemTextA(window, kDirectory, error.what());
            }
            return Notify(window, *reinterpret_cast<const NMHDR*>(lParam));
        }
        case WM_DESTROY:
            g_dirTree.reset();
            return 0;
        case WM_CLOSE:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

void Register(const char* name, WNDPROC proc, int brush) {
    WNDCLASSA cls = {};
    cls.lpfnWndProc = proc;
    cls.hInstance = g_instance;
    cls.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    cls.hbrBackground = GetSysColorBrush(brush);
    cls.lpszClassName = name;
    RegisterClassA(&cls);
}

// The caption comes from caption.txt in the current directory, to show which directory the program got.
std::string Caption() {
    std::ifstream file("caption.txt");
    std::string line;
    return std::getline(file, line) ? line : "Test Main";
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    g_instance = instance;
    quenby::ui::TApplication application(instance);  // the directory tree's cursor and message pass
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    Register("TTestSplash", DefWindowProcA, COLOR_HIGHLIGHT);
    Register("TTestMain", MainProc, COLOR_BTNFACE);
    Register("TTestPanel", DefWindowProcA, COLOR_BTNFACE);

    HWND splash = CreateWindowExA(WS_EX_TOPMOST, "TTestSplash", "", WS_POPUP | WS_VISIBLE, 200, 200, 300, 150,
                                  nullptr, nullptr, instance, nullptr);
    UpdateWindow(splash);
    Sleep(800);
    DestroyWindow(splash);

    CreateWindowExA(0, "TTestMain", Caption().c_str(), WS_POPUP | WS_CAPTION | WS_VISIBLE, 50, 50, 900, 400, nullptr,
                    nullptr, instance, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

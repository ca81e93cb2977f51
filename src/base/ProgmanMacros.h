// The Program Manager command texts the group step sends, and the order and bounds in which it sends them.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <utility>

#include "base/StringList.h"

namespace quenby {

// The send buffer holds this many characters plus the terminating zero.
constexpr std::size_t kMacroBufferLength = 260;
// An item macro that is not accepted is sent at most this many times more.
constexpr int kItemResends = 2;

// Each macro ends in "\r\n"; commas, parentheses and quotes inside the texts are passed unchanged.
std::string GroupMacro(const std::string& group);
// The quoted form ("[AddItem(\"dir\\key\",value)]") when the destination holds a space anywhere.
std::string ItemMacro(const std::string& destination, const std::string& key, const std::string& value);
// Always plain: Uninstall.exe in the Windows directory takes the destination as its argument.
std::string UninstallerItemMacro(const std::string& windowsDir, const std::string& destination,
                                 const std::string& application);

// The uninstaller's: make the group current, remove one of its items, remove the group.
std::string ShowGroupMacro(const std::string& group);
std::string DeleteItemMacro(const std::string& title);
std::string DeleteGroupMacro(const std::string& group);

// A macro that would not fit the send buffer is refused whole rather than cut.
bool MacroFits(const std::string& macro);

struct TGroupRequest {
    std::string Group;
    std::string Destination;
    std::string WindowsDir;
    std::string Application;
    TStringList Items;       // program files, relative to the destination
    TStringList ItemTitles;  // the title of the item at the same position
};

// Opens the conversation (`open` reports whether one exists), then sends the group, every item and the
// uninstaller item through `send`, which reports whether a macro was accepted. Without a conversation
// the items are not tried. The loop ends in every case. Whether each was accepted: the group, each item,
// then the uninstaller item.
std::vector<bool> SendGroupMacros(const TGroupRequest& request, const std::function<bool()>& open,
                                  const std::function<bool(const std::string&)>& send);

// An add-on value: the file before the first space, the parameters after it (empty without a space).
std::pair<std::string, std::string> SplitAddOn(const std::string& value);
// Only these kinds start anything.
bool AddOnKindStarts(int kind);

}  // namespace quenby

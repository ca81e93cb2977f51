#include "base/ProgmanMacros.h"

#include "base/InstallRecord.h"

namespace quenby {

namespace {
const char kLineEnd[] = "\r\n";
}

std::string GroupMacro(const std::string& group) { return "[CreateGroup(" + group + ")]" + kLineEnd; }

std::string ItemMacro(const std::string& destination, const std::string& key, const std::string& value) {
    std::string path = destination + "\\" + key;
    if (destination.find(' ') != std::string::npos) path = "\"" + path + "\"";
    return "[AddItem(" + path + "," + value + ")]" + kLineEnd;
}

std::string UninstallerItemMacro(const std::string& windowsDir, const std::string& destination,
                                 const std::string& application) {
    return "[AddItem(" + UninstallCommand(windowsDir, destination) + "," + UninstallItemTitle(application) + ")]" +
           kLineEnd;
}

std::string ShowGroupMacro(const std::string& group) { return "[ShowGroup(" + group + ",1)]" + kLineEnd; }

std::string DeleteItemMacro(const std::string& title) { return "[DeleteItem(" + title + ")]" + kLineEnd; }

std::string DeleteGroupMacro(const std::string& group) { return "[DeleteGroup(" + group + ")]" + kLineEnd; }

bool MacroFits(const std::string& macro) { return macro.size() <= kMacroBufferLength; }

std::vector<bool> SendGroupMacros(const TGroupRequest& request, const std::function<bool()>& open,
                                  const std::function<bool(const std::string&)>& send) {
    std::vector<bool> accepted(static_cast<std::size_t>(request.Items.Count()) + 2, false);
    const bool conversation = open();
    const std::string group = GroupMacro(request.Group);
    accepted.front() = send(group);
    // Items join whatever group is current: without ours they would land in another program's group
    // (Wine's Program Manager even crashes on an item before any group).
    if (!MacroFits(group)) return accepted;
    if (conversation) {
        for (int i = 0; i < request.Items.Count(); ++i) {
            std::string macro = ItemMacro(request.Destination, request.Items[i], request.ItemTitles[i]);
            for (int sent = 0; sent <= kItemResends && !accepted[static_cast<std::size_t>(i) + 1]; ++sent)
                accepted[static_cast<std::size_t>(i) + 1] = send(macro);
        }
    }
    accepted.back() = send(UninstallerItemMacro(request.WindowsDir, request.Destination, request.Application));
    return accepted;
}

std::pair<std::string, std::string> SplitAddOn(const std::string& value) {
    std::size_t space = value.find(' ');
    if (space == std::string::npos) return {value, std::string()};
    return {value.substr(0, space), value.substr(space + 1)};
}

bool AddOnKindStarts(int kind) { return kind >= 0 && kind <= 2; }

}  // namespace quenby

// Arbitrary texts in every field give macros that keep their fields unchanged and are refused, never
// cut, past the buffer.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/ProgmanMacros.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Fields separated by '|': group, destination, Windows directory, application, then key/title pairs.
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '|') fields.emplace_back();
        else fields.back().push_back(static_cast<char>(data[i]));
    }
    fields.resize(fields.size() < 4 ? 4 : fields.size() + (fields.size() % 2));
    quenby::TGroupRequest request{fields[0], fields[1], fields[2], fields[3], {}, {}};
    for (std::size_t i = 4; i + 1 < fields.size(); i += 2) {
        request.Items.Add(fields[i]);
        request.ItemTitles.Add(fields[i + 1]);
    }

    std::vector<std::string> sent;
    int calls = 0;
    quenby::SendGroupMacros(
        request, [] { return true; },
        [&](const std::string& macro) {
            ++calls;
            if (!quenby::MacroFits(macro)) return false;
            sent.push_back(macro);
            return true;
        });

    const bool quoted = request.Destination.find(' ') != std::string::npos;
    // A group that cannot be sent ends the step after it: no item may join another group.
    const bool groupSent = quenby::MacroFits(quenby::GroupMacro(request.Group));
    std::size_t expectedCalls = groupSent ? 2 : 1;
    for (int i = 0; i < request.Items.Count(); ++i) {
        std::string macro = quenby::ItemMacro(request.Destination, request.Items[i], request.ItemTitles[i]);
        std::string path = request.Destination + "\\" + request.Items[i];
        Check(macro == "[AddItem(" + (quoted ? "\"" + path + "\"" : path) + "," + request.ItemTitles[i] + ")]\r\n");
        if (groupSent) expectedCalls += quenby::MacroFits(macro) ? 1 : 1 + quenby::kItemResends;
    }
    Check(static_cast<std::size_t>(calls) == expectedCalls);
    for (const auto& macro : sent) {
        Check(macro.size() <= quenby::kMacroBufferLength);
        Check(macro.size() >= 2 && macro.compare(macro.size() - 2, 2, "\r\n") == 0);
    }
    Check(quenby::UninstallerItemMacro(request.WindowsDir, request.Destination, request.Application)
              .find("Uninstall.exe " + request.Destination + ",Uninstall " + request.Application) != std::string::npos);

    auto [file, parameters] = quenby::SplitAddOn(fields[0]);
    Check(file.find(' ') == std::string::npos);
    Check(file == fields[0] || file + " " + parameters == fields[0]);
    return 0;
}

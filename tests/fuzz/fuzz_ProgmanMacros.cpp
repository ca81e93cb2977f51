// Arbitrary texts in every field: an item refused for its length is tried again a fixed number of times,
// no item follows a group that could not be sent, and an add-on value splits at its first blank.
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

    std::size_t calls = 0;
    quenby::SendGroupMacros(request, [] { return true; }, [&](const std::string& macro) {
        ++calls;
        return quenby::MacroFits(macro);
    });

    // A group that cannot be sent ends the step after it: no item may join another group.
    const bool groupSent = quenby::MacroFits(quenby::GroupMacro(request.Group));
    std::size_t expectedCalls = groupSent ? 2 : 1;
    for (int i = 0; i < request.Items.Count(); ++i) {
        const std::string macro = quenby::ItemMacro(request.Destination, request.Items[i], request.ItemTitles[i]);
        if (groupSent) expectedCalls += quenby::MacroFits(macro) ? 1 : 1 + quenby::kItemResends;
    }
    Check(calls == expectedCalls);

    auto [file, parameters] = quenby::SplitAddOn(fields[0]);
    Check(file.find(' ') == std::string::npos);
    Check(file == fields[0] || file + " " + parameters == fields[0]);
    return 0;
}

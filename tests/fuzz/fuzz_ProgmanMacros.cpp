// Arbitrary texts in every field, against a Program Manager that refuses anything over 260 characters:
// the group goes first, an item refused is sent three times in all and never again, no item follows a
// group that was refused, the uninstaller's item goes last, and an add-on value splits at its first blank.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/ProgmanMacros.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto check = [](bool condition) {
        if (!condition) std::abort();
    };
    // Fields separated by '|': group, destination, Windows directory, application, then key/title pairs.
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < size; ++i)
        data[i] == '|' ? fields.emplace_back() : fields.back() += static_cast<char>(data[i]);
    fields.resize(fields.size() < 4 ? 4 : fields.size() + (fields.size() % 2));
    quenby::TGroupRequest request{fields[0], fields[1], fields[2], fields[3], {}, {}};
    for (std::size_t i = 4; i + 1 < fields.size(); i += 2) {
        request.Items.Add(fields[i]);
        request.ItemTitles.Add(fields[i + 1]);
    }

    std::vector<std::string> sent;
    quenby::SendGroupMacros(
        request, [] { return true; },
        [&](const std::string& macro) { return sent.push_back(macro), macro.size() <= 260; });

    check(!sent.empty() && sent[0] == "[CreateGroup(" + fields[0] + ")]\r\n");
    const bool groupFits = fields[0].size() + 17 <= 260;
    std::size_t next = 1;
    for (std::size_t i = 4; groupFits && i + 1 < fields.size(); i += 2) {
        // The quotes around the path that a blank in the destination brings.
        const std::size_t quotes = fields[1].find(' ') == std::string::npos ? 0 : 2;
        const std::size_t length = 14 + fields[1].size() + 1 + fields[i].size() + quotes + fields[i + 1].size();
        for (int copy = 0; copy < (length <= 260 ? 1 : 3); ++copy, ++next)
            check(next < sent.size() && sent[next].size() == length && sent[next].rfind("[AddItem(", 0) == 0 &&
                  sent[next].find(fields[i] + (quotes ? "\"," : ",") + fields[i + 1] + ")]\r\n") != std::string::npos);
    }
    if (groupFits)
        check(next + 1 == sent.size() && sent[next] == "[AddItem(" + fields[2] + "\\Uninstall.exe " + fields[1] +
                                                           ",Uninstall " + fields[3] + ")]\r\n");
    else
        check(sent.size() == 1);

    auto [file, parameters] = quenby::SplitAddOn(fields[0]);
    check(file.find(' ') == std::string::npos);
    check(file == fields[0] || file + " " + parameters == fields[0]);
    return 0;
}

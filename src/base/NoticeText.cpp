#include "base/NoticeText.h"

namespace quenby {

std::string NoticeText(std::string_view content) {
    content = content.substr(0, content.find('\0'));
    std::string text;
    text.reserve(content.size() + content.size() / 16);
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c != '\r' && c != '\n') {
            text += c;
            continue;
        }
        if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
        if (i + 1 < content.size()) text += "\r\n";
    }
    return text;
}

}  // namespace quenby

#include "publish/NearestName.h"

#include <algorithm>
#include <string>
#include <vector>

namespace quenby {

namespace {

char LowerCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The fewest letters inserted, deleted or changed to make one name the other, letter case aside.
size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t changed = diagonal + (LowerCase(a[i - 1]) != LowerCase(b[j - 1]));
            diagonal = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, changed});
        }
    }
    return row[b.size()];
}

// "ProgramGroup" is "program" and "group": a new word at a capital after a small letter or after a non-letter.
std::vector<std::string> Words(const std::string& name) {
    std::vector<std::string> words(1);
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = LowerCase(name[i]);
        if (c < 'a' || c > 'z') {
            if (!words.back().empty()) words.emplace_back();
            continue;
        }
        if (c != name[i] && i > 0 && name[i - 1] >= 'a' && name[i - 1] <= 'z') words.emplace_back();
        words.back() += c;
    }
    return words;
}

// A word shortened or lengthened ("Prog" and "Program", "Dir" and "Directory") is the same word.
bool ShareAWord(const std::string& a, const std::string& b) {
    for (const std::string& x : Words(a))
        for (const std::string& y : Words(b)) {
            const std::string& shorter = x.size() < y.size() ? x : y;
            if (shorter.size() >= 3 && (x.size() < y.size() ? y : x).compare(0, shorter.size(), shorter) == 0)
                return true;
        }
    return false;
}

}  // namespace

std::string NearestName(const std::string& name, const std::vector<std::string>& known) {
    std::string nearest;
    size_t best = std::string::npos;
    for (const std::string& candidate : known) {
        const size_t distance = EditDistance(name, candidate);
        if (distance < best && (2 * distance <= name.size() || ShareAWord(name, candidate))) {
            best = distance;
            nearest = candidate;
        }
    }
    return nearest;
}

}  // namespace quenby

// An ordered list of texts whose bad index raises the list error instead of reading past the end.
#pragma once
#include <string>
#include <vector>

#include "base/Errors.h"

namespace quenby {

class TStringList {
public:
    int Count() const { return static_cast<int>(m_items.size()); }
    bool Empty() const { return m_items.empty(); }
    void Add(std::string text) { m_items.push_back(std::move(text)); }
    void Clear() { m_items.clear(); }

    const std::string& operator[](int index) const {
        if (index < 0 || index >= Count()) throw EListError();
        return m_items[static_cast<size_t>(index)];
    }
    void Set(int index, std::string text) {
        if (index < 0 || index >= Count()) throw EListError();
        m_items[static_cast<size_t>(index)] = std::move(text);
    }
    void Delete(int index) {
        if (index < 0 || index >= Count()) throw EListError();
        m_items.erase(m_items.begin() + index);
    }
    // -1 when no entry equals the text exactly.
    int IndexOf(const std::string& text) const {
        for (int i = 0; i < Count(); ++i)
            if (m_items[static_cast<size_t>(i)] == text) return i;
        return -1;
    }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }
    std::vector<std::string>& Items() { return m_items; }
    const std::vector<std::string>& Items() const { return m_items; }

private:
    std::vector<std::string> m_items;
};

}  // namespace quenby

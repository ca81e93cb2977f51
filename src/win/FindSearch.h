// A directory search (FindFirstFileA / FindNextFileA) that owns its find handle.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "base/DirTreeRules.h"

namespace quenby {

class TFindSearch {
public:
    // Entries that the attribute mask does not ask for are skipped, as a masked search does.
    TFindSearch(const std::string& pattern, std::uint32_t attrMask) : m_mask(attrMask) {
        m_handle = FindFirstFileA(pattern.c_str(), &m_data);
        m_found = m_handle != INVALID_HANDLE_VALUE;
        SkipUnasked();
    }
    ~TFindSearch() { Close(); }
    TFindSearch(const TFindSearch&) = delete;
    TFindSearch& operator=(const TFindSearch&) = delete;

    bool Found() const { return m_found; }
    const WIN32_FIND_DATAA& Data() const { return m_data; }
    std::string Name() const { return m_data.cFileName; }
    std::uint32_t Attributes() const { return m_data.dwFileAttributes; }
    void Next() {
        Advance();
        SkipUnasked();
    }
    void Close() {
        if (m_handle != INVALID_HANDLE_VALUE) FindClose(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        m_found = false;
    }

private:
    void Advance() { m_found = m_found && FindNextFileA(m_handle, &m_data); }
    void SkipUnasked() {
        while (m_found && !SearchReturns(m_data.dwFileAttributes, m_mask)) Advance();
    }

    HANDLE m_handle = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA m_data{};
    std::uint32_t m_mask;
    bool m_found = false;
};

}  // namespace quenby

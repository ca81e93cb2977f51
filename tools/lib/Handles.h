// The kernel handles the driver holds (the program's own owner) and its foreign memory.
#pragma once
#include <windows.h>

#include <cstddef>

#include "win/Handles.h"

namespace quenby::drive {

using quenby::THandle;

// A block of memory inside another process, for control messages whose pointers the system does not
// carry across processes (the tree view's).
class TRemoteMemory {
public:
    TRemoteMemory(HANDLE process, std::size_t size)
        : m_process(process),
          m_address(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    TRemoteMemory(const TRemoteMemory&) = delete;
    TRemoteMemory& operator=(const TRemoteMemory&) = delete;
    ~TRemoteMemory() {
        if (m_address) VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
    }

    void* Address() const { return m_address; }
    bool Write(std::size_t offset, const void* data, std::size_t size) const {
        return WriteProcessMemory(m_process, static_cast<char*>(m_address) + offset, data, size, nullptr);
    }
    bool Read(std::size_t offset, void* data, std::size_t size) const {
        return ReadProcessMemory(m_process, static_cast<char*>(m_address) + offset, data, size, nullptr);
    }

private:
    HANDLE m_process;
    void* m_address;
};

}  // namespace quenby::drive

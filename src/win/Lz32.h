// The platform's LZ expansion library, loaded at run time from the system directory by its full path,
// so that a DLL of that name lying beside Setup.exe on the medium is never loaded.
#pragma once
#include <windows.h>
#include <lzexpand.h>

#include <string>

#include "win/Handles.h"

namespace quenby {

class TLz32 {
public:
    TLz32();  // raises "Cannot load %s: <reason>" when the library or one of its functions is missing

    // Creates the destination anew and expands the source into it; an uncompressed source is copied
    // unchanged. Raises "Cannot expand %s to %s: <reason>" and removes the incomplete destination.
    void Expand(const std::string& source, const std::string& destination) const;
    // The same from an open source, read from its start (the library takes it and closes it), into an open
    // destination; the names are for the failure's text, and the destination is left to the caller.
    void Expand(THandle source, HANDLE destination, const std::string& sourceName,
                const std::string& destinationName) const;

private:
    TModule m_module;
    decltype(&LZInit) m_init = nullptr;
    decltype(&LZCopy) m_copy = nullptr;
    decltype(&LZClose) m_close = nullptr;

    friend class TLzFile;
};

// One open LZ handle, closed with the library's LZClose.
class TLzFile {
public:
    TLzFile(const TLz32& library, INT handle) : m_close(library.m_close), m_handle(handle) {}
    ~TLzFile() { Close(); }
    TLzFile(const TLzFile&) = delete;
    TLzFile& operator=(const TLzFile&) = delete;

    INT Get() const { return m_handle; }
    bool IsOpen() const { return m_handle >= 0; }
    void Close() {
        if (IsOpen()) m_close(m_handle);
        m_handle = -1;
    }

private:
    decltype(&LZClose) m_close;
    INT m_handle;
};

}  // namespace quenby

#include "win/Lz32.h"

#include "base/Errors.h"
#include "base/Texts.h"
#include "win/Handles.h"
#include "win/SystemText.h"

namespace quenby {

namespace {

std::string LzErrorText(LONG code) {
    switch (code) {
        case LZERROR_BADINHANDLE: return kLzSourceNotOpened;
        case LZERROR_BADOUTHANDLE: return kLzDestinationNotOpened;
        case LZERROR_READ: return kLzSourceNotRead;
        case LZERROR_WRITE: return kLzDestinationNotWritten;
        case LZERROR_GLOBALLOC:
        case LZERROR_GLOBLOCK: return kLzNoMemory;
        case LZERROR_UNKNOWNALG: return kLzUnknownFormat;
        default: return LzErrorCodeText(code);
    }
}

// The system's reason when it gave one, else the library's.
std::string Reason(DWORD systemError, LONG lzCode) {
    return systemError != 0 ? SystemErrorText(systemError) : LzErrorText(lzCode);
}

}  // namespace

TLz32::TLz32() {
    const std::string path = SystemDirectory() + "\\lz32.dll";
    m_module.Reset(LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!m_module) throw Exception(CannotLoadText(path, SystemErrorText(GetLastError())));
    m_init = m_module.Procedure<decltype(m_init)>("LZInit");
    m_copy = m_module.Procedure<decltype(m_copy)>("LZCopy");
    m_close = m_module.Procedure<decltype(m_close)>("LZClose");
    if (!m_init || !m_copy || !m_close) {
        const DWORD error = GetLastError();
        throw Exception(CannotLoadText(path, SystemErrorText(error)));
    }
}

namespace {

// File handles fit in 32 bits on every Windows, which is what lets the library take them as HFILE.
INT AsLzFile(HANDLE file) { return static_cast<INT>(reinterpret_cast<INT_PTR>(file)); }

}  // namespace

// The library's own LZOpenFileA keeps the path in an OFSTRUCT of 128 characters, shorter than the
// destinations accepted; the files are opened here and their handles given to the library.
void TLz32::Expand(const std::string& source, const std::string& destination) const {
    const auto open = [&](const std::string& path, DWORD access, DWORD share, DWORD disposition) {
        const HANDLE file =
            CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            throw Exception(CannotExpandText(source, destination, SystemErrorText(GetLastError())));
        return THandle(file);
    };
    THandle sourceFile = open(source, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    THandle out = open(destination, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
    try {
        Expand(std::move(sourceFile), out.Get(), source, destination);
    } catch (...) {
        out.Reset();
        DeleteFileA(destination.c_str());  // a cut-off file must not pass for an installed one
        throw;
    }
}

void TLz32::Expand(THandle source, HANDLE destination, const std::string& sourceName,
                   const std::string& destinationName) const {
    const auto fail = [&](const std::string& reason) {
        return Exception(CannotExpandText(sourceName, destinationName, reason));
    };
    if (SetFilePointer(source.Get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        throw fail(SystemErrorText(GetLastError()));
    const INT lzHandle = m_init(AsLzFile(source.Get()));
    if (lzHandle < 0) throw fail(LzErrorText(lzHandle));
    source.Release();  // LZClose closes it from here on
    const TLzFile in(*this, lzHandle);
    SetLastError(ERROR_SUCCESS);
    const LONG written = m_copy(in.Get(), AsLzFile(destination));
    if (written < 0) throw fail(Reason(GetLastError(), written));
}

}  // namespace quenby

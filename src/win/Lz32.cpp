#include "win/Lz32.h"

#include "win/SystemText.h"
#include "base/Errors.h"
#include "base/Texts.h"

namespace quenby {

namespace {

template <typename Function>
Function Lookup(HMODULE module, const char* name) {
    // Through the generic function pointer type, which converts to any other without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

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
    m_open = Lookup<decltype(m_open)>(m_module.Get(), "LZOpenFileA");
    m_copy = Lookup<decltype(m_copy)>(m_module.Get(), "LZCopy");
    m_close = Lookup<decltype(m_close)>(m_module.Get(), "LZClose");
    if (!m_open || !m_copy || !m_close) {
        const DWORD error = GetLastError();
        throw Exception(CannotLoadText(path, SystemErrorText(error)));
    }
}

void TLz32::Expand(const std::string& source, const std::string& destination) const {
    const auto fail = [&](const std::string& reason) {
        return Exception(CannotExpandText(source, destination, reason));
    };
    std::string sourceName = source, destinationName = destination;  // the library takes LPSTR

    OFSTRUCT sourceInfo = {};
    sourceInfo.cBytes = sizeof sourceInfo;
    TLzFile in(*this, m_open(sourceName.data(), &sourceInfo, OF_READ));
    if (!in.IsOpen()) throw fail(Reason(sourceInfo.nErrCode, in.Get()));

    OFSTRUCT destinationInfo = {};
    destinationInfo.cBytes = sizeof destinationInfo;
    TLzFile out(*this, m_open(destinationName.data(), &destinationInfo, OF_CREATE | OF_SHARE_DENY_WRITE));
    if (!out.IsOpen()) throw fail(Reason(destinationInfo.nErrCode, out.Get()));

    SetLastError(ERROR_SUCCESS);
    const LONG written = m_copy(in.Get(), out.Get());
    if (written < 0) {
        const DWORD error = GetLastError();
        out.Close();
        DeleteFileA(destination.c_str());  // a cut-off file must not pass for an installed one
        throw fail(Reason(error, written));
    }
}

}  // namespace quenby

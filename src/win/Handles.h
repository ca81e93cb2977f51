// Owners of the system's handles, one type per kind, for the program, the tools and the tests alike:
// each closes its handle exactly once, none can be copied. (Registry keys: RegistryKey.h; find handles:
// FindSearch.h; DDE handles: DdeHandles.h; LZ handles: Lz32.h.)
#pragma once
#include <windows.h>
#include <wincrypt.h>

#include <utility>

namespace quenby {

// A handle with a close function; movable, not copyable.
template <typename H, auto Close>
class TOwned {
public:
    TOwned() = default;
    explicit TOwned(H handle) : m_handle(handle) {}
    TOwned(const TOwned&) = delete;
    TOwned& operator=(const TOwned&) = delete;
    TOwned(TOwned&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    TOwned& operator=(TOwned&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.m_handle, nullptr));
        return *this;
    }
    ~TOwned() { Reset(); }

    H Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    void Reset(H handle = nullptr) {
        // The system may hand back the very handle already held (an empty registry path opens the key itself).
        if (m_handle && m_handle != handle) Close(m_handle);
        m_handle = handle;
    }
    H Release() { return std::exchange(m_handle, nullptr); }

private:
    H m_handle = nullptr;
};

inline void FreeFontHandle(HFONT font) { DeleteObject(font); }
inline void FreeBitmapHandle(HBITMAP bitmap) { DeleteObject(bitmap); }
inline void FreeBrushHandle(HBRUSH brush) { DeleteObject(brush); }
inline void DestroyIconHandle(HICON icon) { DestroyIcon(icon); }
inline void DestroyWindowHandle(HWND window) { DestroyWindow(window); }
inline void CloseRegistryKey(HKEY key) { RegCloseKey(key); }
inline void CloseKernelHandle(HANDLE handle) { CloseHandle(handle); }
inline void FreeModuleHandle(HMODULE module) { FreeLibrary(module); }

using TFont = TOwned<HFONT, FreeFontHandle>;
using TBitmap = TOwned<HBITMAP, FreeBitmapHandle>;
using TBrush = TOwned<HBRUSH, FreeBrushHandle>;
using TIcon = TOwned<HICON, DestroyIconHandle>;
using TWindow = TOwned<HWND, DestroyWindowHandle>;

// A function of a loaded library, typed; nullptr when the library lacks it.
template <typename Function>
Function ProcedureOf(HMODULE module, const char* name) {
    // Through the generic function pointer type, which converts to any other without a warning.
    return module ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name))) : nullptr;
}

// A library loaded at run time.
class TModule : public TOwned<HMODULE, FreeModuleHandle> {
public:
    using TOwned::TOwned;
    template <typename Function>
    Function Procedure(const char* name) const {
        return ProcedureOf<Function>(Get(), name);
    }
};

// Files, processes and threads. CreateFile's INVALID_HANDLE_VALUE counts as no handle.
class THandle : public TOwned<HANDLE, CloseKernelHandle> {
public:
    THandle() = default;
    explicit THandle(HANDLE handle) : TOwned(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
};

// A device context for painting outside WM_PAINT, released to its window.
class TWindowDC {
public:
    explicit TWindowDC(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    ~TWindowDC() {
        if (m_dc) ReleaseDC(m_window, m_dc);
    }
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// A memory device context with one bitmap selected into it for the context's life.
class TMemoryDC {
public:
    TMemoryDC(HDC compatibleWith, HBITMAP bitmap)
        : m_dc(CreateCompatibleDC(compatibleWith)), m_old(SelectObject(m_dc, bitmap)) {}
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    ~TMemoryDC() {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
    }
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// BeginPaint/EndPaint.
class TPaint {
public:
    explicit TPaint(HWND window) : m_window(window) { m_dc = BeginPaint(window, &m_paint); }
    TPaint(const TPaint&) = delete;
    TPaint& operator=(const TPaint&) = delete;
    ~TPaint() { EndPaint(m_window, &m_paint); }
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
    HDC m_dc = nullptr;
};

// SaveDC/RestoreDC around a change of clipping, origin, colours or selected objects.
class TSavedDC {
public:
    explicit TSavedDC(HDC dc) : m_dc(dc), m_state(SaveDC(dc)) {}
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;
    ~TSavedDC() { RestoreDC(m_dc, m_state); }

private:
    HDC m_dc;
    int m_state;
};

// A window timer, killed when the owner goes.
class TTimer {
public:
    TTimer() = default;
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;
    ~TTimer() { Stop(); }

    void Start(HWND window, UINT_PTR id, UINT milliseconds) {
        Stop();
        if (SetTimer(window, id, milliseconds, nullptr)) {
            m_window = window;
            m_id = id;
        }
    }
    void Stop() {
        if (m_window) KillTimer(m_window, m_id);
        m_window = nullptr;
    }
    bool Running() const { return m_window != nullptr; }

private:
    HWND m_window = nullptr;
    UINT_PTR m_id = 0;
};

// CryptoAPI's handles are numbers, 0 for none: a provider context and a hash object.
template <typename H, void (*Close)(H)>
class TCryptHandle {
public:
    TCryptHandle() = default;
    TCryptHandle(const TCryptHandle&) = delete;
    TCryptHandle& operator=(const TCryptHandle&) = delete;
    ~TCryptHandle() {
        if (m_handle) Close(m_handle);
    }
    H Get() const { return m_handle; }
    H* Receive() { return &m_handle; }  // for the call that fills in a new handle; only while empty

private:
    H m_handle = 0;
};

inline void ReleaseCryptContext(HCRYPTPROV provider) { CryptReleaseContext(provider, 0); }
inline void DestroyCryptHash(HCRYPTHASH hash) { CryptDestroyHash(hash); }
using TCryptProvider = TCryptHandle<HCRYPTPROV, ReleaseCryptContext>;
using TCryptHash = TCryptHandle<HCRYPTHASH, DestroyCryptHash>;

}  // namespace quenby

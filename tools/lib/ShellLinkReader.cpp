#include "ShellLinkReader.h"

#include <windows.h>
#include <shlobj.h>
#include <objidl.h>

namespace quenby::drive {

namespace {

template <class T>
class TComRef {
public:
    TComRef() = default;
    ~TComRef() {
        if (m_ptr) m_ptr->Release();
    }
    TComRef(const TComRef&) = delete;
    TComRef& operator=(const TComRef&) = delete;
    T* operator->() const { return m_ptr; }
    T* Get() const { return m_ptr; }
    void** Out() { return reinterpret_cast<void**>(&m_ptr); }

private:
    T* m_ptr = nullptr;
};

}  // namespace

std::optional<TShellLink> ReadShellLink(const std::string& path) {
    TComRef<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.Out())))
        return std::nullopt;
    TComRef<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.Out()))) return std::nullopt;
    wchar_t widePath[MAX_PATH] = {};
    if (!MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH)) return std::nullopt;
    if (FAILED(file->Load(widePath, STGM_READ))) return std::nullopt;

    char text[1024] = {};
    TShellLink result;
    if (SUCCEEDED(link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH))) result.Target = text;
    text[0] = '\0';
    if (SUCCEEDED(link->GetArguments(text, sizeof text))) result.Arguments = text;
    text[0] = '\0';
    if (SUCCEEDED(link->GetDescription(text, sizeof text))) result.Description = text;
    return result;
}

}  // namespace quenby::drive

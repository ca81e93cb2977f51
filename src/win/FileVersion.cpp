#include "win/FileVersion.h"

#include <windows.h>
#include <winver.h>

#include <vector>

#include "base/Errors.h"
#include "base/Texts.h"
#include "win/Handles.h"
#include "win/SystemText.h"

namespace quenby {

std::optional<std::uint64_t> FileVersionOf(const std::string& path) {
    const std::string library = SystemDirectory() + "\\version.dll";
    const TModule module(LoadLibraryExA(library.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!module) throw Exception(CannotLoadText(library, SystemErrorText(GetLastError())));
    const auto size = module.Procedure<decltype(&GetFileVersionInfoSizeA)>("GetFileVersionInfoSizeA");
    const auto info = module.Procedure<decltype(&GetFileVersionInfoA)>("GetFileVersionInfoA");
    const auto query = module.Procedure<decltype(&VerQueryValueA)>("VerQueryValueA");
    if (!size || !info || !query) throw Exception(CannotLoadText(library, SystemErrorText(GetLastError())));

    DWORD ignored = 0;
    const DWORD bytes = size(path.c_str(), &ignored);
    if (bytes == 0) return std::nullopt;
    std::vector<char> block(bytes);
    if (!info(path.c_str(), 0, bytes, block.data())) return std::nullopt;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!query(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || length < sizeof *fixed ||
        fixed->dwSignature != VS_FFI_SIGNATURE)
        return std::nullopt;
    return (std::uint64_t{fixed->dwFileVersionMS} << 32) | fixed->dwFileVersionLS;
}

}  // namespace quenby

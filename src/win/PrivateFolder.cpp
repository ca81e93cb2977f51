#include "win/PrivateFolder.h"

#include <windows.h>
#include <sddl.h>

#include "win/SystemText.h"

namespace quenby {

namespace {

// The system and the administrators write; users may read and run.
class TAdminOnlyFolderSecurity {
public:
    TAdminOnlyFolderSecurity() {
        ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;GRGX;;;BU)",
                                                             SDDL_REVISION_1, &m_descriptor, nullptr);
        m_attributes.lpSecurityDescriptor = m_descriptor;
    }
    TAdminOnlyFolderSecurity(const TAdminOnlyFolderSecurity&) = delete;
    TAdminOnlyFolderSecurity& operator=(const TAdminOnlyFolderSecurity&) = delete;
    ~TAdminOnlyFolderSecurity() { LocalFree(m_descriptor); }
    SECURITY_ATTRIBUTES* Get() { return m_descriptor ? &m_attributes : nullptr; }

private:
    PSECURITY_DESCRIPTOR m_descriptor = nullptr;
    SECURITY_ATTRIBUTES m_attributes{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

}  // namespace

std::string PrivateFoldersParent() { return WindowsDirectory() + "\\Temp"; }

std::string MakePrivateFolder() {
    TAdminOnlyFolderSecurity security;
    if (!security.Get()) return {};
    const std::string base = PrivateFoldersParent() + "\\Quenby-" + std::to_string(GetCurrentProcessId()) + "-";
    for (DWORD attempt = 0; attempt < 100; ++attempt) {
        const std::string folder = base + std::to_string(GetTickCount() + attempt);
        if (CreateDirectoryA(folder.c_str(), security.Get())) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
    return {};
}

}  // namespace quenby

#include "win/AdminOnlySecurity.h"

#include <sddl.h>

namespace quenby {

TAdminOnlySecurity::TAdminOnlySecurity(const char* sddl) {
    if (ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &m_descriptor, nullptr))
        m_attributes.lpSecurityDescriptor = m_descriptor;
    else
        m_descriptor = nullptr;
}

TAdminOnlySecurity::~TAdminOnlySecurity() { LocalFree(m_descriptor); }

}  // namespace quenby

// Security attributes for what only the system and the administrators may change, made from the
// descriptor's text (SDDL).
#pragma once
#include <windows.h>

namespace quenby {

// A file of their own: owned by the administrators (an owner may always rewrite the access list, so a
// user who owned it could let himself in), its list its own (nothing inherited from the folder), no
// access at all for anyone else.
inline constexpr char kAdminOnlyFileSddl[] = "O:BAD:P(A;;FA;;;SY)(A;;FA;;;BA)";
// A folder and all made in it: the system and the administrators write; users may read and run.
inline constexpr char kAdminOnlyFolderSddl[] = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;GRGX;;;BU)";

class TAdminOnlySecurity {
public:
    explicit TAdminOnlySecurity(const char* sddl);
    TAdminOnlySecurity(const TAdminOnlySecurity&) = delete;
    TAdminOnlySecurity& operator=(const TAdminOnlySecurity&) = delete;
    ~TAdminOnlySecurity();
    // For CreateFileA and the like; nullptr when the descriptor could not be made: then make nothing.
    SECURITY_ATTRIBUTES* Get() { return m_descriptor ? &m_attributes : nullptr; }

private:
    PSECURITY_DESCRIPTOR m_descriptor = nullptr;
    SECURITY_ATTRIBUTES m_attributes{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

}  // namespace quenby

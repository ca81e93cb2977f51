#include "win/Sha256.h"

#include <windows.h>
#include <wincrypt.h>

#include "base/Errors.h"
#include "win/SystemText.h"

namespace quenby {

namespace {

// The provider and hash handles are numbers, not pointers: owned here rather than by TOwned.
class TCryptContext {
public:
    TCryptContext() {
        if (!CryptAcquireContextA(&m_provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) Fail();
    }
    TCryptContext(const TCryptContext&) = delete;
    TCryptContext& operator=(const TCryptContext&) = delete;
    ~TCryptContext() { CryptReleaseContext(m_provider, 0); }
    HCRYPTPROV Get() const { return m_provider; }
    [[noreturn]] static void Fail() { throw Exception("SHA-256: " + SystemErrorText(GetLastError())); }

private:
    HCRYPTPROV m_provider = 0;
};

class TCryptHash {
public:
    explicit TCryptHash(const TCryptContext& context) {
        if (!CryptCreateHash(context.Get(), CALG_SHA_256, 0, 0, &m_hash)) TCryptContext::Fail();
    }
    TCryptHash(const TCryptHash&) = delete;
    TCryptHash& operator=(const TCryptHash&) = delete;
    ~TCryptHash() { CryptDestroyHash(m_hash); }
    HCRYPTHASH Get() const { return m_hash; }

private:
    HCRYPTHASH m_hash = 0;
};

}  // namespace

std::string Sha256(std::string_view data) {
    static const TCryptContext context;  // one provider for the process's life
    const TCryptHash hash(context);
    if (!CryptHashData(hash.Get(), reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()), 0))
        TCryptContext::Fail();
    std::string digest(32, '\0');
    DWORD size = static_cast<DWORD>(digest.size());
    if (!CryptGetHashParam(hash.Get(), HP_HASHVAL, reinterpret_cast<BYTE*>(digest.data()), &size, 0) || size != 32)
        TCryptContext::Fail();
    return digest;
}

}  // namespace quenby

#include "win/Sha256.h"

#include <vector>

#include "base/Checksums.h"
#include "win/Handles.h"

namespace quenby {

std::optional<std::string> Sha256OfFile(HANDLE file) {
    // A context without keys: hashing needs none, and it never touches the user's key store.
    TCryptProvider provider;
    if (!CryptAcquireContextA(provider.Receive(), nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT))
        return std::nullopt;
    TCryptHash hash;
    if (!CryptCreateHash(provider.Get(), CALG_SHA_256, 0, 0, hash.Receive())) return std::nullopt;
    std::vector<BYTE> buffer(64 * 1024);
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) return std::nullopt;
        if (read == 0) break;
        if (!CryptHashData(hash.Get(), buffer.data(), read, 0)) return std::nullopt;
    }
    BYTE digest[32] = {};
    DWORD size = sizeof digest;
    if (!CryptGetHashParam(hash.Get(), HP_HASHVAL, digest, &size, 0) || size != sizeof digest) return std::nullopt;
    return HexDigest(digest, size);
}

}  // namespace quenby

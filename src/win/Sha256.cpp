#include "win/Sha256.h"

#include "base/Checksums.h"
#include "base/Errors.h"
#include "base/Texts.h"
#include "win/Handles.h"
#include "win/PlainFile.h"
#include "win/SystemText.h"

namespace quenby {

namespace {

// A context without keys: hashing needs none, and it never touches the user's key store. One for the
// process: the provider's DLL is loaded anew whenever its last context was released, some 25 ms under
// Wine, and the installation log hashes once for each line.
TCryptProvider TheProvider;
HANDLE Preloading = nullptr;  // the thread that acquires it, until waited for

void Acquire() {
    if (!TheProvider.Get())
        CryptAcquireContextA(TheProvider.Receive(), nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT);
}

DWORD WINAPI AcquireOnThread(void*) {
    Acquire();
    return 0;
}

HCRYPTPROV Provider() {
    // The preloading thread alone touches the provider until it ends; waited for once, not for every line.
    if (Preloading && WaitForSingleObject(Preloading, INFINITE) == WAIT_OBJECT_0) Preloading = nullptr;
    Acquire();
    return TheProvider.Get();
}

bool StartHash(TCryptHash& hash) {
    const HCRYPTPROV provider = Provider();
    return provider && CryptCreateHash(provider, CALG_SHA_256, 0, 0, hash.Receive());
}

bool FinishHash(const TCryptHash& hash, BYTE (&digest)[32]) {
    DWORD size = sizeof digest;
    return CryptGetHashParam(hash.Get(), HP_HASHVAL, digest, &size, 0) && size == sizeof digest;
}

}  // namespace

std::optional<std::string> Sha256OfFile(HANDLE file) {
    TCryptHash hash;
    if (!StartHash(hash)) return std::nullopt;
    const auto buffer = ReadBuffer();
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, buffer.get(), kReadChunk, &read, nullptr)) return std::nullopt;
        if (read == 0) break;
        if (!CryptHashData(hash.Get(), reinterpret_cast<const BYTE*>(buffer.get()), read, 0)) return std::nullopt;
    }
    BYTE digest[32] = {};
    if (!FinishHash(hash, digest)) return std::nullopt;
    return HexDigest(digest, sizeof digest);
}

std::string Sha256(std::string_view data) {
    TCryptHash hash;
    BYTE digest[32] = {};
    if (!StartHash(hash) ||
        !CryptHashData(hash.Get(), reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()), 0) ||
        !FinishHash(hash, digest))
        throw Exception(CannotHashText(SystemErrorText(GetLastError())));
    return std::string(reinterpret_cast<const char*>(digest), sizeof digest);
}

TProviderPreload::TProviderPreload() {
    if (Preloading || TheProvider.Get()) return;
    m_thread = THandle(CreateThread(nullptr, 0, AcquireOnThread, nullptr, 0, nullptr));
    Preloading = m_thread.Get();
}

TProviderPreload::~TProviderPreload() {
    if (!m_thread) return;
    WaitForSingleObject(m_thread.Get(), INFINITE);
    Preloading = nullptr;
}

}  // namespace quenby

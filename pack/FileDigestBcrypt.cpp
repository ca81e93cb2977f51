#include "FileDigest.h"

#include <windows.h>
#include <bcrypt.h>

#include <fstream>

#include "publish/Checksums.h"
#include "win/Handles.h"

namespace quenby {

namespace {

void CloseAlgorithm(BCRYPT_ALG_HANDLE algorithm) { BCryptCloseAlgorithmProvider(algorithm, 0); }
void DestroyHash(BCRYPT_HASH_HANDLE hash) { BCryptDestroyHash(hash); }
using TAlgorithm = TOwned<BCRYPT_ALG_HANDLE, CloseAlgorithm>;
using THash = TOwned<BCRYPT_HASH_HANDLE, DestroyHash>;

bool Succeeded(NTSTATUS status) { return status >= 0; }

}  // namespace

std::optional<std::string> Sha256OfFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    BCRYPT_ALG_HANDLE algorithmHandle = nullptr;
    if (!file || !Succeeded(BCryptOpenAlgorithmProvider(&algorithmHandle, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
        return std::nullopt;
    TAlgorithm algorithm(algorithmHandle);
    BCRYPT_HASH_HANDLE hashHandle = nullptr;
    if (!Succeeded(BCryptCreateHash(algorithm.Get(), &hashHandle, nullptr, 0, nullptr, 0, 0))) return std::nullopt;
    THash hash(hashHandle);
    char buffer[65536];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0)
        if (!Succeeded(
                BCryptHashData(hash.Get(), reinterpret_cast<PUCHAR>(buffer), static_cast<ULONG>(file.gcount()), 0)))
            return std::nullopt;
    unsigned char digest[32];
    if (file.bad() || !Succeeded(BCryptFinishHash(hash.Get(), digest, sizeof digest, 0))) return std::nullopt;
    return HexDigest(digest, sizeof digest);
}

}  // namespace quenby

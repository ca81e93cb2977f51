#include "FileDigest.h"

#include <openssl/evp.h>

#include <fstream>
#include <memory>

#include "publish/Checksums.h"

namespace quenby {

std::optional<std::string> DigestOfFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    if (!file || !context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) return std::nullopt;
    char buffer[65536];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0)
        if (EVP_DigestUpdate(context.get(), buffer, static_cast<size_t>(file.gcount())) != 1) return std::nullopt;
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (file.bad() || EVP_DigestFinal_ex(context.get(), digest, &length) != 1) return std::nullopt;
    return HexDigest(digest, length);
}

}  // namespace quenby

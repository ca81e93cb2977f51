#include "publish/Szdd.h"

#include <array>
#include <cstring>

namespace quenby {

namespace {

constexpr std::uint8_t kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr size_t kHeaderSize = 14;
constexpr int kWindow = 4096;
constexpr int kStart = kWindow - 16;  // where the expander writes its first byte
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 18;
// Matches stay well inside the ring so the expander never reads a byte it has already overwritten.
constexpr int kMaxDistance = kWindow - kMaxMatch;
constexpr int kHashSize = 1 << 14;
constexpr int kMaxChain = 64;

int Hash3(const std::uint8_t* p) { return ((p[0] << 6) ^ (p[1] << 3) ^ p[2]) & (kHashSize - 1); }

}  // namespace

TBytes SzddCompress(const TBytes& data, char missingChar) {
    TBytes out(kMagic, kMagic + 8);
    out.push_back('A');
    out.push_back(static_cast<std::uint8_t>(missingChar));
    auto size = static_cast<std::uint32_t>(data.size());
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(size >> shift));

    // Hash chains over positions of the input; only input bytes are matched, never the initial blanks.
    std::vector<int> head(kHashSize, -1);
    std::vector<int> previous(data.size(), -1);
    const size_t n = data.size();
    size_t pos = 0;
    while (pos < n) {
        size_t flagsAt = out.size();
        out.push_back(0);
        std::uint8_t flags = 0;
        for (int bit = 0; bit < 8 && pos < n; ++bit) {
            int bestLength = 0;
            size_t bestFrom = 0;
            if (pos + kMinMatch <= n) {
                int limit = static_cast<int>(std::min<size_t>(kMaxMatch, n - pos));
                int chain = 0;
                for (int candidate = head[static_cast<size_t>(Hash3(&data[pos]))];
                     candidate >= 0 && pos - static_cast<size_t>(candidate) <= kMaxDistance && chain < kMaxChain;
                     candidate = previous[static_cast<size_t>(candidate)], ++chain) {
                    int length = 0;
                    while (length < limit && data[static_cast<size_t>(candidate) + length] == data[pos + length])
                        ++length;
                    if (length > bestLength) {
                        bestLength = length;
                        bestFrom = static_cast<size_t>(candidate);
                        if (length == limit) break;
                    }
                }
            }
            size_t advance = 1;
            if (bestLength >= kMinMatch) {
                int ring = static_cast<int>((kStart + bestFrom) % kWindow);
                out.push_back(static_cast<std::uint8_t>(ring & 0xFF));
                out.push_back(static_cast<std::uint8_t>(((ring >> 4) & 0xF0) | (bestLength - kMinMatch)));
                advance = static_cast<size_t>(bestLength);
            } else {
                flags = static_cast<std::uint8_t>(flags | (1u << bit));
                out.push_back(data[pos]);
            }
            for (size_t i = 0; i < advance; ++i, ++pos) {
                if (pos + kMinMatch <= n) {
                    int h = Hash3(&data[pos]);
                    previous[pos] = head[static_cast<size_t>(h)];
                    head[static_cast<size_t>(h)] = static_cast<int>(pos);
                }
            }
        }
        out[flagsAt] = flags;
    }
    return out;
}

bool IsSzdd(const TBytes& file) {
    return file.size() >= kHeaderSize && std::memcmp(file.data(), kMagic, 8) == 0 && file[8] == 'A';
}

std::optional<TBytes> SzddExpand(const TBytes& file) {
    if (!IsSzdd(file)) return std::nullopt;
    std::uint32_t size = 0;
    for (int i = 0; i < 4; ++i) size |= static_cast<std::uint32_t>(file[10 + static_cast<size_t>(i)]) << (8 * i);
    std::array<std::uint8_t, kWindow> ring;
    ring.fill(' ');
    int r = kStart;
    TBytes out;
    out.reserve(size);
    size_t in = kHeaderSize;
    while (in < file.size() && out.size() < size) {
        std::uint8_t flags = file[in++];
        for (int bit = 0; bit < 8 && in < file.size() && out.size() < size; ++bit) {
            if (flags & (1u << bit)) {
                std::uint8_t byte = file[in++];
                out.push_back(byte);
                ring[static_cast<size_t>(r)] = byte;
                r = (r + 1) % kWindow;
            } else {
                if (in + 1 >= file.size()) return std::nullopt;
                int position = file[in] | ((file[in + 1] & 0xF0) << 4);
                int length = (file[in + 1] & 0x0F) + kMinMatch;
                in += 2;
                for (int i = 0; i < length && out.size() < size; ++i) {
                    std::uint8_t byte = ring[static_cast<size_t>((position + i) % kWindow)];
                    out.push_back(byte);
                    ring[static_cast<size_t>(r)] = byte;
                    r = (r + 1) % kWindow;
                }
            }
        }
    }
    if (out.size() != size) return std::nullopt;
    return out;
}

}  // namespace quenby

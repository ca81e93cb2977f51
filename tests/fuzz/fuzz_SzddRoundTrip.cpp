// Any bytes compressed by the publisher's SZDD compressor expand back to exactly those bytes.
#include <cstdint>
#include <cstdlib>

#include "publish/Szdd.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const quenby::TBytes original(data, data + size);
    const quenby::TBytes packed = quenby::SzddCompress(original, size ? static_cast<char>(data[0]) : 'x');
    const auto expanded = quenby::SzddExpand(packed);
    if (!quenby::IsSzdd(packed) || !expanded || *expanded != original) std::abort();
    return 0;
}

// Any log after the header, its lines ended often, against a seal over some of its whole lines as Setup extends it,
// then shifted, miscounted, corrupted or rewritten as text: no fault, the untouched seal verifies its lines, a
// corrupted one nothing, and what verifies is the log's first seal.Bytes bytes, as many whole lines as it says.
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>

#include "base/InstallLog.h"

namespace {

// The rule needs no strong digest, only one that changes with the bytes.
std::string Digest(std::string_view bytes) { return std::to_string(std::hash<std::string_view>{}(bytes)); }

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    std::string text = std::string(quenby::kInstallLogHeader) + "\r\n";
    for (std::size_t i = 2; i < size; ++i) text += data[i] % 8 ? std::string(1, char(data[i])) : "\r\n";
    quenby::TLogSeal seal;
    for (std::size_t start = 0, end; seal.Lines < data[0] % 8u && (end = text.find("\r\n", start)) != text.npos;
         start = end + 2)
        seal = quenby::ExtendSeal(seal, std::string_view(text).substr(start, end + 2 - start), Digest);
    std::string sealText = quenby::SealText(seal);
    switch (data[1] % 5) {
        case 1: seal.Bytes = seal.Bytes + data[1] / 5 % 5 - 2; break;
        case 2: seal.Lines = seal.Lines + data[1] / 5 % 3 - 1; break;
        case 3: seal.Digest += static_cast<char>(data[1]); break;
        case 4:
            sealText[data[1] / 5 % sealText.size()] = text.back();
            seal = quenby::ParseSeal(sealText).value_or(seal);
            break;
    }
    const std::optional<std::string> verified = quenby::VerifiedLogText(text, seal, Digest);
    Check(data[1] % 5 == 0 ? verified == text.substr(0, seal.Bytes) : data[1] % 5 != 3 || !verified);
    if (!verified) return 0;
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = verified->find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    Check(verified->size() == seal.Bytes && text.starts_with(*verified) && lines == seal.Lines &&
          (verified->empty() || verified->ends_with("\r\n")));
    return 0;
}

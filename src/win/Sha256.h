// SHA-256 through the system's CryptoAPI (advapi32, the AES provider without a key container), which every
// Windows since 2000 has: nothing hand-made.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "win/Handles.h"

namespace quenby {

// Of an open file's bytes from its current position to its end, in lower-case hex; nothing, with the
// system's error as the last error, when the provider or a read fails.
std::optional<std::string> Sha256OfFile(HANDLE file);

// The 32 raw bytes of the data's digest; raises Exception when the system cannot hash.
std::string Sha256(std::string_view data);

// While it lives, the provider is acquired on a thread of its own, and the first digest waits only for what is
// left of that: loading the provider takes Wine 70 to 120 ms under emulation, which the run's other work hides.
class TProviderPreload {
public:
    TProviderPreload();
    ~TProviderPreload();
    TProviderPreload(const TProviderPreload&) = delete;
    TProviderPreload& operator=(const TProviderPreload&) = delete;

private:
    THandle m_thread;  // none when it could not start: the first digest acquires it
};

}  // namespace quenby

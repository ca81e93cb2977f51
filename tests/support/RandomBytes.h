// Reproducible random bytes for tests that need content no rule would guess.
#pragma once
#include <random>
#include <string>

namespace quenby::test {

inline std::string RandomBytes(std::size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes) c = static_cast<char>(generator());
    return bytes;
}

}  // namespace quenby::test

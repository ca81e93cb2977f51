// Runs a fuzz target (LLVMFuzzerTestOneInput) on random inputs for a bounded time, so it needs no
// fuzzing engine and runs in ctest under the sanitizers. Inputs mix random bytes with the
// characters the targets care about most.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    double seconds = 4;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::atof(argv[i + 1]);
    static const char kInteresting[] = "0123456789xX$+- \\:.[]=\"',()%s|abcdefABCDEF\r\n";
    std::mt19937_64 random(0x5EED);
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    long runs = 0;
    std::vector<std::uint8_t> input;
    while (std::chrono::steady_clock::now() < end) {
        for (int batch = 0; batch < 256; ++batch, ++runs) {
            std::size_t size = random() % (runs % 16 == 0 ? 600 : 40);
            input.resize(size);
            for (auto& byte : input)
                byte = random() % 3 ? static_cast<std::uint8_t>(kInteresting[random() % (sizeof kInteresting - 1)])
                                    : static_cast<std::uint8_t>(random());
            LLVMFuzzerTestOneInput(input.data(), input.size());
        }
    }
    std::printf("fuzz: %ld inputs in %.0f s\n", runs, seconds);
    return 0;
}

// Test program: appends one line "<own path>|<arguments>" to the file named by QUENBY_RECORD_FILE
// (or record_args.log beside itself), so a test can see which copy was started and with what.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

// The command line after the program name, as the started program sees it.
const char* Arguments(const char* line) {
    bool quoted = false;
    for (; *line && (quoted || (*line != ' ' && *line != '\t')); ++line)
        if (*line == '"') quoted = !quoted;
    while (*line == ' ' || *line == '\t') ++line;
    return line;
}

}  // namespace

int main() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    char named[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("QUENBY_RECORD_FILE", named, MAX_PATH);
    std::string file = named;
    if (length == 0 || length >= MAX_PATH) {
        file = self;
        file = file.substr(0, file.rfind('\\') + 1) + "record_args.log";
    }
    std::string record = std::string(self) + "|" + Arguments(GetCommandLineA()) + "\n";
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(file.c_str(), "ab"), &std::fclose);
    if (!out) return 1;
    return std::fputs(record.c_str(), out.get()) >= 0 ? 0 : 1;
}

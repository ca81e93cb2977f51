// A stand-in for LZ32.DLL as an attacker would plant it beside a setup program on the medium: loading it
// is all it takes, as its DllMain writes the marker file "planted_lz32.loaded" beside itself, holding the
// path of the program that loaded it. Its LZ functions only fail.
#include <windows.h>
#include <lzexpand.h>

#include <cstring>

namespace {

void WriteMarker(HINSTANCE self) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    char* slash = std::strrchr(path, '\\');
    if (!slash || static_cast<size_t>(slash - path) + 21 >= MAX_PATH) return;
    std::strcpy(slash + 1, "planted_lz32.loaded");
    char program[MAX_PATH] = {};
    const DWORD programLength = GetModuleFileNameA(nullptr, program, MAX_PATH);
    const HANDLE marker = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(marker, program, programLength, &written, nullptr);
    CloseHandle(marker);
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) WriteMarker(self);
    return TRUE;
}

__declspec(dllexport) INT WINAPI LZOpenFileA(LPSTR, LPOFSTRUCT, WORD) { return LZERROR_BADINHANDLE; }
__declspec(dllexport) LONG WINAPI LZCopy(INT, INT) { return LZERROR_BADINHANDLE; }
__declspec(dllexport) void WINAPI LZClose(INT) {}

}  // extern "C"

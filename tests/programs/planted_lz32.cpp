// LZ32.DLL as an attacker would plant it beside a setup program: loading it is all it takes, as its
// DllMain writes the marker "planted_lz32.loaded" beside itself. Its LZ functions only fail.
#include <windows.h>
#include <lzexpand.h>

#include <string>

extern "C" {

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    char path[MAX_PATH] = {};
    if (reason != DLL_PROCESS_ATTACH || !GetModuleFileNameA(self, path, MAX_PATH)) return TRUE;
    std::string marker(path);
    marker = marker.substr(0, marker.rfind('\\') + 1) + "planted_lz32.loaded";
    CloseHandle(CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return TRUE;
}

__declspec(dllexport) INT WINAPI LZOpenFileA(LPSTR, LPOFSTRUCT, WORD) { return LZERROR_BADINHANDLE; }
__declspec(dllexport) LONG WINAPI LZCopy(INT, INT) { return LZERROR_BADINHANDLE; }
__declspec(dllexport) void WINAPI LZClose(INT) {}

}  // extern "C"

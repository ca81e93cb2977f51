// The sample product's shared file, installed into the Windows directory and counted there.
#include <windows.h>

extern "C" __declspec(dllexport) double OrreryOrbitPeriod(double semiMajorAxisAu) {
    return 365.256 * semiMajorAxisAu * __builtin_sqrt(semiMajorAxisAu);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

// A shared library whose only trait is its version resource (vlib.rc): the test builds it as 1.0 and 2.0.
#include <windows.h>

extern "C" __declspec(dllexport) int WINAPI VlibMajor() { return VLIB_MAJOR; }

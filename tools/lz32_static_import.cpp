// The fault that the planting tests guard against, made on purpose: a program that imports LZ32.DLL
// statically, as Setup.exe must not. Started beside a planted lz32.dll it loads that one; the import
// check rejects it.
#include <windows.h>
#include <lzexpand.h>

int main() {
    LZClose(-1);  // a use, so that the import stays
    return 0;
}

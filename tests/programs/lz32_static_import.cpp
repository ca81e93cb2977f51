// The fault the planting test and the import check guard against, made on purpose: LZ32.DLL imported
// statically, as Setup.exe must not.
#include <windows.h>
#include <lzexpand.h>

int main() {
    LZClose(-1);  // a use, so that the import stays
    return 0;
}

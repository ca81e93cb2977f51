#include "win/LibrarySearch.h"

#include <windows.h>

#include "win/Handles.h"

namespace quenby {

void KeepLibrarySearchToSystem() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDirectories =
        ProcedureOf<SetDefaultDllDirectoriesFn>(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (setDirectories) setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace quenby

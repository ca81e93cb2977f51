// Uninstall.exe: removes what one installation made, named by the installation log in the destination
// directory that its command line gives.
#include <windows.h>

#include <cstdlib>
#include <exception>

#include "ui/Application.h"
#include "base/Texts.h"
#include "uninstall/Uninstaller.h"
#include "win/DdeClientConv.h"

// As in Setup.exe: an escaping exception is a fault, and the library's console report would only add its
// name demangler to the program.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    // Libraries from the system folder only, never from the folder it was started in.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    auto setDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDirectories) setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    try {
        quenby::ui::TApplication application(instance);
        application.SetTitle(quenby::kUninstallTitle);
        quenby::TDdeClientConv::InitializeLibrary();
        return quenby::RunUninstaller(commandLine);
    } catch (const std::exception& error) {
        MessageBoxA(nullptr, error.what(), quenby::kUninstallTitle, MB_ICONERROR | MB_OK);
        return quenby::kNothingRemoved;
    }
}

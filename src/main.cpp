// The program entry: splash, title, backdrop as the main window, message loop.
#include <windows.h>

#include <cstdlib>
#include <exception>

#include "base/Errors.h"
#include "win/DdeClientConv.h"
#include "wizard/MainWin.h"
#include "wizard/WaitWin.h"
#include "base/Texts.h"
#include "ui/Application.h"

namespace {

// The program runs from a medium anyone could have written to: libraries are taken from the system
// folder only, never from beside Setup.exe. Looked up at run time, as older Windows lacks the call.
void KeepLibrarySearchToSystem() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto setDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDirectories) setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

// An exception that escapes everything is a fault. The library's own handler would name it on a console that
// a windowed program does not have, and its name demangler alone is a tenth of the program.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    KeepLibrarySearchToSystem();
    try {
        quenby::ui::TApplication application(instance);
        // Program Manager's conversation is opened later, from the wizard; a refusal shows there.
        quenby::TDdeClientConv::InitializeLibrary();
        quenby::ShowSplash();
        application.SetTitle(quenby::kApplicationTitle);
        quenby::TMainWindow backdrop;
        application.SetMainForm(&backdrop);
        application.Run();
    } catch (const std::exception& error) {
        // Only a failure to create the windows themselves gets here; handlers report their own.
        MessageBoxA(nullptr, quenby::ErrorBoxText(error).c_str(), quenby::kApplicationTitle, MB_ICONERROR | MB_OK);
        return 1;
    }
    return 0;
}

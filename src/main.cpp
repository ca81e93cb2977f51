// The program entry: splash, title, backdrop as the main window, message loop.
#include <windows.h>

#include <cstdlib>
#include <exception>

#include "base/Errors.h"
#include "win/DdeClientConv.h"
#include "win/LibrarySearch.h"
#include "wizard/MainWin.h"
#include "wizard/WaitWin.h"
#include "base/Texts.h"
#include "ui/Application.h"

// An exception that escapes everything is a fault. The library's own handler would name it on a console that
// a windowed program does not have, and its name demangler alone is a tenth of the program.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    quenby::KeepLibrarySearchToSystem();
    try {
        quenby::ui::TApplication application(instance);
        // Program Manager's conversation is opened later, from the wizard; a refusal shows there.
        quenby::TDdeClientConv::InitializeLibrary();
        quenby::ShowSplash();
        application.SetTitle(quenby::kApplicationTitle);
        quenby::TMainWindow backdrop;
        application.SetMainForm(&backdrop);
        application.Run();
        return application.ExitCode();
    } catch (const std::exception& error) {
        // Only a failure to create the windows themselves gets here; handlers report their own.
        MessageBoxA(nullptr, quenby::ErrorBoxText(error).c_str(), quenby::kApplicationTitle, MB_ICONERROR | MB_OK);
        return 1;
    }
}

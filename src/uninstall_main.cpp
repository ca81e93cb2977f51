// Uninstall.exe: removes what one installation made, named by the installation log in the destination
// directory that its command line gives.
#include <windows.h>

#include <cstdlib>
#include <exception>

#include "base/Errors.h"
#include "ui/Application.h"
#include "base/Texts.h"
#include "uninstall/Uninstaller.h"
#include "win/DdeClientConv.h"
#include "win/LibrarySearch.h"

// As in Setup.exe: an escaping exception is a fault, and the library's console report would only add its
// name demangler to the program.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    quenby::KeepLibrarySearchToSystem();
    try {
        quenby::ui::TApplication application(instance);
        application.SetTitle(quenby::kUninstallTitle);
        quenby::TDdeClientConv::InitializeLibrary();
        return quenby::RunUninstaller(commandLine);
    } catch (const std::exception& error) {
        MessageBoxA(nullptr, quenby::ErrorBoxText(error).c_str(), quenby::kUninstallTitle, MB_ICONERROR | MB_OK);
        return quenby::kNothingRemoved;
    }
}

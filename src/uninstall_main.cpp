// Uninstall.exe: removes what one installation made, named by the installation log in the destination
// directory that its command line gives.
#include <windows.h>

#include <cstdlib>
#include <exception>
#include <optional>
#include <string>

#include "base/Errors.h"
#include "base/InstallLog.h"
#include "base/Texts.h"
#include "ui/Application.h"
#include "uninstall/SelfCopy.h"
#include "uninstall/Uninstaller.h"
#include "win/DdeClientConv.h"
#include "win/InstallationLock.h"
#include "win/LibrarySearch.h"
#include "win/PrivateFolder.h"

// As in Setup.exe: an escaping exception is a fault, and the library's console report would only add its
// name demangler to the program.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    quenby::KeepLibrarySearchToSystem();
    std::string rest;
    std::optional<quenby::TOriginal> original = quenby::TakeOriginal(commandLine, rest);
    if (!original) {
        if (const std::optional<int> code = quenby::RunFromCopy(commandLine)) return *code;
        if (!quenby::QuietRemovalRequested(commandLine))
            MessageBoxA(nullptr, quenby::NoPrivateFolderText(quenby::PrivateFoldersParent()).c_str(),
                        quenby::kNoLogCaption, MB_ICONERROR | MB_OK);
        return quenby::kNothingRemoved;
    }
    int code = quenby::kNothingRemoved;
    bool removeOriginal = false;
    const std::string arguments = original ? rest : std::string(commandLine);
    // Held by the process that removes: the copy, not the original that only waits for it.
    const quenby::TInstallationLock lock;
    if (!lock.Held()) {
        if (!quenby::QuietRemovalRequested(arguments))
            MessageBoxA(nullptr, quenby::kAnotherInstallationText, quenby::kApplicationTitle, MB_ICONERROR | MB_OK);
        if (original) quenby::EndCopy(*original, quenby::kExitAnotherRunning, false);
        return quenby::kExitAnotherRunning;
    }
    try {
        quenby::ui::TApplication application(instance);
        application.SetTitle(quenby::kUninstallTitle);
        quenby::TDdeClientConv::InitializeLibrary();
        code = quenby::RunUninstaller(arguments, original ? original->Path : "", removeOriginal);
    } catch (const std::exception& error) {
        MessageBoxA(nullptr, quenby::ErrorBoxText(error).c_str(), quenby::kUninstallTitle, MB_ICONERROR | MB_OK);
    }
    if (original) quenby::EndCopy(*original, code, removeOriginal);
    return code;
}

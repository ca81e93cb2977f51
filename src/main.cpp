// The program entry: the command line read first; without switches splash, title, backdrop as the main
// window and the message loop, as always; with /SILENT or /VERYSILENT the unattended run.
#include <windows.h>

#include <cstdlib>
#include <exception>
#include <optional>

#include "base/CommandLine.h"
#include "base/Errors.h"
#include "base/ExitCodes.h"
#include "base/Texts.h"
#include "ui/Application.h"
#include "unattended/UnattendedSetup.h"
#include "win/DdeClientConv.h"
#include "win/InstallationLock.h"
#include "win/LibrarySearch.h"
#include "win/LogFile.h"
#include "win/Sha256.h"
#include "wizard/MainWin.h"
#include "wizard/WaitWin.h"

// An exception that escapes everything is a fault. The library's own handler would name it on a console that
// a windowed program does not have, and its name demangler alone is a tenth of the program.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace {

// The profile functions take a bare name to mean a file in the Windows directory: the answers files are
// made full paths against the current directory, as a user typing them means.
void MakeFull(std::string& path) {
    if (path.empty()) return;
    const DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return;
    std::string full(size, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), size, full.data(), nullptr);
    if (length > 0 && length < size) path = full.substr(0, length);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    quenby::KeepLibrarySearchToSystem();
    quenby::TSetupOptions options = quenby::ParseSetupCommandLine(commandLine);
    const bool interactive = options.Mode == quenby::TSetupMode::Interactive;
    if (!options.BadSwitch.empty()) {
        if (interactive)
            MessageBoxA(nullptr, quenby::BadSwitchText(options.BadSwitch).c_str(), quenby::kApplicationTitle,
                        MB_ICONERROR | MB_OK);
        // The refusal in the log too, where /LOG itself was understood.
        if (options.LogWanted) {
            try {
                quenby::TLogFile log(options.Log.empty() ? quenby::DatedLogPath(quenby::kSetupProgram) : options.Log,
                                     quenby::kSetupProgram, commandLine);
                log.Line(quenby::kLogError, quenby::BadSwitchText(options.BadSwitch));
                log.End(quenby::kExitBadCommandLine);
            } catch (const std::exception&) {
                // The exit code says it.
            }
        }
        return quenby::kExitBadCommandLine;
    }
    if (options.Help) {
        if (interactive)
            MessageBoxA(nullptr, quenby::SetupSwitchList().c_str(), quenby::kHelpCaption, MB_ICONINFORMATION | MB_OK);
        return quenby::kExitDone;
    }
    for (std::string* path : {&options.LoadInf, &options.SaveInf, &options.Log}) MakeFull(*path);
    const quenby::TInstallationLock lock;
    if (!lock.Held()) {
        if (interactive)
            MessageBoxA(nullptr, quenby::kAnotherInstallationText, quenby::kApplicationTitle, MB_ICONERROR | MB_OK);
        return quenby::kExitAnotherRunning;
    }
    try {
        if (options.Mode == quenby::TSetupMode::VerySilent) {
            // No application object: its owner window is a window on view, with a task bar button.
            const quenby::TDdeLibraryThread library;
            const quenby::TProviderPreload provider;
            return quenby::RunUnattendedSetup(options, commandLine);
        }
        quenby::ui::TApplication application(instance);
        // Program Manager's conversation is opened later, from the wizard or the run; a refusal shows there.
        quenby::TDdeClientConv::InitializeLibrary();
        if (!interactive) {
            application.SetTitle(quenby::kApplicationTitle);
            return quenby::RunUnattendedSetup(options, commandLine);
        }
        // /LOG in a run with a person too: what the copy runs did, and how the wizard ended.
        std::optional<quenby::TLogFile> log;
        if (options.LogWanted)
            log.emplace(options.Log.empty() ? quenby::DatedLogPath(quenby::kSetupProgram) : options.Log,
                        quenby::kSetupProgram, commandLine);
        quenby::ShowSplash();
        application.SetTitle(quenby::kApplicationTitle);
        quenby::TMainWindow backdrop(options.SaveInf, log ? &*log : nullptr);
        application.SetMainForm(&backdrop);
        application.Run();
        if (log) log->End(application.ExitCode());
        return application.ExitCode();
    } catch (const std::exception& error) {
        // Only a failure to create the windows themselves gets here; handlers report their own.
        if (interactive)
            MessageBoxA(nullptr, quenby::ErrorBoxText(error).c_str(), quenby::kApplicationTitle, MB_ICONERROR | MB_OK);
        return quenby::kExitFailed;
    }
}

// Uninstall.exe: removes what one installation made, named by the installation log in the destination
// directory that its command line gives.
#include <windows.h>

#include <cstdlib>
#include <exception>
#include <memory>
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
#include "win/LogFile.h"
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
    const std::string arguments = original ? rest : std::string(commandLine);
    const quenby::TRemovalOptions options = quenby::ReadRemovalCommandLine(arguments);
    // The copy writes the log, the original only when it cannot start one. The copy runs in the same
    // folder, so a relative /LOG names the same file.
    std::optional<quenby::TLogFile> log;
    const auto openLog = [&] {
        try {
            log.emplace(!options.LogWanted    ? std::string()
                        : options.Log.empty() ? quenby::DatedLogPath(quenby::kUninstallProgram)
                                              : options.Log,
                        quenby::kUninstallProgram, arguments);
        } catch (const std::exception&) {
            log.emplace(std::string(), quenby::kUninstallProgram, arguments);  // nowhere to write: the code says it
        }
    };
    // A box for a person; its text in the log in any case.
    const auto tell = [&](const std::string& text, const char* caption) {
        log->Line(text);
        if (!options.Quiet) MessageBoxA(nullptr, text.c_str(), caption, MB_ICONERROR | MB_OK);
    };
    if (!original) {
        if (const std::optional<int> code = quenby::RunFromCopy(commandLine)) return *code;
        openLog();
        tell(quenby::NoPrivateFolderText(quenby::PrivateFoldersParent()), quenby::kNoLogCaption);
        log->End(quenby::kNothingRemoved);
        return quenby::kNothingRemoved;
    }
    openLog();
    int code = quenby::kNothingRemoved;
    bool removeOriginal = false;
    // Held by the process that removes: the copy, not the original that only waits for it.
    const quenby::TInstallationLock lock;
    if (!lock.Held()) {
        tell(quenby::kAnotherInstallationText, quenby::kApplicationTitle);
        log->End(quenby::kExitAnotherRunning);
        quenby::EndCopy(*original, quenby::kExitAnotherRunning, false);
        return quenby::kExitAnotherRunning;
    }
    try {
        quenby::ui::TApplication application(instance);
        application.SetTitle(quenby::kUninstallTitle);
        quenby::TDdeClientConv::InitializeLibrary();
        std::unique_ptr<quenby::TRemovalSink> sink;
        if (options.Quiet)
            sink = std::make_unique<quenby::TQuietRemoval>(*log, !options.NoWindow);
        else
            sink = std::make_unique<quenby::TWindowedRemoval>(*log);
        code = quenby::RunUninstaller(options.Destination, *sink, original->Path, removeOriginal);
    } catch (const std::exception& error) {
        tell(quenby::ErrorBoxText(error), quenby::kUninstallTitle);
    }
    log->End(code);
    quenby::EndCopy(*original, code, removeOriginal);
    return code;
}

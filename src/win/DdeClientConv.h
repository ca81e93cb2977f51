// The DDE client conversation with Program Manager (service and topic "PROGMAN"), opened on demand.
#pragma once
#include <windows.h>
#include <ddeml.h>

#include <functional>
#include <memory>
#include <string>

namespace quenby {

class TDdeClientConv {
public:
    // The service, topic and the program started when no server answers; tests name others.
    explicit TDdeClientConv(std::string ddeService = "PROGMAN", std::string ddeTopic = "PROGMAN",
                            std::string serviceApplication = "PROGMAN");
    ~TDdeClientConv();
    TDdeClientConv(const TDdeClientConv&) = delete;
    TDdeClientConv& operator=(const TDdeClientConv&) = delete;

    // DdeInitializeA for the process; called once at start-up, before any conversation (Open makes
    // up for a missing call). Later calls do nothing. False when the library refused.
    static bool InitializeLibrary();

    // True when a new conversation was opened (starts the service application once when no server
    // answers, then waits up to 3 s for its server).
    bool Open();
    // True when the execute transaction was started; never waits for Program Manager. A macro longer
    // than the 260-character send buffer is refused, not cut.
    bool SendMacro(const std::string& macro);
    // Waits up to timeoutMs for Program Manager to carry the macro out; true when it did.
    bool ExecuteMacro(const std::string& macro, unsigned timeoutMs);
    void Close();
    bool IsOpen() const;

private:
    bool Execute(const std::string& macro, DWORD timeout);

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// While it lives, the library and every conversation belong to a thread of their own, which opens the library
// at once and serves the conversations' calls in turn, each caller waiting for its call. Opening the library
// makes the process's first window, which Wine takes a few hundred milliseconds over under emulation: this way
// it happens while an unattended run does its other work. Made before any conversation, ended after the last.
class TDdeLibraryThread {
public:
    TDdeLibraryThread();
    ~TDdeLibraryThread();
    TDdeLibraryThread(const TDdeLibraryThread&) = delete;
    TDdeLibraryThread& operator=(const TDdeLibraryThread&) = delete;
};

}  // namespace quenby

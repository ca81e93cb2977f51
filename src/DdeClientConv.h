// The DDE client conversation with Program Manager (service and topic "PROGMAN"), opened on demand.
#pragma once
#include <windows.h>
#include <ddeml.h>

#include <string>

namespace quenby {

class TDdeClientConv {
public:
    TDdeClientConv();
    ~TDdeClientConv();
    TDdeClientConv(const TDdeClientConv&) = delete;
    TDdeClientConv& operator=(const TDdeClientConv&) = delete;

    // DdeInitializeA for the process; called once at start-up, before any conversation.
    static void InitializeLibrary();

    // True when a new conversation was opened (starts PROGMAN once when no server answers).
    bool Open();
    // True when the execute transaction was started; never waits for Program Manager.
    bool SendMacro(const std::string& macro);
    void Close();
    bool IsOpen() const;

private:
    struct Impl;
    Impl* m_impl;
};

}  // namespace quenby

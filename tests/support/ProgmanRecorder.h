// A DDE server of the tests' own for service and topic "PROGMAN": it runs on a thread of its own with
// its own DDE instance and message loop and records the bytes of every execute transaction it gets.
#pragma once
#include <windows.h>
#include <ddeml.h>

#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace quenby::test {

// Waits until Wine's explorer serves "PROGMAN" (it starts with the first window of the session). A
// server registered after that answers first, so recorders are started only once this returned.
bool WaitForWineProgramManager(DWORD milliseconds);

class TProgmanRecorder {
public:
    struct TOptions {
        std::string Service = "PROGMAN";
        bool Refuse = false;          // answer each execute with "not processed"
        int VanishAfter = -1;         // after this many executes the server goes away as a closed program would
    };

    explicit TProgmanRecorder(TOptions options);
    TProgmanRecorder() : TProgmanRecorder(TOptions{}) {}
    ~TProgmanRecorder();
    TProgmanRecorder(const TProgmanRecorder&) = delete;
    TProgmanRecorder& operator=(const TProgmanRecorder&) = delete;

    bool Registered() const { return m_registered; }
    // The data of each execute, every byte including the terminating zero, in the order received.
    std::vector<std::string> Macros() const;
    int Connections() const;
    int Disconnections() const;
    // Processes the calling thread's messages until `count` executes arrived or the time is up.
    bool WaitForMacros(std::size_t count, DWORD milliseconds) const;
    // Processes the calling thread's messages for a while (lets late transactions arrive).
    static void Pump(DWORD milliseconds);

private:
    static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV conversation, HSZ topic, HSZ service,
                                      HDDEDATA data, ULONG_PTR, ULONG_PTR) noexcept;
    void Run();

    TOptions m_options;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_macros;
    int m_connections = 0;
    int m_disconnections = 0;
    bool m_registered = false;
    std::promise<void> m_ready;
    DWORD m_threadId = 0;
    DWORD m_instance = 0;
    std::thread m_thread;
};

}  // namespace quenby::test

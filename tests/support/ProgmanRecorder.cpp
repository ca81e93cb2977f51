#include "ProgmanRecorder.h"


#include "win/DdeClientConv.h"
#include "win/DdeHandles.h"

namespace quenby::test {

namespace {

TProgmanRecorder* g_recorder = nullptr;  // the DDE callback carries no context of its own
const UINT kVanishMessage = WM_APP + 1;

}  // namespace

TProgmanRecorder::TProgmanRecorder(TOptions options)
    : m_options(std::move(options)) {
    g_recorder = this;
    auto ready = m_ready.get_future();
    m_thread = std::thread([this] { Run(); });
    ready.wait();
}

TProgmanRecorder::~TProgmanRecorder() {
    while (m_threadId && !PostThreadMessageA(m_threadId, WM_QUIT, 0, 0)) Sleep(10);
    m_thread.join();
    g_recorder = nullptr;
}

void TProgmanRecorder::Run() {
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists before anyone posts
    std::optional<TDdeInstance> instance(std::in_place, Callback, APPCLASS_STANDARD);
    m_instance = instance->Id();
    std::optional<TDdeStringHandle> service(std::in_place, m_instance, m_options.Service);
    m_registered = m_instance && DdeNameService(m_instance, service->Get(), nullptr, DNS_REGISTER);
    m_threadId = GetCurrentThreadId();
    m_ready.set_value();
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == kVanishMessage) {
            // Wine cannot end a conversation from the server side; ending the instance takes its windows.
            service.reset();
            instance.reset();
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

HDDEDATA CALLBACK TProgmanRecorder::Callback(UINT type, UINT, HCONV, HSZ topic, HSZ, HDDEDATA data,
                                             ULONG_PTR, ULONG_PTR) noexcept {
    TProgmanRecorder* self = g_recorder;
    if (!self) return nullptr;
    try {
        switch (type) {
        case XTYP_CONNECT: {
            char name[64] = {};
            DdeQueryStringA(self->m_instance, topic, name, sizeof name, CP_WINANSI);
            return reinterpret_cast<HDDEDATA>(static_cast<INT_PTR>(lstrcmpiA(name, "PROGMAN") == 0));
        }
        case XTYP_CONNECT_CONFIRM: {
            std::lock_guard lock(self->m_mutex);
            ++self->m_connections;
            return nullptr;
        }
        case XTYP_DISCONNECT: {
            std::lock_guard lock(self->m_mutex);
            ++self->m_disconnections;
            return nullptr;
        }
        case XTYP_EXECUTE: {
            std::string bytes(DdeGetData(data, nullptr, 0, 0), '\0');
            DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), static_cast<DWORD>(bytes.size()), 0);
            int count;
            {
                std::lock_guard lock(self->m_mutex);
                self->m_macros.push_back(bytes);
                count = static_cast<int>(self->m_macros.size());
            }
            if (count == self->m_options.VanishAfter) PostThreadMessageA(GetCurrentThreadId(), kVanishMessage, 0, 0);
            return reinterpret_cast<HDDEDATA>(static_cast<INT_PTR>(self->m_options.Refuse ? DDE_FNOTPROCESSED : DDE_FACK));
        }
        default:
            return nullptr;
        }
    } catch (...) {
        return nullptr;
    }
}

bool WaitForWineProgramManager(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        TDdeClientConv probe("PROGMAN", "PROGMAN", "QUENBYNOPROGRAM");  // never starts anything
        if (probe.Open()) return true;
        if (GetTickCount() - start >= milliseconds) return false;
        TProgmanRecorder::Pump(200);
    }
}

std::vector<std::string> TProgmanRecorder::Macros() const {
    std::lock_guard lock(m_mutex);
    return m_macros;
}

int TProgmanRecorder::Connections() const {
    std::lock_guard lock(m_mutex);
    return m_connections;
}

int TProgmanRecorder::Disconnections() const {
    std::lock_guard lock(m_mutex);
    return m_disconnections;
}

void TProgmanRecorder::Pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    } while (GetTickCount() - start < milliseconds);
}

bool TProgmanRecorder::WaitForMacros(std::size_t count, DWORD milliseconds) const {
    const DWORD start = GetTickCount();
    while (Macros().size() < count) {
        if (GetTickCount() - start >= milliseconds) return false;
        Pump(20);
    }
    return true;
}

}  // namespace quenby::test

#include "win/DdeClientConv.h"

#include <exception>
#include <utility>

#include "base/ProgmanMacros.h"
#include "win/DdeHandles.h"
#include "win/Handles.h"

namespace quenby {

namespace {

constexpr int kServerStartTries = 30;  // 100 ms apart

// Completion and disconnect notices change nothing: the step never waits for Program Manager.
HDDEDATA CALLBACK IgnoreNotices(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) noexcept {
    return nullptr;
}

std::unique_ptr<TDdeInstance>& Library() {
    static std::unique_ptr<TDdeInstance> library;
    return library;
}

bool OpenLibrary() {
    auto& library = Library();
    if (!library) library = std::make_unique<TDdeInstance>(IgnoreNotices, 0);
    return library->Id() != 0;
}

// The thread the library belongs to, while a TDdeLibraryThread lives.
struct TLibraryThread {
    THandle Thread, WorkReady, WorkDone;
    DWORD Id = 0;
    const std::function<void()>* Work = nullptr;  // none: the thread ends
    std::exception_ptr Failure;
};
TLibraryThread* TheThread = nullptr;

DWORD WINAPI ServeCalls(void* parameter) {
    auto& thread = *static_cast<TLibraryThread*>(parameter);
    OpenLibrary();
    for (;;) {
        // Program Manager's answers come as messages to this thread's windows.
        const HANDLE ready = thread.WorkReady.Get();
        if (MsgWaitForMultipleObjects(1, &ready, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            continue;
        }
        if (!thread.Work) break;
        try {
            (*thread.Work)();
        } catch (...) {
            thread.Failure = std::current_exception();
        }
        SetEvent(thread.WorkDone.Get());
    }
    Library().reset();  // the instance is uninitialized by the thread that made it
    return 0;
}

// Runs the library call where the library belongs.
void OnLibraryThread(const std::function<void()>& work) {
    if (!TheThread || GetCurrentThreadId() == TheThread->Id) return work();
    TheThread->Work = &work;
    SetEvent(TheThread->WorkReady.Get());
    WaitForSingleObject(TheThread->WorkDone.Get(), INFINITE);
    if (TheThread->Failure) std::rethrow_exception(std::exchange(TheThread->Failure, nullptr));
}

template <typename TCall>
auto OnLibraryThread(TCall call) {
    decltype(call()) result{};
    OnLibraryThread(std::function<void()>([&] { result = call(); }));
    return result;
}

}  // namespace

TDdeLibraryThread::TDdeLibraryThread() {
    auto thread = std::make_unique<TLibraryThread>();
    thread->WorkReady = THandle(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    thread->WorkDone = THandle(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (TheThread || !thread->WorkReady || !thread->WorkDone) return;  // the calls stay on their callers' thread
    thread->Thread = THandle(CreateThread(nullptr, 0, ServeCalls, thread.get(), 0, &thread->Id));
    if (thread->Thread) TheThread = thread.release();
}

TDdeLibraryThread::~TDdeLibraryThread() {
    if (!TheThread) return;
    const std::unique_ptr<TLibraryThread> thread(std::exchange(TheThread, nullptr));
    thread->Work = nullptr;
    SetEvent(thread->WorkReady.Get());
    WaitForSingleObject(thread->Thread.Get(), INFINITE);
}

struct TDdeClientConv::Impl {
    std::string service, topic, application;
    TDdeStringHandle serviceHandle, topicHandle;
    TDdeConversation conversation;
    CONVINFO info{};
    UINT format = CF_TEXT;
};

TDdeClientConv::TDdeClientConv(std::string ddeService, std::string ddeTopic, std::string serviceApplication)
    : m_impl(std::make_unique<Impl>()) {
    m_impl->service = std::move(ddeService);
    m_impl->topic = std::move(ddeTopic);
    m_impl->application = std::move(serviceApplication);
}

TDdeClientConv::~TDdeClientConv() { Close(); }

bool TDdeClientConv::InitializeLibrary() { return OnLibraryThread(OpenLibrary); }

bool TDdeClientConv::IsOpen() const { return m_impl->conversation.Get() != nullptr; }

bool TDdeClientConv::Open() {
    return OnLibraryThread([&] {
        if (IsOpen() || !InitializeLibrary()) return false;
        const DWORD instance = Library()->Id();
        if (!m_impl->serviceHandle.Get()) m_impl->serviceHandle = TDdeStringHandle(instance, m_impl->service);
        if (!m_impl->topicHandle.Get()) m_impl->topicHandle = TDdeStringHandle(instance, m_impl->topic);

        auto connect = [&] {
            CONVCONTEXT context{};
            context.cb = sizeof context;
            context.iCodePage = CP_WINANSI;
            m_impl->conversation.Reset(
                DdeConnect(instance, m_impl->serviceHandle.Get(), m_impl->topicHandle.Get(), &context));
            if (!IsOpen()) return;
            m_impl->info = CONVINFO{};
            m_impl->info.cb = sizeof m_impl->info;
            DdeQueryConvInfo(m_impl->conversation.Get(), QID_SYNC, &m_impl->info);
        };
        connect();
        // Started once, then given a moment to come up: longer than the start itself on a busy machine.
        if (!IsOpen() && WinExec(m_impl->application.c_str(), SW_SHOWMINNOACTIVE) >= 32)
            for (int tries = 0; tries < kServerStartTries && (connect(), !IsOpen()); ++tries) Sleep(100);
        if (!IsOpen()) return false;
        m_impl->format = m_impl->info.wFmt ? m_impl->info.wFmt : CF_TEXT;
        return true;
    });
}

bool TDdeClientConv::SendMacro(const std::string& macro) {
    // Asynchronous: true means the transaction started, not that Program Manager carried it out.
    return Execute(macro, TIMEOUT_ASYNC);
}

bool TDdeClientConv::ExecuteMacro(const std::string& macro, unsigned timeoutMs) { return Execute(macro, timeoutMs); }

bool TDdeClientConv::Execute(const std::string& macro, DWORD timeout) {
    return OnLibraryThread([&] {
        if (!IsOpen() || !MacroFits(macro)) return false;
        std::string buffer = macro;  // the text and its terminating zero
        TDdeData data(DdeCreateDataHandle(Library()->Id(), reinterpret_cast<LPBYTE>(buffer.data()),
                                          static_cast<DWORD>(buffer.size() + 1), 0, nullptr, m_impl->format, 0));
        if (!data.Get()) return false;
        DWORD transaction = 0;
        if (!DdeClientTransaction(reinterpret_cast<LPBYTE>(data.Get()), 0xFFFFFFFF, m_impl->conversation.Get(), nullptr,
                                  0, XTYP_EXECUTE, timeout, &transaction))
            return false;
        data.Release();  // the library owns a handle it was given
        return true;
    });
}

void TDdeClientConv::Close() {
    OnLibraryThread(std::function<void()>([this] {
        m_impl->conversation.Reset();
        m_impl->serviceHandle.Reset();
        m_impl->topicHandle.Reset();
    }));
}

}  // namespace quenby

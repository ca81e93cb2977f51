// Owners of the DDE management library's instance, string, conversation and data handles.
#pragma once
#include <windows.h>
#include <ddeml.h>

#include <string>
#include <utility>

namespace quenby {

// A DdeInitializeA instance of the calling thread.
class TDdeInstance {
public:
    TDdeInstance() = default;
    TDdeInstance(PFNCALLBACK callback, DWORD flags) {
        if (DdeInitializeA(&m_id, callback, flags, 0) != DMLERR_NO_ERROR) m_id = 0;
    }
    ~TDdeInstance() {
        if (m_id) DdeUninitialize(m_id);
    }
    TDdeInstance(const TDdeInstance&) = delete;
    TDdeInstance& operator=(const TDdeInstance&) = delete;
    DWORD Id() const { return m_id; }

private:
    DWORD m_id = 0;
};

class TDdeStringHandle {
public:
    TDdeStringHandle() = default;
    TDdeStringHandle(DWORD instance, const std::string& text)
        : m_instance(instance), m_handle(DdeCreateStringHandleA(instance, text.c_str(), CP_WINANSI)) {}
    ~TDdeStringHandle() { Reset(); }
    TDdeStringHandle(TDdeStringHandle&& other) noexcept
        : m_instance(other.m_instance), m_handle(std::exchange(other.m_handle, nullptr)) {}
    TDdeStringHandle& operator=(TDdeStringHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            m_instance = other.m_instance;
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }
    TDdeStringHandle(const TDdeStringHandle&) = delete;
    TDdeStringHandle& operator=(const TDdeStringHandle&) = delete;

    HSZ Get() const { return m_handle; }
    void Reset() {
        if (m_handle) DdeFreeStringHandle(m_instance, std::exchange(m_handle, nullptr));
    }

private:
    DWORD m_instance = 0;
    HSZ m_handle = nullptr;
};

class TDdeConversation {
public:
    TDdeConversation() = default;
    ~TDdeConversation() { Reset(); }
    TDdeConversation(const TDdeConversation&) = delete;
    TDdeConversation& operator=(const TDdeConversation&) = delete;

    HCONV Get() const { return m_handle; }
    void Reset(HCONV handle = nullptr) {
        if (m_handle) DdeDisconnect(m_handle);
        m_handle = handle;
    }

private:
    HCONV m_handle = nullptr;
};

// A data handle until a DDE function takes it over (Release).
class TDdeData {
public:
    explicit TDdeData(HDDEDATA handle) : m_handle(handle) {}
    ~TDdeData() {
        if (m_handle) DdeFreeDataHandle(m_handle);
    }
    TDdeData(const TDdeData&) = delete;
    TDdeData& operator=(const TDdeData&) = delete;

    HDDEDATA Get() const { return m_handle; }
    HDDEDATA Release() { return std::exchange(m_handle, nullptr); }

private:
    HDDEDATA m_handle;
};

}  // namespace quenby

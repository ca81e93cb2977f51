#include "Driver.h"

#include <tlhelp32.h>

#include <algorithm>
#include <sstream>

namespace quenby::drive {

namespace {

constexpr DWORD kPollMs = 5;
// Painting follows once the queue is empty; this is ample for it under Wine.
constexpr DWORD kSettleMs = 300;

struct TEnumeration {
    std::vector<DWORD> processIds;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    auto* enumeration = reinterpret_cast<TEnumeration*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (std::ranges::count(enumeration->processIds, owner)) enumeration->windows.push_back(window);
    return TRUE;
}

std::string FileNameOf(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

std::string ImageNameOf(HANDLE process) {
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    return QueryFullProcessImageNameA(process, 0, path, &size) ? FileNameOf(std::string(path, size)) : std::string();
}

std::vector<HWND> TopWindows(const std::vector<DWORD>& processIds) {
    TEnumeration enumeration{processIds, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&enumeration));
    return enumeration.windows;
}

// The window manager's copy of the caption: never sends a message to the (possibly busy) program.
std::string Caption(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool Matches(HWND window, const TWindowQuery& query) {
    if (query.visible && !IsWindowVisible(window)) return false;
    if (!query.className.empty() && ClassName(window) != query.className) return false;
    return !query.caption || Caption(window) == *query.caption;
}

std::string Describe(const TWindowQuery& query) {
    std::string text = "window of class \"" + query.className + "\"";
    if (query.caption) text += " captioned \"" + *query.caption + "\"";
    return text;
}

struct TStaticSearch {
    std::string text;
    bool fromTextId = false;
};

BOOL CALLBACK CollectStatic(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<TStaticSearch*>(param);
    if (ClassName(child) != "Static" || search->fromTextId) return TRUE;
    std::string text = Caption(child);
    // Message boxes give their text control the ID 0xFFFF; the icon is a static without text.
    if (GetDlgCtrlID(child) == 0xFFFF) {
        search->text = text;
        search->fromTextId = true;
    } else if (text.size() > search->text.size()) {
        search->text = text;
    }
    return TRUE;
}

}  // namespace

TDriver::TDriver(const std::string& program, const std::string& currentDir, const std::string& arguments,
                 const std::source_location& where) {
    QueryPerformanceFrequency(&m_frequency);
    // The desktop made by this (64-bit) process: a 32-bit program under emulation cannot start it itself.
    GetDesktopWindow();
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    QueryPerformanceCounter(&m_start);
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, currentDir.c_str(),
                        &startup, &started))
        throw EDriveError(
            "cannot start " + program + " in " + currentDir + " (error " + std::to_string(GetLastError()) + ")", where);
    m_process = THandle(started.hProcess);
    m_thread = THandle(started.hThread);
    m_processId = started.dwProcessId;
    m_programName = FileNameOf(program);
    m_watcher = std::thread([this] { Watch(); });
}

std::vector<DWORD> TDriver::Family() const {
    std::lock_guard lock(m_familyMutex);
    // A fresh look every 100 ms is enough: a copy is started once, early.
    if (!m_family.empty() && NowMs() - m_familyAt < 100) return m_family;
    m_familyAt = NowMs();
    m_family = {m_processId};
    std::vector<PROCESSENTRY32> processes;
    const THandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && Process32First(snapshot.Get(), &entry); more;
         more = Process32Next(snapshot.Get(), &entry))
        processes.push_back(entry);
    for (std::size_t i = 0; i < m_family.size(); ++i)
        for (const PROCESSENTRY32& process : processes) {
            const DWORD id = process.th32ProcessID;
            if (process.th32ParentProcessID != m_family[i] || id == m_processId ||
                lstrcmpiA(process.szExeFile, m_programName.c_str()) != 0 || std::ranges::count(m_family, id))
                continue;
            if (!std::ranges::count(m_copies, id, &std::pair<DWORD, THandle>::first)) {
                // Opened, then checked: the copy may have ended since the snapshot and its number gone on.
                THandle copy(
                    OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
                if (!copy || lstrcmpiA(ImageNameOf(copy.Get()).c_str(), m_programName.c_str()) != 0) continue;
                m_copies.emplace_back(id, std::move(copy));
            }
            m_family.push_back(id);
        }
    return m_family;
}

std::vector<HANDLE> TDriver::Copies() const {
    Family();
    std::lock_guard lock(m_familyMutex);
    std::vector<HANDLE> copies;
    for (const auto& [id, copy] : m_copies) copies.push_back(copy.Get());
    return copies;  // valid while this driver lives: the handles are only closed by its destructor
}

TDriver::~TDriver() {
    m_stop = true;
    if (m_watcher.joinable()) m_watcher.join();
    // The copies it started first: they wait on it.
    for (HANDLE copy : Copies()) {
        TerminateProcess(copy, 1);
        WaitForSingleObject(copy, 10000);
    }
    if (Running()) {
        TerminateProcess(m_process.Get(), 1);
        WaitForSingleObject(m_process.Get(), 10000);
    }
}

long long TDriver::NowMs() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (now.QuadPart - m_start.QuadPart) * 1000 / m_frequency.QuadPart;
}

void TDriver::Watch() {
    // The program's windows may still be going away just after it ended: one pass more records that.
    while (!m_stop) {
        bool ended = !Running();
        Poll();
        if (ended) break;
        Sleep(kPollMs);
    }
}

void TDriver::Poll() const {
    std::lock_guard pass(m_pollMutex);
    long long begin = NowMs();
    std::vector<HWND> windows = TopWindows(Family());
    std::vector<std::pair<std::string, bool>> seen;
    for (HWND window : windows) seen.emplace_back(Caption(window), IsWindowVisible(window) != FALSE);
    long long end = NowMs();

    std::lock_guard lock(m_mutex);
    TMoment moment{m_lastPoll, end};
    for (std::size_t i = 0; i < windows.size(); ++i) {
        auto record = std::find_if(m_records.begin(), m_records.end(),
                                   [&](const TWindowRecord& r) { return r.window == windows[i] && !r.gone; });
        if (record == m_records.end()) {
            m_records.push_back({windows[i], ClassName(windows[i]), seen[i].first, moment, {}, {}});
            record = m_records.end() - 1;
        }
        record->caption = seen[i].first;
        if (seen[i].second && !record->shown) record->shown = moment;
    }
    for (TWindowRecord& record : m_records) {
        if (!record.gone && std::find(windows.begin(), windows.end(), record.window) == windows.end())
            record.gone = moment;
    }
    m_lastPoll = begin;
}

std::vector<TWindowRecord> TDriver::Timeline() const {
    std::lock_guard lock(m_mutex);
    return m_records;
}

std::optional<TWindowRecord> TDriver::FirstRecord(const std::string& className) const {
    std::lock_guard lock(m_mutex);
    for (const TWindowRecord& record : m_records)
        if (record.className == className) return record;
    return std::nullopt;
}

std::string TDriver::TimelineText() const {
    std::ostringstream text;
    for (const TWindowRecord& record : Timeline()) {
        text << record.className << " \"" << record.caption << "\": created " << record.created.after << ".."
             << record.created.by;
        if (record.shown) text << ", shown " << record.shown->after << ".." << record.shown->by;
        if (record.gone) text << ", gone " << record.gone->after << ".." << record.gone->by;
        text << " ms\n";
    }
    return text.str();
}

std::vector<HWND> TDriver::Windows(const TWindowQuery& query) const {
    std::vector<HWND> windows = TopWindows(Family());
    std::erase_if(windows, [&](HWND window) { return !Matches(window, query); });
    return windows;
}

HWND TDriver::WaitWindow(const TWindowQuery& query, DWORD timeoutMs, const std::source_location& where) const {
    HWND found = nullptr;
    bool waitingForBox = query.className == "#32770";
    WaitUntil(
        [&] {
            std::vector<HWND> windows = Windows(query);
            found = windows.empty() ? nullptr : windows.front();
            // A message box nobody waits for holds the program up: say so now rather than at the timeout.
            if (!found && !waitingForBox)
                for (const TMessageBox& box : MessageBoxes())
                    throw EDriveError("message box \"" + box.caption + "\": \"" + box.text + "\" while waiting for a " +
                                          Describe(query),
                                      where);
            return found != nullptr || !Running();
        },
        timeoutMs, Describe(query), where);
    if (!found) throw EDriveError("the program ended without showing a " + Describe(query), where);
    Poll();  // the timeline knows the window from now on
    return found;
}

void TDriver::WaitGone(HWND window, DWORD timeoutMs, const std::source_location& where) const {
    WaitUntil([&] { return !IsWindow(window); }, timeoutMs, "window " + ClassName(window) + " to go", where);
    Poll();
}

std::vector<TMessageBox> TDriver::MessageBoxes() const {
    std::vector<TMessageBox> boxes;
    for (HWND window : Windows({"#32770", std::nullopt, true})) {
        TStaticSearch search;
        EnumChildWindows(window, CollectStatic, reinterpret_cast<LPARAM>(&search));
        boxes.push_back({window, Caption(window), search.text});
    }
    return boxes;
}

TMessageBox TDriver::WaitMessageBox(DWORD timeoutMs, const std::source_location& where) const {
    HWND window = WaitWindow({"#32770", std::nullopt, true}, timeoutMs, where);
    for (const TMessageBox& box : MessageBoxes())
        if (box.window == window) return box;
    throw EDriveError("the message box went away while being read", where);
}

void TDriver::CloseMessageBox(const TMessageBox& box, int buttonId, const std::source_location& where) const {
    Press(Control(box.window, buttonId, where), where);
    WaitGone(box.window, 10000, where);
}

void TDriver::Settle(DWORD timeoutMs, const std::source_location& where) const {
    for (HWND window : Windows({}))
        if (!Responsive(window, timeoutMs) && IsWindow(window))
            throw EDriveError("the program does not answer within " + std::to_string(timeoutMs) + " ms", where);
    Sleep(kSettleMs);
}

bool TDriver::Running() const { return WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT; }

DWORD TDriver::WaitExit(DWORD timeoutMs, const std::source_location& where) const {
    const std::vector<HANDLE> copies = Copies();  // asked while the program runs: its copies' parent
    if (WaitForSingleObject(m_process.Get(), timeoutMs) != WAIT_OBJECT_0)
        throw EDriveError("the program still runs after " + std::to_string(timeoutMs) + " ms", where);
    // Its copies finish after it (Uninstall.exe's copy removes the original's file once it has ended).
    for (HANDLE copy : copies)
        if (WaitForSingleObject(copy, timeoutMs) != WAIT_OBJECT_0)
            throw EDriveError("a copy of the program still runs after " + std::to_string(timeoutMs) + " ms", where);
    Poll();
    DWORD code = 0;
    GetExitCodeProcess(m_process.Get(), &code);
    return code;
}

}  // namespace quenby::drive

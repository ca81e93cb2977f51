// The group step and the items' removal over DDE in-process against a server of the test's own that refuses
// every macro, with no server at all, and with Wine's. (Wine's server makes the sample's group in the road test.)
#include <windows.h>
#include <ddeml.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <atomic>
#include <fstream>
#include <future>
#include <optional>
#include <thread>

#include "Prefix.h"
#include "install/ProgramGroup.h"
#include "undo/ProgramItems.h"
#include "win/DdeClientConv.h"
#include "win/DdeHandles.h"
#include "win/ProgramsFolder.h"

namespace quenby {
namespace {

void Pump(DWORD milliseconds) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < milliseconds; Sleep(10)) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
}

// A "PROGMAN" server (or another service) on a thread of its own that counts the macros it gets and refuses each
// one. It answers before Wine's server once that one is up (the later registration wins).
class TRefusingProgman {
public:
    explicit TRefusingProgman(const char* name = "PROGMAN") {
        s_self = this;
        m_thread = std::thread([this, name] {
            MSG message;
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before the quit is posted
            TDdeInstance instance(Callback, APPCLASS_STANDARD);
            TDdeStringHandle service(instance.Id(), name);
            DdeNameService(instance.Id(), service.Get(), nullptr, DNS_REGISTER);
            m_threadId = GetCurrentThreadId();
            m_ready.set_value();
            while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
        });
        m_ready.get_future().wait();
    }
    ~TRefusingProgman() {
        PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
        m_thread.join();
        s_self = nullptr;
    }
    int Macros() const { return m_macros; }

private:
    static HDDEDATA CALLBACK Callback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
        if (type == XTYP_CONNECT) return reinterpret_cast<HDDEDATA>(TRUE);
        if (type != XTYP_EXECUTE) return nullptr;
        ++s_self->m_macros;
        return reinterpret_cast<HDDEDATA>(static_cast<INT_PTR>(DDE_FNOTPROCESSED));
    }
    static inline TRefusingProgman* s_self = nullptr;  // the DDE callback carries no context
    std::atomic<int> m_macros{0};
    std::promise<void> m_ready;
    DWORD m_threadId = 0;
    std::thread m_thread;
};

TInstructions Group(const std::string& name) {
    TInstructions instructions;
    instructions.Application = "Calc";
    instructions.ProgGroup = name;
    for (const char* key : {"a.exe", "b.exe"}) instructions.Items.Add(key), instructions.ItemsValues.Add(key);
    return instructions;
}

// Wine's explorer serves PROGMAN once the session's first window exists; a stand-in must come later.
void WaitForWinesServer() {
    ASSERT_TRUE(TDdeClientConv::InitializeLibrary());
    for (const DWORD start = GetTickCount(); !TDdeClientConv("PROGMAN", "PROGMAN", "QUENBYNOPROGRAM").Open(); Pump(200))
        ASSERT_LT(GetTickCount() - start, 30000u) << "no Program Manager server";
}

TEST(ProgramGroup, ARefusedMacroIsNotSentAgainAndWithoutAServerTheApplicationStartsOnce) {
    ASSERT_NO_FATAL_FAILURE(WaitForWinesServer());
    {
        // Sending does not wait for the answer, so a refusal is never seen: group, two items, uninstaller.
        TRefusingProgman server;
        TDdeClientConv conversation;
        CreateProgramGroup(conversation, Group("Refused"), "C:\\A", "C:\\windows");
        // The server takes executes in the order they were posted: once ours is answered, all came.
        conversation.ExecuteMacro("[Marker()]\r\n", 10000);
        EXPECT_EQ(server.Macros(), 5);
    }
    test::TScratchFolder scratch("quenby-no-server");
    TDdeClientConv conversation("QUENBYNOSERVER", "PROGMAN", "cmd.exe /c echo started>>" + scratch / "log.txt");
    const DWORD start = GetTickCount();
    CreateProgramGroup(conversation, Group("None"), "C:\\A", "C:\\windows");
    EXPECT_LT(GetTickCount() - start, 10000u);
    EXPECT_FALSE(conversation.IsOpen());
    test::WaitNoProcess("cmd.exe", 10000);
    EXPECT_EQ(test::ReadFile(scratch / "log.txt"), "started\r\n");
    // A server that its program brings up a moment after it was started (here once it has written) is waited for.
    std::optional<TRefusingProgman> late;
    std::thread starter([&] {
        for (const DWORD begin = GetTickCount(); !test::Exists(scratch / "late.txt") && GetTickCount() - begin < 5000;)
            Sleep(10);
        late.emplace("QUENBYLATE");
    });
    TDdeClientConv waited("QUENBYLATE", "PROGMAN", "cmd.exe /c echo up>" + scratch / "late.txt");
    EXPECT_TRUE(waited.Open());
    starter.join();
    waited.Close();
}

struct TLeft final : TUndoReport {
    void Step(const std::string&) override {}
    void Leave(const std::string& what, const std::string& why) override { Text += what + ": " + why + "\n"; }
    std::string Text;
};

// Groups the installation did not make lose only its items; where Program Manager refuses [ShowGroup] or
// cannot be reached, every group is left with the reason.
TEST(ProgramGroup, TheRemovalTakesOnlyTheItemsOfAGroupTheInstallationDidNotMake) {
    ASSERT_NO_FATAL_FAILURE(WaitForWinesServer());
    char programs[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs), S_OK);
    const std::string only = std::string(programs) + "\\Quenby Only",
                      shared = std::string(programs) + "\\Quenby Shared";
    const struct TGone {
        std::string a, b;
        ~TGone() { test::RemoveTree(a), test::RemoveTree(b); }
    } gone{only, shared};
    for (const std::string& link : {only + "\\a.lnk", shared + "\\a.lnk", shared + "\\mine.lnk"}) {
        CreateDirectoryA(link.substr(0, link.rfind('\\')).c_str(), nullptr);
        ASSERT_TRUE(std::ofstream(link) << "link") << link;
    }
    const std::vector<TGroupUndo> groups = {{"Quenby Only", false, {"a"}}, {"Quenby Shared", false, {"a"}}};
    TLeft refused, absent, removed;
    {
        TRefusingProgman server;
        RemoveProgramItems(groups, refused);
    }
    EXPECT_EQ(refused.Text,
              "Quenby Only: Program Manager did not answer\nQuenby Shared: Program Manager did not answer\n");
    // A DDE instance serves only the thread that made it: on another, no Program Manager answers, and the
    // removal starts Wine's old window, which serves none either.
    std::thread([&] { RemoveProgramItems({{"Quenby Only", true, {"a"}}}, absent); }).join();
    PostMessageA(FindWindowA("PMMain", nullptr), WM_CLOSE, 0, 0);
    test::WaitNoProcess("progman.exe", 10000);
    EXPECT_EQ(absent.Text, "Quenby Only: Program Manager did not answer\n");
    RemoveProgramItems(groups, removed);
    EXPECT_EQ(removed.Text, "");
    EXPECT_TRUE(test::IsFolder(only) && FolderEntries(only).empty());
    EXPECT_EQ(FolderEntries(shared), std::vector<std::string>{"mine.lnk"});
}

}  // namespace
}  // namespace quenby

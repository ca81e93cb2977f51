// Runs the real Setup.exe from a distribution folder and looks at it from outside: the splash, the
// backdrop and the wizard frame are found by class, their controls by the IDs of the form tables, and
// each is photographed (ImageMagick's import) into <build>/screenshots.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ScratchFolder.h"
#include "UiProbe.h"
#include "forms/MainDialogForm.h"
#include "forms/MainWindowForm.h"
#include "forms/WaitDialogForm.h"
#include "ui/Form.h"
#include "ui/Handles.h"

namespace quenby {
namespace {

using test::RectInParent;
using test::WindowText;
using ui::ControlId;

inline void CloseKernelHandle(HANDLE handle) { CloseHandle(handle); }
using THandle = ui::TOwned<HANDLE, CloseKernelHandle>;

std::string BuildDir() {
    const char* dir = std::getenv("QUENBY_BUILD_DIR");
    return dir ? dir : "";
}

// "/a/b" -> "Z:\a\b": Wine's drive Z: is the Unix root.
std::string WindowsPath(std::string unixPath) {
    for (char& c : unixPath)
        if (c == '/') c = '\\';
    std::string path = "Z:";
    path += unixPath;
    return path;
}

// A started program, killed if the test leaves it running.
struct TProcess {
    THandle Process, Thread;
    DWORD Id = 0;
    ~TProcess() {
        if (Process && WaitForSingleObject(Process.Get(), 0) == WAIT_TIMEOUT) TerminateProcess(Process.Get(), 1);
    }
};

bool Start(TProcess& started, const std::string& commandLine, const char* currentDir) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::string command = commandLine;
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, currentDir, &startup, &info))
        return false;
    started.Process.Reset(info.hProcess);
    started.Thread.Reset(info.hThread);
    started.Id = info.dwProcessId;
    return true;
}

// Wine does not wait for a Unix program's end, so the picture is awaited until its size settles.
void Screenshot(const std::string& name) {
    const std::string file = BuildDir() + "/screenshots/" + name + ".png";
    const std::string windowsFile = WindowsPath(file);
    DeleteFileA(windowsFile.c_str());
    TProcess import;
    ASSERT_TRUE(Start(import, "/usr/bin/import -window root " + file, nullptr)) << name;
    LONGLONG lastSize = -1;
    for (int tries = 0; tries < 200; ++tries) {
        Sleep(100);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExA(windowsFile.c_str(), GetFileExInfoStandard, &data)) continue;
        const LONGLONG size = (LONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
        if (size > 0 && size == lastSize) return;
        lastSize = size;
    }
    ADD_FAILURE() << "no screenshot " << file;
}

HWND BackdropControl(HWND backdrop, const char* name) {
    return GetDlgItem(backdrop, ControlId(forms::kMainWindowControls, name));
}

TEST(Screenshots, SplashThenBackdropThenWizardReadableFromOutside) {
    ASSERT_FALSE(BuildDir().empty());
    CreateDirectoryA(WindowsPath(BuildDir() + "/screenshots").c_str(), nullptr);
    test::TScratchFolder dist("quenby-screens");
    dist.Write("Quenby.ipi",
                   "[Settings]\r\nApplication=Atlas\r\nVersion=2.0\r\n"
                   "Copyright=Copyright (c) 1999 Atlas Software Ltd.\r\n"
                   "WebAddress=http://www.atlas.example/products\r\nEmailAddress=support@atlas.example\r\n");
    TProcess setup;
    const std::string program = WindowsPath(BuildDir() + "/Setup.exe");
    ASSERT_TRUE(Start(setup, program, dist.Path().c_str()));

    const HWND splash = test::WaitForWindow("TWaitDialog", setup.Id, 30000);
    ASSERT_NE(splash, nullptr);
    const DWORD splashSeen = GetTickCount();
    RECT client;
    GetClientRect(splash, &client);
    EXPECT_EQ(client.right, 438);
    EXPECT_EQ(client.bottom, 265);
    EXPECT_NE(GetDlgItem(splash, ControlId(forms::kWaitDialogControls, "Image")), nullptr);
    Sleep(300);
    Screenshot("splash");

    const HWND backdrop = test::WaitForWindow("TMainWindow", setup.Id, 10000);
    ASSERT_NE(backdrop, nullptr);
    const DWORD backdropSeen = GetTickCount();
    EXPECT_GE(backdropSeen - splashSeen, 2900u);
    EXPECT_EQ(WindowText(backdrop), "Atlas 2.0");
    EXPECT_EQ(WindowText(BackdropControl(backdrop, "ProductLabel")), "Atlas 2.0 Installation");
    EXPECT_EQ(WindowText(BackdropControl(backdrop, "EmailShadeLabel")), "support@atlas.example");
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const RECT web = RectInParent(BackdropControl(backdrop, "WebLabel"));
    const RECT webShade = RectInParent(BackdropControl(backdrop, "WebShadeLabel"));
    EXPECT_EQ(web.left, width - (web.right - web.left) - 20);
    EXPECT_EQ(webShade.left, web.left - 1);
    EXPECT_EQ(webShade.top, web.top + 2);
    Sleep(200);  // painted, and still before the timer opens the wizard
    Screenshot("backdrop");

    const HWND wizard = test::WaitForWindow("TMainDialog", setup.Id, 10000);
    ASSERT_NE(wizard, nullptr);
    const DWORD wizardAfter = GetTickCount() - backdropSeen;
    EXPECT_GE(wizardAfter, 700u);
    EXPECT_LE(wizardAfter, 2500u);
    EXPECT_EQ(WindowText(wizard), "Atlas 2.0 Installation");
    EXPECT_FALSE(IsWindowEnabled(backdrop));
    const HWND prev = GetDlgItem(wizard, ControlId(forms::kMainDialogControls, "PrevBut"));
    EXPECT_EQ(WindowText(prev), "&Previous");
    EXPECT_FALSE(IsWindowEnabled(prev));
    Sleep(300);
    Screenshot("wizard");

    // Cancel, then Next on the interruption page ends the program.
    PostMessageA(GetDlgItem(wizard, ControlId(forms::kMainDialogControls, "CancelBut")), BM_CLICK, 0, 0);
    PostMessageA(GetDlgItem(wizard, ControlId(forms::kMainDialogControls, "NextBut")), BM_CLICK, 0, 0);
    ASSERT_EQ(WaitForSingleObject(setup.Process.Get(), 10000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(setup.Process.Get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace quenby

// Drives Setup.exe from the command line, one step per argument, for scripts such as the demo:
//
//   quenby_drive run <distribution-folder> <screenshot-folder> [step ...]
//
// Folders may be given as Linux or Windows paths. The program is Setup.exe beside this tool unless the
// environment names another in QUENBY_SETUP (its command line in QUENBY_ARGS). It runs in Wine's virtual
// desktop of the X screen's size.
// Steps (a control is named as its form names it, or by its ID):
//   wait:<Class>[=<caption>]  wait for a top-level window of that class; later steps act on it
//   shot:<name>               let the program settle, then a screenshot <screenshot-folder>\<name>.png
//   snap:<name>               the same screenshot at once (while the program is blocked, e.g. the splash)
//   press:<Control>           press a button without waiting for its handler
//   click:<Control>           a mouse click at the control's centre
//   type:<Control>=<text>     replace an edit box's text by typing
//   keys:<xdotool words>      keyboard input to the focused window, e.g. keys:key alt+n
//   tree:<Control>=<path>     expand and select a folder of a tree view
//   text:<Control>            print the control's text
//   expect:<Control>=<text>   wait until the control shows exactly that text
//   has:<Control>=<text>      wait until the control's text holds that text (e.g. a notice's first line)
//   msgbox[:<button ID>]      wait for a message box, print it, press its button (default OK)
//   sleep:<ms>                wait
//   host:<shell command>      run a command of the Linux shell and wait for it (e.g. a disk change)
//   close:<caption>           wait for a window of any program with that caption on view and close it
//   exit[:0]                  wait for the program to end and print its exit code (:0 without a time
//                             limit, while a user clicks through)
//   timeline                  print when each window came and went
// Every step prints one line with the milliseconds since the start. The tool ends with 0 when every
// step succeeded, 1 at the first failing step (the reason on stderr), 2 on a wrong command line.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <utility>

#include "Driver.h"
#include "FormNames.h"

using namespace quenby::drive;

namespace {

constexpr DWORD kStepTimeoutMs = 120000;

std::string AnyPath(const std::string& path) { return !path.empty() && path[0] == '/' ? WindowsPath(path) : path; }

std::string Beside(const std::string& file) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string folder = self;
    return folder.substr(0, folder.find_last_of('\\') + 1) + file;
}

std::string Quoted(const std::string& text) {
    std::string quoted(1, '"');
    quoted.append(text).push_back('"');
    return quoted;
}

// The X screen as the Wine runner sets it up (QUENBY_SCREEN, "1024x768x24" by default).
std::pair<int, int> ScreenSize() {
    const char* screen = std::getenv("QUENBY_SCREEN");
    int width = 1024, height = 768;
    if (screen && std::sscanf(screen, "%dx%d", &width, &height) != 2) width = 1024, height = 768;
    return {width, height};
}

class TScript {
public:
    TScript(const std::string& distribution, const std::string& shots) : m_shots(shots) {
        UseVirtualDesktop(ScreenSize().first, ScreenSize().second);
        const char* program = std::getenv("QUENBY_SETUP");
        const char* arguments = std::getenv("QUENBY_ARGS");
        m_driver = std::make_unique<TDriver>(program && *program ? AnyPath(program) : Beside("Setup.exe"), distribution,
                                             arguments ? arguments : "");
    }

    void Run(const std::string& step) {
        std::size_t colon = step.find(':');
        std::string verb = step.substr(0, colon);
        std::string rest = colon == std::string::npos ? "" : step.substr(colon + 1);
        std::size_t equals = rest.find('=');
        std::string name = rest.substr(0, equals);
        std::string value = equals == std::string::npos ? "" : rest.substr(equals + 1);
        std::string report;

        if (verb == "wait") {
            TWindowQuery query(name);
            if (equals != std::string::npos) query.caption = value;
            m_window = m_driver->WaitWindow(query, kStepTimeoutMs);
            report = Quoted(Text(m_window));
        } else if (verb == "shot") {
            m_driver->Settle(kStepTimeoutMs);
            report = Screenshot(m_shots, name + ".png");
        } else if (verb == "snap") {
            report = Screenshot(m_shots, name + ".png");
        } else if (verb == "host") {
            if (int status = RunHost(rest, kStepTimeoutMs))
                throw std::runtime_error("exit status " + std::to_string(status));
        } else if (verb == "close") {
            CloseWindowOfAnyProgram(rest);
        } else if (verb == "press") {
            Press(Find(name));
        } else if (verb == "click") {
            Click(Find(name));
        } else if (verb == "keys") {
            Keys(rest);
        } else if (verb == "type") {
            Type(Find(name), value);
        } else if (verb == "tree") {
            TRemoteTree(Find(name), Find("EditPath")).SelectPath(value);
        } else if (verb == "text") {
            report = Quoted(Text(Find(name)));
        } else if (verb == "expect") {
            WaitText(Find(name), value, kStepTimeoutMs);
        } else if (verb == "has") {
            const HWND control = Find(name);
            WaitUntil([&] { return Text(control).find(value) != std::string::npos; }, kStepTimeoutMs,
                      name + " holding " + Quoted(value));
        } else if (verb == "msgbox") {
            TMessageBox box = m_driver->WaitMessageBox(kStepTimeoutMs);
            report = Quoted(box.caption) + ": " + Quoted(box.text);
            m_driver->CloseMessageBox(box, name.empty() ? IDOK : std::atoi(name.c_str()));
        } else if (verb == "sleep") {
            Sleep(static_cast<DWORD>(std::atoi(name.c_str())));
        } else if (verb == "exit") {
            report = "exit code " + std::to_string(m_driver->WaitExit(rest == "0" ? INFINITE : kStepTimeoutMs));
        } else if (verb == "timeline") {
            report = std::string(1, '\n').append(m_driver->TimelineText());
        } else {
            throw std::runtime_error("unknown step " + step);
        }
        std::printf("[%7lld ms] %s %s\n", m_driver->NowMs(), step.c_str(), report.c_str());
        std::fflush(stdout);
    }

private:
    // Windows that the program makes other programs open, such as Program Manager's folder window.
    static void CloseWindowOfAnyProgram(const std::string& caption) {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                found = FindWindowA(nullptr, caption.c_str());
                return found && IsWindowVisible(found);
            },
            kStepTimeoutMs, "a window " + Quoted(caption));
        PostMessageA(found, WM_CLOSE, 0, 0);
        WaitUntil([&] { return !IsWindow(found) || !IsWindowVisible(found); }, kStepTimeoutMs, "it closed");
    }

    HWND Find(const std::string& name) const {
        if (!m_window) throw std::runtime_error("no window yet: begin with a wait step");
        int id = ControlIdByName(ClassName(m_window), name);
        if (id < 0) throw std::runtime_error("no control named " + name + " in " + ClassName(m_window));
        return Control(m_window, id);
    }

    std::string m_shots;
    std::unique_ptr<TDriver> m_driver;
    HWND m_window = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || std::string(argv[1]) != "run") {
        std::fprintf(stderr, "usage: quenby_drive run <distribution-folder> <screenshot-folder> [step ...]\n");
        return 2;
    }
    try {
        TScript script(AnyPath(argv[2]), AnyPath(argv[3]));
        for (int i = 4; i < argc; ++i) script.Run(argv[i]);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quenby_drive: %s\n", error.what());
        return 1;
    }
}

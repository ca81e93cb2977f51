// What end-to-end tests share: where the programs and the screenshot folders are, and starting a
// program under the driver. (Distribution folders: TScratchFolder; the build folder: ConsoleRun.h.)
#pragma once
#include <memory>
#include <string>

#include "Driver.h"

namespace quenby::test {

std::string SetupExe();                          // the Setup.exe under test, of SetupBuildDir()
// The registry view Setup.exe writes HKLM\SOFTWARE into: a 32-bit program's lands under WOW6432Node.
REGSAM SetupView();
std::string ToolExe(const std::string& name);    // a program of tools/, by its name without ".exe"
// Starts a program with `folder` as its current directory, inside Wine's virtual desktop of the
// screen's size (Wine then draws frames and captions; see UseVirtualDesktop).
std::unique_ptr<drive::TDriver> Start(const std::string& program, const std::string& folder);
// <SetupBuildDir()>/screenshots/<Suite.Test>/ of the running test, created: apart for the i686 runs.
std::string ScreenshotFolder();
// A screenshot of the whole screen into that folder as <name>.png; returns its path.
std::string Shot(const std::string& name);

}  // namespace quenby::test

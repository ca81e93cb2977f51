// What end-to-end tests share: where the programs and the screenshot folders are, and distribution
// folders made fresh for one test inside the Wine prefix.
#pragma once
#include <memory>
#include <string>

#include "Driver.h"

namespace quenby::test {

std::string BuildDir();                          // $QUENBY_BUILD_DIR as a Windows path
std::string SetupExe();                          // the Setup.exe under test
std::string ToolExe(const std::string& name);    // a program of tools/, by its name without ".exe"
// Starts a program with `folder` as its current directory, inside Wine's virtual desktop of the
// screen's size (Wine then draws frames and captions; see UseVirtualDesktop).
std::unique_ptr<drive::TDriver> Start(const std::string& program, const std::string& folder);
// $QUENBY_BUILD_DIR/screenshots/<Suite.Test>/ of the running test, created.
std::string ScreenshotFolder();
// A screenshot of the whole screen into that folder as <name>.png; returns its path.
std::string Shot(const std::string& name);

// An empty folder in the prefix's temporary folder, removed with everything in it at the end.
class TDistribution {
public:
    explicit TDistribution(const std::string& name);
    TDistribution(const TDistribution&) = delete;
    TDistribution& operator=(const TDistribution&) = delete;
    ~TDistribution();

    const std::string& Folder() const { return m_folder; }  // no trailing backslash
    // Writes a file (sub-folders made as needed) with exactly these bytes.
    void Write(const std::string& relativePath, const std::string& contents) const;
    void WriteInstructions(const std::string& contents) const { Write("Quenby.ipi", contents); }

private:
    std::string m_folder;
};

}  // namespace quenby::test

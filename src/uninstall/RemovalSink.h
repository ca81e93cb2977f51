// What a removal tells whoever presents it, and what it asks: the one place where quietness is decided. The
// windowed sink shows the progress window and the boxes; the quiet one answers each question with its default
// (remove the product, keep a shared file) and shows nothing but, under /SILENT, the progress window. Both
// write every event to the /LOG file.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "win/LogFile.h"

namespace quenby {

namespace ui {
class TProgressWindow;
}  // namespace ui

class TRemovalSink {
public:
    virtual ~TRemovalSink() = default;
    // Nothing is removed: why (an "Error" box's text, captioned `caption`).
    virtual void Refused(const std::string& text, const char* caption) = 0;
    // Whether the removal of the product so named goes ahead.
    virtual bool Confirmed(const std::string& displayName) = 0;
    // The removal began: its window, if any, shows the product.
    virtual void Started(const std::string& displayName) = 0;
    // Each thing the removal comes to, and how far it is (0 to 100).
    virtual void Step(const std::string& item, int percent) = 0;
    // Something left, with why ("what: why").
    virtual void Left(const std::string& line) = 0;
    // Whether a shared file no product counts on any more goes.
    virtual bool SharedFileGoes(const std::string& path) = 0;
    // The closing text: removed, with what was left.
    virtual void Finished(const std::string& text) = 0;
};

// What both sinks share: every event in the log, and the progress window when there is one.
class TLoggedRemoval : public TRemovalSink {
public:
    ~TLoggedRemoval() override;
    void Started(const std::string& displayName) override;
    void Step(const std::string& item, int percent) override;
    void Left(const std::string& line) override;
    void Finished(const std::string& text) override;

protected:
    TLoggedRemoval(TLogFile& log, bool window);
    HWND FormHandle() const;

    TLogFile& m_log;

private:
    bool m_window;
    std::unique_ptr<ui::TProgressWindow> m_form;
};

class TWindowedRemoval final : public TLoggedRemoval {
public:
    explicit TWindowedRemoval(TLogFile& log) : TLoggedRemoval(log, true) {}
    void Refused(const std::string& text, const char* caption) override;
    bool Confirmed(const std::string& displayName) override;
    bool SharedFileGoes(const std::string& path) override;
    void Finished(const std::string& text) override;
};

class TQuietRemoval final : public TLoggedRemoval {
public:
    // `window`: /SILENT's progress window; none under /VERYSILENT.
    TQuietRemoval(TLogFile& log, bool window) : TLoggedRemoval(log, window) {}
    void Refused(const std::string& text, const char*) override { m_log.Line(text); }
    bool Confirmed(const std::string&) override { return true; }
    // The question's default: a file others may still need stays.
    bool SharedFileGoes(const std::string&) override { return false; }
};

}  // namespace quenby

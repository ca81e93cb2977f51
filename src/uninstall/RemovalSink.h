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

class TUninstallForm;

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

class TWindowedRemoval final : public TRemovalSink {
public:
    explicit TWindowedRemoval(TLogFile& log);
    ~TWindowedRemoval() override;
    void Refused(const std::string& text, const char* caption) override;
    bool Confirmed(const std::string& displayName) override;
    void Started(const std::string& displayName) override;
    void Step(const std::string& item, int percent) override;
    void Left(const std::string& line) override;
    bool SharedFileGoes(const std::string& path) override;
    void Finished(const std::string& text) override;

private:
    TLogFile& m_log;
    std::unique_ptr<TUninstallForm> m_form;
};

class TQuietRemoval final : public TRemovalSink {
public:
    // `window`: /SILENT's progress window; none under /VERYSILENT.
    TQuietRemoval(TLogFile& log, bool window);
    ~TQuietRemoval() override;
    void Refused(const std::string& text, const char*) override { m_log.Line(text); }
    bool Confirmed(const std::string&) override { return true; }
    void Started(const std::string& displayName) override;
    void Step(const std::string& item, int percent) override;
    void Left(const std::string& line) override;
    bool SharedFileGoes(const std::string& path) override;
    void Finished(const std::string& text) override;

private:
    TLogFile& m_log;
    bool m_window;
    std::unique_ptr<TUninstallForm> m_form;
};

}  // namespace quenby

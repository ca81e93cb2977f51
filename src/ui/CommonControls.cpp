#include "ui/CommonControls.h"

#include "base/Errors.h"
#include "base/Texts.h"
#include "win/Handles.h"

namespace quenby::ui {

namespace {

// Loaded once, freed when the process ends.
class TCommonControlsLibrary {
public:
    TCommonControlsLibrary() : m_module(LoadLibraryA("comctl32.dll")) {
        if (!m_module) return;
        m_init = m_module.Procedure<decltype(m_init)>("InitCommonControlsEx");
    }
    TCommonControlsLibrary(const TCommonControlsLibrary&) = delete;
    TCommonControlsLibrary& operator=(const TCommonControlsLibrary&) = delete;

    static TCommonControlsLibrary& Instance() {
        static TCommonControlsLibrary library;
        return library;
    }

    void Init(DWORD classes) {
        if (!m_init) throw Exception(kNoCommonControls);
        INITCOMMONCONTROLSEX controls{sizeof(controls), classes};
        m_init(&controls);
    }

private:
    TModule m_module;
    decltype(&InitCommonControlsEx) m_init = nullptr;
};

}  // namespace

void InitCommonControls(DWORD classes) { TCommonControlsLibrary::Instance().Init(classes); }

}  // namespace quenby::ui

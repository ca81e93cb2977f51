#include "FormNames.h"

#include <cctype>
#include <cstdlib>
#include <span>
#include <string_view>

#if __has_include("forms/MainDialogForm.h")
#include "forms/MainDialogForm.h"
#include "forms/MainWindowForm.h"
#include "forms/WaitDialogForm.h"
#define QUENBY_HAVE_FORMS 1
#endif

namespace quenby::drive {

#ifdef QUENBY_HAVE_FORMS
namespace {

struct TFormTable {
    const char* windowClass;
    std::span<const ui::TControlDecl> controls;
};

constexpr TFormTable kForms[] = {
    {"TMainDialog", forms::kMainDialogControls},
    {"TMainWindow", forms::kMainWindowControls},
    {"TWaitDialog", forms::kWaitDialogControls},
};

}  // namespace
#endif

int ControlIdByName(const std::string& windowClass, const std::string& name) {
    if (!name.empty() && std::isdigit(static_cast<unsigned char>(name[0]))) return std::atoi(name.c_str());
#ifdef QUENBY_HAVE_FORMS
    for (const TFormTable& form : kForms) {
        if (windowClass != form.windowClass) continue;
        for (std::size_t i = 0; i < form.controls.size(); ++i)
            if (name == form.controls[i].Name) return ui::ControlIdAt(i);
    }
#else
    (void)windowClass;
#endif
    return -1;
}

}  // namespace quenby::drive

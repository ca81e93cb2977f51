#include "FormNames.h"

#include <cctype>
#include <cstdlib>
#include <span>

#include "wizard/forms/MainDialogForm.h"
#include "wizard/forms/MainWindowForm.h"
#include "wizard/forms/WaitDialogForm.h"

namespace quenby::drive {

namespace {

struct TFormTable {
    const char* windowClass;
    std::span<const ui::TControlDecl> controls;
};

constexpr TFormTable kForms[] = {
    {forms::kMainDialogForm.ClassName, forms::kMainDialogControls},
    {forms::kMainWindowForm.ClassName, forms::kMainWindowControls},
    {forms::kWaitDialogForm.ClassName, forms::kWaitDialogControls},
};

}  // namespace

int ControlIdByName(const std::string& windowClass, const std::string& name) {
    if (!name.empty() && std::isdigit(static_cast<unsigned char>(name[0]))) return std::atoi(name.c_str());
    for (const TFormTable& form : kForms) {
        if (windowClass != form.windowClass) continue;
        for (std::size_t i = 0; i < form.controls.size(); ++i)
            if (name == form.controls[i].Name) return ui::ControlIdAt(i);
    }
    return -1;
}

}  // namespace quenby::drive

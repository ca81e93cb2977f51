// The small window that shows the removal going on: the thing being removed and a progress bar.
#pragma once
#include <string>

#include "ui/Form.h"

namespace quenby::ui::forms {

inline constexpr TFormDecl kUninstallForm{
    .ClassName = "TUninstallForm",
    .Caption = "Uninstall",
    .Style = FormStyle::Dialog,
    .ClientWidth = 360,
    .ClientHeight = 76,
    .Font = {"MS Sans Serif", 11},
    .Centred = true,
    .Visible = true,
};

// clang-format off: one control a line, as the form reads
inline constexpr TControlDecl kUninstallControls[] = {
    {.Name = "ItemLabel", .Kind = Kind::Label, .Bounds = {12, 12, 336, 16}},
    {.Name = "ProgressBar", .Kind = Kind::ProgressBar, .Bounds = {12, 40, 336, 20}},
};
// clang-format on
static_assert(IsValidFormTable(kUninstallControls));

}  // namespace quenby::ui::forms

namespace quenby {

namespace forms = ui::forms;

class TUninstallForm final : public ui::TFormOf<forms::kUninstallControls> {
public:
    explicit TUninstallForm(const std::string& displayName);
    ~TUninstallForm() override;

    // Shows what is being removed and how far the run is (0 to 100), painted at once.
    void ShowStep(const std::string& item, int percent);
};

}  // namespace quenby

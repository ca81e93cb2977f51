// The splash window: the splash artwork in a raised frame on black, on top of everything.
#pragma once
#include "ui/FormDecl.h"
#include "wizard/forms/Resources.h"

// Inside the framework's namespace, so that the tables name its kinds and colours plainly.
namespace quenby::ui::forms {

inline constexpr TFormDecl kWaitDialogForm{
    .ClassName = "TWaitDialog",
    .Caption = "WaitDialog",
    .Style = FormStyle::Borderless,
    .ClientWidth = 438,
    .ClientHeight = 265,
    .Colour = kBlack,
    .Font = {"MS Sans Serif", 11},
    .TopMost = true,
    .Centred = true,
    .Visible = true,
    .Icon = kProgramIcon,
};

// clang-format off: one control a line, as the form reads
inline constexpr TControlDecl kWaitDialogControls[] = {
    {.Name = "Image",
     .Kind = Kind::Picture,
     .Bounds = {3, 3, 432, 259},
     .Options = kAutoSize,
     .Resource = kSplashBitmap},
    {.Name = "Bevel", .Kind = Kind::Bevel, .Bounds = {0, 0, 438, 265}, .Options = kFillParent},
};
// clang-format on
static_assert(IsValidFormTable(kWaitDialogControls));

}  // namespace quenby::ui::forms

namespace quenby {
namespace forms = ui::forms;
}  // namespace quenby

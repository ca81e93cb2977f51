// The backdrop: stretched background artwork, the product, publisher, web and e-mail lines in white
// over navy shades two pixels lower, a raised frame, and the one-shot start timer.
#pragma once
#include "ui/FormDecl.h"
#include "wizard/forms/Resources.h"

// Inside the framework's namespace, so that the tables name its kinds and colours plainly.
namespace quenby::ui::forms {

inline constexpr TFontDecl kProductFont{"Arial", 32, true, true};
inline constexpr TFontDecl kPublisherFont{"Arial", 21, true, true};
inline constexpr TFontDecl kAddressFont{"Arial", 16, true, true};
inline constexpr unsigned kShadedLabel = kAutoSize | kTransparent;

inline constexpr char kDefaultProduct[] = "Quenby Rel. 3.2";
inline constexpr char kDefaultPublisher[] = "Published by Norvale";
inline constexpr char kDefaultWeb[] = "www.norvale.example";
inline constexpr char kDefaultEmail[] = "quenby@norvale.example";

inline constexpr TFormDecl kMainWindowForm{
    .ClassName = "TMainWindow",
    .Caption = "MainWindow",
    .Style = FormStyle::Borderless,
    .ClientWidth = 632,
    .ClientHeight = 453,
    .Colour = kSilver,
    .Font = {"MS Sans Serif", 11, true},
    .Maximised = true,
    .Visible = true,
    .Icon = kProgramIcon,
};

// In painting order: each row is painted over the rows before it.
// clang-format off: one control a line, as the form reads
inline constexpr TControlDecl kMainWindowControls[] = {
    {.Name = "Image",
     .Kind = Kind::Picture,
     .Bounds = {0, 0, 91, 139},
     .Options = kStretch | kFillParent,
     .Resource = kBackdropBitmap},
    {.Name = "ProductShadeLabel",
     .Kind = Kind::Label,
     .Bounds = {20, 20},
     .Caption = kDefaultProduct,
     .Font = kProductFont,
     .TextColour = kNavy,
     .Options = kShadedLabel},
    {.Name = "ByShadeLabel",
     .Kind = Kind::Label,
     .Bounds = {20, 58},
     .Caption = kDefaultPublisher,
     .Font = kPublisherFont,
     .TextColour = kNavy,
     .Options = kShadedLabel},
    {.Name = "ByLabel",
     .Kind = Kind::Label,
     .Bounds = {20, 56},
     .Caption = kDefaultPublisher,
     .Font = kPublisherFont,
     .TextColour = kWhite,
     .Options = kShadedLabel},
    {.Name = "ProductLabel",
     .Kind = Kind::Label,
     .Bounds = {20, 18},
     .Caption = kDefaultProduct,
     .Font = kProductFont,
     .TextColour = kWhite,
     .Options = kShadedLabel},
    {.Name = "WebShadeLabel",
     .Kind = Kind::Label,
     .Bounds = {412, 32},
     .Caption = kDefaultWeb,
     .Font = kAddressFont,
     .TextColour = kNavy,
     .Options = kShadedLabel},
    {.Name = "WebLabel",
     .Kind = Kind::Label,
     .Bounds = {410, 30},
     .Caption = kDefaultWeb,
     .Font = kAddressFont,
     .TextColour = kWhite,
     .Options = kShadedLabel},
    {.Name = "EmailShadeLabel",
     .Kind = Kind::Label,
     .Bounds = {450, 56},
     .Caption = kDefaultEmail,
     .Font = kAddressFont,
     .TextColour = kNavy,
     .Options = kShadedLabel},
    {.Name = "EmailLabel",
     .Kind = Kind::Label,
     .Bounds = {448, 54},
     .Caption = kDefaultEmail,
     .Font = kAddressFont,
     .TextColour = kWhite,
     .Options = kShadedLabel},
    {.Name = "Bevel1", .Kind = Kind::Bevel, .Bounds = {0, 0, 632, 453}, .Options = kFillParent},
    {.Name = "Timer", .Kind = Kind::Timer, .Interval = 1000},
};
// clang-format on
static_assert(IsValidFormTable(kMainWindowControls));

}  // namespace quenby::ui::forms

namespace quenby {
namespace forms = ui::forms;
}  // namespace quenby

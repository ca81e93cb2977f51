// The wizard dialog: the frame (setup icon, instruction text between two rules, three flat buttons)
// and, between the rules, the four pages' panels of one size and place, one on view at a time.
#pragma once
#include "ui/FormDecl.h"
#include "wizard/forms/Resources.h"

// Inside the framework's namespace, so that the tables name its kinds and colours plainly.
namespace quenby::ui::forms {

inline constexpr TFormDecl kMainDialogForm{
    .ClassName = "TMainDialog",
    .Caption = "MainDialog",
    .Style = FormStyle::Dialog,
    .ClientWidth = 432,
    .ClientHeight = 347,
    .Colour = kButtonFace,
    .Font = {"MS Sans Serif", 11},
    .FontColour = kBlack,
    .Centred = true,
    .Icon = kSetupIcon,
};

// Every page's panel lies here.
inline constexpr TBounds kPagePlace{78, 80, 333, 200};

// clang-format off: one control a line, as the form reads
inline constexpr TControlDecl kMainDialogControls[] = {
    {.Name = "SetupIco",
     .Kind = Kind::Picture,
     .Bounds = {20, 10, 32, 32},
     .Options = kIcon | kAutoSize,
     .Resource = kSetupIcon},
    {.Name = "InfoLabel", .Kind = Kind::Label, .Bounds = {80, 28, 330, 31}, .Options = kWordWrap},
    {.Name = "Bevel2", .Kind = Kind::Bevel, .Bounds = {78, 69, 333, 8}, .Options = kTopLine},
    {.Name = "Bevel1", .Kind = Kind::Bevel, .Bounds = {78, 283, 333, 8}, .Options = kTopLine},
    {.Name = "PrevBut", .Kind = Kind::Button, .Bounds = {80, 306, 100, 25}, .Caption = "&Previous", .Enabled = false},
    {.Name = "NextBut", .Kind = Kind::Button, .Bounds = {196, 306, 100, 25}, .Caption = "&Next"},
    {.Name = "CancelBut", .Kind = Kind::Button, .Bounds = {309, 306, 100, 25}, .Caption = "&Cancel"},

    // Notice panel.
    {.Name = "Panel1", .Kind = Kind::Panel, .Bounds = kPagePlace},
    {.Name = "InfoMemo",
     .Kind = Kind::Memo,
     .Parent = "Panel1",
     .Bounds = {0, 0, 330, 195},
     .TextColour = kBlack,
     .BackColour = kSilver,
     .Options = kArrowCursor},

    // User-information panel.
    {.Name = "Panel2", .Kind = Kind::Panel, .Bounds = kPagePlace, .Visible = false},
    {.Name = "LabelName",
     .Kind = Kind::Label,
     .Parent = "Panel2",
     .Bounds = {2, 32},
     .Caption = "Name:",
     .Options = kAutoSize},
    {.Name = "EditName", .Kind = Kind::Edit, .Parent = "Panel2", .Bounds = {94, 30, 200, 21}},
    {.Name = "LabelOrganisation",
     .Kind = Kind::Label,
     .Parent = "Panel2",
     .Bounds = {2, 66},
     .Caption = "Organization:",
     .Options = kAutoSize},
    {.Name = "EditOrg", .Kind = Kind::Edit, .Parent = "Panel2", .Bounds = {94, 64, 200, 21}},

    // Destination panel; the directory tree is created into its host by the dialog.
    {.Name = "Panel4", .Kind = Kind::Panel, .Bounds = kPagePlace, .Visible = false},
    {.Name = "LabelDir",
     .Kind = Kind::Label,
     .Parent = "Panel4",
     .Bounds = {8, 6},
     .Caption = "Dir:",
     .Options = kAutoSize},
    {.Name = "DirTree", .Kind = Kind::Host, .Parent = "Panel4", .Bounds = {42, 2, 292, 173}},
    {.Name = "LabelPath",
     .Kind = Kind::Label,
     .Parent = "Panel4",
     .Bounds = {8, 182},
     .Caption = "Path:",
     .Options = kAutoSize},
    {.Name = "EditPath", .Kind = Kind::Edit, .Parent = "Panel4", .Bounds = {43, 176, 291, 21}},

    // Progress panel, filled by the copy step. The disk prompt needs more than one line.
    {.Name = "Panel5", .Kind = Kind::Panel, .Bounds = kPagePlace, .Visible = false},
    {.Name = "FromLabel",
     .Kind = Kind::Label,
     .Parent = "Panel5",
     .Bounds = {2, 20},
     .Caption = "from:",
     .Options = kAutoSize},
    {.Name = "SourceLabel",
     .Kind = Kind::Label,
     .Parent = "Panel5",
     .Bounds = {37, 20, 292, 13},
     .BackColour = kButtonFace},
    {.Name = "ToLabel",
     .Kind = Kind::Label,
     .Parent = "Panel5",
     .Bounds = {14, 44},
     .Caption = "to:",
     .Options = kAutoSize},
    {.Name = "DestinationLabel",
     .Kind = Kind::Label,
     .Parent = "Panel5",
     .Bounds = {37, 44, 292, 13},
     .BackColour = kButtonFace},
    {.Name = "ProgressBar", .Kind = Kind::ProgressBar, .Parent = "Panel5", .Bounds = {2, 100, 329, 22}},
    {.Name = "ProgressLabel",
     .Kind = Kind::Label,
     .Parent = "Panel5",
     .Bounds = {2, 140, 327, 53},
     .Font = {"MS Sans Serif", 11},
     .TextColour = kBlack,
     .Options = kWordWrap},
};
// clang-format on
static_assert(IsValidFormTable(kMainDialogControls));

}  // namespace quenby::ui::forms

namespace quenby {
namespace forms = ui::forms;
}  // namespace quenby

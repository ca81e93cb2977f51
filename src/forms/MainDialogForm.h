// The wizard dialog's frame: the setup icon, the instruction text between two rules, and the three
// flat buttons. The pages' panels sit between the rules.
#pragma once
#include "forms/Resources.h"
#include "ui/FormDecl.h"

namespace quenby::forms {

using namespace quenby::ui;

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

inline constexpr TControlDecl kMainDialogControls[] = {
    {.Name = "SetupIco", .Kind = Kind::Picture, .Bounds = {20, 10, 32, 32}, .Options = kIcon | kAutoSize,
     .Resource = kSetupIcon},
    {.Name = "InfoLabel", .Kind = Kind::Label, .Bounds = {80, 28, 330, 31}, .Options = kWordWrap},
    {.Name = "Bevel2", .Kind = Kind::Bevel, .Bounds = {78, 69, 333, 8}, .Options = kTopLine},
    {.Name = "Bevel1", .Kind = Kind::Bevel, .Bounds = {78, 283, 333, 8}, .Options = kTopLine},
    {.Name = "PrevBut", .Kind = Kind::Button, .Bounds = {80, 306, 100, 25}, .Caption = "&Previous", .Enabled = false},
    {.Name = "NextBut", .Kind = Kind::Button, .Bounds = {196, 306, 100, 25}, .Caption = "&Next"},
    {.Name = "CancelBut", .Kind = Kind::Button, .Bounds = {309, 306, 100, 25}, .Caption = "&Cancel"},
};
static_assert(IsValidFormTable(kMainDialogControls));

}  // namespace quenby::forms

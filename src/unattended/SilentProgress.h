// /SILENT's one window: the display title as its caption, the file being copied and a bar.
#pragma once
#include <string>

#include "ui/Form.h"

namespace quenby::ui::forms {

inline constexpr TFormDecl kSilentProgressForm{
    .ClassName = "TSilentProgressForm",
    .Style = FormStyle::Dialog,
    .ClientWidth = 360,
    .ClientHeight = 76,
    .Font = {"MS Sans Serif", 11},
    .Centred = true,
};

// clang-format off: one control a line, as the form reads
inline constexpr TControlDecl kSilentProgressControls[] = {
    {.Name = "FileLabel", .Kind = Kind::Label, .Bounds = {12, 12, 336, 16}},
    {.Name = "ProgressBar", .Kind = Kind::ProgressBar, .Bounds = {12, 40, 336, 20}},
};
// clang-format on
static_assert(IsValidFormTable(kSilentProgressControls));

}  // namespace quenby::ui::forms

namespace quenby {

class TSilentProgress final : public ui::TFormOf<ui::forms::kSilentProgressControls> {
public:
    explicit TSilentProgress(const std::string& caption);
    ~TSilentProgress() override;

    void ShowFile(const std::string& target);
    void ShowProgress(int position);
};

}  // namespace quenby

// The progress window of Setup.exe /SILENT and of every removal Uninstall.exe shows: a caption, the thing at
// hand and a bar. The run works on the window's own thread, so each change is painted at once.
#pragma once
#include <string>

#include "ui/Form.h"

namespace quenby::ui {

namespace forms {

// Each program's window has a class of its own, by which a driver or another process tells them apart.
constexpr TFormDecl ProgressForm(const char* className) {
    return {.ClassName = className,
            .Style = FormStyle::Dialog,
            .ClientWidth = 360,
            .ClientHeight = 76,
            .Font = {"MS Sans Serif", 11},
            .Centred = true};
}

// clang-format off: one control a line, as the form reads
inline constexpr TControlDecl kProgressControls[] = {
    {.Name = "ItemLabel", .Kind = Kind::Label, .Bounds = {12, 12, 336, 16}},
    {.Name = "ProgressBar", .Kind = Kind::ProgressBar, .Bounds = {12, 40, 336, 20}},
};
// clang-format on
static_assert(IsValidFormTable(kProgressControls));

}  // namespace forms

class TProgressWindow final : public TFormOf<forms::kProgressControls> {
public:
    enum class TPlace {
        Centre,
        AboveCentre,  // clear of the boxes that questions asked during the run open in the centre
    };

    // `decl` is one of forms::ProgressForm's and lives as long as the window; shown at once, with its caption.
    TProgressWindow(const TFormDecl& decl, const std::string& caption, TPlace place);
    ~TProgressWindow() override;

    // The thing at hand; input waits in the queue meanwhile.
    void ShowItem(const std::string& item);
    // How far the run is, 0 to 100.
    void ShowPosition(int percent);
};

}  // namespace quenby::ui

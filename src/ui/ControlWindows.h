// The window classes of the framework's own controls. Edit boxes, the memo and the progress bar are
// the system's EDIT and PROGRESS_CLASS windows.
#pragma once
#include <windows.h>

namespace quenby::ui {

constexpr char kLabelClass[] = "TLabel";
constexpr char kPictureClass[] = "TImage";
constexpr char kBevelClass[] = "TBevel";
constexpr char kButtonClass[] = "TSpeedButton";  // flat, never takes the focus; answers BM_CLICK
constexpr char kPanelClass[] = "TPanel";         // panels and the hosts of external controls

void RegisterControlClasses(HINSTANCE module);

}  // namespace quenby::ui

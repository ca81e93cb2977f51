// Names of the pictures and icons in Setup.rc (the .rc names them literally).
#pragma once

namespace quenby::ui::forms {

inline constexpr char kSplashBitmap[] = "SPLASH";      // 16 colours, 432 x 259
inline constexpr char kBackdropBitmap[] = "BACKDROP";  // 16 colours, 91 x 139, stretched over the screen
inline constexpr char kProgramIcon[] = "MAINICON";     // the program's icon (first in the file)
inline constexpr char kSetupIcon[] = "SETUPICON";      // the wizard's icon

}  // namespace quenby::ui::forms

namespace quenby {
namespace forms = ui::forms;
}  // namespace quenby

// The user-visible texts of the program, kept together so they can be checked at a glance.
// (The form tables hold the design-time captions.)
#pragma once

namespace quenby {

inline constexpr char kApplicationTitle[] = "Quenby 3.2";
inline constexpr char kNoInstructionsCaption[] = "Error";
inline constexpr char kNoInstructionsText[] = "No installation instructions, exiting instalation.";
inline constexpr char kInstallationSuffix[] = " Installation";

}  // namespace quenby

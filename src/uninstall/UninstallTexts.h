// The uninstaller's user-visible texts, kept together.
#pragma once

namespace quenby {

inline constexpr char kUninstallTitle[] = "Uninstall";
inline constexpr char kNoLogCaption[] = "Error";
inline constexpr char kNoLogText[] = "No installation log in %s";
inline constexpr char kConfirmText[] = "Are you sure you want to remove %s and all of its components?";
inline constexpr char kRefusedText[] =
    "The installation log in %s cannot be used: %s. Nothing was removed.";
inline constexpr char kSharedCaption[] = "Remove Shared File?";
inline constexpr char kSharedText[] =
    "The shared file %s is no longer used by any installed product. Remove it?";
inline constexpr char kRemovedText[] = "%s was removed from your computer.";
inline constexpr char kLeftHeading[] = "These were left:";

// Why something was left.
inline constexpr char kLeftNotEmpty[] = "it holds things the installation did not make";
inline constexpr char kLeftKept[] = "you chose to keep it";
inline constexpr char kLeftOtherInstallation[] = "it now belongs to another installation of the same name";
inline constexpr char kLeftNoProgman[] = "Program Manager did not answer";
inline constexpr char kLeftSelf[] = "it is the running uninstaller; it goes when Windows restarts";
inline constexpr char kLeftNotNumber[] = "its counter is no number";

}  // namespace quenby

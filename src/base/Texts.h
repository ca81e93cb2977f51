// The user-visible texts of the program, kept together so they can be checked at a glance.
// (The form tables hold the design-time captions; the error classes in Errors.h their fixed messages.)
#pragma once
#include <cstdint>
#include <string>

namespace quenby {

inline constexpr char kApplicationTitle[] = "Quenby 3.2";
inline constexpr char kNoInstructionsCaption[] = "Error";
inline constexpr char kNoInstructionsText[] = "No installation instructions, exiting instalation.";
inline constexpr char kInstallationSuffix[] = " Installation";

// The wizard's instruction line, page by page.
inline constexpr char kNoticesInfo[] =
    "Please read the following notices carefully, they contain important commercial and technical information.";
inline constexpr char kNamesInfo[] =
    "Please follow the instructions provided with your software to fill in your registration name and "
    "organization fields.";
// The product's name and version go between the two halves; with an empty version two blanks meet.
inline std::string ProductSentence(const char* before, const std::string& application, const std::string& version,
                                   const char* after) {
    return before + application + " " + version + after;
}
inline std::string WelcomeInfo(const std::string& application, const std::string& version) {
    return ProductSentence("Welcome to Quenby. This program will automatically install and configure ", application,
                           version, " on your computer.");
}
inline std::string DestinationInfo(const std::string& application, const std::string& version) {
    return ProductSentence("Please accept the default path displayed or select a different path to install ",
                           application, version, " on your computer.");
}
inline std::string FinishInfo(const std::string& application, const std::string& version) {
    return ProductSentence("Quenby has installed ", application, version, " successfully, congratulations.");
}
inline std::string InterruptedInfo(const std::string& application, const std::string& version) {
    return ProductSentence("The installation of ", application, version, " did not completed successfuly.");
}

inline std::string CopyingInfo(const std::string& application, const std::string& version) {
    return ProductSentence("Quenby is now copying the ", application, version, " files to the selected destination.");
}
inline std::string InstalledInfo(const std::string& application, const std::string& version) {
    return ProductSentence("", application, version, " was installed successfuly. Please select next to continue.");
}

inline constexpr char kFinishCaption[] = "&Finish";

// The copy step's prompt when a source file is not on the medium.
inline constexpr char kDiskPrompt[] =
    "Please insert the next disk and press ok to continue or cancel to exit the installation.";

// Failures shown in the error box (which adds the full stop); reason is the system's text.
inline std::string PathTooLongText(const std::string& path) { return "Path too long: " + path; }
inline std::string InvalidDestinationText(const std::string& path) { return "Invalid destination directory " + path; }
inline std::string CannotCreateDirectoryText(const std::string& path, const std::string& reason) {
    return "Cannot create directory " + path + ": " + reason;
}
inline std::string CannotCopyText(const std::string& source, const std::string& destination,
                                  const std::string& reason) {
    return "Cannot copy " + source + " to " + destination + ": " + reason;
}
inline std::string CannotExpandText(const std::string& source, const std::string& destination,
                                    const std::string& reason) {
    return "Cannot expand " + source + " to " + destination + ": " + reason;
}
// The expander's reasons, by the library's error code.
inline constexpr char kLzSourceNotOpened[] = "the source cannot be opened";
inline constexpr char kLzDestinationNotOpened[] = "the destination cannot be opened";
inline constexpr char kLzSourceNotRead[] = "the source cannot be read";
inline constexpr char kLzDestinationNotWritten[] = "the destination cannot be written";
inline constexpr char kLzNoMemory[] = "not enough memory";
inline constexpr char kLzUnknownFormat[] = "the source is compressed in an unknown format";
inline std::string LzErrorCodeText(long code) { return "expansion error " + std::to_string(code); }
// A source file that does not match the medium's checksum: the question (Retry, Cancel), then the failure
// that Cancel ends the run with.
inline std::string DamagedFileQuestion(const std::string& source) {
    return "The file " + source +
           " on the installation disk is damaged. Insert an undamaged disk and press Retry, "
           "or press Cancel to stop the installation.";
}
inline std::string DamagedFileText(const std::string& source) {
    return "The file " + source + " on the installation disk is damaged";
}
// After the success text, when a file in use waits for the restart; displayName as in DisplayName.
inline std::string RestartNeededText(const std::string& displayName) {
    return "Some files of " + displayName + " are in use. They will be replaced when Windows restarts.";
}
inline std::string CannotLoadText(const std::string& path, const std::string& reason) {
    return "Cannot load " + path + ": " + reason;
}
inline std::string CannotReadInstructionsText(const std::string& path, const std::string& reason) {
    return "Cannot read the installation instructions " + path + ": " + reason;
}
// which: "current", "Windows", "system".
inline std::string CannotReadDirectoryText(const std::string& which, const std::string& reason) {
    return "Cannot read the " + which + " directory: " + reason;
}
inline constexpr char kNoApplicationName[] = "No application name in the installation instructions";
inline std::string CannotAddToTreeText(const std::string& text) {
    return "Cannot add " + text + " to the directory tree";
}
inline std::string CannotWriteText(const std::string& path) { return "Unable to write to " + path; }
// Captioned with the display title, on the destination page.
inline std::string NoRoomText(const std::string& drive, const std::string& product, std::uint64_t neededKb,
                              std::uint64_t freeKb) {
    return "There is not enough room on drive " + drive + " for " + product + ": " + std::to_string(neededKb) +
           " KB are needed and " + std::to_string(freeKb) + " KB are free. Choose another folder.";
}
inline std::string AlreadyInstalledText(const std::string& displayName, const std::string& folder) {
    return displayName + " is already installed in " + folder + ". Remove it first, or install it there.";
}
inline std::string DestinationLinkText(const std::string& destination, const std::string& link) {
    return "The folder " + destination + " contains a link (" + link +
           "). Setup does not install through links; choose another folder.";
}
inline std::string CannotWriteLogText(const std::string& path, const std::string& reason) {
    return "Cannot write the installation log " + path + ": " + reason;
}
inline constexpr char kLogNotPlainReason[] =
    "it is a link, a second name of another file, or not in the destination folder";
inline std::string RegistryReadText(const std::string& name) { return "Failed to get data for '" + name + "'"; }
inline std::string RegistryTypeText(const std::string& name) { return "Invalid data type for '" + name + "'"; }
inline std::string RegistryCreateText(const std::string& key) { return "Failed to create key " + key; }
inline std::string RegistryWriteText(const std::string& name) { return "Failed to set data for '" + name + "'"; }
inline constexpr char kNoCommonControls[] = "Cannot load comctl32.dll";
inline constexpr char kTreeWithoutParent[] = "Control has no parent window";
inline constexpr char kTreeNotCreated[] = "Error creating window";
inline constexpr char kCannotRegisterClass[] = "cannot register the window class";
inline std::string CannotCreateWindowText(const std::string& className) {
    return "cannot create the window " + className;
}
inline std::string CannotCreateControlText(const std::string& name) { return "cannot create the control " + name; }
inline std::string CannotHashText(const std::string& reason) { return "Cannot compute a SHA-256 digest: " + reason; }
inline constexpr char kUnknownFailure[] = "Unknown failure";
inline constexpr char kOutOfMemory[] = "Out of memory.";  // shown as it is, when the text cannot be built

// The notice memo at the start and on the finish page: three paragraphs, an empty line between them.
inline constexpr const char* kProductParagraphs[] = {
    "Quenby for Windows 95, 98 and NT 4.0 is published by Norvale, and is a component of the Quenby software "
    "distribution, installation and uninstallation package.",
    "You may download your own copy of the Quenby installer package from the Norvale web site at "
    "http://www.norvale.example/quenby/.",
    "If you have no access to the web, write to quenby@norvale.example for instructions on getting a copy by "
    "FTP or by post.",
};

// The notice memo on the interruption page: two lines, each followed by an empty line.
inline constexpr const char* kInterruptedLines[] = {
    "You have selected to interrupt this installation. Please notice that some files may have been copied to "
    "the destination directory, and that changes may have been made to Windows, depending on where you "
    "interrupted this installation.",
    "It is recommended that you re-install this software product, and then use the uninstaller to remove it "
    "correctly from your system.",
};

// The uninstaller.
inline constexpr char kUninstallTitle[] = "Uninstall";
inline constexpr char kNoLogCaption[] = "Error";
inline std::string NoLogText(const std::string& destination) { return "No installation log in " + destination; }
inline std::string NoPrivateFolderText(const std::string& folder) {
    return "Uninstall cannot make a private working folder in " + folder + "; nothing was removed.";
}
inline std::string ConfirmRemovalText(const std::string& name) {
    return "Are you sure you want to remove " + name + " and all of its components?";
}
inline std::string LogRefusedText(const std::string& destination, const std::string& reason) {
    return "The installation log in " + destination + " cannot be used: " + reason + ". Nothing was removed.";
}
inline std::string UninstallFormCaption(const std::string& name) { return "Uninstall " + name; }
inline constexpr char kSharedCaption[] = "Remove Shared File?";
inline std::string RemoveSharedFileText(const std::string& path) {
    return "The shared file " + path + " is no longer used by any installed product. Remove it?";
}
inline std::string RemovedText(const std::string& name) { return name + " was removed from your computer."; }
inline constexpr char kLeftHeading[] = "These were left:";

// Why something was left.
inline constexpr char kLeftNotEmpty[] = "it holds things the installation did not make";
inline constexpr char kLeftKept[] = "you chose to keep it";
inline constexpr char kLeftOtherInstallation[] = "it now belongs to another installation of the same name";
inline constexpr char kLeftNoProgman[] = "Program Manager did not answer";
inline constexpr char kLeftSelf[] = "it is the running uninstaller; it goes when Windows restarts";
inline constexpr char kLeftNotNumber[] = "its counter is no number";
inline constexpr char kLeftNoMachineCount[] = "it has no machine-wide count, so other products may still use it";
inline constexpr char kLeftNotMachineCount[] = "its machine-wide count is another installer's (no REG_DWORD)";
inline constexpr char kLeftThroughLink[] = "it is reached through a link";
inline constexpr char kLeftNotPutBack[] = "its old copy is not where Setup keeps copies; it was not put back";
inline constexpr char kLeftInUse[] = "it is in use; it goes when Windows restarts";
inline std::string CannotKeepText(const std::string& path, const std::string& reason) {
    return "Cannot keep a copy of " + path + " to put back should the installation fail: " + reason;
}
// Why a product file in use cannot be replaced now.
inline constexpr char kInUseNotMovable[] = "it is in use by another program; close that program and try again";
inline constexpr char kLeftInUseNotMoved[] = "it is in use and cannot be moved away; remove it once it is free";
inline std::string LeftNoProgressText(const std::string& reason) {
    return "its count was not lowered, since the log could not record it: " + reason;
}
inline std::string LogMismatchText(const std::string& logPath) {
    return "The installation log " + logPath + " does not match what Setup recorded; nothing was removed.";
}

// The publisher tools on the checksums of a set: the checks' findings (what is wrong; what to do) and the
// packer's refusals. `where` is "on disk 2" or "on the medium".
inline constexpr char kChecksumUnlisted[] =
    "the source file is not listed in [Checksums], so the installer copies it without checking it";
inline constexpr char kChecksumsWriteAgain[] =
    "Write the checksums again with \"quenby-pack checksums\", or lay the set out again with \"quenby-pack disks\"";
inline std::string ChecksumMalformedText(const std::string& digest) {
    return "the checksum \"" + digest + "\" is not a SHA-256 in hex (64 digits), so the file never matches it";
}
inline std::string ChecksumUnreadableText(const std::string& where) {
    return "the file cannot be read " + where + " to check it";
}
inline std::string ChecksumMismatchText(const std::string& where) {
    return "the file's bytes " + where + " do not match its checksum: the installer refuses it as damaged";
}
inline constexpr char kChecksumMismatchRemedy[] =
    "Copy the file again from an undamaged set; if it was changed on purpose, write the checksums again with "
    "\"quenby-pack checksums\"";
inline std::string SourceDamagedText(const std::string& path) {
    return path +
           " does not match its checksum in Quenby.ipi: the set it comes from is damaged; take the file "
           "from an undamaged set";
}
inline std::string CannotReadFileText(const std::string& path) { return "cannot read " + path; }
inline std::string FolderNotEmptyText(const std::string& path) {
    return path + " is not empty; remove what it holds first";
}

// Setup.exe's command line and its one-at-a-time lock; both boxes are captioned kApplicationTitle.
// The refusal lists every switch on a line of its own, "/DIR=path" for one that takes a value.
inline constexpr char kSwitchValuePath[] = "path";
inline constexpr char kSwitchValueText[] = "text";
inline constexpr char kSwitchValueFile[] = "file";
std::string SetupSwitchList();  // made from Setup's switch table, in base/CommandLine.cpp
inline std::string BadSwitchText(const std::string& argument) {
    return "Unknown or malformed switch " + argument + ".\r\n\r\n" + SetupSwitchList();
}
inline constexpr char kAnotherInstallationText[] =
    "Another installation is in progress. Please wait until it has finished and try again.";

// The unattended run's log (/LOG): one line per event, "<what>: <detail>", read by a person.
inline constexpr char kLogCommandLine[] = "Command line";
// The program word in a log's header and in its dated name.
inline constexpr char kSetupProgram[] = "Setup";
// The box that /? and /HELP show: the switches.
inline constexpr char kHelpCaption[] = "Setup";
inline constexpr char kUninstallProgram[] = "Uninstall";
inline constexpr char kLogDestination[] = "Destination";
inline constexpr char kLogName[] = "Name";
inline constexpr char kLogOrganization[] = "Organization";
inline constexpr char kLogDirectory[] = "Directory created";
inline constexpr char kLogFileCopied[] = "File copied";
inline constexpr char kLogFileReplaced[] = "File replaced";
inline constexpr char kLogFileKept[] = "File kept (the one in place is the same version or newer)";
inline constexpr char kLogFileAtRestart[] = "File replaced at restart (the one in place is in use)";
inline constexpr char kLogFileDamaged[] = "File damaged (it does not match its checksum)";
inline constexpr char kLogMissingSource[] = "Missing source file (the next disk is not in the folder)";
inline constexpr char kLogGroup[] = "group";
inline constexpr char kLogItem[] = "item";
// Program Manager's conversation took the macro, or refused it (or no server answered).
inline constexpr char kLogProgmanAccepted[] = "Program Manager accepted";
inline constexpr char kLogProgmanRefused[] = "Program Manager did not accept";
inline constexpr char kLogValue[] = "Registry value";
inline constexpr char kLogCounter[] = "Shared-file counter raised";
inline constexpr char kLogAddOnStarted[] = "Add-on started";
inline constexpr char kLogAddOnSkipped[] = "Add-on skipped (no /ADDONS)";
inline constexpr char kLogError[] = "Error";
// A failed unattended run put back: each change, one that could not be with its reason, then the end.
inline constexpr char kLogOldCopy[] = "Old copy kept";
inline constexpr char kLogUndone[] = "Undone";
inline constexpr char kLogNotUndone[] = "Not undone";
inline constexpr char kLogRolledBack[] = "Rolled back.";
inline constexpr char kLogExitCode[] = "Exit code";
inline constexpr char kLogElapsed[] = "Elapsed time";
// The uninstaller's own lines.
inline constexpr char kLogDeclined[] = "The user declined the removal";
inline constexpr char kLogRemoving[] = "Removing";
inline constexpr char kLogLeft[] = "Left";
inline constexpr char kLogSharedRemoved[] = "The user chose to remove the shared file";
inline constexpr char kLogNotWritten[] = "The log could not be written to";
inline std::string LogHeaderText(const std::string& program, const std::string& when, const std::string& user) {
    return std::string(kApplicationTitle) + " " + program + ", " + when + ", user " + user;
}
inline std::string LogLine(const char* what, const std::string& detail) { return std::string(what) + ": " + detail; }

}  // namespace quenby

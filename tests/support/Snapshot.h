// The prefix's state for a before-and-after comparison: every file and folder of drive C: (never through
// a link) and every key and value, with its data, of HKCU\Software and both views of HKLM\Software.
#pragma once
#include <set>
#include <string>
#include <vector>

namespace quenby::test {

std::set<std::string> Snapshot();
// Cheaper and finer: only these folders (`Whole`: with everything below; else their own files), every file
// with a digest of its bytes; the same registry but, of HKLM\Software\Microsoft, the installers' keys.
struct TWalk {
    std::string Folder;
    bool Whole = true;
};
std::set<std::string> Snapshot(const std::vector<TWalk>& folders);
// "+ line" for each line only after, then "- line" for each only before; Wine's and Notepad's own left out.
std::string Difference(const std::set<std::string>& before, const std::set<std::string>& after);
// The difference without the uninstaller's copies, which wait in the Windows temporary folder for the restart.
std::string DifferenceButWaitingCopies(const std::set<std::string>& before, const std::set<std::string>& after);

}  // namespace quenby::test

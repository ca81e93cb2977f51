#include "FakeInstallHost.h"

#include "win/Pause.h"

namespace quenby::test {

TFakeInstallHost::TFakeInstallHost() {
    Setup.Application = "Widget";
    Setup.Version = "2.0";
    Setup.Missing = false;
}

void TFakeInstallHost::DeriveProgressStep() {
    Setup.ProgressStep = 100 / (Setup.FilesIn.Count() + Setup.SysFilesIn.Count() + 3);
}

void TFakeInstallHost::SetProgressPosition(int position) {
    // The progress control keeps its position within 0 to 100.
    Position = position < 0 ? 0 : position > 100 ? 100 : position;
    Positions.push_back(position);
}

void TFakeInstallHost::RunProgramGroupStep(const std::string& destination, const std::string& windowsDir) {
    Calls.push_back("ProgramGroup " + destination + " | " + windowsDir);
}

namespace {
void RecordPause(unsigned milliseconds) { TRecordedPauses::Taken().push_back(milliseconds); }
}  // namespace

TRecordedPauses::TRecordedPauses() {
    Taken().clear();
    SetPauseFunction(RecordPause);
}

TRecordedPauses::~TRecordedPauses() { SetPauseFunction(nullptr); }

std::vector<unsigned>& TRecordedPauses::Taken() {
    static std::vector<unsigned> taken;
    return taken;
}

}  // namespace quenby::test

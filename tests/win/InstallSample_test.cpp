// The engine on the sample product's two compressed disks, read by the real instructions reader: one
// disk prompt, a disk change, then everything in place in files, registry and record.
#include <gtest/gtest.h>

#include "install/CopyFiles.h"
#include "FakeInstallHost.h"
#include "PrefixFiles.h"
#include "RegistryProbe.h"
#include "win/SystemText.h"
#include "install/InstructionsFile.h"

using namespace quenby;
using namespace quenby::test;

namespace {

const std::string kSample = "C:\\orrery";
const std::string kDrive = kSample + "\\drive";  // the medium in the drive
const std::string kExpect = kSample + "\\expect\\";

TEST(InstallSample, TwoCompressedDisksInstallEverything) {
    TRecordedPauses pauses;
    const std::string windows = WindowsDirectory();
    CopyTree(kSample + "\\disk1", kDrive);
    TFakeInstallHost host;
    host.Setup = ReadInstructionsFile(kDrive + "\\");
    ASSERT_FALSE(host.Setup.Missing);
    host.Destination = host.Setup.Directory;
    ASSERT_EQ(host.Destination, "C:\\Program Files\\Orrery");

    CopyFiles(host);
    EXPECT_EQ(host.State, 600);
    EXPECT_EQ(host.Source, kDrive + "\\data\\planets.tx_");
    EXPECT_FALSE(host.Prompt.empty());
    EXPECT_EQ(ReadFileText(host.Destination + "\\orrery.exe"), ReadFileText(kExpect + "orrery.exe"));

    RemoveTree(kDrive);
    CopyTree(kSample + "\\disk2", kDrive);
    CopyFiles(host);
    EXPECT_EQ(host.State, 800);
    EXPECT_EQ(host.Info, "Orrery 1.4 was installed successfuly. Please select next to continue.");
    EXPECT_EQ(host.Position, 100);

    EXPECT_EQ(ReadFileText(windows + "\\orrshare.dll"), ReadFileText(kExpect + "orrshare.dll"));
    for (const char* file : {"readme.txt", "data\\planets.txt", "data\\moons.txt", "charts\\ecliptic.txt"}) {
        const std::string name = std::string(file).substr(std::string(file).find_last_of('\\') + 1);
        EXPECT_EQ(ReadFileText(host.Destination + "\\" + file), ReadFileText(kExpect + name)) << file;
    }
    EXPECT_TRUE(IsFolder("C:\\OrreryData"));

    const std::string product = "Software\\Brightwater\\Orrery";
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, product + "\\Registration", "Name"), host.User);
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, product + "\\Registration", "Organization"), host.Org);
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, product + "\\Registration", "Edition"), "Standard");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, product + "\\Settings", "Units"), "AU");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, product + "\\Quenby", "Path"), host.Destination);
    const std::string entry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orrery";
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, entry, "DisplayName"), "Orrery 1.4");
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, entry, "UninstallString"),
              windows + "\\Uninstall.exe C:\\Program Files\\Orrery");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, "Software\\Norvale\\Uninstall\\Counters", "orrshare.dll"), "1");
    const std::string record = ReadFileText(host.Destination + "\\Quenby.upi");
    EXPECT_LT(record.find("[Registration]"), record.find("[Quenby]"));
    EXPECT_LT(record.find("[Quenby]"), record.find("[Uninstall]"));
    EXPECT_EQ(record.find("[Settings]"), std::string::npos);

    RemoveTree(host.Destination);
    RemoveTree("C:\\OrreryData");
    RemoveTree(windows + "\\orrshare.dll");
    RemoveTree(windows + "\\Uninstall.exe");
    RemoveTree(kDrive);
}

}  // namespace

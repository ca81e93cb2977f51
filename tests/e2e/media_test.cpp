// Every file that lands is the right one: the sample's compressed set laid out again by the publisher's tool
// (the prepare script puts its disk 1 in the floppy drive A:, with a damaged copy of its disk 2 beside it), a
// damaged file refused until an undamaged disk is in; a newer shared library never replaced by an older one;
// a shared library in use replaced at the next restart.
// ctest .i686 shipped MediaE2e.SharedFiles*
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "Driver.h"
#include "Host.h"
#include "Prefix.h"
#include "Wizard.h"
#include "publish/Szdd.h"

namespace quenby {
namespace {

using namespace drive;
using test::kPageMs;
using test::TWizard;
using test::WindowsDir;

constexpr char kInstalledOrrery[] = "Orrery 1.4 was installed successfuly. Please select next to continue.";

// The restart's pending renames, the names separated by "|".
std::string PendingRenames() {
    char data[8192] = {};
    DWORD size = sizeof data - 2;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager",
                     "PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, data, &size))
        return "<missing>";
    std::string text(data, size);
    for (char& c : text) c = c ? c : '|';
    return text;
}

// Disk 1 holds no product file: the prompt comes at the first one.
TEST(MediaE2e, DisksLaidOutByThePublishersToolRefuseADamagedFileUntilAnUndamagedDiskIsIn) {
    const std::string destination = "C:\\Packed Orrery";
    // Listed with the replace value 1, which Expand=1 overrides: the old file is written anew.
    std::filesystem::create_directories(destination + "\\charts");
    std::ofstream(destination + "\\charts\\ecliptic.txt") << "an older ecliptic";
    // The program's own log counts the questions: a box answered at once would be missed by any look.
    TWizard wizard("A:\\Setup.exe", "A:\\", "/LOG=C:\\media.log");
    wizard.PastNotices({"ORRERY 1.4 - LICENCE", "WELCOME TO ORRERY"});
    wizard.ToDestinationPage();
    wizard.StartCopyInto(destination);
    WaitText(wizard.Item("ProgressLabel"), test::kDiskPromptText, kPageMs);
    EXPECT_EQ(Text(wizard.Item("SourceLabel")), "A:\\\\orrery.ex_");
    test::InsertDisk("damaged/disk2");
    Click(wizard.Item("NextBut"));
    Keys("key Return");  // made during the copy step: it must not answer the box to come
    const TMessageBox box = wizard.Driver().WaitMessageBox(kPageMs);
    EXPECT_EQ(box.caption + "|" + box.text,
              "Orrery 1.4|The file data\\moons.tx_ on the installation disk is damaged. Insert an undamaged disk and "
              "press Retry, or press Cancel to stop the installation.");
    EXPECT_FALSE(test::Exists(destination + "\\data\\moons.txt"));
    // Retry with the damaged disk still in: asked again; Cancel: the run fails, nothing shown as success.
    wizard.Driver().CloseMessageBox(box, IDRETRY);
    wizard.Driver().CloseMessageBox(wizard.Driver().WaitMessageBox(kPageMs), IDCANCEL);
    const TMessageBox failure = wizard.Driver().WaitMessageBox(kPageMs);
    EXPECT_EQ(failure.caption + "|" + failure.text,
              "Quenby 3.2|The file data\\moons.tx_ on the installation disk is damaged.");
    wizard.Driver().CloseMessageBox(failure);
    const std::string log = test::ReadFile("C:\\media.log");
    std::size_t asked = 0;
    for (std::size_t at = 0; (at = log.find("File damaged", at)) != std::string::npos; ++at) ++asked;
    EXPECT_EQ(asked, 2u) << "a key pressed during the copy step answered the box:\n" << log;
    EXPECT_TRUE(Enabled(wizard.Item("PrevBut")));
    EXPECT_NE(Text(wizard.Item("InfoLabel")), kInstalledOrrery);
    // Nothing of it, not even a temporary file beside its target: planets.txt alone.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(destination + "\\data"), {}), 1);

    // Next meets the file again; the right disk put back and Retry: the installation completes.
    Click(wizard.Item("NextBut"));
    const TMessageBox again = wizard.Driver().WaitMessageBox(kPageMs);
    test::InsertDisk("packed/disk2");
    wizard.Driver().CloseMessageBox(again, IDRETRY);
    wizard.WaitInfo(kInstalledOrrery);
    wizard.CloseOtherWindow("readme.txt");
    wizard.CloseOtherWindow("Brightwater Orrery");
    wizard.Finish("Orrery 1.4", "THANK YOU FOR INSTALLING ORRERY");
    // Every product file expanded byte for byte, the system file in the Windows directory.
    const std::string built = test::SetupBuildDir() + "\\", media = test::SourceDir() + "\\examples\\orrery\\media\\";
    EXPECT_EQ(test::ReadFile(destination + "\\orrery.exe"), test::ReadFile(built + "orrery.exe"));
    EXPECT_EQ(test::ReadFile(WindowsDir() + "\\orrshare.dll"), test::ReadFile(built + "orrshare.dll"));
    for (const std::string file : {"readme.txt", "data\\planets.txt", "data\\moons.txt", "charts\\ecliptic.txt"})
        EXPECT_EQ(test::ReadFile(destination + "\\" + file), test::ReadFile(media + file.substr(file.find('\\') + 1)))
            << file;
}

std::string Compressed(const std::string& bytes) {
    const TBytes packed = SzddCompress(TBytes(bytes.begin(), bytes.end()), 'l');
    return std::string(packed.begin(), packed.end());
}

// Compressed sources (Expand=1), so that the new version can only be read from the expanded bytes. A product
// file in use (mapped, as a running program's image is) is replaced at once, the old one moved where the user
// who owns the destination cannot make the restart's deletion lead elsewhere.
TEST(MediaE2e, SharedFilesAreNeverDowngradedAndOnesInUseWaitForTheRestart) {
    const std::string windows = WindowsDir(), kept = windows + "\\vkeep.dll", held = windows + "\\vheld.dll";
    const std::string v1 = test::ReadFile(test::BuildDir() + "\\vlib1\\vlib.dll");
    const std::string v2 = test::ReadFile(test::BuildDir() + "\\vlib2\\vlib.dll");
    ASSERT_NE(v1, v2);
    test::TScratchFolder dist("quenby-media-shared");
    dist.Write("Quenby.ipi",
               "[Settings]\r\nApplication=Vlib\r\nVersion=1\r\nExpand=1\r\n"
               "[Keys]\r\nBase=\\Software\\Norvale Tests\\Vlib\r\n"
               "[SysFilesIn]\r\nvkeep.dl_=\r\nvheld.dl_=\r\n[SysFilesOut]\r\nvkeep.dll=0\r\nvheld.dll=0\r\n"
               "[FilesIn]\r\nnote.tx_=\r\n[FilesOut]\r\nnote.txt=0\r\n");
    dist.Write("vkeep.dl_", Compressed(v1));
    dist.Write("vheld.dl_", Compressed(v2));
    dist.Write("note.tx_", Compressed("new note"));
    ASSERT_TRUE(CopyFileA((test::BuildDir() + "\\vlib2\\vlib.dll").c_str(), kept.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((test::BuildDir() + "\\vlib1\\vlib.dll").c_str(), held.c_str(), FALSE));
    const std::string destination = "C:\\Vlib", note = destination + "\\note.txt";
    std::filesystem::create_directories(destination);
    std::ofstream(note) << "old note";
    THandle holder(CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    THandle noteHolder(CreateFileA(note.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder && noteHolder);
    {
        TWizard wizard(dist.Path());
        wizard.ToDestinationPage();
        wizard.StartCopyInto(destination);
        const TMessageBox box = wizard.Driver().WaitMessageBox(kPageMs);
        EXPECT_EQ(Text(wizard.Item("InfoLabel")), "Vlib 1 was installed successfuly. Please select next to continue.");
        EXPECT_EQ(box.caption + "|" + box.text,
                  "Vlib 1|Some files of Vlib 1 are in use. They will be replaced when Windows restarts.");
        wizard.Driver().CloseMessageBox(box);
        wizard.Finish("Vlib 1", nullptr, 3010);
    }
    EXPECT_EQ(test::ReadFile(kept), v2);
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, "Software\\Norvale\\Uninstall\\Counters", "vkeep.dll"), "1");
    EXPECT_EQ(test::ReadFile(note), "new note");
    const std::string log = test::ReadFile(destination + "\\Quenby.log");
    for (const std::string& line : {std::string("kept\tvkeep.dll\r\n"), "atrestart\t" + held + "\r\n"})
        EXPECT_TRUE(test::Holds(log, line));
    EXPECT_TRUE(test::Holds(PendingRenames(), "vheld.dll"));

    // Before the restart the user makes the destination a link to a folder holding a file of the same name.
    holder.Reset();
    noteHolder.Reset();
    EXPECT_EQ(test::ReadFile(held), v1);
    ASSERT_EQ(RunHost("cd \"$WINEPREFIX/drive_c\" && mkdir Precious && echo precious > Precious/note.txt && "
                      "mv Vlib Vlib.moved && ln -s Precious Vlib"),
              0);
    ASSERT_EQ(RunHost("WINEDEBUG=-all /usr/lib/wine/wine64 wineboot -r >/dev/null 2>&1", 120000), 0);
    EXPECT_EQ(test::ReadFile(held), v2);
    EXPECT_EQ(test::ReadFile("C:\\Precious\\note.txt"), "precious\n");
    EXPECT_EQ(test::ReadFile("C:\\Vlib.moved\\note.txt"), "new note");
    EXPECT_EQ(PendingRenames(), "<missing>");
}

}  // namespace
}  // namespace quenby

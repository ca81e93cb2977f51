// The registry step and the uninstall record against the prefix's real registry and files.
#include "install/UpdateRegistry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <regex>

#include "FakeInstallHost.h"
#include "PrefixFiles.h"
#include "RegistryProbe.h"
#include "win/SystemText.h"
#include "install/InstructionsFile.h"

using namespace quenby;
using namespace quenby::test;

namespace {

const std::string kRoot = "C:\\regtest";
const char* const kBase = "Software\\Quenby Registry Test";
const char* const kUninstallEntry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Widget";
const char* const kCounters = "Software\\Norvale\\Uninstall\\Counters";
const std::string kKeys = "[Keys]\r\nBase=\\Software\\Quenby Registry Test\r\n";

// The zero-separated names the profile functions give, as a list.
std::vector<std::string> Names(const char* buffer, DWORD length) {
    std::vector<std::string> names;
    for (const char* name = buffer; name < buffer + length && *name; name += std::strlen(name) + 1)
        names.emplace_back(name);
    return names;
}

std::vector<std::string> RecordSections(const std::string& record) {
    char buffer[4096] = {};
    return Names(buffer, GetPrivateProfileSectionNamesA(buffer, sizeof buffer, record.c_str()));
}

std::vector<std::string> RecordKeys(const std::string& record, const std::string& section) {
    char buffer[4096] = {};
    return Names(buffer, GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer, sizeof buffer, record.c_str()));
}

std::string RecordText(const std::string& record, const std::string& section, const std::string& key) {
    char buffer[1024] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<missing>", buffer, sizeof buffer, record.c_str());
    return buffer;
}

using Strings = std::vector<std::string>;

class UpdateRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        Clean();
        MakeFolder(destination);
        host.Position = 40;
    }
    void TearDown() override { Clean(); }
    void Clean() {
        RemoveTree(kRoot);
        RegDeleteTreeA(HKEY_CURRENT_USER, kBase);
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Norvale");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallEntry);
    }
    // The instructions as the reader takes them from a Quenby.ipi with these sections.
    void Load(const std::string& sections) {
        WriteFileText(kRoot + "\\Quenby.ipi", "[Settings]\r\nApplication=Widget\r\nVersion=2.0\r\n" + sections);
        host.Setup = ReadInstructionsFile(kRoot + "\\");
    }
    // One installation each.
    std::string Run() {
        host.ResumeValue = TCopyResume{};
        try {
            UpdateRegistry(host, destination);
        } catch (const std::exception& error) {
            return error.what();
        }
        return {};
    }
    std::string Product(const std::string& subkey, const std::string& name) const {
        return RegText(HKEY_CURRENT_USER, std::string(kBase) + "\\" + subkey, name);
    }

    TFakeInstallHost host;
    std::string destination = kRoot + "\\Widget";
    std::string record = kRoot + "\\Widget\\Quenby.upi";
};

TEST_F(UpdateRegistryTest, OneKeysEntryWritesTheUninstallEntryAndCountersOnly) {
    Load(kKeys + "[SysFilesOut]\r\nshared.dll=0\r\n");
    EXPECT_EQ(Run(), "");
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kBase));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, std::string(kBase) + "\\Quenby"));
    EXPECT_EQ(RecordSections(record), Strings{"Uninstall"});

    const std::string command = WindowsDirectory() + "\\Uninstall.exe " + destination;
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallEntry, "DisplayName"), "Widget 2.0");
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallEntry, "UninstallString"), command);
    EXPECT_EQ(RecordText(record, "Uninstall", "DisplayName"), "Widget 2.0");
    EXPECT_EQ(RecordText(record, "Uninstall", "UninstallString"), command);
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kCounters, "shared.dll"), "1");
    EXPECT_EQ(host.Position, 41);
}

TEST_F(UpdateRegistryTest, SubstitutesNameAndOrganisationAndRecordsThemInFirstWrittenOrder) {
    Load(kKeys + "Values1=Settings\r\nValues2=Colors\r\nMissing=Nothing\r\nValues3=Owner\r\n"
        "[Values1]\r\nname=$name\r\nORGANIZATION=$Org\r\nUserName=$NAME\r\nColor=Blue\r\n"
        "[Values2]\r\nName=$NAMES\r\nOrganization=ORG\r\nShade=Red\r\n"
        "[Values3]\r\nnAmE=$NAME\r\n");
    // The last disk is in the drive when the step runs: the values come from the instructions as read.
    RemoveTree(kRoot + "\\Quenby.ipi");
    EXPECT_EQ(Run(), "");

    EXPECT_EQ(Product("Settings", "name"), "Ada Lovelace");
    EXPECT_EQ(Product("Settings", "ORGANIZATION"), "Analytical Engines Ltd");
    EXPECT_EQ(Product("Settings", "UserName"), "$NAME");
    EXPECT_EQ(Product("Settings", "Color"), "Blue");
    EXPECT_EQ(Product("Colors", "Name"), "$NAMES");
    EXPECT_EQ(Product("Colors", "Organization"), "ORG");
    EXPECT_EQ(Product("Colors", "Shade"), "Red");
    EXPECT_EQ(Product("Owner", "nAmE"), "Ada Lovelace");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, std::string(kBase) + "\\Nothing"));
    EXPECT_EQ(Product("Quenby", "Path"), destination);
    const std::regex usDateTime(R"(\d{1,2}/\d{1,2}/\d{4}( \d{1,2}:\d\d:\d\d [AP]M)?)");
    EXPECT_TRUE(std::regex_match(Product("Quenby", "Date"), usDateTime)) << Product("Quenby", "Date");

    EXPECT_EQ(RecordSections(record), (Strings{"Settings", "Quenby", "Owner", "Uninstall"}));
    EXPECT_EQ(RecordKeys(record, "Settings"), (Strings{"name", "ORGANIZATION"}));
    EXPECT_EQ(RecordText(record, "Settings", "name"), "Ada Lovelace");
    EXPECT_EQ(RecordText(record, "Settings", "ORGANIZATION"), "Analytical Engines Ltd");
    EXPECT_EQ(RecordKeys(record, "Owner"), Strings{"nAmE"});
    EXPECT_EQ(RecordKeys(record, "Quenby"), (Strings{"Path", "Date"}));
    EXPECT_EQ(RecordText(record, "Quenby", "Path"), destination);
    EXPECT_TRUE(std::regex_match(RecordText(record, "Quenby", "Date"), usDateTime));
}

TEST_F(UpdateRegistryTest, DatesKeepTheFormThatTheLocaleHadAtStart) {
    char atStart[80] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, atStart, sizeof atStart);
    ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, "yyyy-MM-dd"));
    Load(kKeys + "Values1=Settings\r\n");
    const std::string error = Run();
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, atStart);
    EXPECT_EQ(error, "");
    EXPECT_EQ(Product("Quenby", "Date").find('-'), std::string::npos) << Product("Quenby", "Date");
}

TEST_F(UpdateRegistryTest, ASecondInstallationKeepsEarlierRecordKeys) {
    Load(kKeys + "Values1=Settings\r\n[Values1]\r\nOrganization=$ORG\r\n");
    EXPECT_EQ(Run(), "");
    Load(kKeys + "Values1=Settings\r\n[Values1]\r\nName=$NAME\r\n");
    host.User = "Charles Babbage";
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(RecordText(record, "Settings", "Organization"), "Analytical Engines Ltd");
    EXPECT_EQ(RecordText(record, "Settings", "Name"), "Charles Babbage");
}

TEST_F(UpdateRegistryTest, CountersGoUpPerInstallationAndANumberValueStopsTheStep) {
    Load(kKeys + "[SysFilesOut]\r\nshared.dll=0\r\nother.dll=1\r\nthird.dll=0\r\n");
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kCounters, "third.dll"), "2");
    EXPECT_EQ(host.Position, 42);

    HKEY counters = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kCounters, 0, KEY_SET_VALUE, &counters), ERROR_SUCCESS);
    const DWORD two = 2;
    RegSetValueExA(counters, "other.dll", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&two), sizeof two);
    RegCloseKey(counters);

    EXPECT_EQ(Run(), "Invalid data type for 'other.dll'");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kCounters, "shared.dll"), "3");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kCounters, "third.dll"), "2");
    EXPECT_EQ(host.Position, 42);
}

TEST_F(UpdateRegistryTest, WithoutKeysNothingIsWritten) {
    Load("[Keys]\r\n[SysFilesOut]\r\nshared.dll=0\r\n");
    EXPECT_EQ(Run(), "List index out of bounds");
    EXPECT_FALSE(FileExists(record));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallEntry));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Norvale"));
    EXPECT_EQ(host.Position, 40);
}

TEST_F(UpdateRegistryTest, ARootDestinationGetsItsRecordInThatRoot) {
    RemoveTree("D:\\Quenby.upi");
    Load(kKeys);
    host.Setup.Version = "";
    destination = "D:\\";
    EXPECT_EQ(Run(), "");
    EXPECT_TRUE(FileExists("D:\\Quenby.upi"));
    EXPECT_EQ(RecordText("D:\\\\Quenby.upi", "Uninstall", "UninstallString"),
              WindowsDirectory() + "\\Uninstall.exe D:\\");
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallEntry, "DisplayName"), "Widget ");
    RemoveTree("D:\\Quenby.upi");
}

}  // namespace

// The accessors on the prefix's real registry and files: the registry key, the registry profile, the
// profile file through the system's profile functions, and the platform's directories.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "Prefix.h"
#include "install/UninstallRecord.h"
#include "win/SystemText.h"
#include "win/profile.h"

namespace quenby {
namespace {

using test::KeyExists;
using test::RegText;
using test::TScratchFolder;

const std::string kTest = "Software\\QuenbyTest";

// Stores exactly the given bytes, so that values without a terminating zero can be made.
void Store(const std::string& path, const std::string& name, DWORD type, const std::string& bytes) {
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, path.c_str(), name.c_str(), type, bytes.data(), DWORD(bytes.size())),
              ERROR_SUCCESS);
}

template <typename Error = ERegistryException, typename Action>
std::string ErrorOf(Action action) {
    try {
        action();
    } catch (const Error& e) {
        return e.what();
    }
    return "no error";
}

class Registry : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTest.c_str()); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTest.c_str()); }
};

TEST_F(Registry, ProfileResolvesSectionsBelowItsKeyOrBelowTheRootAndWritesNumbersAsText) {
    TRegistryProfile profile(HKEY_CURRENT_USER, "\\" + kTest + "\\A");
    profile.WriteText("B", "v", "below the profile key");
    profile.WriteText("\\" + kTest + "\\E", "v", "below the root");
    profile.WriteNumber("C\\D", "n", INT_MIN);
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTest + "\\A\\B", "v"), "below the profile key");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTest + "\\E", "v"), "below the root");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTest + "\\A\\C\\D", "n"), "-2147483648");
    EXPECT_EQ(profile.ReadNumber("C\\D", "n", 0), INT_MIN);
    // Without the leading backslash the profile's own path is taken below it again.
    TRegistryProfile relative(HKEY_CURRENT_USER, kTest + "\\R");
    relative.WriteText(kTest + "\\R\\B", "v", "doubled");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTest + "\\R\\" + kTest + "\\R\\B", "v"), "doubled");
}

TEST_F(Registry, StoredValuesAsTheyAreAndValuesOfAnotherType) {
    const std::string path = kTest + "\\K";
    Store(path, "unterminated", REG_SZ, "abc");
    Store(path, "embedded", REG_SZ, std::string("ab\0cd", 6));
    Store(path, "expand", REG_EXPAND_SZ, std::string("%WINDIR%\\x", 11));
    Store(path, "hex", REG_SZ, std::string("0x1F", 5));
    Store(path, "binary", REG_BINARY, "\x01\x02");
    const DWORD nine = 9;
    Store(path, "dword", REG_DWORD, std::string(reinterpret_cast<const char*>(&nine), 4));

    const std::optional<TRegistryKey> key = TRegistryKey::Open(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS);
    ASSERT_TRUE(key);
    for (const auto& [name, text] : {std::pair{"unterminated", "abc"}, std::pair{"embedded", "ab"},
                                     std::pair{"expand", "%WINDIR%\\x"}, std::pair{"missing", ""}})
        EXPECT_EQ(key->ReadText(name), text) << name;
    EXPECT_EQ(ErrorOf([&] { key->ReadText("binary"); }), "Invalid data type for 'binary'");
    TRegistryProfile profile(HKEY_CURRENT_USER, "\\" + kTest);
    EXPECT_EQ(profile.ReadNumber("K", "hex", 0), 31);
    EXPECT_EQ(ErrorOf([&] { profile.ReadNumber("K", "dword", 0); }), "Invalid data type for 'dword'");
    EXPECT_EQ(profile.ReadNumber("Missing", "n", 5), 5);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kTest + "\\Missing")) << "reading creates nothing";
}

TEST_F(Registry, WritesThatTheSystemRefusesRaiseRegistryErrorsAndReadOnlyKeysStayShut) {
    TRegistryProfile profile(HKEY_CURRENT_USER, "\\" + kTest + "\\W");
    const std::string tooLong = "\\" + kTest + "\\" + std::string(300, 'k');
    EXPECT_EQ(ErrorOf([&] { profile.WriteText(tooLong, "v", "x"); }), "Failed to create key " + tooLong);
    const std::string longName(20000, 'n');
    EXPECT_EQ(ErrorOf([&] { profile.WriteText("S", longName, "x"); }), "Failed to set data for '" + longName + "'");
    // A key the user may only read is neither opened nor written.
    const std::string path = kTest + "\\Locked";
    Store(path, "n", REG_SZ, std::string("4", 2));
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &raw), ERROR_SUCCESS);
    const TRegistryKey opened(raw);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(
        ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)", SDDL_REVISION_1, &descriptor, nullptr));
    const LONG result = RegSetKeySecurity(raw, DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
    ASSERT_EQ(result, ERROR_SUCCESS);
    EXPECT_FALSE(TRegistryKey::Create(HKEY_CURRENT_USER, path));
    TRegistryProfile top(HKEY_CURRENT_USER, "\\" + kTest);
    EXPECT_EQ(top.ReadNumber("Locked", "n", 5), 5) << "full access is asked for reading too";
    EXPECT_EQ(ErrorOf([&] { top.WriteText("Locked", "n", "6"); }), "Failed to create key Locked");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, path, "n"), "4");
}

TEST(ProfileFile, DefaultsAndValuesAndKeyListsPastTheFirstBuffer) {
    TScratchFolder folder("quenby-profile-values");
    std::string content = "[S]\r\nempty=\r\nnum=12\r\nzero=0\r\n";
    // Either side of the 1,024-byte buffer, and well past its doublings.
    for (int length : {1023, 1024, 9000})
        content += "v" + std::to_string(length) + "=" + std::string(static_cast<size_t>(length), 'x') + "\r\n";
    const TProfileFile file(folder.Write("a.ini", content));
    EXPECT_EQ(TProfileFile(folder / "absent.ini").ReadText("S", "num", "dflt"), "dflt");
    EXPECT_EQ(file.ReadText("S", "empty", "dflt"), "") << "an empty value is not a missing one";
    EXPECT_EQ(file.ReadNumber("S", "empty", 5), 5);
    EXPECT_FALSE(file.ReadFlag("S", "zero", true));
    for (int length : {1023, 1024, 9000})
        EXPECT_EQ(file.ReadText("S", std::string("v").append(std::to_string(length)), ""),
                  std::string(static_cast<size_t>(length), 'x'));
    EXPECT_EQ(file.ReadText("S", "missing", std::string(1500, 'd')), std::string(1500, 'd'));
    // 16 bytes per name with its zero: 512 names fill the 8,192-byte buffer exactly, 513 pass it.
    for (int count : {512, 513}) {
        std::string text = "[Many]\r\n";
        for (int i = 0; i < count; ++i) text.append("k000000000").append(std::to_string(10000 + i)).append("=v\r\n");
        TStringList list;
        TProfileFile(folder.Write("many.ini", text + "[After]\r\nx=1\r\n")).ListKeys("Many", list);
        ASSERT_EQ(list.Count(), count);
        EXPECT_EQ(list[count - 1], std::string("k000000000").append(std::to_string(10000 + count - 1)));
    }
}

TEST(ProfileFile, WriteTextThatTheSystemRefusesNamesThePath) {
    TScratchFolder folder("quenby-profile-refused");
    // Into a missing folder, and into a read-only bind mount made by the prepare script (as root, file
    // permissions stop nothing).
    const std::string readOnly = "C:\\quenby-readonly\\existing.ini";
    ASSERT_EQ(TProfileFile(readOnly).ReadText("S", "k", ""), "old") << "run this test through ctest";
    for (const std::string& path : {folder / "no such folder\\Quenby.upi", readOnly})
        EXPECT_EQ(ErrorOf<Exception>([&] { TProfileFile(path).WriteText("S", "k", "new"); }),
                  "Unable to write to " + path);
    EXPECT_EQ(TProfileFile(readOnly).ReadText("S", "k", ""), "old");
}

UINT WINAPI RefusedDirectory(LPSTR, UINT) { return 0; }
UINT WINAPI OverlongDirectory(LPSTR, UINT) { return MAX_PATH + 40; }

// A directory the platform does not give is an error, never "" (which would put system files at the root).
TEST(PlatformDirectory, AnEmptyOrCutAnswerIsAnError) {
    for (auto read : {RefusedDirectory, OverlongDirectory}) EXPECT_THROW(PlatformDirectory(read, "Windows"), Exception);
}

// The installation's dates keep the form the user's locale had when the program started.
TEST(InstallationDate, KeepsTheLocalesFormAsItWasAtStart) {
    char atStart[80] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, atStart, sizeof atStart);
    ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, "yyyy-MM-dd"));
    const std::string date = InstallationDateText();
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, atStart);
    char today[80] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, 0, nullptr, atStart, today, sizeof today);
    EXPECT_TRUE(date.starts_with(today)) << date << " is not today in the form " << atStart;
}

}  // namespace
}  // namespace quenby

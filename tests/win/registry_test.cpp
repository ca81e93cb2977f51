// The registry key accessor and the registry profile on the prefix's real registry.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "Prefix.h"
#include "win/profile.h"

namespace quenby {
namespace {

using test::KeyExists;
using test::RegText;

const std::string kTest = "Software\\QuenbyTest";

// Stores exactly the given bytes, so that values without a terminating zero can be made.
void Store(const std::string& path, const std::string& name, DWORD type, const std::string& bytes) {
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    TRegKeyHandle key(raw);
    ASSERT_EQ(RegSetValueExA(raw, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

template <typename Action>
std::string RegistryError(Action action) {
    try {
        action();
    } catch (const ERegistryException& e) {
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
    TRegistryProfile profile("\\" + kTest + "\\A");
    profile.WriteText("B", "v", "below the profile key");
    profile.WriteText("\\" + kTest + "\\E", "v", "below the root");
    profile.WriteNumber("C\\D", "n", INT_MIN);
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTest + "\\A\\B", "v"), "below the profile key");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTest + "\\E", "v"), "below the root");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTest + "\\A\\C\\D", "n"), "-2147483648");
    EXPECT_EQ(profile.ReadNumber("C\\D", "n", 0), INT_MIN);
    // Without the leading backslash the profile's own path is taken below it again.
    TRegistryProfile relative(kTest + "\\R");
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

    TRegistryKey key;
    ASSERT_TRUE(key.OpenKey("\\" + path, false));
    EXPECT_EQ(key.ReadValueText("unterminated"), "abc");
    EXPECT_EQ(key.ReadValueText("embedded"), "ab");
    EXPECT_EQ(key.ReadValueText("expand"), "%WINDIR%\\x");
    EXPECT_EQ(key.ReadValueText("missing"), "");
    EXPECT_EQ(RegistryError([&] { key.ReadValueText("binary"); }), "Invalid data type for 'binary'");
    TRegistryProfile profile("\\" + kTest);
    EXPECT_EQ(profile.ReadNumber("K", "hex", 0), 31);
    EXPECT_EQ(RegistryError([&] { profile.ReadNumber("K", "dword", 0); }), "Invalid data type for 'dword'");
    EXPECT_EQ(profile.ReadNumber("Missing", "n", 5), 5);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kTest + "\\Missing")) << "reading creates nothing";
}

TEST_F(Registry, OpenKeyKeepsTheCurrentKeyWhenItFails) {
    Store(kTest + "\\K\\Sub", "v", REG_SZ, std::string("here", 5));
    TRegistryKey key;
    ASSERT_TRUE(key.OpenKey("\\" + kTest + "\\K", false));
    ASSERT_TRUE(key.OpenKey("Sub", false));
    EXPECT_FALSE(key.OpenKey("Nope", false));
    EXPECT_EQ(key.CurrentPath(), kTest + "\\K\\Sub");
    EXPECT_EQ(key.ReadValueText("v"), "here");
    // An empty path opens the current key again; the new handle must stay usable.
    ASSERT_TRUE(key.OpenKey("", false));
    EXPECT_EQ(key.ReadValueText("v"), "here");
}

TEST_F(Registry, WritesThatTheSystemRefusesRaiseRegistryErrors) {
    TRegistryProfile profile("\\" + kTest + "\\W");
    const std::string tooLong = "\\" + kTest + "\\" + std::string(300, 'k');
    EXPECT_EQ(RegistryError([&] { profile.WriteText(tooLong, "v", "x"); }), "Failed to create key " + tooLong);
    const std::string longName(20000, 'n');
    EXPECT_EQ(RegistryError([&] { profile.WriteText("S", longName, "x"); }),
              "Failed to set data for '" + longName + "'");
}

TEST_F(Registry, KeysTheUserMayOnlyReadAreNeitherOpenedNorWritten) {
    const std::string path = kTest + "\\Locked";
    Store(path, "n", REG_SZ, std::string("4", 2));
    {
        HKEY raw = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &raw), ERROR_SUCCESS);
        TRegKeyHandle key(raw);
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                                         &descriptor, nullptr));
        const LONG result = RegSetKeySecurity(raw, DACL_SECURITY_INFORMATION, descriptor);
        LocalFree(descriptor);
        ASSERT_EQ(result, ERROR_SUCCESS);
    }
    TRegistryKey key;
    EXPECT_FALSE(key.OpenKey("\\" + path, true));
    TRegistryProfile profile("\\" + kTest);
    EXPECT_EQ(profile.ReadNumber("Locked", "n", 5), 5) << "full access is asked for reading too";
    EXPECT_EQ(RegistryError([&] { profile.WriteText("Locked", "n", "6"); }), "Failed to create key Locked");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, path, "n"), "4");
}

}  // namespace
}  // namespace quenby

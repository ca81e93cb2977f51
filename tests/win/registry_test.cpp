// The registry key accessor and the registry profile on the prefix's real registry.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <string>
#include <thread>

#include "win/profile.h"

using quenby::ERegistryException;
using quenby::TRegistryKey;
using quenby::TRegistryProfile;
using quenby::TRegKeyHandle;

namespace {

struct TStoredValue {
    bool Found = false;
    DWORD Type = REG_NONE;
    std::string Data;
    bool operator==(const TStoredValue&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TStoredValue& value) {
    if (!value.Found) return out << "(no value)";
    return out << "type " << value.Type << " \"" << value.Data << '"';
}

TStoredValue Text(const std::string& data) { return {true, REG_SZ, data}; }

TRegKeyHandle OpenForTest(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    return TRegKeyHandle(key);
}

bool KeyExists(HKEY root, const std::string& path) { return static_cast<bool>(OpenForTest(root, path)); }

// The value as stored, the data without its terminating zero.
TStoredValue StoredValue(HKEY root, const std::string& path, const std::string& name) {
    TRegKeyHandle key = OpenForTest(root, path);
    TStoredValue value;
    DWORD size = 0;
    if (!key || RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.Type, nullptr, &size) != ERROR_SUCCESS)
        return value;
    std::string data(size, '\0');
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.Type, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS)
        return value;
    value.Found = true;
    if (!data.empty() && data.back() == '\0') data.pop_back();
    value.Data = data;
    return value;
}

// Stores exactly the given bytes, so that values without a terminating zero can be made.
void Store(HKEY root, const std::string& path, const std::string& name, DWORD type, const std::string& bytes) {
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    TRegKeyHandle key(raw);
    ASSERT_EQ(RegSetValueExA(key.Get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
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
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QuenbyTest");
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuenbyTest");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\QuenbyTest");
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\QuenbyTest");
    }
};

}  // namespace

TEST_F(Registry, ProfileResolvesSectionsBelowItsKeyOrBelowTheRoot) {
    TRegistryProfile profile("\\Software\\QuenbyTest\\A");
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\QuenbyTest\\A")) << "made when the profile is opened";
    EXPECT_EQ(profile.CurrentPath(), "Software\\QuenbyTest\\A");

    profile.WriteText("B", "v", "below the profile key");
    profile.WriteText("\\Software\\QuenbyTest\\E", "v", "below the root");
    profile.WriteText("C\\D\\F", "", "every missing key made");
    EXPECT_EQ(StoredValue(HKEY_CURRENT_USER, "Software\\QuenbyTest\\A\\B", "v"), Text("below the profile key"));
    EXPECT_EQ(StoredValue(HKEY_CURRENT_USER, "Software\\QuenbyTest\\E", "v"), Text("below the root"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\QuenbyTest\\A\\Software"));
    EXPECT_EQ(StoredValue(HKEY_CURRENT_USER, "Software\\QuenbyTest\\A\\C\\D\\F", ""), Text("every missing key made"));

    // Without the leading backslash the profile's own path is taken below it again.
    TRegistryProfile relative("Software\\QuenbyTest\\R");
    relative.WriteText("Software\\QuenbyTest\\R\\B", "v", "doubled");
    EXPECT_EQ(StoredValue(HKEY_CURRENT_USER, "Software\\QuenbyTest\\R\\Software\\QuenbyTest\\R\\B", "v"),
              Text("doubled"));
    EXPECT_FALSE(StoredValue(HKEY_CURRENT_USER, "Software\\QuenbyTest\\R\\B", "v").Found);
}

TEST_F(Registry, SetRootMovesLaterSectionsAndLeavesTheProfilePathInPlace) {
    TRegistryProfile profile("\\Software\\QuenbyTest\\A");
    profile.SetRoot(HKEY_CURRENT_USER);
    EXPECT_NE(profile.CurrentKey(), nullptr) << "the same root changes nothing";

    profile.SetRoot(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(profile.CurrentKey(), nullptr);
    profile.WriteText("SOFTWARE\\QuenbyTest\\D", "v", "machine");
    profile.WriteNumber("SOFTWARE\\QuenbyTest\\D", "n", 3);
    EXPECT_EQ(StoredValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\QuenbyTest\\D", "v"), Text("machine"));
    EXPECT_EQ(profile.ReadNumber("SOFTWARE\\QuenbyTest\\D", "n", 0), 3);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\QuenbyTest\\A\\SOFTWARE"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\QuenbyTest\\A"));
}

TEST_F(Registry, NumbersAreWrittenAsTextAndReadByTheNumberRule) {
    TRegistryProfile profile("\\Software\\QuenbyTest\\N");
    profile.WriteNumber("C", "seven", 7);
    profile.WriteNumber("C", "negative", -12);
    profile.WriteNumber("C", "lowest", INT_MIN);
    EXPECT_EQ(StoredValue(HKEY_CURRENT_USER, "Software\\QuenbyTest\\N\\C", "seven"), Text("7"));
    EXPECT_EQ(StoredValue(HKEY_CURRENT_USER, "Software\\QuenbyTest\\N\\C", "negative"), Text("-12"));
    EXPECT_EQ(StoredValue(HKEY_CURRENT_USER, "Software\\QuenbyTest\\N\\C", "lowest"), Text("-2147483648"));
    EXPECT_EQ(profile.ReadNumber("C", "seven", 0), 7);
    EXPECT_EQ(profile.ReadNumber("C", "lowest", 0), INT_MIN);
    profile.WriteNumber("C", "seven", 8);
    EXPECT_EQ(profile.ReadNumber("C", "seven", 0), 8);

    const std::string stored = "Software\\QuenbyTest\\N\\C";
    Store(HKEY_CURRENT_USER, stored, "hex", REG_SZ, std::string("0x1F", 5));
    Store(HKEY_CURRENT_USER, stored, "word", REG_SZ, std::string("abc", 4));
    Store(HKEY_CURRENT_USER, stored, "expandable", REG_EXPAND_SZ, std::string("12", 3));
    Store(HKEY_CURRENT_USER, stored, "empty", REG_SZ, "");
    EXPECT_EQ(profile.ReadNumber("C", "hex", 0), 31);
    EXPECT_EQ(profile.ReadNumber("C", "word", 5), 5);
    EXPECT_EQ(profile.ReadNumber("C", "expandable", 0), 12);
    EXPECT_EQ(profile.ReadNumber("C", "empty", 5), 5);
    EXPECT_EQ(profile.ReadNumber("C", "missing", 5), 5);
    EXPECT_EQ(profile.ReadNumber("Missing", "seven", 5), 5);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\QuenbyTest\\N\\Missing")) << "reading creates nothing";

    DWORD number = 9;
    Store(HKEY_CURRENT_USER, stored, "dword", REG_DWORD, std::string(reinterpret_cast<const char*>(&number), 4));
    EXPECT_EQ(RegistryError([&] { profile.ReadNumber("C", "dword", 0); }), "Invalid data type for 'dword'");
}

TEST_F(Registry, ReadValueTextGivesStoredTextUnexpandedAndEmptyForMissingValues) {
    const std::string path = "Software\\QuenbyTest\\K";
    Store(HKEY_CURRENT_USER, path, "text", REG_SZ, std::string("abc", 4));
    Store(HKEY_CURRENT_USER, path, "unterminated", REG_SZ, "abc");
    Store(HKEY_CURRENT_USER, path, "embedded", REG_SZ, std::string("ab\0cd", 6));
    Store(HKEY_CURRENT_USER, path, "expand", REG_EXPAND_SZ, std::string("%WINDIR%\\x", 11));
    Store(HKEY_CURRENT_USER, path, "empty", REG_SZ, std::string(1, '\0'));
    Store(HKEY_CURRENT_USER, path, "nothing", REG_SZ, "");
    Store(HKEY_CURRENT_USER, path, "binary", REG_BINARY, "\x01\x02");

    TRegistryKey key;
    EXPECT_EQ(key.ReadValueText("text"), "") << "no key open";
    key.SetRoot(HKEY_LOCAL_MACHINE);
    ASSERT_FALSE(key.OpenKey("\\" + path, false)) << "the root is HKEY_LOCAL_MACHINE";
    key.SetRoot(HKEY_CURRENT_USER);
    ASSERT_TRUE(key.OpenKey("\\" + path, false));
    EXPECT_EQ(key.ReadValueText("text"), "abc");
    EXPECT_EQ(key.ReadValueText("unterminated"), "abc");
    EXPECT_EQ(key.ReadValueText("embedded"), "ab");
    EXPECT_EQ(key.ReadValueText("expand"), "%WINDIR%\\x");
    EXPECT_EQ(key.ReadValueText("empty"), "");
    EXPECT_EQ(key.ReadValueText("nothing"), "");
    EXPECT_EQ(key.ReadValueText("missing"), "");
    EXPECT_EQ(RegistryError([&] { key.ReadValueText("binary"); }), "Invalid data type for 'binary'");
}

TEST_F(Registry, OpenKeyKeepsTheCurrentKeyWhenItFails) {
    TRegistryKey key;
    EXPECT_FALSE(key.OpenKey("\\Software\\QuenbyTest\\K", false));
    EXPECT_EQ(key.CurrentKey(), nullptr);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\QuenbyTest\\K"));

    ASSERT_TRUE(key.OpenKey("\\Software\\QuenbyTest\\K", true));
    ASSERT_TRUE(key.OpenKey("Sub", true));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\QuenbyTest\\K\\Sub"));
    EXPECT_EQ(key.CurrentPath(), "Software\\QuenbyTest\\K\\Sub");
    Store(HKEY_CURRENT_USER, "Software\\QuenbyTest\\K\\Sub", "v", REG_SZ, std::string("here", 5));

    HKEY current = key.CurrentKey();
    EXPECT_FALSE(key.OpenKey("Nope", false));
    EXPECT_EQ(key.CurrentKey(), current);
    EXPECT_EQ(key.CurrentPath(), "Software\\QuenbyTest\\K\\Sub");
    EXPECT_EQ(key.ReadValueText("v"), "here");

    // An empty path opens the current key again; the new handle must stay usable.
    ASSERT_TRUE(key.OpenKey("", false));
    EXPECT_EQ(key.ReadValueText("v"), "here");
    key.Release();
    EXPECT_EQ(key.CurrentKey(), nullptr);
    EXPECT_EQ(key.ReadValueText("v"), "");
}

TEST_F(Registry, WritesThatTheSystemRefusesRaiseRegistryErrors) {
    TRegistryProfile profile("\\Software\\QuenbyTest\\W");
    const std::string tooLong = "\\Software\\QuenbyTest\\" + std::string(300, 'k');
    EXPECT_EQ(RegistryError([&] { profile.WriteText(tooLong, "v", "x"); }), "Failed to create key " + tooLong);
    EXPECT_EQ(RegistryError([&] { profile.WriteNumber(tooLong, "v", 1); }), "Failed to create key " + tooLong);

    const std::string longName(20000, 'n');
    EXPECT_EQ(RegistryError([&] { profile.WriteText("S", longName, "x"); }),
              "Failed to set data for '" + longName + "'");
}

// Another program removes the key again and again: a write whose key is gone once it was made is a
// failure, never a value taken as written.
TEST_F(Registry, AKeyRemovedRightAfterItWasMadeFailsTheWrite) {
    TRegistryProfile profile("\\Software\\QuenbyTest");
    std::atomic<bool> stop = false;
    std::thread remover([&] {
        while (!stop) RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuenbyTest\\Gone");
    });
    std::string error = "no error";
    for (int i = 0; i < 100000 && error == "no error"; ++i)
        error = RegistryError([&] { profile.WriteText("Gone", "v", "x"); });
    stop = true;
    remover.join();
    EXPECT_EQ(error, "Failed to set data for 'v'");
}

TEST_F(Registry, KeysTheUserMayOnlyReadAreNeitherOpenedNorWritten) {
    const std::string path = "Software\\QuenbyTest\\Locked";
    Store(HKEY_CURRENT_USER, path, "n", REG_SZ, std::string("4", 2));
    {
        HKEY raw = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &raw), ERROR_SUCCESS);
        TRegKeyHandle key(raw);
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                                         &descriptor, nullptr));
        LONG result = RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, descriptor);
        LocalFree(descriptor);
        ASSERT_EQ(result, ERROR_SUCCESS);
    }
    ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, path)) << "still readable";

    TRegistryKey key;
    EXPECT_FALSE(key.OpenKey("\\" + path, false));
    EXPECT_FALSE(key.OpenKey("\\" + path, true));
    TRegistryProfile profile("\\Software\\QuenbyTest");
    EXPECT_EQ(profile.ReadNumber("Locked", "n", 5), 5) << "full access is asked for reading too";
    EXPECT_EQ(RegistryError([&] { profile.WriteText("Locked", "n", "6"); }), "Failed to create key Locked");
    EXPECT_EQ(StoredValue(HKEY_CURRENT_USER, path, "n"), Text("4"));
}

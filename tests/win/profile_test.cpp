// The profile file on real INI files through the system's profile functions.
#include "win/profile.h"

#include <gtest/gtest.h>

#include <string>

#include "ScratchFolder.h"

using quenby::TProfileFile;
using quenby::TStringList;
using quenby::test::ReadWholeFile;
using quenby::test::TScratchFolder;

namespace {

// Keys named k0000, k0001, ... in one section, each with the value v.
std::string SectionOfKeys(int count, int nameLength) {
    std::string text = "[Many]\r\n";
    for (int i = 0; i < count; ++i) {
        std::string number = std::to_string(i);
        text.append("k").append(static_cast<size_t>(nameLength) - 1 - number.size(), '0');
        text.append(number).append("=v\r\n");
    }
    return text + "[After]\r\nx=1\r\n";
}

std::string MessageOfWrite(const TProfileFile& file, const std::string& section, const std::string& key,
                           const std::string& text) {
    try {
        file.WriteText(section, key, text);
    } catch (const quenby::ERegistryException& e) {
        return std::string("registry error: ") + e.what();
    } catch (const quenby::Exception& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace

TEST(ProfileFile, MissingFileSectionOrKeyGivesTheDefaults) {
    TScratchFolder folder("quenby-profile-defaults");
    TProfileFile missing(folder / "absent.ini");
    TProfileFile file(folder.Write("a.ini", "[S]\r\nempty=\r\nnum=12\r\nflag2=2\r\nzero=0\r\nword=yes\r\n"));

    EXPECT_EQ(missing.ReadText("S", "num", "dflt"), "dflt");
    EXPECT_EQ(file.ReadText("Other", "num", "dflt"), "dflt");
    EXPECT_EQ(file.ReadText("S", "nokey", "dflt"), "dflt");
    EXPECT_EQ(file.ReadText("S", "empty", "dflt"), "") << "an empty value is not a missing one";
    EXPECT_EQ(file.ReadText("s", "NUM", ""), "12") << "names ignore case";

    EXPECT_EQ(missing.ReadNumber("S", "num", 5), 5);
    EXPECT_EQ(file.ReadNumber("S", "num", 5), 12);
    EXPECT_EQ(file.ReadNumber("S", "empty", 5), 5);
    EXPECT_EQ(file.ReadNumber("S", "word", 5), 5);

    EXPECT_TRUE(file.ReadFlag("S", "flag2", false));
    EXPECT_FALSE(file.ReadFlag("S", "zero", true));
    EXPECT_FALSE(file.ReadFlag("S", "word", false));
    EXPECT_FALSE(file.ReadFlag("S", "nokey", false));
    EXPECT_TRUE(file.ReadFlag("S", "nokey", true));
    EXPECT_TRUE(missing.ReadFlag("S", "flag2", true));
}

TEST(ProfileFile, ReadTextReturnsLongValuesAndDefaultsWhole) {
    TScratchFolder folder("quenby-profile-long");
    std::string content = "[S]\r\n";
    // Either side of the 1,024-byte buffer, and well past its doublings.
    const int lengths[] = {1023, 1024, 1500, 9000};
    for (int length : lengths) {
        content.append("v").append(std::to_string(length)).append("=");
        content.append(static_cast<size_t>(length), 'x').append("\r\n");
    }
    TProfileFile file(folder.Write("long.ini", content.append("end=tail\r\n")));

    for (int length : lengths) {
        std::string value = file.ReadText("S", std::string("v").append(std::to_string(length)), "");
        EXPECT_EQ(value.size(), static_cast<size_t>(length));
        EXPECT_EQ(value.find_first_not_of('x'), std::string::npos);
    }
    EXPECT_EQ(file.ReadText("S", "end", ""), "tail");
    std::string longDefault(1500, 'd');
    EXPECT_EQ(file.ReadText("S", "missing", longDefault), longDefault);
}

TEST(ProfileFile, ListKeysKeepsFileOrderAndDuplicatesAndEmptiesForAMissingSection) {
    TScratchFolder folder("quenby-profile-keys");
    TProfileFile file(folder.Write(
        "keys.ini", "[StartInfo]\r\nterms.txt=\r\nreadme.txt=\r\n[L]\r\nc=1\r\na=2\r\nb=\r\na=3\r\n[Empty]\r\n"));
    TStringList list;
    file.ListKeys("StartInfo", list);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"terms.txt", "readme.txt"}));
    file.ListKeys("L", list);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"c", "a", "b", "a"}));
    EXPECT_EQ(file.ReadText("L", "a", ""), "2") << "the first of duplicate keys wins";

    file.ListKeys("Nowhere", list);
    EXPECT_TRUE(list.Empty());
    list.Add("stale");
    file.ListKeys("Empty", list);
    EXPECT_TRUE(list.Empty());
    list.Add("stale");
    TProfileFile(folder / "absent.ini").ListKeys("L", list);
    EXPECT_TRUE(list.Empty());
}

TEST(ProfileFile, ListKeysReturnsEverySectionBeyondEightKilobytes) {
    TScratchFolder folder("quenby-profile-many");
    // 16 bytes per name: 512 names fill the 8,192-byte buffer exactly, 513 pass it; 3,000 go far beyond.
    const std::pair<int, int> cases[] = {{512, 15}, {513, 15}, {3000, 12}};
    for (auto [count, nameLength] : cases) {
        SCOPED_TRACE(std::to_string(count) + " names");
        TProfileFile file(folder.Write("many.ini", SectionOfKeys(count, nameLength)));
        TStringList list;
        file.ListKeys("Many", list);
        ASSERT_EQ(list.Count(), count);
        for (int i = 0; i < count; ++i) {
            const std::string& name = list[i];
            ASSERT_EQ(name.size(), static_cast<size_t>(nameLength)) << name;
            ASSERT_EQ(std::stoi(name.substr(1)), i) << name;
        }
    }
}

TEST(ProfileFile, WriteTextCreatesTheFileAndReplacesValues) {
    TScratchFolder folder("quenby-profile-write");
    TProfileFile file(folder / "Quenby.upi");
    file.WriteText("Files", "a.txt", "one");
    file.WriteText("Files", "b.txt", "two");
    file.WriteText("Files", "a.txt", "three");
    file.WriteText("Other", "k", "v");

    EXPECT_EQ(file.ReadText("Files", "a.txt", ""), "three");
    EXPECT_EQ(file.ReadText("Files", "b.txt", ""), "two");
    TStringList keys;
    file.ListKeys("Files", keys);
    EXPECT_EQ(keys.Items(), (std::vector<std::string>{"a.txt", "b.txt"}));
    std::string content = ReadWholeFile(file.Path());
    EXPECT_NE(content.find("a.txt=three"), std::string::npos) << content;
    EXPECT_EQ(content.find("one"), std::string::npos) << content;
}

TEST(ProfileFile, WriteTextThatTheSystemRefusesNamesThePath) {
    TScratchFolder folder("quenby-profile-refused");
    std::string intoMissingFolder = folder / "no such folder\\Quenby.upi";
    EXPECT_EQ(MessageOfWrite(TProfileFile(intoMissingFolder), "S", "k", "v"),
              "Unable to write to " + intoMissingFolder);
    EXPECT_EQ(GetFileAttributesA(intoMissingFolder.c_str()), INVALID_FILE_ATTRIBUTES);

    // A read-only bind mount set up before Wine started (as root, file permissions stop nothing).
    const std::string readOnly = "C:\\quenby-readonly";
    ASSERT_NE(GetFileAttributesA((readOnly + "\\existing.ini").c_str()), INVALID_FILE_ATTRIBUTES)
        << "the read-only folder is made by profile_test.prepare.sh; run this test through ctest";
    TProfileFile existing(readOnly + "\\existing.ini");
    EXPECT_EQ(existing.ReadText("S", "k", ""), "old");
    EXPECT_EQ(MessageOfWrite(existing, "S", "k", "new"), "Unable to write to " + existing.Path());
    EXPECT_EQ(existing.ReadText("S", "k", ""), "old");
    TProfileFile fresh(readOnly + "\\fresh.ini");
    EXPECT_EQ(MessageOfWrite(fresh, "S", "k", "new"), "Unable to write to " + fresh.Path());
}

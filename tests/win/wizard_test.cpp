// The wizard dialog in process under Wine, created against a distribution folder of the test's own
// with the pauses switched off; pages, texts and buttons are read through the windows themselves.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "wizard/MainDlg.h"
#include "win/Pause.h"
#include "RegistryProbe.h"
#include "ScratchFolder.h"
#include "UiProbe.h"
#include "base/Texts.h"
#include "wizard/forms/MainDialogForm.h"
#include "ui/Application.h"
#include "install/InstructionsFile.h"

namespace quenby {
namespace {

using test::WindowText;

constexpr char kWindowsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr char kParagraphs[] =
    "Quenby for Windows 95, 98 and NT 4.0 is published by Norvale, and is a component of the Quenby software "
    "distribution, installation and uninstallation package.\r\n\r\n"
    "You may download your own copy of the Quenby installer package from the Norvale web site at "
    "http://www.norvale.example/quenby/.\r\n\r\n"
    "If you have no access to the web, write to quenby@norvale.example for instructions on getting a copy by FTP "
    "or by post.";
constexpr char kInterruptedMemo[] =
    "You have selected to interrupt this installation. Please notice that some files may have been copied to the "
    "destination directory, and that changes may have been made to Windows, depending on where you interrupted "
    "this installation.\r\n\r\n"
    "It is recommended that you re-install this software product, and then use the uninstaller to remove it "
    "correctly from your system.\r\n";
constexpr char kNoticesText[] =
    "Please read the following notices carefully, they contain important commercial and technical information.";
constexpr char kNamesText[] =
    "Please follow the instructions provided with your software to fill in your registration name and "
    "organization fields.";

// One registry value put back as it was when the test ends.
class TSavedValue {
public:
    TSavedValue(HKEY root, std::string path, std::string name)
        : m_root(root), m_path(std::move(path)), m_name(std::move(name)) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(m_root, m_path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
        DWORD size = 0;
        if (RegQueryValueExA(key, m_name.c_str(), nullptr, &m_type, nullptr, &size) == ERROR_SUCCESS) {
            m_data.emplace(size, '\0');
            RegQueryValueExA(key, m_name.c_str(), nullptr, &m_type, reinterpret_cast<BYTE*>(m_data->data()), &size);
        }
        RegCloseKey(key);
    }
    ~TSavedValue() {
        if (m_data)
            Set(m_type, *m_data);
        else
            Set(REG_NONE, {});
    }
    TSavedValue(const TSavedValue&) = delete;
    TSavedValue& operator=(const TSavedValue&) = delete;

    // REG_NONE deletes the value.
    void Set(DWORD type, const std::string& data) const {
        HKEY key = nullptr;
        if (RegCreateKeyExA(m_root, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return;
        if (type == REG_NONE)
            RegDeleteValueA(key, m_name.c_str());
        else
            RegSetValueExA(key, m_name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size()));
        RegCloseKey(key);
    }
    void SetText(const std::string& text) const { Set(REG_SZ, text + '\0'); }

private:
    HKEY m_root;
    std::string m_path, m_name;
    DWORD m_type = REG_NONE;
    std::optional<std::string> m_data;
};

class WizardTest : public ::testing::Test {
protected:
    WizardTest() : m_dist("quenby-wizard") {
        SetPauseFunction([](unsigned) {});
        m_application.SetTitle(kApplicationTitle);
        m_owner.SetText("Jane Doe");
        m_org.Set(REG_NONE, {});
    }
    ~WizardTest() override {
        m_dialog.reset();
        SetPauseFunction(nullptr);
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Norvale Tests");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Wizard Probe");
    }

    // Writes the instructions (and any notice files) into the distribution folder and opens the dialog.
    TMainDialog& Open(const std::string& settings, const std::string& sections = "") {
        m_dialog.reset();
        m_dist.Write("Quenby.ipi", "[Settings]\r\n" + settings + sections);
        m_instructions = ReadInstructionsFile(m_dist.Path() + "\\");
        m_dialog = std::make_unique<TMainDialog>(m_instructions, nullptr);
        m_dialog->Show();
        return *m_dialog;
    }

    HWND Item(const char* name) const {
        return ui::FindControl(m_dialog->Handle(), ui::ControlId(forms::kMainDialogControls, name));
    }
    std::string Text(const char* name) const { return WindowText(Item(name)); }
    bool Shown(const char* name) const { return (GetWindowLongPtrA(Item(name), GWL_STYLE) & WS_VISIBLE) != 0; }
    bool Enabled(const char* name) const { return IsWindowEnabled(Item(name)) != FALSE; }
    // The one panel on view, by name.
    std::string PageOnView() const {
        std::string onView;
        for (const char* panel : {"Panel1", "Panel2", "Panel4", "Panel5"})
            if (Shown(panel)) onView += onView.empty() ? panel : std::string("+") + panel;
        return onView;
    }
    void Press(const char* button) { SendMessageA(Item(button), BM_CLICK, 0, 0); }
    // Presses a button and returns the message boxes it showed (closed with OK).
    std::vector<test::TSeenBox> PressSeeingBoxes(const char* button) {
        test::TBoxWatch watch;
        Press(button);
        return watch.Stop();
    }
    // Presses Next expecting no message box.
    void Next() {
        const auto boxes = PressSeeingBoxes("NextBut");
        for (const auto& box : boxes)
            ADD_FAILURE() << "unexpected box: " << (box.Texts.empty() ? box.Caption : box.Texts.front());
    }
    // The application's terminate request is a quit message in this thread's queue; taken out here.
    static bool TerminateRequested() {
        MSG message;
        return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    }
    void TypeInto(const char* edit, const std::string& text) { SetWindowTextA(Item(edit), text.c_str()); }

    // The button states as "Prev Next-caption Cancel", each enabled (+) or not (-).
    std::string Buttons() const {
        return std::string(Enabled("PrevBut") ? "+" : "-") + "Prev " + (Enabled("NextBut") ? "+" : "-") +
               Text("NextBut") + " " + (Enabled("CancelBut") ? "+" : "-") + "Cancel";
    }

    ui::TApplication m_application{GetModuleHandleA(nullptr)};
    test::TScratchFolder m_dist;
    TSavedValue m_owner{HKEY_LOCAL_MACHINE, kWindowsKey, "RegisteredOwner"};
    TSavedValue m_org{HKEY_LOCAL_MACHINE, kWindowsKey, "RegisteredOrganization"};
    TInstructions m_instructions;
    std::unique_ptr<TMainDialog> m_dialog;
};

bool HasText(const test::TSeenBox& box, const std::string& text) {
    return std::find(box.Texts.begin(), box.Texts.end(), text) != box.Texts.end();
}

constexpr char kAtlas[] = "Application=Atlas\r\nVersion=2.0\r\n";

TEST_F(WizardTest, WelcomePageTextsCaptionAndControlsAsCreated) {
    Open(kAtlas);
    EXPECT_EQ(Text("InfoLabel"),
              "Welcome to Quenby. This program will automatically install and configure Atlas 2.0 on your computer.");
    EXPECT_EQ(WindowText(m_dialog->Handle()), "Atlas 2.0 Installation");
    EXPECT_EQ(Text("InfoMemo"), kParagraphs);
    EXPECT_EQ(PageOnView(), "Panel1");
    EXPECT_EQ(Buttons(), "-Prev +&Next +Cancel");
    EXPECT_EQ(m_dialog->WizardState(), 200);
    // The tree starts at drive C:, which proposes C:\ + the application name.
    EXPECT_TRUE(m_dialog->DirTree().HandleAllocated());
    EXPECT_EQ(m_dialog->DirTree().GetDirectory(), "C:\\");
    EXPECT_FALSE(m_dialog->DirTree().GetGoBelowRecycleBin());

    // Every control at its declared place, inside its declared panel; the tree fills its host.
    for (const ui::TControlDecl& row : forms::kMainDialogControls) {
        const RECT r = test::RectInParent(Item(row.Name));
        EXPECT_EQ(r.left, row.Bounds.Left) << row.Name;
        EXPECT_EQ(r.top, row.Bounds.Top) << row.Name;
        if (!(row.Options & ui::kAutoSize)) {
            EXPECT_EQ(r.right - r.left, row.Bounds.Width) << row.Name;
            EXPECT_EQ(r.bottom - r.top, row.Bounds.Height) << row.Name;
        }
        if (row.Parent) {
            EXPECT_EQ(GetParent(Item(row.Name)), Item(row.Parent)) << row.Name;
        }
    }
    const HWND tree = m_dialog->DirTree().Handle();
    EXPECT_EQ(GetParent(tree), Item("DirTree"));
    RECT client;
    GetClientRect(Item("DirTree"), &client);
    const RECT place = test::RectInParent(tree);
    EXPECT_EQ(place.right - place.left, client.right);
    EXPECT_EQ(place.bottom - place.top, client.bottom);
    EXPECT_TRUE(GetWindowLongPtrA(tree, GWL_STYLE) & TVS_SHOWSELALWAYS);
    EXPECT_EQ(SendMessageA(tree, WM_GETFONT, 0, 0), SendMessageA(Item("EditPath"), WM_GETFONT, 0, 0));

    // A close command empties the instruction line.
    SendMessageA(m_dialog->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Text("InfoLabel"), "");

    // An empty version leaves two blanks in the welcome text and none in the caption.
    Open("Application=Atlas\r\n");
    EXPECT_EQ(Text("InfoLabel"),
              "Welcome to Quenby. This program will automatically install and configure Atlas  on your computer.");
    EXPECT_EQ(WindowText(m_dialog->Handle()), "Atlas Installation");
}

TEST_F(WizardTest, StartNoticesOnePerNextThenTheUserPage) {
    m_dist.Write("first.txt", "First notice.\r\nSecond line.\r\n");
    m_dist.Write("second.txt", "Unix notice\nends here\n");
    Open(kAtlas, "[StartInfo]\r\nfirst.txt=\r\nsecond.txt=\r\n");
    Next();
    EXPECT_EQ(Text("InfoLabel"), kNoticesText);
    EXPECT_EQ(Text("InfoMemo"), "First notice.\r\nSecond line.");
    EXPECT_EQ(m_dialog->WizardState(), 200);
    EXPECT_EQ(m_dialog->StartInfoIndex(), 1);
    EXPECT_EQ(Buttons(), "-Prev +&Next +Cancel");
    Next();
    EXPECT_EQ(Text("InfoMemo"), "Unix notice\r\nends here");
    EXPECT_EQ(PageOnView(), "Panel1");
    Next();
    EXPECT_EQ(PageOnView(), "Panel2");
    EXPECT_EQ(m_dialog->WizardState(), 400);
    EXPECT_EQ(Text("InfoLabel"), kNamesText);
    EXPECT_EQ(Buttons(), "+Prev +&Next +Cancel");
    EXPECT_EQ(m_dialog->StartInfoIndex(), 2);

    // Without start notices the first Next opens the user page.
    Open(kAtlas);
    Next();
    EXPECT_EQ(PageOnView(), "Panel2");
    EXPECT_EQ(m_dialog->WizardState(), 400);
    EXPECT_EQ(m_dialog->StartInfoIndex(), 0);
}

TEST_F(WizardTest, NoticeThatCannotBeOpenedIsReportedAndTriedAgainOnTheNextPress) {
    m_dist.Write("present.txt", "Present.\r\n");
    Open(kAtlas, "[StartInfo]\r\nmissing.txt=\r\npresent.txt=\r\n");
    for (int press = 1; press <= 2; ++press) {
        const auto boxes = PressSeeingBoxes("NextBut");
        ASSERT_EQ(boxes.size(), 1u) << press;
        EXPECT_EQ(boxes[0].Caption, "Quenby 3.2");
        EXPECT_TRUE(HasText(boxes[0], "Cannot open file " + m_dist.Path() + "\\missing.txt.")) << press;
        EXPECT_EQ(m_dialog->StartInfoIndex(), 0);
        EXPECT_EQ(m_dialog->WizardState(), 200);
        EXPECT_EQ(Text("InfoMemo"), kParagraphs);
    }
    // Cancel is the way out.
    Press("CancelBut");
    EXPECT_EQ(m_dialog->WizardState(), 1000);
}

TEST_F(WizardTest, UserPageProposesTheRegisteredNamesAndTakesTheTypedOnes) {
    m_dist.Write("only.txt", "The only notice.");
    Open(kAtlas, "[StartInfo]\r\nonly.txt=\r\n");
    Next();
    Next();
    // RegisteredOwner present, RegisteredOrganization absent.
    EXPECT_EQ(Text("EditName"), "Jane Doe");
    EXPECT_EQ(Text("EditOrg"), "");
    TypeInto("EditName", "Typed Name");
    TypeInto("EditOrg", "Typed Org");
    Next();
    EXPECT_EQ(m_dialog->UserName(), "Typed Name");
    EXPECT_EQ(m_dialog->Organisation(), "Typed Org");
    EXPECT_EQ(PageOnView(), "Panel4");

    // Previous: the notice page with what the memo last showed; the notices are not shown again and the
    // names are read anew.
    Press("PrevBut");
    EXPECT_EQ(PageOnView(), "Panel1");
    EXPECT_EQ(Text("InfoMemo"), "The only notice.");
    EXPECT_EQ(Text("InfoLabel"), kNoticesText);
    EXPECT_EQ(Buttons(), "-Prev +&Next +Cancel");
    EXPECT_EQ(m_dialog->WizardState(), 200);
    m_org.SetText("Norvale Test Org");
    Next();
    EXPECT_EQ(PageOnView(), "Panel2");
    EXPECT_EQ(Text("EditName"), "Jane Doe");
    EXPECT_EQ(Text("EditOrg"), "Norvale Test Org");
    EXPECT_EQ(m_dialog->StartInfoIndex(), 1);

    // Empty boxes are taken as they are.
    TypeInto("EditName", "");
    TypeInto("EditOrg", "");
    Next();
    EXPECT_EQ(m_dialog->UserName(), "");
    EXPECT_EQ(m_dialog->Organisation(), "");
}

TEST_F(WizardTest, RegisteredOwnerThatIsNoTextIsReportedAndTheNextPressTriesAgain) {
    const DWORD number = 7;
    m_owner.Set(REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof number));
    Open(kAtlas);
    const auto boxes = PressSeeingBoxes("NextBut");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, "Quenby 3.2");
    EXPECT_TRUE(HasText(boxes[0], "Invalid data type for 'RegisteredOwner'."));
    EXPECT_EQ(m_dialog->WizardState(), 300);
    EXPECT_EQ(PageOnView(), "Panel1");
    EXPECT_EQ(Buttons(), "-Prev +&Next +Cancel");

    m_owner.SetText("Fixed Owner");
    Next();
    EXPECT_EQ(m_dialog->WizardState(), 400);
    EXPECT_EQ(Text("EditName"), "Fixed Owner");
}

TEST_F(WizardTest, DestinationPageShowsTheDefaultOnEveryVisitAndFollowsTheTree) {
    Open(kAtlas + std::string("Directory=C:\\Program Files\\Atlas\r\n"));
    Next();
    Next();
    EXPECT_EQ(PageOnView(), "Panel4");
    EXPECT_EQ(m_dialog->WizardState(), 600);
    EXPECT_EQ(Text("EditPath"), "C:\\Program Files\\Atlas");
    EXPECT_EQ(Text("InfoLabel"),
              "Please accept the default path displayed or select a different path to install Atlas 2.0 on your "
              "computer.");
    EXPECT_EQ(Buttons(), "+Prev +&Next +Cancel");

    // Choosing a folder in the tree proposes it with the application name.
    m_dialog->DirTree().SetDirectory("D:\\Apps");
    EXPECT_EQ(Text("EditPath"), "D:\\Apps\\Atlas");
    TypeInto("EditPath", "E:\\Elsewhere");

    Press("PrevBut");
    Next();
    Next();
    EXPECT_EQ(Text("EditPath"), "C:\\Program Files\\Atlas");
    EXPECT_EQ(m_dialog->DirTree().GetDirectory(), "D:\\Apps\\");  // the tree keeps its selection

    // The default directory without a setting; with an empty application name the folder alone.
    Open("Version=2.0\r\n");
    Next();
    Next();
    EXPECT_EQ(Text("EditPath"), "c:\\tmp");
    EXPECT_EQ(Text("InfoLabel"),
              "Please accept the default path displayed or select a different path to install  2.0 on your "
              "computer.");
    m_dialog->DirTree().SetDirectory("D:\\Apps\\");
    EXPECT_EQ(Text("EditPath"), "D:\\Apps\\");
}

// A small distribution that the copy step can install: one plain file, one registry section.
std::string Installable(const std::string& destination) {
    return "Application=Wizard Probe\r\nVersion=1.0\r\nExpand=0\r\nProgGroup=Wizard Probe\r\nDirectory=" +
           destination + "\r\n";
}
constexpr char kInstallableSections[] =
    "[FilesIn]\r\nprobe.txt=\r\n[FilesOut]\r\nprobe.txt=0\r\n"
    "[Keys]\r\nBase=\\Software\\Norvale Tests\\Wizard Probe\r\nOwner=Registration\r\n"
    "[Owner]\r\nName=$NAME\r\n";

TEST_F(WizardTest, WholeRunButtonStatesAndFinishWithoutClosingNotices) {
    test::TScratchFolder target("quenby-wizard-target");
    m_dist.Write("probe.txt", "probe");
    Open(Installable(target / "Probe"), kInstallableSections);
    EXPECT_EQ(Buttons(), "-Prev +&Next +Cancel");
    Next();
    EXPECT_EQ(Buttons(), "+Prev +&Next +Cancel");
    Next();
    EXPECT_EQ(Buttons(), "+Prev +&Next +Cancel");
    Next();  // the copy step
    EXPECT_EQ(m_dialog->WizardState(), 800);
    EXPECT_EQ(Buttons(), "-Prev +&Next +Cancel");
    EXPECT_EQ(PageOnView(), "Panel5");
    EXPECT_EQ(Text("InfoLabel"), "Wizard Probe 1.0 was installed successfuly. Please select next to continue.");
    EXPECT_EQ(SendMessageA(Item("ProgressBar"), PBM_GETPOS, 0, 0), 100);
    EXPECT_EQ(test::ReadWholeFile(target / "Probe\\probe.txt"), "probe");
    EXPECT_EQ(test::RegText(HKEY_CURRENT_USER, "Software\\Norvale Tests\\Wizard Probe\\Registration", "Name"),
              "Jane Doe");

    // No closing notices: the finish page at once, with the paragraphs brought into view.
    Next();
    EXPECT_EQ(m_dialog->WizardState(), 1000);
    EXPECT_EQ(Buttons(), "-Prev +&Finish -Cancel");
    EXPECT_EQ(Text("InfoLabel"), "Quenby has installed Wizard Probe 1.0 successfully, congratulations.");
    EXPECT_EQ(Text("InfoMemo"), kParagraphs);
    EXPECT_EQ(PageOnView(), "Panel1");
    EXPECT_EQ(m_dialog->EndInfoIndex(), 0);

    EXPECT_FALSE(TerminateRequested());
    Next();
    EXPECT_TRUE(TerminateRequested());
}

TEST_F(WizardTest, DiskPromptKeepsTheDestinationStateAndClosingNoticesFollowTheCopy) {
    test::TScratchFolder target("quenby-wizard-target");
    Open(Installable(target / "Probe"), std::string(kInstallableSections) + "[EndInfo]\r\nthanks.txt=\r\nbye.txt=\r\n");
    Next();
    Next();
    Next();  // probe.txt is not on this disk
    EXPECT_EQ(m_dialog->WizardState(), 600);
    EXPECT_EQ(Text("ProgressLabel"),
              "Please insert the next disk and press ok to continue or cancel to exit the installation.");
    EXPECT_EQ(PageOnView(), "Panel5");
    EXPECT_EQ(Buttons(), "+Prev +&Next +Cancel");
    m_dist.Write("probe.txt", "second disk");
    Next();
    EXPECT_EQ(m_dialog->WizardState(), 800);
    EXPECT_EQ(test::ReadWholeFile(target / "Probe\\probe.txt"), "second disk");

    // A closing notice that cannot be opened: the notice panel replaces the progress panel and keeps
    // its previous text; the index stays, and the next press tries it again.
    const auto boxes = PressSeeingBoxes("NextBut");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(HasText(boxes[0], "Cannot open file " + m_dist.Path() + "\\thanks.txt."));
    EXPECT_EQ(PageOnView(), "Panel1");
    EXPECT_EQ(Text("InfoMemo"), kParagraphs);
    EXPECT_EQ(Text("InfoLabel"), kNoticesText);
    EXPECT_EQ(m_dialog->EndInfoIndex(), 0);
    EXPECT_EQ(m_dialog->WizardState(), 800);

    m_dist.Write("thanks.txt", "Thank you.\r\n");
    m_dist.Write("bye.txt", "Goodbye.\r\n");
    Next();
    EXPECT_EQ(Text("InfoMemo"), "Thank you.");
    Next();
    EXPECT_EQ(Text("InfoMemo"), "Goodbye.");
    EXPECT_EQ(m_dialog->WizardState(), 800);
    Next();
    EXPECT_EQ(m_dialog->WizardState(), 1000);
    EXPECT_EQ(Text("InfoMemo"), kParagraphs);
    EXPECT_EQ(Buttons(), "-Prev +&Finish -Cancel");
}

// Cancel from every state before the end: how many presses of Next lead there.
class CancelTest : public WizardTest, public ::testing::WithParamInterface<int> {};

TEST_P(CancelTest, ShowsTheInterruptionPageAndNextEndsTheProgram) {
    test::TScratchFolder target("quenby-wizard-target");
    m_dist.Write("probe.txt", "probe");
    m_dist.Write("notice.txt", "A notice.");
    Open(Installable(target / "Probe"), std::string(kInstallableSections) + "[StartInfo]\r\nnotice.txt=\r\n");
    const int presses = GetParam();
    for (int i = 0; i < presses; ++i) Next();
    const int expected[] = {200, 200, 400, 600, 800};
    ASSERT_EQ(m_dialog->WizardState(), expected[presses]);

    Press("CancelBut");
    EXPECT_EQ(m_dialog->WizardState(), 1000);
    EXPECT_EQ(Text("InfoLabel"), "The installation of Wizard Probe 1.0 did not completed successfuly.");
    EXPECT_EQ(Text("InfoMemo"), kInterruptedMemo);
    EXPECT_EQ(PageOnView(), "Panel1");
    EXPECT_EQ(Buttons(), "-Prev +&Finish -Cancel");
    EXPECT_FALSE(TerminateRequested());
    Next();
    EXPECT_TRUE(TerminateRequested());
}

INSTANTIATE_TEST_SUITE_P(EveryStateBeforeTheEnd, CancelTest, ::testing::Values(0, 2, 3, 4));

}  // namespace
}  // namespace quenby

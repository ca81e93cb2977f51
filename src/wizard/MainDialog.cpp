#include "wizard/MainDialog.h"

#include "base/Errors.h"
#include "base/Texts.h"
#include "install/Answers.h"
#include "install/LoggedSink.h"
#include "ui/Application.h"
#include "wizard/MainWin.h"

namespace quenby {

const ui::TEventRow<TMainDialog> TMainDialog::kEvents[] = {
    {"NextBut", &TMainDialog::NextButClick},
    {"PrevBut", &TMainDialog::PrevButClick},
    {"CancelBut", &TMainDialog::CancelButClick},
};

TMainDialog::TMainDialog(TMainWindow& backdrop)
    : TMainDialog(backdrop.Instructions(), backdrop.Handle(), backdrop.AnswersFile()) {
    m_log = backdrop.Log();
}

TMainDialog::TMainDialog(const TInstructions& instructions, HWND owner, std::string answersFile)
    : TFormOf(forms::kMainDialogForm),
      m_instructions(instructions),
      m_installation(instructions),
      m_answersFile(std::move(answersFile)) {
    Create(owner);
}

// The tree's window goes with the dialog's; the tree object notices it.
TMainDialog::~TMainDialog() { Destroy(); }

void TMainDialog::FormCreate() {
    SetUpDirTree();
    SetInfoText(WelcomeInfo(m_instructions.Application, m_instructions.Version));
    m_state = kStateNotices;
    SetCaption(m_instructions.DisplayTitle + kInstallationSuffix);
    ShowProductParagraphs();
    m_tree.SetDirectory("c:\\");
    m_tree.SetGoBelowRecycleBin(false);
}

// The tree's design settings; its window is made inside the host on first use.
void TMainDialog::SetUpDirTree() {
    ui::TControl& host = Control("DirTree");
    m_tree.SetParentPlace(host.Handle(), host.Id(), RECT{0, 0, host.Width(), host.Height()});
    m_tree.ReadOnStart = true;
    m_tree.SetDirType({dtNormal, dtAll});
    m_tree.SetAllowNetwork(true);
    m_tree.SetHideSelection(false);
    m_tree.SetFont(host.FontHandle());  // as every other control of the dialog
    m_tree.OnChange = [this](Tdirtree&, HTREEITEM) { DirTreeChange(); };
    host.SetNotifyHandler([this](NMHDR& header) {
        LRESULT result = 0;
        m_tree.OnNotify(&header, result);
        return result;
    });
}

void TMainDialog::FormClose() { Control("InfoLabel").SetCaption(""); }

void TMainDialog::ControlEvent(ui::TControl& control) { ui::RouteEvent(*this, kEvents, control); }

void TMainDialog::NextButClick() {
    switch (m_state) {
        case kStateNotices: ShowPlugs(); break;
        case kStateNamesNext: GetNames(); break;
        case kStateNames:
            m_userName = Control("EditName").Caption();
            m_organisation = Control("EditOrg").Caption();
            GetDestination();
            break;
        case kStateDestination: {
            const std::string destination = Control("EditPath").Caption();
            if (!m_answersFile.empty()) SaveAnswers(m_answersFile, {destination, {m_userName, m_organisation}});
            try {
                if (m_log) {
                    m_log->Line(kLogDestination, destination);
                    m_log->Line(kLogName, m_userName);
                    m_log->Line(kLogOrganization, m_organisation);
                    TLoggedSink logged(*this, *m_log);
                    try {
                        m_installation.Run(destination, {m_userName, m_organisation}, logged);
                    } catch (const std::exception& error) {
                        m_log->Line(kLogError, error.what());
                        throw;
                    }
                    break;
                }
                m_installation.Run(destination, {m_userName, m_organisation}, *this);
            } catch (const EDestinationRefused& refused) {
                // Another folder may be chosen on the page, which stays.
                MessageBoxA(Handle(), refused.what(), m_instructions.DisplayTitle.c_str(), MB_OK | MB_ICONERROR);
            }
            break;
        }
        case kStateInstalled: ShowPlugs(); break;
        case kStateFinishNext: GoodBye(); break;
        case kStateFinish: ui::TApplication::Instance().Terminate(); break;
        default: break;
    }
}

void TMainDialog::PrevButClick() {
    ShowNoticePanel();
    Control("PrevBut").SetEnabled(false);
    m_state = kStateNotices;
    SetInfoText(kNoticesInfo);
}

void TMainDialog::ShowPanel(TName panel, bool visible) {
    ui::TControl& control = Control(panel);
    if (control.Visible() != visible) control.SetVisible(visible);
}

void TMainDialog::ShowNoticePanel() {
    for (TName panel : {TName("Panel2"), TName("Panel4"), TName("Panel5")}) ShowPanel(panel, false);
    ShowPanel("Panel1", true);
    Control("Panel1").Repaint();
}

void TMainDialog::ShowProductParagraphs() {
    ui::TControl& memo = Control("InfoMemo");
    memo.ClearLines();
    const std::size_t count = std::size(kProductParagraphs);
    for (std::size_t i = 0; i < count; ++i) {
        memo.AddLine(kProductParagraphs[i]);
        if (i + 1 < count) memo.AddLine("");
    }
}

}  // namespace quenby

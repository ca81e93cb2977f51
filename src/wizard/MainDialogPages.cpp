// The wizard's pages before and after the installation proper: notices, user information, destination.
#include "wizard/MainDialog.h"
#include "base/Texts.h"
#include "install/Answers.h"
#include "install/DestinationCheck.h"
#include "win/NoticeFile.h"

namespace quenby {

void TMainDialog::ShowPlugs() {
    SetInfoText(kNoticesInfo);
    if (m_state == kStateNotices) {
        if (m_startInfo < m_instructions.StartInfo.Count()) {
            // The index moves on only once the notice is shown, so a failed file is tried again.
            Control("InfoMemo")
                .SetCaption(ReadNoticeFile(m_instructions.SourceDir + m_instructions.StartInfo[m_startInfo]));
            ++m_startInfo;
        } else {
            m_state = kStateNamesNext;
            NextButClick();
        }
    } else if (m_state == kStateInstalled) {
        if (m_endInfo < m_instructions.EndInfo.Count()) {
            ShowPanel("Panel5", false);
            ShowPanel("Panel1", true);
            Control("InfoMemo")
                .SetCaption(ReadNoticeFile(m_instructions.SourceDir + m_instructions.EndInfo[m_endInfo]));
            ++m_endInfo;
        } else {
            m_state = kStateFinishNext;
            NextButClick();
        }
    }
}

void TMainDialog::GetNames() {
    const TUserAnswers proposed = ProposedUser();
    m_organisation = proposed.Organisation;
    m_userName = proposed.UserName;
    Control("EditOrg").SetCaption(m_organisation);
    Control("EditName").SetCaption(m_userName);
    Control("PrevBut").SetEnabled(true);
    ShowPanel("Panel1", false);
    SetInfoText(kNamesInfo);
    ShowPanel("Panel2", true);
    m_state = kStateNames;
}

void TMainDialog::GetDestination() {
    ShowPanel("Panel2", false);
    SetInfoText(DestinationInfo(m_instructions.Application, m_instructions.Version));
    // Where the application is installed already, if it is: another folder would be refused.
    Control("EditPath").SetCaption(InstalledLocation(m_instructions).value_or(m_instructions.Directory));
    ShowPanel("Panel4", true);
    m_state = kStateDestination;
}

void TMainDialog::DirTreeChange() {
    Control("EditPath").SetCaption(m_tree.GetDirectory() + m_instructions.Application);
}

}  // namespace quenby

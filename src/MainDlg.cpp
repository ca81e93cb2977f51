#include "MainDlg.h"

#include "MainWin.h"
#include "base/Texts.h"
#include "forms/MainDialogForm.h"
#include "ui/Application.h"

namespace quenby {

const ui::TEventRow<TMainDialog> TMainDialog::kEvents[] = {
    {"NextBut", &TMainDialog::NextButClick},
    {"PrevBut", &TMainDialog::PrevButClick},
    {"CancelBut", &TMainDialog::CancelButClick},
};

TMainDialog::TMainDialog(TMainWindow& backdrop)
    : TForm(forms::kMainDialogForm, forms::kMainDialogControls), m_instructions(backdrop.Instructions()) {
    Create(backdrop.Handle());
}

TMainDialog::~TMainDialog() { Destroy(); }

void TMainDialog::FormCreate() {
    Control("InfoLabel")
        .SetCaption("Welcome to Quenby. This program will automatically install and configure " +
                    m_instructions.Application + " " + m_instructions.Version + " on your computer.");
    m_state = kStateNotices;
    SetCaption(m_instructions.DisplayTitle + kInstallationSuffix);
}

void TMainDialog::FormClose() { Control("InfoLabel").SetCaption(""); }

void TMainDialog::ControlEvent(ui::TControl& control) { ui::RouteEvent(*this, kEvents, control); }

void TMainDialog::NextButClick() {
    switch (m_state) {
        case kStateFinish: ui::TApplication::Instance().Terminate(); break;
        default: break;  // the pages come with the wizard itself
    }
}

void TMainDialog::PrevButClick() {
    Control("PrevBut").SetEnabled(false);
    m_state = kStateNotices;
    Control("InfoLabel")
        .SetCaption("Please read the following notices carefully, they contain important commercial and "
                    "technical information.");
}

void TMainDialog::CancelButClick() {
    Control("PrevBut").SetEnabled(false);
    Control("NextBut").SetCaption("&Finish");
    Control("CancelBut").SetEnabled(false);
    m_state = kStateFinish;
}

}  // namespace quenby

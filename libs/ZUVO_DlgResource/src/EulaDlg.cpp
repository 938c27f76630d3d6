#include "EulaDlg.h"

#include "AgreementStore.h"
#include "AgreementTexts.h"
#include "DlgResourceIds.h"
#include "TextFormat.h"
#include "ZUVO_Common.h"

namespace zuvo::dlg {

EulaDlg::EulaDlg(HWND parent, std::wstring productName, std::wstring secondText)
    : m_parent(parent),
      m_productName(std::move(productName)),
      m_secondText(std::move(secondText)) {}

bool EulaDlg::CheckShowAgreement() {
    if (IsAgreementAccepted(m_productName)) {
        return true;
    }
    INT_PTR result = RunView(IDD_AGREEMENT);
    if (result != IDOK) {
        return false;
    }
    // The acceptance holds for this run even when the registry refuses to remember it.
    RememberAgreementAccepted(m_productName);
    return true;
}

bool EulaDlg::ShowAbout() {
    return RunView(IDD_ABOUT) != -1;
}

INT_PTR EulaDlg::RunView(UINT templateId) {
    if (Window() != nullptr) {
        DbgOutputA(2, "ZUVO_EULADlg: a window of this agreement is already open\r\n");
        return -1;
    }
    return RunModal(m_parent, templateId);
}

INT_PTR EulaDlg::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            FillTexts();
            CentreOn(m_parent);
            SetFocus(GetDlgItem(Window(), IDOK));
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(Window(), LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

void EulaDlg::FillTexts() {
    // Each view has only some of these controls; setting a missing one does nothing.
    SetItemText(IDC_EULA_INTRO, FormatText(Text(IDS_AGREEMENT_INTRO), {m_productName}));
    SetItemText(IDC_EULA_PRODUCT, m_productName);
    SetItemText(IDC_EULA_VERSION, FormatText(Text(IDS_ABOUT_VERSION), {ProgramVersionText()}));
    SetItemText(IDC_EULA_SECOND, m_secondText);
    SetItemText(IDC_EULA_TEXT, LoadLicenceText(ThisModule(), Language()));
}

}  // namespace zuvo::dlg

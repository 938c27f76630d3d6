// The licence agreement of a product and its about view. The agreement is shown modally until
// the user accepts it once; the acceptance is remembered per user (AgreementStore.h).
#pragma once

#include <string>

#include "ModuleDialog.h"

namespace zuvo::dlg {

class EulaDlg : public ModuleDialog {
public:
    // productName must be usable as a registry key name (AgreementKeyPath).
    EulaDlg(HWND parent, std::wstring productName, std::wstring secondText);

    // Shows the agreement unless this user accepted it before. Answers true when it is
    // accepted, now or before; Decline, Esc and the close box answer false and remember
    // nothing, so the agreement comes again at the next start.
    bool CheckShowAgreement();
    // Shows the about view modally; false when it could not be shown (also while one of this
    // object's windows is already open).
    bool ShowAbout();

private:
    INT_PTR RunView(UINT templateId);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FillTexts();

    const HWND m_parent;
    const std::wstring m_productName;
    const std::wstring m_secondText;
};

}  // namespace zuvo::dlg

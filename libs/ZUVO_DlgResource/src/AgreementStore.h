// The per-user memory of an accepted licence agreement: the DWORD value EULAAccepted = 1 under
// HKEY_CURRENT_USER\Software\ZUVO\<product name>. Installers and tests may set it beforehand.
#pragma once

#include <string>

namespace zuvo::dlg {

// True only when the value exists, is a DWORD and is 1.
bool IsAgreementAccepted(const std::wstring& productName);
// Writes the value (creating the key); false when the registry refused.
bool RememberAgreementAccepted(const std::wstring& productName);

}  // namespace zuvo::dlg

// Where the acceptance of the licence agreement is remembered for the current user.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zuvo::dlg {

// Name of the DWORD value that holds 1 once the user accepted the agreement.
inline constexpr wchar_t kAgreementValueName[] = L"EULAAccepted";

// The key below HKEY_CURRENT_USER for the product: "Software\ZUVO\<productName>". None when the
// name cannot be one key: empty, longer than a key name may be, or holding a backslash or a
// control character (which would reach into other keys or make an unreadable name).
std::optional<std::wstring> AgreementKeyPath(std::wstring_view productName);

}  // namespace zuvo::dlg

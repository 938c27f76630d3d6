// Texts of the agreement and about views that do not come from the string table.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace zuvo::dlg {

// The licence agreement in the language (UTF-8 text resource), with CR LF line ends as a
// multi-line edit control needs them; empty when the resource is missing.
std::wstring LoadLicenceText(HMODULE module, LANGID language);

// The running program's version from its version resource ("1.2.3.4"), or the version this
// library was built with when the program has none.
std::wstring ProgramVersionText();

}  // namespace zuvo::dlg

// Texts with numbered placeholders, so a translation may put the arguments in any order and a
// wrong argument can never be read as a printf conversion.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace zuvo::dlg {

// Replaces %1 to %9 with the arguments and %% with %. A placeholder without an argument and a
// % before anything else stay as written.
std::wstring FormatText(std::wstring_view pattern,
                        std::initializer_list<std::wstring_view> arguments);

}  // namespace zuvo::dlg

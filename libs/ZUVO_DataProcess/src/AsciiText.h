// ASCII helpers of the configuration files' keys and values. Their conversion between UTF-8
// and wide text is the text codec's (text/Unicode.h), which replaces malformed input with
// U+FFFD, never refuses it.
#pragma once

#include <string>
#include <string_view>

namespace zuvo::radar {

// Lower-case ASCII copy, for keys compared without regard to case.
std::string AsciiLower(std::string_view text);
// text without leading and trailing blanks (space, tab, CR, LF).
std::string_view TrimBlanks(std::string_view text);

}  // namespace zuvo::radar

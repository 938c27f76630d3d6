// Real numbers in the text of numeric fields: how many decimals a value needs, the text a
// dialog field shows for it and the number read back from a field's text. Portable.
#pragma once

#include <string>

namespace zuvo::controls {

// The fewest decimals, from 0 to maximum, after which the rest of x is too small to show:
// below 0.01 and below 10^-maximum. 31.0 needs 0, 0.5 needs 1, a long fraction needs the
// maximum. Values beyond the range of a 32-bit integer are rounded as reals, never wrapped.
int DecimalsNeeded(double x, int maximum);

// x in fixed notation with DecimalsNeeded(x, 1) decimals: "31", "0.5", "2.4".
std::wstring DialogDoubleText(double x);

// The leading number of the text as the standard wide-text-to-double conversion reads it;
// 0.0 when the text does not begin with a number (or is null).
double LeadingDouble(const wchar_t* text);

}  // namespace zuvo::controls

// A limit of a numeric field as the field's value type holds it: eight bytes of which the
// 32-bit types use the low four. Converting to and from reals and printing. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zuvo::controls {

// value in the representation of the type (DigitalValueType): integers rounded to the
// nearest and limited to the type's range, reals as float or double. 0 for an unknown type.
uint64_t EncodeLimitValue(int valueType, double value);

// The limit as a real; unsigned 64-bit values convert as unsigned. 0.0 for an unknown type.
double LimitAsDouble(int valueType, uint64_t bits);

// The limit's text for messages: printed with format when that is a print format with
// exactly one conversion that suits the type ("%d" or "%i" for 32-bit, "%lld" or "%lli" for
// 64-bit signed, "%u", "%x", "%X", "%o" with the same sizes for unsigned, "%f", "%e", "%g",
// "%a" in either case, optionally with "l", for reals; flags, width and precision of up to
// three digits allowed; "%%" prints a percent sign; other text is kept). An empty or any
// other format prints with the type's default: "%d", "%u", "%lld", "%llu", and for reals
// fixed notation with DecimalsNeeded(value, 10) decimals.
std::wstring LimitText(int valueType, uint64_t bits, std::wstring_view format);

}  // namespace zuvo::controls

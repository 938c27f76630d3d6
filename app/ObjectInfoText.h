// The text of an object panel: string 60300 of the interface language filled with the slot.
#pragma once

#include <string>

#include "app/ObjectSlots.h"

namespace zuvo::app {

// format is string 60300 (a "%s" for the slot-number prefix, then distance, angle and
// velocity conversions); objectCountType 1 shows no number, any other type " <index + 1>".
// A format that does not fit these arguments gives the empty text rather than reading
// arguments that are not there.
std::wstring FormatObjectInfo(const std::wstring& format, int objectCountType, int index,
                              const ObjectSlot& slot);

}  // namespace zuvo::app

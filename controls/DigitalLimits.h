// The limits of a numeric field and the check of a committed value against them. Portable.
//
// Four ordered lists: hard limits are enforced (a violated one becomes the field's text),
// suggested limits only warn. Each record keeps the value type it was set with, so a limit
// reads back as it was written even when the field's type changes afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ZUVO_CommonCore.h"

namespace zuvo::controls {

struct DigitalLimit {
    int type;             // the field's value type when the limit was set
    uint64_t value;       // in that type's representation (LimitValue.h)
    double tolerance;     // margin for the two real types
    std::wstring name;    // "MinValue" or "MaxValue", the start of the message
    std::wstring format;  // print format of the value; empty: the type's default
};

enum LimitList { kHardMinimum = 0, kHardMaximum, kSuggestedMinimum, kSuggestedMaximum };

// A message for the field's balloon.
struct FieldNote {
    int id;
    int icon;  // 2 warning, 3 error
    std::wstring title;
    std::wstring text;
};

struct ValueVerdict {
    bool accepted;
    std::wstring correction;       // the text that replaces a refused value
    std::vector<FieldNote> notes;  // in the order they are shown
};

class DigitalLimitSet {
public:
    DigitalLimitSet() = default;
    DigitalLimitSet(const DigitalLimitSet&) = delete;
    DigitalLimitSet& operator=(const DigitalLimitSet&) = delete;
    ~DigitalLimitSet();

    // Empties the list and adds one limit: value in the representation of valueType.
    void Set(LimitList list, int valueType, double value, double tolerance,
             std::wstring_view format = {});
    void Clear(LimitList list);
    int Count(LimitList list) const;
    const DigitalLimit* At(LimitList list, int index) const;

    // Checks x for a field of valueType. Suggested limits give warnings (ids 11 lower, 12
    // upper) and never refuse; the first violated hard limit refuses (id 13 lower, else 14
    // upper) with its text as the correction. Integer fields allow half a unit, real fields
    // the record's tolerance. A value that is not a number violates every limit.
    ValueVerdict Check(double x, int valueType) const;

private:
    CPtrArrayCtrl m_lists[4];
};

}  // namespace zuvo::controls

#include "controls/DigitalLimits.h"

#include <cmath>

#include "controls/DigitalFilter.h"
#include "controls/LimitValue.h"

namespace zuvo::controls {

namespace {

constexpr const wchar_t* kDataInvalid = L"Data Invalid";
constexpr int kIconWarning = 2;
constexpr int kIconError = 3;

struct Violation {
    const DigitalLimit* limit = nullptr;
    std::wstring message;
};

bool IsLower(LimitList list) {
    return list == kHardMinimum || list == kSuggestedMinimum;
}

const wchar_t* Label(LimitList list) {
    switch (list) {
        case kHardMinimum:
            return L"Must >=";
        case kHardMaximum:
            return L"Must <=";
        case kSuggestedMinimum:
            return L"Suggest >=";
        default:
            return L"Suggest <=";
    }
}

bool Violates(double x, const DigitalLimit& limit, bool lower, int valueType) {
    if (std::isnan(x)) {
        return true;
    }
    const double v = LimitAsDouble(limit.type, limit.value);
    const double margin = IsRealValueType(valueType) ? limit.tolerance : 0.5;
    return lower ? x < v - margin : x > v + margin;
}

}  // namespace

DigitalLimitSet::~DigitalLimitSet() {
    for (int list = kHardMinimum; list <= kSuggestedMaximum; ++list) {
        Clear(static_cast<LimitList>(list));
    }
}

void DigitalLimitSet::Set(LimitList list, int valueType, double value, double tolerance,
                          std::wstring_view format) {
    Clear(list);
    auto* limit = new DigitalLimit{valueType, EncodeLimitValue(valueType, value), tolerance,
                                   IsLower(list) ? L"MinValue" : L"MaxValue", std::wstring(format)};
    if (m_lists[list].AddData(limit, -1) < 0) {
        delete limit;
    }
}

void DigitalLimitSet::Clear(LimitList list) {
    CPtrArrayCtrl& records = m_lists[list];
    for (int index = 0; index < records.GetCount(); ++index) {
        delete static_cast<DigitalLimit*>(records.GetAt(index));
    }
    records.RemoveAll();
}

int DigitalLimitSet::Count(LimitList list) const {
    return m_lists[list].GetCount();
}

const DigitalLimit* DigitalLimitSet::At(LimitList list, int index) const {
    return static_cast<const DigitalLimit*>(m_lists[list].GetAt(index));
}

ValueVerdict DigitalLimitSet::Check(double x, int valueType) const {
    ValueVerdict verdict{true, std::wstring(), {}};
    if (valueType < kValueInt32 || valueType > kValueDouble) {
        return verdict;  // no rule compares values of an unknown type
    }
    auto firstViolation = [&](LimitList list) {
        Violation violation;
        for (int index = 0; index < Count(list); ++index) {
            const DigitalLimit* limit = At(list, index);
            if (Violates(x, *limit, IsLower(list), valueType)) {
                violation.limit = limit;
                violation.message = limit->name + L" " + Label(list) + L" " +
                                    LimitText(limit->type, limit->value, limit->format);
                break;
            }
        }
        return violation;
    };
    const int suggestedIds[2] = {11, 12};
    const int hardIds[2] = {13, 14};
    const LimitList suggested[2] = {kSuggestedMinimum, kSuggestedMaximum};
    const LimitList hard[2] = {kHardMinimum, kHardMaximum};
    for (int side = 0; side < 2; ++side) {
        Violation violation = firstViolation(suggested[side]);
        if (violation.limit != nullptr) {
            verdict.notes.push_back(
                FieldNote{suggestedIds[side], kIconWarning, kDataInvalid, violation.message});
            break;
        }
    }
    for (int side = 0; side < 2; ++side) {
        Violation violation = firstViolation(hard[side]);
        if (violation.limit != nullptr) {
            verdict.notes.push_back(
                FieldNote{hardIds[side], kIconError, kDataInvalid, violation.message});
            verdict.accepted = false;
            verdict.correction =
                LimitText(violation.limit->type, violation.limit->value, violation.limit->format);
            break;
        }
    }
    return verdict;
}

}  // namespace zuvo::controls

#include "controls/DigitalEdit.h"

#include "controls/DecimalText.h"
#include "controls/DigitalFilter.h"

using namespace zuvo::controls;

namespace {

constexpr const wchar_t* kInputError = L"Input Error";
constexpr int kIconError = 3;
constexpr int kCharacterMessageId = 1;

}  // namespace

void CDigitalEdit::SetMinValue(double value, double tolerance, const wchar_t* format) {
    SetLimit(kHardMinimum, value, tolerance, format);
}

void CDigitalEdit::SetMaxValue(double value, double tolerance, const wchar_t* format) {
    SetLimit(kHardMaximum, value, tolerance, format);
}

void CDigitalEdit::SetSuggestedMinValue(double value, double tolerance, const wchar_t* format) {
    SetLimit(kSuggestedMinimum, value, tolerance, format);
}

void CDigitalEdit::SetSuggestedMaxValue(double value, double tolerance, const wchar_t* format) {
    SetLimit(kSuggestedMaximum, value, tolerance, format);
}

bool CDigitalEdit::IsValidChar(wchar_t character, UINT, UINT) {
    const CharVerdict verdict =
        CheckTypedChar(character, Text(), ValueType, HexLettersAllowed != 0);
    if (!verdict.accepted) {
        ShowBalloonTip(kInputError, verdict.message.c_str(), kIconError, kCharacterMessageId);
    }
    return verdict.accepted;
}

bool CDigitalEdit::IsValidValue() {
    const double value = LeadingDouble(Text().c_str());
    const ValueVerdict verdict = m_limits.Check(value, ValueType);
    for (const FieldNote& note : verdict.notes) {
        ShowBalloonTip(note.title.c_str(), note.text.c_str(), note.icon, note.id);
    }
    if (!verdict.accepted) {
        SetTextAndNotify(verdict.correction);
    }
    return verdict.accepted;
}

void CDigitalEdit::SetLimit(LimitList list, double value, double tolerance, const wchar_t* format) {
    m_limits.Set(list, ValueType, value, tolerance, format != nullptr ? format : L"");
}

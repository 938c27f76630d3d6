// CDigitalEdit: a numeric field. It filters typed characters by its value type, checks the
// committed number against its limits, writes a violated hard limit back into the field and
// explains every refusal in its balloon (English texts):
//   "Input Error" with "Invalid character '.'" (or '-', or the character), error icon, id 1;
//   "Data Invalid" with for example "MaxValue Must <= 31": hard limits with the error icon
//   (id 13 lower, 14 upper), suggested limits with the warning icon (11, 12).
#pragma once

#include "controls/DigitalLimits.h"
#include "controls/XEdit.h"

class CDigitalEdit : public CXEdit {
public:
    // Set by the owner before the limits: 0 signed 32-bit, 1 unsigned 32-bit, 2 signed
    // 64-bit, 3 unsigned 64-bit integer, 4 float, 5 double.
    int ValueType = 0;
    // The filter also lets hexadecimal letters through.
    int HexLettersAllowed = 0;

    // Each replaces its list by one limit of the current ValueType. tolerance is the margin
    // of the real types (integers allow half a unit); format prints the limit in messages
    // and corrections (empty: the type's default, see LimitValue.h).
    void SetMinValue(double value, double tolerance, const wchar_t* format = L"");
    void SetMaxValue(double value, double tolerance, const wchar_t* format = L"");
    // Limits that only warn.
    void SetSuggestedMinValue(double value, double tolerance, const wchar_t* format = L"");
    void SetSuggestedMaxValue(double value, double tolerance, const wchar_t* format = L"");

protected:
    bool IsValidChar(wchar_t character, UINT repeatCount, UINT keyFlags) override;
    bool IsValidValue() override;

private:
    void SetLimit(zuvo::controls::LimitList list, double value, double tolerance,
                  const wchar_t* format);

    zuvo::controls::DigitalLimitSet m_limits;
};

#include "controls/DlgItemDouble.h"

#include <string>

#include "controls/DecimalText.h"

void SetDlgItemDouble(HWND dialog, int controlId, double value) {
    SetDlgItemTextW(dialog, controlId, zuvo::controls::DialogDoubleText(value).c_str());
}

double GetDlgItemDouble(HWND dialog, int controlId) {
    const HWND control = GetDlgItem(dialog, controlId);
    if (control == nullptr) {
        return 0.0;
    }
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return zuvo::controls::LeadingDouble(text.c_str());
}

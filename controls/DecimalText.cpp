#include "controls/DecimalText.h"

#include <cmath>
#include <cstdio>
#include <cwchar>

namespace zuvo::controls {

int DecimalsNeeded(double x, int maximum) {
    const double smallest = 1.0 / std::pow(10.0, maximum);
    for (int decimals = 0; decimals < maximum; ++decimals) {
        // std::round rounds half away from zero; kept as a real so that large values do not
        // overflow an integer.
        const double rest = std::fabs(x - std::round(x));
        if (rest < 0.01 && rest < smallest) {
            return decimals;
        }
        x = rest * 10.0;
    }
    return maximum;
}

std::wstring DialogDoubleText(double x) {
    char text[400];
    std::snprintf(text, sizeof(text), "%.*f", DecimalsNeeded(x, 1), x);
    // Fixed notation of a double holds only ASCII characters.
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

double LeadingDouble(const wchar_t* text) {
    if (text == nullptr) {
        return 0.0;
    }
    return std::wcstod(text, nullptr);
}

}  // namespace zuvo::controls

#include "imaging/TextFit.h"

namespace zuvo::imaging {

namespace {

constexpr uint32_t kArabicSaudiArabia = 0x0401;
constexpr uint32_t kHebrew = 0x040D;

}  // namespace

bool IsRightToLeftLanguage(uint32_t languageId) {
    const uint32_t language = languageId & 0xFFFFu;
    return language == kArabicSaudiArabia || language == kHebrew;
}

}  // namespace zuvo::imaging

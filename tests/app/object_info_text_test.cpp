// The panel texts, byte for byte, in both languages, made from string 60300 as the resource
// scripts give it.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "app/ObjectInfoText.h"

namespace {

using zuvo::app::FormatObjectInfo;
using zuvo::app::ObjectSlot;

// The text of a string of a resource script, as the resource compiler stores it: the quoted
// text on the line that names id, with its escapes resolved and its UTF-8 decoded. Empty when
// the script or the line is missing.
std::wstring ResourceString(const std::string& script, const std::string& id) {
    std::ifstream in(std::string(ZUVO_RESOURCES_DIR) + "/" + script, std::ios::binary);
    std::string line;
    std::string quoted;
    while (std::getline(in, line)) {
        const size_t name = line.find(id + " \"");
        if (name != std::string::npos) {
            quoted = line.substr(name + id.size() + 2);
            break;
        }
    }
    std::string bytes;
    for (size_t i = 0; i < quoted.size(); ++i) {
        const char c = quoted[i];
        if (c == '"') {
            if (i + 1 < quoted.size() && quoted[i + 1] == '"') {
                bytes += '"';
                ++i;
                continue;
            }
            break;
        }
        if (c == '\\' && i + 1 < quoted.size()) {
            const char escaped = quoted[++i];
            bytes += escaped == 'r'   ? '\r'
                     : escaped == 'n' ? '\n'
                     : escaped == 't' ? '\t'
                                      : escaped;
            continue;
        }
        bytes += c;
    }
    std::wstring text;
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        uint32_t code = length == 1 ? lead : lead & (0x3Fu >> (length - 1));
        for (int k = 1; k < length && i + k < bytes.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3Fu);
        }
        text += static_cast<wchar_t>(code);
        i += static_cast<size_t>(length);
    }
    return text;
}

// String 60300 exactly as the program carries it in each language.
const std::wstring kEnglish = ResourceString("ZUVO_MTT.en-US.rc", "IDS_OBJECT_INFO");
const std::wstring kChinese = ResourceString("ZUVO_MTT.zh-CN.rc", "IDS_OBJECT_INFO");

ObjectSlot Held(double distance, double angle, double velocity) {
    ObjectSlot slot;
    slot.id = 3;
    slot.distance = distance;
    slot.angle = angle;
    slot.velocity = velocity;
    return slot;
}

TEST(ObjectInfoText, SingleObjectModeHasNoNumber) {
    EXPECT_EQ(FormatObjectInfo(kEnglish, 1, 0, Held(1.5, -12.34, 0.25)),
              L"Object Information\r\ndistance: 1.50 m\r\nangle:-12.3 \u00B0\r\n"
              L"velocity: +0.25 m/s");
}

TEST(ObjectInfoText, ThreeObjectModeNumbersThePanels) {
    EXPECT_EQ(FormatObjectInfo(kEnglish, 3, 2, Held(12.345, 5.0, -1.5)),
              L"Object 3 Information\r\ndistance:12.35 m\r\nangle: +5.0 \u00B0\r\n"
              L"velocity: -1.50 m/s");
    EXPECT_EQ(FormatObjectInfo(kChinese, 3, 0, Held(2.0, 0.0, 0.0)),
              L"\u76EE\u6807 1\u4FE1\u606F\r\n\u8DDD\u79BB: 2.00 m\r\n\u89D2\u5EA6: +0.0 "
              L"\u00B0\r\n\u901F\u5EA6: +0.00 m/s");
}

TEST(ObjectInfoText, AnEmptySlotReadsAsZeros) {
    EXPECT_EQ(FormatObjectInfo(kChinese, 1, 0, ObjectSlot{}),
              L"\u76EE\u6807\u4FE1\u606F\r\n\u8DDD\u79BB: 0.00 m\r\n\u89D2\u5EA6: +0.0 "
              L"\u00B0\r\n\u901F\u5EA6: +0.00 m/s");
}

// A value far beyond what a radar measures still gives the whole text, not an empty panel.
TEST(ObjectInfoText, HugeValuesStillGiveTheWholeText) {
    for (double huge : {1e130, -1e300, 1.7976931348623157e308}) {
        SCOPED_TRACE(huge);
        const std::wstring text = FormatObjectInfo(kEnglish, 3, 0, Held(huge, huge, huge));
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.rfind(L"Object 1 Information\r\ndistance:", 0), 0u) << text.substr(0, 40);
        EXPECT_NE(text.find(L" m/s"), std::wstring::npos) << "the text runs to its end";
    }
}

TEST(ObjectInfoText, AFormatThatDoesNotFitTheArgumentsGivesNoText) {
    const ObjectSlot slot = Held(1.0, 1.0, 1.0);
    EXPECT_EQ(FormatObjectInfo(L"", 1, 0, slot), L"");
    EXPECT_EQ(FormatObjectInfo(L"%s %f %f", 1, 0, slot), L"") << "too few conversions";
    EXPECT_EQ(FormatObjectInfo(L"%s %f %f %s", 1, 0, slot), L"") << "a string for a number";
    EXPECT_EQ(FormatObjectInfo(L"%d %f %f %f", 1, 0, slot), L"");
    EXPECT_EQ(FormatObjectInfo(L"%s %f %f %f %n", 1, 0, slot), L"");
    EXPECT_EQ(FormatObjectInfo(L"%s %f %f %", 1, 0, slot), L"") << "cut-off conversion";
    EXPECT_EQ(FormatObjectInfo(L"100%% %-4s|%.1f|%.1f|%.1f", 3, 1, slot), L"100%  2  |1.0|1.0|1.0")
        << "flags on the prefix and a literal percent";
}

}  // namespace

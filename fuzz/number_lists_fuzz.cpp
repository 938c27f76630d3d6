// The number and pair-list parsers the settings file reads its values with: DigtalStringToValue
// for every type code, ParseDigitalArrayValue with the separators the readers pass, and the pair
// lists of the area elements ("a,b; c,d; ...") through the settings element's attribute reader.
// A number read must read back the same from the text the program would write for it, and a
// list must give the same pairs when counted as when stored.
#include <pugixml.hpp>

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ZUVO_CommonCore.h"
#include "fuzz/FuzzSupport.h"
#include "settings/XMLNode.h"

namespace {

using zuvo::fuzz::Check;

constexpr int kTypeCodes[] = {DIGITAL_TYPE_FLAG, DIGITAL_TYPE_INT32, DIGITAL_TYPE_UINT32,
                              DIGITAL_TYPE_DOUBLE};

// The text the program writes for a value of the type code.
std::string Written(int typeCode, const unsigned char* value) {
    char text[64];
    switch (typeCode) {
        case DIGITAL_TYPE_FLAG:
        case DIGITAL_TYPE_INT32: {
            int32_t number;
            std::memcpy(&number, value, sizeof(number));
            std::snprintf(text, sizeof(text), "%" PRId32, number);
            break;
        }
        case DIGITAL_TYPE_UINT32: {
            uint32_t number;
            std::memcpy(&number, value, sizeof(number));
            std::snprintf(text, sizeof(text), "%" PRIu32, number);
            break;
        }
        default: {
            double number;
            std::memcpy(&number, value, sizeof(number));
            std::snprintf(text, sizeof(text), "%.17g", number);
            break;
        }
    }
    return text;
}

void CheckNumber(const std::string& text) {
    for (const int typeCode : kTypeCodes) {
        const size_t size = static_cast<size_t>(gDigitalTypeSize[typeCode]);
        unsigned char value[16];
        std::memset(value, 0xA5, sizeof(value));
        const int parsed =
            DigtalStringToValue(text.data(), static_cast<int>(text.size()), value, typeCode);
        if (parsed == 0) {
            continue;
        }
        Check(value[size] == 0xA5, "a number wrote past its type's size");
        const std::string again = Written(typeCode, value);
        unsigned char reread[16] = {};
        Check(DigtalStringToValue(again.c_str(), -1, reread, typeCode) != 0,
              "a written number does not read back");
        if (typeCode == DIGITAL_TYPE_DOUBLE) {
            double a;
            double b;
            std::memcpy(&a, value, sizeof(a));
            std::memcpy(&b, reread, sizeof(b));
            Check(a == b || (a != a && b != b), "a real changed across writing and reading");
        } else {
            Check(std::memcmp(value, reread, size) == 0,
                  "a number changed across writing and reading");
        }
    }
}

void CheckList(const std::string& text, const char* separators) {
    for (const int typeCode : kTypeCodes) {
        const int counted = ParseDigitalArrayValue(text.data(), static_cast<int>(text.size()),
                                                   separators, 1, 0, typeCode, nullptr, 0);
        Check(counted >= 0, "a negative count");
        // A small array: every number past it is counted, never stored.
        unsigned char values[4 * 8 + 8];
        std::memset(values, 0xA5, sizeof(values));
        const int stored = ParseDigitalArrayValue(text.data(), static_cast<int>(text.size()),
                                                  separators, 1, 0, typeCode, values, 4);
        Check(stored == counted, "counting and storing disagree");
        Check(values[4 * static_cast<size_t>(gDigitalTypeSize[typeCode])] == 0xA5,
              "a list wrote past its capacity");
    }
}

void CheckPairs(const std::string& text) {
    pugi::xml_document document;
    pugi::xml_node element = document.append_child("MonitorArea");
    element.append_attribute("Points").set_value(text.c_str());
    const zuvo::settings::XMLNode node(element);
    for (const int typeCode : kTypeCodes) {
        const int counted = node.GetAttributeArray("Points", typeCode, nullptr, 0);
        Check(counted >= 0, "a negative pair count");
        const size_t pairSize = 2 * static_cast<size_t>(gDigitalTypeSize[typeCode]);
        std::vector<unsigned char> all(static_cast<size_t>(counted) * pairSize + pairSize, 0xA5);
        Check(node.GetAttributeArray("Points", typeCode, all.data(), counted) == counted,
              "reading the pairs found another number of them");
        Check(all[static_cast<size_t>(counted) * pairSize] == 0xA5, "pairs written past the end");
        if (counted > 1) {
            std::vector<unsigned char> some(pairSize * 2, 0xA5);
            Check(node.GetAttributeArray("Points", typeCode, some.data(), 1) == 1,
                  "a capacity of one pair stored another number");
            Check(some[pairSize] == 0xA5, "pairs written past a capacity of one");
            Check(std::memcmp(some.data(), all.data(), pairSize) == 0,
                  "the first pair differs with a smaller capacity");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The text of an attribute value: pugixml hands over zero-terminated text.
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.substr(0, text.find('\0'));
    CheckNumber(text);
    CheckList(text, ",");
    CheckList(text, ";,");
    CheckPairs(text);
    return 0;
}

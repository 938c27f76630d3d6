#include "settings/XMLNode.h"

#include <charconv>
#include <cstring>
#include <memory>
#include <system_error>

#include "ZUVO_CommonCore.h"
#include "framework/FamilyOwners.h"

namespace zuvo::settings {

namespace {

char AsciiLower(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

// The type codes the utility library parses for the settings (the others are not ours to use).
bool IsNumberTypeCode(int typeCode) {
    return typeCode == DIGITAL_TYPE_FLAG || typeCode == DIGITAL_TYPE_INT32 ||
           typeCode == DIGITAL_TYPE_UINT32 || typeCode == DIGITAL_TYPE_DOUBLE;
}

}  // namespace

bool NamesMatch(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) {
        return false;
    }
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (AsciiLower(*a) != AsciiLower(*b)) {
            return false;
        }
    }
    return *a == *b;
}

XMLNode XMLNode::GetChild(const char* name) const {
    for (pugi::xml_node child = m_node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && NamesMatch(child.name(), name)) {
            return XMLNode(child);
        }
    }
    return XMLNode();
}

std::vector<XMLNode> XMLNode::GetChildren(const char* name) const {
    std::vector<XMLNode> children;
    for (pugi::xml_node child = m_node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && NamesMatch(child.name(), name)) {
            children.emplace_back(child);
        }
    }
    return children;
}

XMLNode XMLNode::AppendChild(const char* name) {
    if (IsEmpty()) {
        return XMLNode();
    }
    return XMLNode(m_node.append_child(name));
}

bool XMLNode::RemoveChild(const XMLNode& child) {
    return !IsEmpty() && child.m_node.parent() == m_node && m_node.remove_child(child.m_node);
}

pugi::xml_attribute XMLNode::FindAttribute(const char* name) const {
    for (pugi::xml_attribute attribute = m_node.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        if (NamesMatch(attribute.name(), name)) {
            return attribute;
        }
    }
    return pugi::xml_attribute();
}

const char* XMLNode::GetAttributeText(const char* name) const {
    const pugi::xml_attribute attribute = FindAttribute(name);
    return attribute ? attribute.value() : nullptr;
}

bool XMLNode::GetAttributeValue(const char* name, int typeCode, void* destination) const {
    const char* text = GetAttributeText(name);
    if (text == nullptr || *text == '\0' || destination == nullptr) {
        return false;
    }
    const size_t length = std::strlen(text);
    return length <= static_cast<size_t>(INT32_MAX) &&
           DigtalStringToValue(text, static_cast<int>(length), destination, typeCode) != 0;
}

int XMLNode::GetAttributeArray(const char* name, int typeCode, void* destination,
                               int maxPairs) const {
    const char* text = GetAttributeText(name);
    if (text == nullptr || *text == '\0' || !IsNumberTypeCode(typeCode)) {
        return 0;
    }
    const size_t length = std::strlen(text);
    if (length > static_cast<size_t>(INT32_MAX)) {
        return 0;
    }
    char** rawPieces = nullptr;
    const int pieceCount =
        DevideStringByCharListA(text, static_cast<int>(length), ";", 1, 0, &rawPieces, -1);
    const UniquePiecesA pieces(rawPieces);
    if (pieceCount <= 0 || !pieces) {
        return 0;
    }

    const size_t valueSize = static_cast<size_t>(gDigitalTypeSize[typeCode]);
    int pairs = 0;
    for (int i = 0; i < pieceCount; ++i) {
        // Room for a third number, so that "1,2,3" is recognised as not being a pair.
        unsigned char values[3 * sizeof(uint64_t)] = {};
        // An empty piece between commas ("1,,2") stops the parse: such a piece is malformed.
        // So does an empty piece between semicolons, which the split keeps.
        const int numbers =
            ParseDigitalArrayValue(pieces.get()[i], -1, ",", 1, 0, typeCode, values, 3);
        if (numbers != 2) {
            continue;
        }
        if (destination != nullptr) {
            if (pairs >= maxPairs) {
                break;
            }
            std::memcpy(static_cast<unsigned char*>(destination) +
                            static_cast<size_t>(pairs) * 2 * valueSize,
                        values, 2 * valueSize);
        }
        ++pairs;
    }
    return pairs;
}

bool XMLNode::SetAttribute(const char* name, const char* text) {
    const pugi::xml_node_type type = m_node.type();
    if (type != pugi::node_element && type != pugi::node_declaration) {
        return false;
    }
    pugi::xml_attribute attribute = FindAttribute(name);
    if (!attribute) {
        attribute = m_node.append_attribute(name);
    }
    if (!attribute) {
        return false;
    }
    return text == nullptr || attribute.set_value(text);
}

bool XMLNode::SetAttribute(const char* name, double value) {
    // Large enough for any double in fixed notation (DBL_MAX has 309 digits), so a value is
    // never cut short; std::to_chars ignores the locale, so "12,5" is never written.
    char text[400];
    const std::to_chars_result result =
        std::to_chars(text, text + sizeof(text) - 1, value, std::chars_format::fixed, 1);
    if (result.ec != std::errc()) {
        return false;
    }
    *result.ptr = '\0';
    return SetAttribute(name, text);
}

}  // namespace zuvo::settings

// XMLNode: a handle to one element of the settings document (or to nothing).
//
// Element and attribute names are matched without regard to ASCII case, first match wins, so
// a file edited by hand with "appconfig" or "savedata" still works; new names are written
// exactly as given. Copying a handle copies the reference, never the element.
#pragma once

#include <pugixml.hpp>

#include <vector>

#include "ZUVO_CommonCore.h"

namespace zuvo::settings {

// Names equal without regard to ASCII case (other bytes compared exactly).
bool NamesMatch(const char* a, const char* b);

class XMLNode {
public:
    XMLNode() = default;
    explicit XMLNode(pugi::xml_node node) : m_node(node) {}
    XMLNode(const XMLNode&) = default;
    XMLNode& operator=(const XMLNode&) = default;
    virtual ~XMLNode() = default;

    bool IsEmpty() const { return m_node.type() != pugi::node_element; }
    pugi::xml_node Node() const { return m_node; }

    // The first child element with the name, or an empty handle.
    XMLNode GetChild(const char* name) const;
    // Every child element with the name, in document order.
    std::vector<XMLNode> GetChildren(const char* name) const;
    // A new element appended as the last child; empty when this handle is.
    XMLNode AppendChild(const char* name);
    // Removes a direct child element with its whole subtree; false when it is not a child.
    bool RemoveChild(const XMLNode& child);

    // The value of the first attribute with the name, or null when there is none.
    const char* GetAttributeText(const char* name) const;
    // Parses the attribute's full value with DigtalStringToValue into destination as the type
    // code's type (eDIGITAL_TYPE). A missing attribute, an empty value or text that does not parse
    // leaves destination untouched and answers false.
    bool GetAttributeValue(const char* name, int typeCode, void* destination) const;
    // Reads a list of number pairs "a,b; c,d; ..." of the type code's type. Pieces between
    // ';' that do not hold exactly two numbers are skipped. Without a destination only counts;
    // otherwise stores at most maxPairs pairs (two values each, consecutively). Answers the
    // number of pairs found (counting) or stored.
    int GetAttributeArray(const char* name, int typeCode, void* destination, int maxPairs) const;

    // Sets the first attribute with the name, appending it at the end of the attribute list
    // when there is none. A null text leaves an existing value as it is (and a new attribute
    // empty). False only on an empty handle.
    bool SetAttribute(const char* name, const char* text);
    // Sets the real with one decimal ("12.5"), independent of the process locale.
    bool SetAttribute(const char* name, double value);

private:
    pugi::xml_attribute FindAttribute(const char* name) const;

    pugi::xml_node m_node;
};

}  // namespace zuvo::settings

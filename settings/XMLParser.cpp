#include "settings/XMLParser.h"

#include <cstring>
#include <string>
#include <string_view>

#include "settings/FileAccess.h"
#include "text/Unicode.h"

namespace zuvo::settings {

namespace {

bool StartsWith(const void* data, size_t size, std::string_view prefix) {
    return size >= prefix.size() && std::memcmp(data, prefix.data(), prefix.size()) == 0;
}

bool HasByteOrderMark(const void* data, size_t size, pugi::xml_encoding encoding) {
    using namespace std::string_view_literals;
    switch (encoding) {
        case pugi::encoding_utf8:
            return StartsWith(data, size, "\xef\xbb\xbf"sv);
        case pugi::encoding_utf16_le:
            return StartsWith(data, size, "\xff\xfe"sv);
        case pugi::encoding_utf16_be:
            return StartsWith(data, size, "\xfe\xff"sv);
        case pugi::encoding_utf32_le:
            return StartsWith(data, size, "\xff\xfe\0\0"sv);
        case pugi::encoding_utf32_be:
            return StartsWith(data, size, "\0\0\xfe\xff"sv);
        default:
            return false;
    }
}

// In UTF-8 every character beyond U+00FF starts with a byte of 0xC4 or more.
bool BeyondLatin1(const char* text) {
    for (; *text != '\0'; ++text) {
        if (static_cast<unsigned char>(*text) >= 0xC4) {
            return true;
        }
    }
    return false;
}

// True when test answers true for a name or a value anywhere in the subtree.
template <typename Test>
bool AnyText(const pugi::xml_node& node, Test test) {
    if (test(node.name()) || test(node.value())) {
        return true;
    }
    for (const pugi::xml_attribute& attribute : node.attributes()) {
        if (test(attribute.name()) || test(attribute.value())) {
            return true;
        }
    }
    for (const pugi::xml_node& child : node.children()) {
        if (AnyText(child, test)) {
            return true;
        }
    }
    return false;
}

// pugixml turns a UTF-16 or UTF-32 file into UTF-8 as it reads it, and a code unit that is no
// character (a number beyond U+10FFFF) into bytes that are not UTF-8. Converted back on
// writing, such bytes vanish: an element name made only of them is written as "< />", which
// no parser reads, and the next start loses every element after it.
bool IsNotUtf8(const char* text) {
    return !zuvo::text::IsValidUtf8(text);
}

bool IsUnicodeEncoding(pugi::xml_encoding encoding) {
    return encoding == pugi::encoding_utf16_le || encoding == pugi::encoding_utf16_be ||
           encoding == pugi::encoding_utf32_le || encoding == pugi::encoding_utf32_be;
}

// A declaration holds version, encoding and standalone, and their values never hold a
// quote, '<', '>' or '?'. pugixml reads more than that, and writes it back so that the
// declaration ends elsewhere at the next reading ("?>" inside a value), which changes the
// document at every save. Anything else in it is dropped.
void KeepOnlyDeclarationAttributes(pugi::xml_node declaration) {
    for (pugi::xml_attribute attribute = declaration.first_attribute(); attribute;) {
        const pugi::xml_attribute next = attribute.next_attribute();
        const std::string_view name = attribute.name();
        const std::string_view value = attribute.value();
        const bool known = name == "version" || name == "encoding" || name == "standalone";
        if (!known || value.find_first_of("\"'<>?") != std::string_view::npos) {
            declaration.remove_attribute(attribute);
        }
        attribute = next;
    }
}

}  // namespace

pugi::xml_parse_result XMLParser::LoadFromData(const void* data, size_t size) {
    const pugi::xml_parse_result result =
        m_document.load_buffer(data, size, pugi::parse_full, pugi::encoding_auto);
    // Written back in the same encoding: a file declared Latin-1 but written as UTF-8 would
    // be read as Latin-1 again at the next start, doubling every non-ASCII character.
    m_encoding = result.encoding;
    m_byteOrderMark = HasByteOrderMark(data, size, result.encoding);
    // Text outside the root element is no XML, though pugixml reads it, and it is written back
    // in a form that does not read back the same (the line break after the declaration comes
    // and goes), so every save would change the file. None of the settings live there.
    for (pugi::xml_node node = m_document.first_child(); node;) {
        const pugi::xml_node next = node.next_sibling();
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
            m_document.remove_child(node);
        } else if (node.type() == pugi::node_declaration) {
            KeepOnlyDeclarationAttributes(node);
        }
        node = next;
    }
    return result;
}

bool XMLParser::SaveToFile(std::FILE* file) const {
    if (file == nullptr) {
        return false;
    }
    pugi::xml_writer_file writer(file);
    const unsigned int format =
        pugi::format_default | (m_byteOrderMark ? pugi::format_write_bom : 0u);
    // The same when a UTF-16 or UTF-32 file held code units that are no characters: UTF-8
    // keeps their bytes as they were read, so the next start reads the same document.
    if ((m_encoding == pugi::encoding_latin1 && AnyText(m_document, BeyondLatin1)) ||
        (IsUnicodeEncoding(m_encoding) && AnyText(m_document, IsNotUtf8))) {
        // Latin-1 cannot hold the text (a Chinese folder chosen by the operator, say), and
        // pugixml would write '?' in its place. Character references would only work inside
        // values and nowhere in names, so such a file is written as UTF-8, which holds every
        // character, and its declaration corrected to say so; the next start reads it as
        // UTF-8. The document itself stays as it is, so removing the text again gives a
        // Latin-1 file again.
        pugi::xml_document copy;
        copy.reset(m_document);
        for (pugi::xml_node node : copy.children()) {
            if (node.type() == pugi::node_declaration) {
                node.attribute("encoding").set_value("UTF-8");
                break;
            }
        }
        copy.save(writer, "\t", format, pugi::encoding_utf8);
    } else {
        m_document.save(writer, "\t", format, m_encoding);
    }
    bool written = std::ferror(file) == 0 && CommitFileToDisk(file);
    // A full disk may only show when the last buffer is written at closing.
    written = std::fclose(file) == 0 && written;
    return written;
}

XMLNode XMLParser::GetRootNode() const {
    for (pugi::xml_node node = m_document.first_child(); node; node = node.next_sibling()) {
        if (node.type() == pugi::node_element && NamesMatch(node.name(), kAppConfigName)) {
            return XMLNode(node);
        }
    }
    return XMLNode();
}

XMLNode XMLParser::AppendRootNode(const char* name) {
    return XMLNode(m_document.append_child(name));
}

namespace {

// Built during static initialisation, like the rest of the program's globals, and destroyed
// at exit.
XMLParser gSettingsDocument;

}  // namespace

XMLParser& TheSettingsDocument() {
    return gSettingsDocument;
}

}  // namespace zuvo::settings

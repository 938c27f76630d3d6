// XMLParser: the settings document "appConfig.xml" held in memory.
//
// The file is parsed once at start-up and every change edits this document, which is then
// written back whole; the document, not the file, is authoritative while the program runs.
// Used only on the user-interface thread, so it has no lock.
#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <cstdio>

#include "settings/XMLNode.h"

namespace zuvo::settings {

// The name of the settings element, the first top-level element called so (any case).
inline constexpr const char kAppConfigName[] = "AppConfig";

class XMLParser {
public:
    XMLParser() = default;
    XMLParser(const XMLParser&) = delete;
    XMLParser& operator=(const XMLParser&) = delete;
    virtual ~XMLParser() = default;

    // Replaces the document with the parse of a whole file held in memory; the encoding (UTF-8
    // with or without byte order mark, UTF-16, UTF-32) is detected from the first bytes.
    // Declarations, comments and processing instructions are kept, so that writing the file
    // back preserves them. After a parse error the document holds what was read before it.
    pugi::xml_parse_result LoadFromData(const void* data, size_t size);

    // Writes the document to a file opened for writing in byte mode: the existing declaration,
    // or <?xml version="1.0"?> when there is none, then one node per line indented with tabs,
    // line feeds, in the encoding the file was read in (with its byte order mark if it had
    // one; UTF-8 for a new document). Commits the data to the disk and closes the file (also
    // on failure). True when no write error occurred.
    bool SaveToFile(std::FILE* file) const;

    // True when the text of the document is the file's own bytes (a UTF-8 file, or a new
    // document), so a value may hold bytes of the ANSI code page written by earlier versions.
    // False when the file was converted on reading (Latin-1, UTF-16, UTF-32): every value is
    // then UTF-8 of the characters the file holds.
    bool TextIsFileBytes() const { return m_encoding == pugi::encoding_utf8; }

    // The first top-level "AppConfig" element, or an empty handle.
    XMLNode GetRootNode() const;
    // Appends a new top-level element after the existing top-level nodes.
    XMLNode AppendRootNode(const char* name);

private:
    pugi::xml_document m_document;
    pugi::xml_encoding m_encoding = pugi::encoding_utf8;  // of the file read
    bool m_byteOrderMark = false;
};

// The program's one settings document.
XMLParser& TheSettingsDocument();

}  // namespace zuvo::settings

#include "settings/XMLParser.h"

#include "settings/FileAccess.h"

namespace zuvo::settings {

pugi::xml_parse_result XMLParser::LoadFromData(const void* data, size_t size) {
    return m_document.load_buffer(data, size, pugi::parse_full, pugi::encoding_auto);
}

bool XMLParser::SaveToFile(std::FILE* file) const {
    if (file == nullptr) {
        return false;
    }
    pugi::xml_writer_file writer(file);
    m_document.save(writer, "\t", pugi::format_default, pugi::encoding_auto);
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

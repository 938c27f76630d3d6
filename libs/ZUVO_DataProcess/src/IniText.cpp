#include "IniText.h"

#include "AsciiText.h"

namespace zuvo::radar {

IniDocument IniDocument::Parse(std::string_view text, std::vector<std::string>& problems) {
    IniDocument document;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const std::string_view line = TrimBlanks(raw);
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']') {
                problems.push_back("line " + std::to_string(lineNumber) +
                                   ": section header without ']' ignored");
            }
            continue;
        }
        const size_t equals = line.find('=');
        const std::string_view key = equals == std::string_view::npos
                                         ? std::string_view()
                                         : TrimBlanks(line.substr(0, equals));
        if (key.empty()) {
            problems.push_back("line " + std::to_string(lineNumber) +
                               ": not a \"Key = Value\" record, ignored");
            continue;
        }
        document.m_records.push_back(
            Record{std::string(key), std::string(TrimBlanks(line.substr(equals + 1))), lineNumber});
    }
    return document;
}

const IniDocument::Record* IniDocument::Find(std::string_view key) const {
    const std::string wanted = AsciiLower(key);
    for (auto it = m_records.rbegin(); it != m_records.rend(); ++it) {
        if (AsciiLower(it->key) == wanted) {
            return &*it;
        }
    }
    return nullptr;
}

void IniWriter::Comment(std::string_view text) {
    m_text += "; ";
    m_text += text;
    m_text += "\r\n";
}

void IniWriter::Section(std::string_view name) {
    if (!m_text.empty()) {
        m_text += "\r\n";
    }
    m_text += "[";
    m_text += name;
    m_text += "]\r\n";
}

void IniWriter::Value(std::string_view key, std::string_view value) {
    m_text += key;
    m_text += " = ";
    m_text += value;
    m_text += "\r\n";
}

}  // namespace zuvo::radar

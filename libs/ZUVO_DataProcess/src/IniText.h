// INI text: "[Section]" headers, "Key = Value" records, comment lines starting with ';' or '#'.
// Reading is tolerant: lines that are neither are reported and skipped, keys are compared
// without regard to case and the last record of a key wins, whatever section it stands in.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zuvo::radar {

class IniDocument {
public:
    struct Record {
        std::string key;  // as written
        std::string value;
        int line;  // 1-based
    };

    // Parses UTF-8 text (a leading byte-order mark is skipped). Lines that cannot be read are
    // described in problems.
    static IniDocument Parse(std::string_view text, std::vector<std::string>& problems);

    // The last record of key, or null.
    const Record* Find(std::string_view key) const;
    const std::vector<Record>& Records() const { return m_records; }

private:
    std::vector<Record> m_records;
};

// Builds INI text with CR LF line ends.
class IniWriter {
public:
    void Comment(std::string_view text);
    void Section(std::string_view name);
    void Value(std::string_view key, std::string_view value);
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

}  // namespace zuvo::radar

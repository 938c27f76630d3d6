#include "tests/support/WholeFile.h"

#include <fstream>
#include <iterator>

namespace zuvo::test {

std::optional<std::string> ReadWholeFileIfPresent(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    return ReadWholeFileIfPresent(path).value_or(std::string());
}

bool WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace zuvo::test

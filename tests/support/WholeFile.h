// Whole files as bytes, for tests that write a file, let the code under test work on it and
// compare what is in it afterwards. Portable.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zuvo::test {

// The file's bytes; nullopt when it cannot be opened (a missing file, say).
std::optional<std::string> ReadWholeFileIfPresent(const std::filesystem::path& path);
// The file's bytes; empty when it cannot be opened.
std::string ReadWholeFile(const std::filesystem::path& path);
// Replaces the file with the bytes; false when it cannot be written completely.
bool WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace zuvo::test

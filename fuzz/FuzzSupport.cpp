#include "fuzz/FuzzSupport.h"

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

namespace zuvo::fuzz {

namespace {

std::filesystem::path MakeRunFolder() {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) {
        base = "/tmp";
    }
    std::string pattern = (base / "zuvo_fuzz_XXXXXX").string();
    Check(mkdtemp(pattern.data()) != nullptr, "cannot make the run folder");
    return pattern;
}

void RemoveRunFolder() {
    std::error_code error;
    std::filesystem::remove_all(RunFolder(), error);
}

}  // namespace

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::fflush(stderr);
        std::abort();
    }
}

const std::filesystem::path& RunFolder() {
    static const std::filesystem::path folder = [] {
        std::filesystem::path made = MakeRunFolder();
        std::atexit(RemoveRunFolder);
        return made;
    }();
    return folder;
}

void ClearRunFolder() {
    const std::filesystem::path& folder = RunFolder();
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::filesystem::remove_all(entry.path(), error);
    }
}

std::wstring Wide(const std::filesystem::path& path) {
    // wchar_t holds UTF-32 here, and u32string converts from UTF-8 without the locale.
    const std::u32string text = path.u32string();
    return std::wstring(text.begin(), text.end());
}

void WriteBytes(const std::filesystem::path& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    Check(static_cast<bool>(out), "cannot write an input file");
}

void WriteText(const std::filesystem::path& path, std::string_view text) {
    WriteBytes(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace zuvo::fuzz

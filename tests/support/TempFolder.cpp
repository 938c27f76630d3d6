#include "tests/support/TempFolder.h"

#include <atomic>
#include <chrono>
#include <random>
#include <system_error>

namespace zuvo::test {

namespace {

constexpr int kAttempts = 100;

// Different in every call and, with high probability, in every process: process ids are
// reused quickly under Wine, so they would not keep two runs apart.
std::u8string UniquePart() {
    static std::atomic<unsigned> counter{0};
    static std::random_device random;
    const std::string text =
        std::to_string(counter++) + "_" + std::to_string(random()) + "_" +
        std::to_string(std::chrono::steady_clock::now().time_since_epoch().count() % 1000000);
    return std::u8string(text.begin(), text.end());
}

}  // namespace

TempFolder::TempFolder(std::u8string_view name)
    : TempFolder(name, std::filesystem::temp_directory_path()) {}

TempFolder::TempFolder(std::u8string_view name, const std::filesystem::path& parent) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::filesystem::path candidate =
            parent / std::filesystem::path(u8"zuvo_" + std::u8string(name) + u8"_" + UniquePart());
        // create_directory answers false for a folder that exists already: then it belongs to
        // somebody else, and the next name is tried.
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::filesystem::filesystem_error("no fresh temporary folder", parent,
                                            std::make_error_code(std::errc::file_exists));
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::wstring TempFolder::Wide() const {
    return WidePath(m_path);
}

std::wstring TempFolder::Wide(const std::wstring& name) const {
    return WidePath(m_path) + static_cast<wchar_t>(std::filesystem::path::preferred_separator) +
           name;
}

std::wstring WidePath(const std::filesystem::path& path) {
#if defined(_WIN32)
    return path.wstring();
#else
    // wchar_t holds UTF-32 here, and u32string converts from UTF-8 without the locale.
    const std::u32string text = path.u32string();
    return std::wstring(text.begin(), text.end());
#endif
}

}  // namespace zuvo::test

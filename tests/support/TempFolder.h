// A fresh, empty folder for one test, removed with everything in it when the object goes: at
// the end of the test, and just the same when a failed assertion ends it early. Portable: the
// native and the Wine tests use the same type.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zuvo::test {

class TempFolder {
public:
    // A new folder "zuvo_<name>_<unique part>" in the system's temporary folder, or in parent.
    // The name is UTF-8 (a u8"" literal), so folders with any characters can be made on every
    // platform. Throws std::filesystem::filesystem_error when no folder can be made.
    explicit TempFolder(std::u8string_view name = u8"test");
    TempFolder(std::u8string_view name, const std::filesystem::path& parent);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return m_path / name;
    }
    // The path as wide text, as the Win32 functions and our wide-path interfaces take it.
    std::wstring Wide() const;
    // A name inside the folder as wide text, joined with the platform's separator.
    std::wstring Wide(const std::wstring& name) const;

private:
    std::filesystem::path m_path;
};

// A path as wide text. Outside Windows the file system's names are UTF-8 whatever the C locale
// says, while path::wstring would convert them with the locale and fail on anything not ASCII.
std::wstring WidePath(const std::filesystem::path& path);

}  // namespace zuvo::test

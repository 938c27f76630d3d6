// What the harnesses share: one private folder per process for the files a reader needs, and a
// check that ends the run with a message, so that a broken round trip counts as a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zuvo::fuzz {

// Ends the process with the message when condition is false: libFuzzer then keeps the input.
void Check(bool condition, const char* what);

// A folder of this process under the system's temporary folder, made on the first call and
// removed with everything in it when the process ends. The working folder stays as it is:
// libFuzzer reads its corpus and writes its findings by the paths it was given.
const std::filesystem::path& RunFolder();
// Empties RunFolder(), so every input starts from the same state.
void ClearRunFolder();

// The path as wide text (UTF-8 names, whatever the locale says).
std::wstring Wide(const std::filesystem::path& path);

void WriteBytes(const std::filesystem::path& path, const uint8_t* data, size_t size);
void WriteText(const std::filesystem::path& path, std::string_view text);
std::string ReadBytes(const std::filesystem::path& path);

}  // namespace zuvo::fuzz

// The harness entry point that libFuzzer (or the replay main) calls once per input.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

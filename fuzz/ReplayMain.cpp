// The replay main of the harnesses in the ordinary build: every file named, or every file in a
// folder named, goes once through the harness, as libFuzzer would hand it over. A crash or a
// failed check ends the program; a run that found no file at all fails too, so a corpus that
// went missing is never taken for a clean one.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "fuzz/FuzzSupport.h"

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path named(argv[i]);
        std::error_code error;
        if (std::filesystem::is_directory(named, error)) {
            for (const auto& entry : std::filesystem::directory_iterator(named, error)) {
                if (entry.is_regular_file()) {
                    files.push_back(std::filesystem::absolute(entry.path()));
                }
            }
        } else if (std::filesystem::is_regular_file(named, error)) {
            files.push_back(std::filesystem::absolute(named));
        } else {
            std::fprintf(stderr, "replay: %s is neither a file nor a folder\n", argv[i]);
            return 2;
        }
    }
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::fprintf(stderr, "replay: no input file found\n");
        return 2;
    }
    for (const std::filesystem::path& file : files) {
        const std::string bytes = zuvo::fuzz::ReadBytes(file);
        std::printf("replay: %s (%zu bytes)\n", file.filename().string().c_str(), bytes.size());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("replay: %zu inputs, no failure\n", files.size());
    return 0;
}

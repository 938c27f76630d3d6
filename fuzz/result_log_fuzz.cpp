// A result log as zuvo-replay's log2csv reads it: any bytes, lines of any length, entries with
// any numbers. Every row it makes is one CSV record of five fields with its line end, and every
// line is either a row or named as skipped.
#include <algorithm>
#include <string>

#include "ReplayCore.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using zuvo::fuzz::Check;
    zuvo::fuzz::ClearRunFolder();
    const std::filesystem::path log = zuvo::fuzz::RunFolder() / "ZUVO_MTT_Result_x.txt";
    zuvo::fuzz::WriteBytes(log, data, size);
    zuvo::replay::LogConversion conversion;
    std::string error;
    std::string csv;
    int64_t rows = -1;  // the header is no row
    const bool read = zuvo::replay::ResultLogToCsv(
        zuvo::fuzz::Wide(log),
        [&](const std::string& row) {
            Check(row.size() >= 2 && row.compare(row.size() - 2, 2, "\r\n") == 0,
                  "a row without its line end");
            Check(std::count(row.begin(), row.end(), '\n') == 1, "a row of several lines");
            Check(std::count(row.begin(), row.end(), ',') == 4, "a row without five fields");
            ++rows;
        },
        conversion, error);
    Check(read, "a written log could not be read");
    Check(rows == conversion.rows, "the rows counted are not the rows written");
    const int64_t lines = std::count(data, data + size, '\n') + 1;
    Check(conversion.rows + static_cast<int64_t>(conversion.skipped.size()) <= lines,
          "more rows and skipped lines than lines");
    return 0;
}

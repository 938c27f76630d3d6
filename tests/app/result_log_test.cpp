// The result log's lines, byte for byte, and what a failing stream does to them.
#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/types.h>

#include "app/ResultLog.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WholeFile.h"

namespace {

using zuvo::app::FormatResultLine;
using zuvo::app::LogTime;
using zuvo::app::ResultLog;
using zuvo::test::ReadWholeFile;
using zuvo::test::TempFolder;

RadarObject Entry(int64_t id, double distance, double angle, double velocity) {
    return RadarObject{id, distance / 0.25, distance, velocity, angle, 0.0, 0.0};
}

TEST(ResultLogLine, FieldsAreFormattedExactly) {
    const struct {
        LogTime time;
        RadarObject entry;
        const char* line;
    } cases[] = {
        {{14, 3, 9, 7}, Entry(2, 1.5, -12.3, 0.25), "[14:03:09.007], 2, 1.50, -12.30, 0.25\r\n"},
        {{0, 0, 0, 0}, Entry(7, -1.0, 4.5, -0.125), "[00:00:00.000], 7, -1.00, 4.50, -0.12\r\n"},
        {{23, 59, 59, 999},
         Entry(4294967297, 12.345, 60.0, 1.005),
         "[23:59:59.999], 4294967297, 12.35, 60.00, 1.00\r\n"},
        {{1, 2, 3, 4},
         Entry(-9223372036854775807 - 1, 0.0, 0.0, 0.0),
         "[01:02:03.004], -9223372036854775808, 0.00, 0.00, 0.00\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatResultLine(c.time, c.entry), c.line);
    }
}

TEST(ResultLogLine, AbsurdValuesStillEndTheirLine) {
    const std::string line = FormatResultLine({1, 2, 3, 4}, Entry(1, 1e300, -1e300, 1e300));
    ASSERT_GE(line.size(), 2u);
    EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
    EXPECT_EQ(line.find('\n'), line.size() - 1) << "exactly one line";
    EXPECT_EQ(line.rfind("[01:02:03.004], 1, 1", 0), 0u);
    const std::string nan = FormatResultLine({1, 2, 3, 4}, Entry(3, std::nan(""), 0.0, 0.0));
    EXPECT_EQ(nan.rfind("[01:02:03.004], 3, ", 0), 0u);
    EXPECT_EQ(nan.substr(nan.size() - 2), "\r\n");
}

class ResultLogFile : public testing::Test {
protected:
    const TempFolder m_temp{u8"result_log"};
    const std::filesystem::path m_folder = m_temp.Path();
};

TEST_F(ResultLogFile, EveryEntryGivesALineAndANewFileStartsEmpty) {
    const std::filesystem::path first = m_folder / "first.txt";
    const std::filesystem::path second = m_folder / "second.txt";
    ResultLog log;
    EXPECT_FALSE(log.IsOpen());
    log.Write({}, {});  // no log: nothing, no crash

    log.Attach(std::fopen(first.c_str(), "wb"));
    ASSERT_TRUE(log.IsOpen());
    const RadarObject a = Entry(1, 2.0, 3.0, 0.5);
    const RadarObject none = Entry(2, -1.0, 0.0, 0.0);
    log.Write({&a, nullptr, &none}, {10, 20, 30, 40});
    log.Write({&a}, {10, 20, 31, 0});

    // The next start attaches a new file: the first is closed and complete.
    log.Attach(std::fopen(second.c_str(), "wb"));
    EXPECT_EQ(ReadWholeFile(first),
              "[10:20:30.040], 1, 2.00, 3.00, 0.50\r\n"
              "[10:20:30.040], 2, -1.00, 0.00, 0.00\r\n"
              "[10:20:31.000], 1, 2.00, 3.00, 0.50\r\n");
    log.Close();
    EXPECT_EQ(ReadWholeFile(second), "");
    log.Close();  // twice is harmless
}

// A stream whose writes go to a string, except the one write it is told to refuse.
class FlakyStream {
public:
    explicit FlakyStream(int refusedWrite) : m_refusedWrite(refusedWrite) {}

    // An unbuffered stream over this object: every fwrite reaches Write at once.
    std::FILE* Open() {
        cookie_io_functions_t functions{};
        functions.write = [](void* self, const char* bytes, size_t size) -> ssize_t {
            return static_cast<FlakyStream*>(self)->Write(bytes, size);
        };
        std::FILE* file = fopencookie(this, "w", functions);
        if (file != nullptr) {
            std::setvbuf(file, nullptr, _IONBF, 0);
        }
        return file;
    }

    const std::string& Received() const { return m_received; }
    int Writes() const { return m_writes; }

private:
    ssize_t Write(const char* bytes, size_t size) {
        if (++m_writes == m_refusedWrite) {
            return 0;  // the cookie interface's error answer (a negative one is not allowed)
        }
        m_received.append(bytes, size);
        return static_cast<ssize_t>(size);
    }

    int m_refusedWrite;
    int m_writes = 0;
    std::string m_received;
};

// A fully buffered stream over a string: what reached the string is what a reader of the
// file would find.
class BufferedSink {
public:
    std::FILE* Open() {
        cookie_io_functions_t functions{};
        functions.write = [](void* self, const char* bytes, size_t size) -> ssize_t {
            static_cast<BufferedSink*>(self)->m_received.append(bytes, size);
            return static_cast<ssize_t>(size);
        };
        std::FILE* file = fopencookie(this, "w", functions);
        if (file != nullptr) {
            std::setvbuf(file, nullptr, _IOFBF, 1 << 16);
        }
        return file;
    }
    size_t Lines() const {
        return static_cast<size_t>(std::count(m_received.begin(), m_received.end(), '\n'));
    }

private:
    std::string m_received;
};

// The refresh pass hands the lines to the system at least once a second; a stop does at once.
TEST(ResultLogFlush, LinesReachTheFileWithinASecondAndAtOnceOnFlush) {
    BufferedSink sink;
    ResultLog log;
    log.Attach(sink.Open());
    const RadarObject a = Entry(1, 2.0, 3.0, 0.5);

    log.FlushIfDue(5000);  // a pass with nothing written
    log.Write({&a}, {});
    log.FlushIfDue(5100);
    EXPECT_EQ(sink.Lines(), 0u) << "100 ms after the last pass";
    log.FlushIfDue(5999);
    EXPECT_EQ(sink.Lines(), 0u);
    log.FlushIfDue(6000);
    EXPECT_EQ(sink.Lines(), 1u) << "a second after the last flush";

    log.Write({&a, &a}, {});
    log.FlushIfDue(6500);
    EXPECT_EQ(sink.Lines(), 1u);
    log.Flush();
    EXPECT_EQ(sink.Lines(), 3u) << "a stop's flush";

    // The millisecond counter wraps: the period is an unsigned difference.
    log.FlushIfDue(0xFFFFFF00u);
    log.Write({&a}, {});
    log.FlushIfDue(0xFFFFFF00u + 1000u);
    EXPECT_EQ(sink.Lines(), 4u);
    log.Close();
}

TEST_F(ResultLogFile, AFailingStreamLosesOnlyWhatItCannotTake) {
    // The second line's write fails (a full disk, a network share gone for a moment); the
    // stream recovers at once, so the first and the later lines must all arrive.
    FlakyStream stream(2);
    ResultLog log;
    log.Attach(stream.Open());
    ASSERT_TRUE(log.IsOpen());
    const RadarObject a = Entry(5, 1.0, 1.0, 1.0);
    const RadarObject b = Entry(6, 2.0, 2.0, 2.0);
    const RadarObject c = Entry(7, 3.0, 3.0, 3.0);
    log.Write({&a, &b, &c}, {1, 1, 1, 1});
    log.Write({&a}, {1, 1, 2, 0});
    EXPECT_EQ(stream.Received(),
              "[01:01:01.001], 5, 1.00, 1.00, 1.00\r\n"
              "[01:01:01.001], 7, 3.00, 3.00, 3.00\r\n"
              "[01:01:02.000], 5, 1.00, 1.00, 1.00\r\n");
    EXPECT_EQ(stream.Writes(), 4) << "one write per line, the refused one included";
    log.Close();

    // A stream that refuses every write (opened for reading) neither crashes the log nor
    // changes the file.
    const std::filesystem::path readOnly = m_folder / "read_only.txt";
    std::ofstream(readOnly) << "keep";
    log.Attach(std::fopen(readOnly.c_str(), "rb"));
    log.Write({&a, &a}, {1, 1, 1, 1});
    log.Close();
    EXPECT_EQ(ReadWholeFile(readOnly), "keep");
}

}  // namespace

// zuvo-replay: reads the program's recordings and result logs outside the program.
//
//   zuvo-replay info FOLDER
//   zuvo-replay objects FOLDER [--config FILE] [--site host|sensor] [--speed X]
//   zuvo-replay log2csv RESULT_LOG
//
// CSV goes to standard output, problems to standard error; a progress bar is drawn on standard
// error while it is a terminal. Exit status: 0 done, 1 something could not be read (a missing
// folder, an unreadable file, a damaged file header), 2 a wrong command line.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

#include "ReplayCore.h"
#include "ZUVO_DataProcess.h"
#include "text/Unicode.h"

namespace {

constexpr char kUsage[] =
    "usage:\n"
    "  zuvo-replay info FOLDER\n"
    "      version, frames, duration, damaged frames and configuration of a recording\n"
    "  zuvo-replay objects FOLDER [--config FILE] [--site host|sensor] [--speed X]\n"
    "      the objects the recording gives, as the program's playback delivers them, as CSV:\n"
    "      time_ms,frame,id,gate_distance,distance_m,velocity_mps,angle_deg\n"
    "      --config FILE  process with the parameters of FILE (a Radar_Config.ini) instead of\n"
    "                     the recording's own: tracking re-run with other settings\n"
    "      --site S       track on this computer (host) or take the sensor's own tracking\n"
    "      --speed X      play at X times the recorded pace (default: as fast as possible)\n"
    "  zuvo-replay log2csv RESULT_LOG\n"
    "      a result log (Log\\ZUVO_MTT_Result_*.txt) as CSV: time,id,distance_m,angle_deg,\n"
    "      velocity_mps\n"
    "  zuvo-replay --help\n";

bool StderrIsTerminal() {
#if defined(_WIN32)
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

// Draws "[#####.....]  42 %" on standard error while it is a terminal; erased when done.
class ProgressBar {
public:
    ProgressBar() : m_shown(StderrIsTerminal()) {}
    ~ProgressBar() {
        if (m_drawn) {
            std::fprintf(stderr, "\r%60s\r", "");
        }
    }
    void Show(int perMille) {
        if (!m_shown || perMille / 10 == m_percent) {
            return;
        }
        m_percent = perMille / 10;
        constexpr int kWidth = 40;
        const int filled = perMille * kWidth / 1000;
        std::string bar(static_cast<size_t>(filled), '#');
        bar.append(static_cast<size_t>(kWidth - filled), '.');
        std::fprintf(stderr, "\r[%s] %3d %%", bar.c_str(), m_percent);
        std::fflush(stderr);
        m_drawn = true;
    }

private:
    bool m_shown;
    bool m_drawn = false;
    int m_percent = -1;
};

void Out(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

int Usage(const char* problem) {
    if (problem != nullptr) {
        std::fprintf(stderr, "zuvo-replay: %s\n\n", problem);
    }
    std::fputs(kUsage, stderr);
    return 2;
}

int Fail(const std::string& problem) {
    std::fprintf(stderr, "zuvo-replay: %s\n", problem.c_str());
    return 1;
}

// Every file that could not be read, on standard error; 1 when there was one.
int ReportUnreadable(const zuvo::replay::ReadCounts& counts) {
    for (const std::string& file : counts.unreadable) {
        std::fprintf(stderr, "zuvo-replay: %s\n", file.c_str());
    }
    return counts.unreadable.empty() ? 0 : 1;
}

int Info(const std::wstring& folder) {
    zuvo::replay::Recording recording;
    std::string error;
    if (!zuvo::replay::OpenRecording(folder, recording, error)) {
        return Fail(error);
    }
    zuvo::replay::ReadCounts counts;
    {
        ProgressBar bar;
        counts = zuvo::replay::ReadFrames(
            recording, [](const zuvo::radar::RadarFrame&) {},
            [&](int perMille) { bar.Show(perMille); });
    }
    Out(zuvo::replay::DescribeRecording(recording, counts));
    return ReportUnreadable(counts);
}

int Objects(const std::vector<std::wstring>& args) {
    zuvo::replay::ObjectOptions options;
    std::wstring folder;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == L"--config" && hasValue) {
            options.config = args[++i];
        } else if (arg == L"--site" && hasValue) {
            const std::wstring& site = args[++i];
            if (site == L"host") {
                options.site = RADAR_PROCESS_SITE_HOST;
            } else if (site == L"sensor") {
                options.site = RADAR_PROCESS_SITE_SENSOR;
            } else {
                return Usage("--site takes host or sensor");
            }
        } else if (arg == L"--speed" && hasValue) {
            const std::string text = zuvo::text::WideToUtf8(args[++i]);
            char* end = nullptr;
            options.speed = std::strtod(text.c_str(), &end);
            if (end == text.c_str() || *end != '\0' || !(options.speed > 0.0) ||
                options.speed > 1000.0) {
                return Usage("--speed takes a number above 0 and up to 1000");
            }
        } else if (!arg.empty() && arg[0] == L'-') {
            return Usage(
                ("unknown option or missing value: " + zuvo::text::WideToUtf8(arg)).c_str());
        } else if (folder.empty()) {
            folder = arg;
        } else {
            return Usage("objects takes one folder");
        }
    }
    if (folder.empty()) {
        return Usage("objects needs a recording folder");
    }
    zuvo::replay::Recording recording;
    std::string error;
    if (!zuvo::replay::OpenRecording(folder, recording, error)) {
        return Fail(error);
    }
    Out(zuvo::replay::kObjectsHeader);
    zuvo::replay::ReadCounts counts;
    bool done = false;
    {
        ProgressBar bar;
        done = zuvo::replay::ReplayObjects(
            recording, options, Out, [&](int perMille) { bar.Show(perMille); }, counts, error);
    }
    if (!done) {
        return Fail(error);
    }
    if (counts.damagedFrames > 0) {
        std::fprintf(stderr, "zuvo-replay: %lld damaged frames skipped\n",
                     static_cast<long long>(counts.damagedFrames));
    }
    return ReportUnreadable(counts);
}

int LogToCsv(const std::wstring& path) {
    zuvo::replay::LogConversion conversion;
    std::string error;
    if (!zuvo::replay::ResultLogToCsv(path, Out, conversion, error)) {
        return Fail(error);
    }
    for (const std::string& skipped : conversion.skipped) {
        std::fprintf(stderr, "zuvo-replay: not an entry, skipped: %s\n", skipped.c_str());
    }
    return 0;
}

int Run(const std::vector<std::wstring>& args) {
    if (args.empty()) {
        return Usage(nullptr);
    }
    const std::wstring& command = args[0];
    if (command == L"--help" || command == L"-h" || command == L"help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == L"info" || command == L"log2csv") {
        if (args.size() != 2) {
            return Usage((zuvo::text::WideToUtf8(command) + " takes one argument").c_str());
        }
        return command == L"info" ? Info(args[1]) : LogToCsv(args[1]);
    }
    if (command == L"objects") {
        return Objects(args);
    }
    return Usage(("unknown command: " + zuvo::text::WideToUtf8(command)).c_str());
}

// No exception leaves the program: it ends with a message and status 1.
int RunGuarded(const std::vector<std::wstring>& args) {
    try {
        return Run(args);
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
}

}  // namespace

#if defined(_WIN32)
// CSV keeps its own line ends: standard output is not translated.
int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    return RunGuarded(std::vector<std::wstring>(argv + 1, argv + argc));
}
#else
int main(int argc, char** argv) {
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(zuvo::text::Utf8ToWide(argv[i]));
    }
    return RunGuarded(args);
}
#endif

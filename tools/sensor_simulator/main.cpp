// sensor_simulator: a serial radar sensor on the Linux end of a pseudo-terminal, for the Wine
// tests. It creates the pseudo-terminal itself, points COM<port> of the Wine prefix at it and
// answers like a sensor of the family (SimulatedSensor.h), with the radar emulator's scene.
//
//   sensor_simulator WORKDIR DOSDEVICES PORT [--seed N] [--scripted N] [--close-after-ms MS]
//                    [--identity TEXT]
//
// It talks to the test through files in WORKDIR, as tests/support/light_line.py does: "ready"
// once the port is mapped (or "error" with the reason); a file "close" (or --close-after-ms
// after the first stream started) closes the line as an unplugged sensor would, answered by
// "closed"; "stop" ends it. Its last act is "report" (frames sent, commands heard) and "done".
// It gives up by itself after a few minutes, so that a crashed test leaves nothing running.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>

#include "RadarConfigFile.h"
#include "SimulatedSensor.h"

namespace {

namespace fsys = std::filesystem;
using zuvo::radar::sim::SimulatedSensor;

constexpr int kLifetimeS = 240;
constexpr int kPollMs = 5;

struct Options {
    fsys::path workdir;
    fsys::path dosdevices;
    int port = 0;
    uint32_t seed = 20241209;
    int scripted = 0;
    long closeAfterMs = -1;
    std::string identity = "ZUVO mmWave sensor simulator SN 0001";
};

void WriteFile(const fsys::path& folder, const std::string& name, const std::string& text) {
    const fsys::path temporary = folder / ("." + name);
    {
        std::ofstream out(temporary, std::ios::binary);
        out << text;
    }
    fsys::rename(temporary, folder / name);
}

bool TakeRequest(const fsys::path& folder, const char* name) {
    std::error_code ignored;
    return fsys::remove(folder / name, ignored);
}

uint32_t NowMs() {
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

Options Parse(int argc, char** argv) {
    if (argc < 4) {
        throw std::runtime_error("usage: sensor_simulator WORKDIR DOSDEVICES PORT [options]");
    }
    Options options;
    options.workdir = argv[1];
    options.dosdevices = argv[2];
    options.port = std::atoi(argv[3]);
    for (int i = 4; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        const char* value = argv[i + 1];
        if (key == "--seed") {
            options.seed = static_cast<uint32_t>(std::strtoul(value, nullptr, 10));
        } else if (key == "--scripted") {
            options.scripted = std::atoi(value);
        } else if (key == "--close-after-ms") {
            options.closeAfterMs = std::atol(value);
        } else if (key == "--identity") {
            options.identity = value;
        } else {
            throw std::runtime_error("unknown option " + key);
        }
    }
    if (options.port <= 0 || !fsys::is_directory(options.dosdevices)) {
        throw std::runtime_error("no COM port number or no Wine devices folder " +
                                 options.dosdevices.string());
    }
    return options;
}

// A pseudo-terminal whose slave side Wine opens as the COM port. The simulator holds the slave
// open too, so the master reads nothing odd before Wine comes; closing both hangs the line up.
class Line {
public:
    Line() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
            throw std::runtime_error("no pseudo-terminal");
        }
        m_slaveName = ptsname(m_master);
        m_slave = open(m_slaveName.c_str(), O_RDWR | O_NOCTTY);
        termios raw{};
        if (m_slave < 0 || tcgetattr(m_slave, &raw) != 0) {
            throw std::runtime_error("cannot open " + m_slaveName);
        }
        cfmakeraw(&raw);
        tcsetattr(m_slave, TCSANOW, &raw);
    }
    ~Line() { Close(); }
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    const std::string& SlaveName() const { return m_slaveName; }
    bool Open() const { return m_master >= 0; }
    void Close() {
        if (m_master >= 0) {
            close(m_master);
            close(m_slave);
            m_master = m_slave = -1;
        }
    }
    // Waits up to timeoutMs for bytes; what came (empty on time-out).
    std::string Read(int timeoutMs) {
        pollfd fd{m_master, POLLIN, 0};
        if (poll(&fd, 1, timeoutMs) <= 0 || (fd.revents & POLLIN) == 0) {
            return {};
        }
        char buffer[4096];
        const ssize_t got = read(m_master, buffer, sizeof(buffer));
        return got > 0 ? std::string(buffer, static_cast<size_t>(got)) : std::string();
    }
    // Whatever does not fit now is dropped, as a sensor's transmitter does not wait either.
    void Write(const std::vector<uint8_t>& bytes) {
        size_t at = 0;
        while (at < bytes.size()) {
            const ssize_t put = write(m_master, bytes.data() + at, bytes.size() - at);
            if (put <= 0) {
                return;
            }
            at += static_cast<size_t>(put);
        }
    }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slaveName;
};

void MapPort(const fsys::path& link, const std::string& target) {
    const fsys::path temporary = link.string() + ".new";
    std::error_code ignored;
    fsys::remove(temporary, ignored);
    fsys::create_symlink(target, temporary);
    fsys::rename(temporary, link);
}

void UnmapPort(const fsys::path& link, const std::string& target) {
    std::error_code error;
    if (fsys::is_symlink(link, error) && fsys::read_symlink(link, error) == target) {
        fsys::remove(link, error);
    }
}

std::string Report(const SimulatedSensor& sensor) {
    std::string text = "frames " + std::to_string(sensor.FramesSent()) + "\nidentify " +
                       std::to_string(sensor.Identifications()) + "\ncommands";
    for (uint16_t command : sensor.Commands()) {
        char hex[16];
        std::snprintf(hex, sizeof(hex), " 0x%04X", command);
        text += hex;
    }
    return text + "\n";
}

int Serve(const Options& options) {
    tagEMULATORSETTINGS emulator;
    zuvo::radar::SetDefaultEmulatorSettings(emulator);
    emulator.EmulatorSeed = options.seed;
    emulator.EmulatorScriptedPeople = options.scripted;
    SimulatedSensor sensor(emulator, options.identity);

    Line line;
    const fsys::path link = options.dosdevices / ("com" + std::to_string(options.port));
    MapPort(link, line.SlaveName());
    WriteFile(options.workdir, "ready", line.SlaveName());

    const auto started = std::chrono::steady_clock::now();
    bool streamedOnce = false;
    uint32_t streamStartMs = 0;
    auto stopRequested = [&] {
        return fsys::exists(options.workdir / "stop") ||
               std::chrono::steady_clock::now() - started > std::chrono::seconds(kLifetimeS);
    };
    while (!stopRequested()) {
        if (!line.Open()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        const std::string bytes = line.Read(kPollMs);
        const uint32_t now = NowMs();
        if (!bytes.empty()) {
            line.Write(
                sensor.Receive(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), now));
        }
        if (sensor.Streaming() && !streamedOnce) {
            streamedOnce = true;
            streamStartMs = now;
        }
        line.Write(sensor.FramesDue(now));
        const bool closeDue = options.closeAfterMs >= 0 && streamedOnce &&
                              static_cast<long>(now - streamStartMs) >= options.closeAfterMs;
        if (TakeRequest(options.workdir, "close") || closeDue) {
            line.Close();
            UnmapPort(link, line.SlaveName());
            WriteFile(options.workdir, "closed", Report(sensor));
        }
    }
    line.Close();
    UnmapPort(link, line.SlaveName());
    WriteFile(options.workdir, "report", Report(sensor));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2) {
        // Wine hands a Linux program the caller's output, which may be the test runner's pipe:
        // everything goes to a log in the shared folder instead.
        const std::string log = std::string(argv[1]) + "/peer.log";
        if (std::freopen(log.c_str(), "a", stdout) == nullptr ||
            std::freopen(log.c_str(), "a", stderr) == nullptr) {
            return 2;
        }
        std::freopen("/dev/null", "r", stdin);
    }
    int status = 1;
    try {
        const Options options = Parse(argc, argv);
        status = Serve(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sensor_simulator: %s\n", e.what());
        if (argc >= 2) {
            WriteFile(argv[1], "error", e.what());
        }
    }
    if (argc >= 2) {
        WriteFile(argv[1], "done", "");
    }
    return status;
}

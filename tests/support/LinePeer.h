// The Linux end of a Wine COM port for the tower-light tests: light_line.py (run with
// /usr/bin/python3, which has Debian's pymodbus) creates a socat pseudo-terminal pair, maps
// COM<n> of this Wine prefix to one end and serves the other. Wine starts Linux programs
// like Windows ones, so each test brings its own line up and down; the two sides talk
// through small files in a folder under /tmp (drive Z: here).
//
// A radar sensor on a COM port is served the same way by tools/sensor_simulator, a Linux
// program of the build that makes its own pseudo-terminal (the second constructor).
//
// Missing helpers (python3, socat, pymodbus, the simulator) are failures with their reason,
// never skips.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "tests/support/TempFolder.h"

namespace zuvo::test {

class LinePeer {
public:
    // mode: "capture", "modbus" or "stall" (see light_line.py). Makes the shared folder.
    LinePeer(const char* mode, int comPort, int baudRate);
    // The sensor simulator on COM<n>, with its options (see tools/sensor_simulator/main.cpp),
    // for example "--scripted 2 --close-after-ms 3000". Its requests: "close" closes the line
    // (answered by "closed"); its report (frames sent, identity requests, commands) comes in
    // the file "closed" or, after Stop, "report".
    LinePeer(int comPort, const std::string& simulatorOptions);
    LinePeer(const LinePeer&) = delete;
    LinePeer& operator=(const LinePeer&) = delete;
    // Stops the peer if still running; then the shared folder goes.
    ~LinePeer();

    // Starts the peer and waits until COM<n> is served. Empty on success, else why not.
    std::string Start();
    // Asks the peer for something by creating the file name in the shared folder.
    bool Request(const std::wstring& name);
    // Removes an earlier answer, so that WaitFor sees only the next one.
    void Forget(const std::wstring& name);
    // Waits up to timeoutMs for the file name from the peer; its contents.
    std::optional<std::string> WaitFor(const std::wstring& name, uint32_t timeoutMs);
    // Tells the peer to finish (call after closing the port) and waits for it. Empty on
    // success, else the peer's error and log.
    std::string Stop();

private:
    std::wstring SharedFile(const std::wstring& name) const;
    bool Exists(const std::wstring& name) const;
    // Empty when the peer reported no error; else its error and log.
    std::string PeerFailure() const;
    std::string PeerReport() const;

    std::wstring m_mode;
    std::wstring m_simulatorOptions;  // empty for light_line.py
    int m_comPort;
    int m_baudRate;
    TempFolder m_folder;         // under /tmp, as Wine sees it on drive Z:
    std::wstring m_linuxFolder;  // the same folder as the peer sees it
    bool m_simulator = false;
    bool m_started = false;
    bool m_stopped = false;
};

// The Wine prefix's devices folder as a Linux path, from WINEPREFIX; empty when not set.
std::wstring WineDevicesFolder();
// A Linux path as Wine sees it through drive Z:.
std::wstring OnDriveZ(const std::wstring& linuxPath);

}  // namespace zuvo::test

#include "tests/support/LinePeer.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/WholeFile.h"
#include "text/Unicode.h"

namespace zuvo::test {

namespace {

constexpr wchar_t kPython[] = L"Z:\\usr\\bin\\python3";
constexpr std::chrono::milliseconds kStartTimeout(20000);
constexpr uint32_t kStopTimeoutMs = 20000;

std::wstring FromUtf8(const char* text) {
    return zuvo::text::Utf8ToWide(text);
}

}  // namespace

std::wstring WineDevicesFolder() {
    wchar_t prefix[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return L"";
    }
    return std::wstring(prefix, length) + L"/dosdevices";
}

std::wstring OnDriveZ(const std::wstring& linuxPath) {
    std::wstring path = L"Z:" + linuxPath;
    for (wchar_t& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return path;
}

LinePeer::LinePeer(const char* mode, int comPort, int baudRate)
    : m_mode(FromUtf8(mode)),
      m_comPort(comPort),
      m_baudRate(baudRate),
      m_folder(std::strcmp(mode, "sensor") == 0 ? u8"sensor" : u8"light", OnDriveZ(L"/tmp")),
      m_linuxFolder(L"/tmp/" + m_folder.Path().filename().wstring()) {}

LinePeer::LinePeer(int comPort, const std::string& simulatorOptions)
    : LinePeer("sensor", comPort, 0) {
    m_simulator = true;
    m_simulatorOptions = FromUtf8(simulatorOptions.c_str());
}

LinePeer::~LinePeer() {
    if (m_started && !m_stopped) {
        Stop();
    }
}

std::wstring LinePeer::SharedFile(const std::wstring& name) const {
    return m_folder.Wide(name);
}

bool LinePeer::Exists(const std::wstring& name) const {
    return GetFileAttributesW(SharedFile(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string LinePeer::Start() {
    const std::wstring devices = WineDevicesFolder();
    if (devices.empty()) {
        return "WINEPREFIX is not set: run the test through tools/wine-run";
    }

    // The peer sends its own output to peer.log: Wine hands a Linux program the caller's
    // standard output whatever the start-up information says.
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    const std::wstring program = m_simulator ? OnDriveZ(FromUtf8(ZUVO_SENSOR_SIMULATOR)) : kPython;
    const std::wstring command =
        m_simulator ? L"sensor_simulator \"" + m_linuxFolder + L"\" \"" + devices + L"\" " +
                          std::to_wstring(m_comPort) + L" " + m_simulatorOptions
                    : L"/usr/bin/python3 \"" + FromUtf8(ZUVO_LIGHT_LINE_SCRIPT) + L"\" " + m_mode +
                          L" \"" + m_linuxFolder + L"\" \"" + devices + L"\" " +
                          std::to_wstring(m_comPort) + L" " + std::to_wstring(m_baudRate);
    std::vector<wchar_t> commandLine(command.begin(), command.end());
    commandLine.push_back(L'\0');
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return "cannot start " + std::string(m_simulator ? ZUVO_SENSOR_SIMULATOR : "python3") +
               " (error " + std::to_string(GetLastError()) + ")";
    }
    // A Linux process has no Windows process object to wait for: its files tell its state.
    UniqueKernelHandle processHandle(process.hProcess);
    UniqueKernelHandle threadHandle(process.hThread);
    m_started = true;

    WaitUntil([this] { return Exists(L"ready") || Exists(L"done"); }, kStartTimeout);
    if (Exists(L"ready")) {
        return "";
    }
    if (Exists(L"done")) {
        m_stopped = true;
        return "the line peer ended: " + PeerReport();
    }
    return "the line peer did not come up: " + PeerReport();
}

void LinePeer::Forget(const std::wstring& name) {
    DeleteFileW(SharedFile(name).c_str());
}

bool LinePeer::Request(const std::wstring& name) {
    UniqueFileHandle file(CreateFileW(SharedFile(name).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, 0, nullptr));
    return static_cast<bool>(file);
}

std::optional<std::string> LinePeer::WaitFor(const std::wstring& name, uint32_t timeoutMs) {
    if (!WaitUntil([&] { return Exists(name); }, std::chrono::milliseconds(timeoutMs))) {
        return std::nullopt;
    }
    return ReadWholeFileIfPresent(SharedFile(name));
}

std::string LinePeer::Stop() {
    if (!m_started || m_stopped) {
        return m_stopped ? PeerFailure() : "the line peer was not started";
    }
    m_stopped = true;
    Request(L"stop");
    if (!WaitFor(L"done", kStopTimeoutMs)) {
        return "the line peer did not finish: " + PeerReport();
    }
    return PeerFailure();
}

std::string LinePeer::PeerFailure() const {
    return Exists(L"error") ? PeerReport() : "";
}

std::string LinePeer::PeerReport() const {
    return ReadWholeFileIfPresent(SharedFile(L"error")).value_or("(no error file)") + "\n" +
           ReadWholeFileIfPresent(SharedFile(L"peer.log")).value_or("(no log)");
}

}  // namespace zuvo::test

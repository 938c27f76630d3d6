#include "tests/light/LinePeer.h"

#include <string>
#include <vector>

#include "ZUVO_Common.h"
#include "framework/Handles.h"

namespace {

constexpr wchar_t kPython[] = L"Z:\\usr\\bin\\python3";
constexpr uint32_t kStartTimeoutMs = 20000;
constexpr uint32_t kStopTimeoutMs = 20000;
constexpr uint32_t kPollMs = 20;

std::wstring FromUtf8(const char* text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length <= 1) {
        return L"";
    }
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") {
                DeleteFileW((folder + L"\\" + name).c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
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

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    zuvo::UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) {
        return std::nullopt;
    }
    std::string contents;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        contents.append(buffer, got);
    }
    return contents;
}

LinePeer::LinePeer(const char* mode, int comPort, int baudRate)
    : m_mode(FromUtf8(mode)), m_comPort(comPort), m_baudRate(baudRate) {
    m_folder = L"/tmp/zuvo-light-" + m_mode + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(GetTickCount());
}

LinePeer::~LinePeer() {
    if (m_started && !m_stopped) {
        Stop();
    }
    RemoveFolder(OnDriveZ(m_folder));
}

std::wstring LinePeer::SharedFile(const std::wstring& name) const {
    return OnDriveZ(m_folder + L"/" + name);
}

std::string LinePeer::Start() {
    const std::wstring devices = WineDevicesFolder();
    if (devices.empty()) {
        return "WINEPREFIX is not set: run the test through tools/wine-run";
    }
    const std::wstring folder = OnDriveZ(m_folder);
    RemoveFolder(folder);
    if (!CreateDirectoryW(folder.c_str(), nullptr)) {
        return "cannot create the shared folder under /tmp";
    }

    // The peer sends its own output to peer.log: Wine hands a Linux program the caller's
    // standard output whatever the start-up information says.
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    const std::wstring command = L"/usr/bin/python3 \"" + FromUtf8(ZUVO_LIGHT_LINE_SCRIPT) +
                                 L"\" " + m_mode + L" \"" + m_folder + L"\" \"" + devices + L"\" " +
                                 std::to_wstring(m_comPort) + L" " + std::to_wstring(m_baudRate);
    std::vector<wchar_t> commandLine(command.begin(), command.end());
    commandLine.push_back(L'\0');
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(kPython, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return "cannot start /usr/bin/python3 (error " + std::to_string(GetLastError()) + ")";
    }
    // A Linux process has no Windows process object to wait for: its files tell its state.
    zuvo::UniqueKernelHandle processHandle(process.hProcess);
    zuvo::UniqueKernelHandle threadHandle(process.hThread);
    m_started = true;

    const uint32_t start = MS_GetTime();
    while (MS_GetTime() - start < kStartTimeoutMs) {
        if (Exists(SharedFile(L"ready"))) {
            return "";
        }
        if (Exists(SharedFile(L"done"))) {
            m_stopped = true;
            return "the line peer ended: " + PeerReport();
        }
        Sleep(kPollMs);
    }
    return "the line peer did not come up: " + PeerReport();
}

void LinePeer::Forget(const std::wstring& name) {
    DeleteFileW(SharedFile(name).c_str());
}

bool LinePeer::Request(const std::wstring& name) {
    zuvo::UniqueFileHandle file(CreateFileW(SharedFile(name).c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_ALWAYS, 0, nullptr));
    return static_cast<bool>(file);
}

std::optional<std::string> LinePeer::WaitFor(const std::wstring& name, uint32_t timeoutMs) {
    const uint32_t start = MS_GetTime();
    while (MS_GetTime() - start < timeoutMs) {
        if (Exists(SharedFile(name))) {
            return ReadWholeFile(SharedFile(name));
        }
        Sleep(kPollMs);
    }
    return std::nullopt;
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
    return Exists(SharedFile(L"error")) ? PeerReport() : "";
}

std::string LinePeer::PeerReport() const {
    return ReadWholeFile(SharedFile(L"error")).value_or("(no error file)") + "\n" +
           ReadWholeFile(SharedFile(L"peer.log")).value_or("(no log)");
}

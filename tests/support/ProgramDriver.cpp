#include "tests/support/ProgramDriver.h"

#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/support/Capture.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UtilityFlavour.h"
#include "tests/support/WholeFile.h"

namespace zuvo::test {

ProgramFolder::ProgramFolder() : m_folder(u8"program"), m_path(m_folder.Wide()) {
    const std::wstring built = BuiltProgramFolder();
    for (const wchar_t* name :
         {L"ZUVO_MTT.exe", L"ZUVO_DataProcess.dll", L"ZUVO_DlgResource.dll", L"Radar_Config.ini"}) {
        CopyFileW((built + L"\\" + name).c_str(), File(name).c_str(), FALSE);
    }
    // The utility library of the flavour the test runs with (UtilityFlavour.h). Without it
    // the program would not start at all, so a failed copy is reported here.
    const std::wstring library = UtilityLibraryFolder() + L"\\ZUVO_Common.dll";
    if (!CopyFileW(library.c_str(), File(L"ZUVO_Common.dll").c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy " << std::string(library.begin(), library.end());
    }
}

bool ProgramFolder::Write(const wchar_t* name, const std::string& bytes) const {
    return WriteWholeFile(File(name), bytes);
}

std::string ProgramFolder::Read(const wchar_t* name) const {
    // The program replaces its settings by renaming a new copy over the old file. A reader
    // without delete sharing would make that replacement fail, and one that opens the file at
    // the very moment of the rename finds it held: so every sharing is granted, a log the
    // program holds open can be read as well, and a held file is tried again for a moment
    // rather than taken for an empty one.
    constexpr int kAttempts = 100;
    constexpr DWORD kPauseMs = 10;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        UniqueFileHandle file(CreateFileW(File(name).c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
                return std::string();
            }
            Sleep(kPauseMs);
            continue;
        }
        std::string bytes;
        char buffer[16384];
        DWORD got = 0;
        while (ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
            bytes.append(buffer, got);
        }
        return bytes;
    }
    return std::string();
}

void AcceptLicence() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\ZUVO\\QZB-TQ3800_TOOL", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        const DWORD accepted = 1;
        RegSetValueExW(key, L"EULAAccepted", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&accepted),
                       sizeof(accepted));
        RegCloseKey(key);
    }
}

HWND WaitForFolderBrowser(DWORD processId, DWORD timeoutMs) {
    WindowQuery dialogs;
    dialogs.processId = processId;
    dialogs.className = L"#32770";
    dialogs.visibleOnly = true;
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND dialog : FindTopWindows(dialogs)) {
                if (HasChildOfClass(dialog, L"SysTreeView32")) {
                    found = dialog;
                    return true;
                }
            }
            return false;
        },
        std::chrono::milliseconds(timeoutMs));
    return found;
}

RunningProgram::RunningProgram(const ProgramFolder& folder, DWORD timeoutMs)
    : RunningProgram(folder.Path(), timeoutMs) {}

RunningProgram::RunningProgram(const std::wstring& folder, DWORD timeoutMs) {
    AcceptLicence();
    std::wstring command = L"\"" + folder + L"\\ZUVO_MTT.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        return;
    }
    const zuvo::UniqueKernelHandle thread(process.hThread);
    m_process.reset(process.hProcess);
    m_processId = process.dwProcessId;
    WaitUntil(
        [this] {
            m_window = FindProcessWindow(m_processId, L"ZUVO_MTT");
            return m_window != nullptr && IsWindowVisible(m_window) &&
                   GetDlgItem(m_window, 1200) != nullptr;
        },
        timeoutMs);
    // Shown is not yet painted: wait until the window's background and the middle of the
    // sector view (inside the fan with the default settings) show their colours.
    if (m_window != nullptr) {
        RECT client;
        GetClientRect(m_window, &client);
        const HWND view = GetDlgItem(m_window, 1200);
        RECT viewClient;
        GetClientRect(view, &viewClient);
        const COLORREF background = RGB(42, 50, 60);
        WaitUntil(
            [&] {
                const COLORREF fan = ClientPixel(view, viewClient.right / 2, viewClient.bottom / 2);
                return ClientPixel(m_window, client.right - 2, client.bottom - 2) != 0 &&
                       fan != 0 && fan != background;
            },
            timeoutMs);
    }
}

RunningProgram::~RunningProgram() {
    if (!m_process || WaitForSingleObject(m_process.get(), 0) == WAIT_OBJECT_0) {
        return;
    }
    if (m_window != nullptr) {
        PostMessageW(m_window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(m_process.get(), 10000) != WAIT_OBJECT_0) {
        TerminateProcess(m_process.get(), 1);
        WaitForSingleObject(m_process.get(), 5000);
    }
}

void RunningProgram::Click(int id) const {
    PostMessageW(Control(id), BM_CLICK, 0, 0);
}

DWORD RunningProgram::WaitForExit(DWORD timeoutMs) const {
    if (!m_process || WaitForSingleObject(m_process.get(), timeoutMs) != WAIT_OBJECT_0) {
        return STILL_ACTIVE;
    }
    DWORD code = 0;
    GetExitCodeProcess(m_process.get(), &code);
    return code;
}

std::wstring DetectDevice(const RunningProgram& program, const wchar_t* promptCaption,
                          DWORD timeoutMs) {
    program.Click(IDC_DETECT_DEVICE);
    const HWND box = WaitForDialog(program.ProcessId(), promptCaption, timeoutMs);
    if (box == nullptr) {
        return std::wstring();
    }
    const std::wstring text = DialogStaticTexts(box);
    PressDialogButton(box, IDOK);
    if (!RunningProgram::WaitUntil([&] { return !IsWindow(box); }, 5000)) {
        return std::wstring();
    }
    return text;
}

bool PanelShowsNoObject(const std::wstring& panelText) {
    return panelText.find(L" 0.00 m\r\n") != std::wstring::npos;
}

bool WaitForObjectOnPanel(const RunningProgram& program, int panelId, DWORD timeoutMs) {
    return RunningProgram::WaitUntil(
        [&] { return !PanelShowsNoObject(program.ControlText(panelId)); }, timeoutMs);
}

std::wstring CaptureWindow(HWND window, const wchar_t* name) {
    return Capture(window, Capture::Source::Window).Save(name);
}

COLORREF ClientPixel(HWND window, int x, int y) {
    // Read through the top-level window: a child window's own DC of another process reads
    // back black under Wine, while the top-level window's surface holds what its children
    // drew.
    const HWND top = GetAncestor(window, GA_ROOT);
    POINT point{x, y};
    ClientToScreen(window, &point);
    RECT frame;
    GetWindowRect(top, &frame);
    const Capture capture(top, Capture::Source::Window);
    const int column = point.x - frame.left;
    const int row = point.y - frame.top;
    if (column < 0 || row < 0 || column >= capture.width() || row >= capture.height()) {
        return CLR_INVALID;
    }
    const uint32_t rgb = capture.At(column, row);
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace zuvo::test

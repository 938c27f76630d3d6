#include "tests/app_wine/ProgramDriver.h"

#include <objidl.h>

#include <gdiplus.h>

#include <cwchar>
#include <vector>

namespace zuvo::test {

namespace {

std::wstring ThisProgramFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text(path);
    return text.substr(0, text.find_last_of(L'\\'));
}

// The build's program folder: "bin" beside the test programs' "testbin".
std::wstring BuiltProgramFolder() {
    std::wstring tests = ThisProgramFolder();
    return tests.substr(0, tests.find_last_of(L'\\')) + L"\\bin";
}

void DeleteTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = folder + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) {
        return TRUE;
    }
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    if (std::wcscmp(name, search->className) != 0) {
        return TRUE;
    }
    if (search->caption != nullptr) {
        wchar_t caption[256] = {};
        // InternalGetWindowText reads the caption without sending a message, so a busy or
        // blocked program cannot hold the test up.
        InternalGetWindowText(window, caption, 256);
        if (std::wcscmp(caption, search->caption) != 0) {
            return TRUE;
        }
    }
    search->found = window;
    return FALSE;
}

bool EncoderFor(const wchar_t* mimeType, CLSID* clsid) {
    UINT count = 0;
    UINT size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (size == 0 || Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) {
        return false;
    }
    for (UINT i = 0; i < count; ++i) {
        if (std::wcscmp(encoders[i].MimeType, mimeType) == 0) {
            *clsid = encoders[i].Clsid;
            return true;
        }
    }
    return false;
}

// A copy of what the window shows (whole window with client = false only for the client).
UniqueBitmap Capture(HWND window, bool wholeWindow, int* width, int* height) {
    RECT rect;
    if (wholeWindow) {
        GetWindowRect(window, &rect);
    } else {
        GetClientRect(window, &rect);
    }
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    WindowDc source(window, wholeWindow);
    UniqueMemoryDc memory(CreateCompatibleDC(source.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(source.get(), *width, *height));
    {
        SelectGuard select(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, *width, *height, source.get(), 0, 0, SRCCOPY);
    }
    return bitmap;
}

}  // namespace

ProgramFolder::ProgramFolder() {
    static int counter = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m_path = std::wstring(temp) + L"zuvo_program_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
             std::to_wstring(GetTickCount()) + L"_" + std::to_wstring(++counter);
    CreateDirectoryW(m_path.c_str(), nullptr);
    const std::wstring built = BuiltProgramFolder();
    for (const wchar_t* name : {L"ZUVO_MTT.exe", L"ZUVO_Common.dll", L"ZUVO_DataProcess.dll",
                                L"ZUVO_DlgResource.dll", L"Radar_Config.ini"}) {
        CopyFileW((built + L"\\" + name).c_str(), File(name).c_str(), FALSE);
    }
}

ProgramFolder::~ProgramFolder() {
    DeleteTree(m_path);
}

bool ProgramFolder::Write(const wchar_t* name, const std::string& bytes) const {
    UniqueFileHandle file(CreateFileW(File(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

std::string ProgramFolder::Read(const wchar_t* name) const {
    UniqueFileHandle file(CreateFileW(File(name).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return std::string();
    }
    std::string bytes(GetFileSize(file.get(), nullptr), '\0');
    DWORD got = 0;
    ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    bytes.resize(got);
    return bytes;
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

HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* caption) {
    WindowSearch search{processId, className, caption, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForDialog(DWORD processId, const wchar_t* caption, DWORD timeoutMs) {
    HWND found = nullptr;
    RunningProgram::WaitUntil(
        [&] {
            found = FindProcessWindow(processId, L"#32770", caption);
            return found != nullptr && IsWindowVisible(found);
        },
        timeoutMs);
    return found != nullptr && IsWindowVisible(found) ? found : nullptr;
}

namespace {

struct ChildSearch {
    const wchar_t* className;
    std::wstring texts;
    bool found = false;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (_wcsicmp(name, search->className) == 0) {
        search->found = true;
        wchar_t text[1024] = {};
        GetWindowTextW(child, text, 1024);
        if (text[0] != L'\0') {
            if (!search->texts.empty()) {
                search->texts += L'\n';
            }
            search->texts += text;
        }
    }
    return TRUE;
}

struct BrowserSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchBrowser(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<BrowserSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (owner != search->processId || std::wcscmp(name, L"#32770") != 0 ||
        !IsWindowVisible(window)) {
        return TRUE;
    }
    ChildSearch tree{L"SysTreeView32", {}, false};
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&tree));
    if (tree.found) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND WaitForFolderBrowser(DWORD processId, DWORD timeoutMs) {
    BrowserSearch search{processId, nullptr};
    RunningProgram::WaitUntil(
        [&] {
            EnumWindows(MatchBrowser, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

std::wstring DialogStaticTexts(HWND dialog) {
    ChildSearch search{L"Static", {}, false};
    EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.texts;
}

void PressDialogButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

RunningProgram::RunningProgram(const ProgramFolder& folder, DWORD timeoutMs) {
    AcceptLicence();
    std::wstring command = L"\"" + folder.File(L"ZUVO_MTT.exe") + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.Path().c_str(), &startup, &process)) {
        return;
    }
    CloseHandle(process.hThread);
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

std::wstring RunningProgram::ControlText(int id) const {
    wchar_t text[1024] = {};
    GetWindowTextW(Control(id), text, 1024);
    return text;
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

std::wstring CaptureWindow(HWND window, const wchar_t* fileName) {
    int width = 0;
    int height = 0;
    UniqueBitmap bitmap = Capture(window, true, &width, &height);
    const std::wstring folder = ThisProgramFolder() + L"\\artefacts";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"\\" + fileName;
    CLSID png;
    Gdiplus::Bitmap picture(bitmap.get(), nullptr);
    if (!EncoderFor(L"image/png", &png) ||
        picture.Save(path.c_str(), &png, nullptr) != Gdiplus::Ok) {
        return std::wstring();
    }
    return path;
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
    int width = 0;
    int height = 0;
    UniqueBitmap bitmap = Capture(top, true, &width, &height);
    UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
    SelectGuard select(memory.get(), bitmap.get());
    return GetPixel(memory.get(), point.x - frame.left, point.y - frame.top);
}

}  // namespace zuvo::test

// Drives ZUVO_MTT.exe from a test: a fresh program folder (the program, its DLLs and data
// files copied from the build's program folder), the program started there, its main window
// found by class, controls read and clicked, pictures of windows captured, the program closed.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <chrono>
#include <string>

#include "framework/Handles.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/WindowFinder.h"

namespace zuvo::test {

class ProgramFolder {
public:
    // A new empty folder under the temporary folder with the program and its files; removed
    // with everything in it afterwards.
    ProgramFolder();

    const std::wstring& Path() const { return m_path; }
    std::wstring File(const wchar_t* name) const { return m_path + L"\\" + name; }
    // Writes a file of the folder (bytes as given).
    bool Write(const wchar_t* name, const std::string& bytes) const;
    // The bytes of a file of the folder, also while the program writes it; empty when missing.
    std::string Read(const wchar_t* name) const;

private:
    TempFolder m_folder;
    std::wstring m_path;
};

class RunningProgram {
public:
    // Starts ZUVO_MTT.exe of the folder (the licence agreement already accepted for this
    // user) and waits up to timeoutMs for its main window.
    explicit RunningProgram(const ProgramFolder& folder, DWORD timeoutMs = 20000);
    // The same for the program in any folder (an installed one).
    explicit RunningProgram(const std::wstring& folder, DWORD timeoutMs = 20000);
    ~RunningProgram();  // closes the program if it still runs
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    HWND Window() const { return m_window; }
    DWORD ProcessId() const { return m_processId; }
    HANDLE Process() const { return m_process.get(); }
    HWND Control(int id) const { return GetDlgItem(m_window, id); }
    std::wstring ControlText(int id) const { return WindowText(Control(id)); }

    // Posts a click to a button of the main window.
    void Click(int id) const;
    bool IsEnabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
    bool IsChecked(int id) const {
        return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    bool IsVisible(int id) const { return IsWindowVisible(Control(id)) != FALSE; }
    // Waits for the process to end; answers its exit code, or STILL_ACTIVE on time-out.
    DWORD WaitForExit(DWORD timeoutMs) const;
    // Waits until predicate answers true, pumping nothing (the program is another process).
    template <typename Predicate>
    static bool WaitUntil(Predicate predicate, DWORD timeoutMs) {
        return zuvo::test::WaitUntil(predicate, std::chrono::milliseconds(timeoutMs));
    }

private:
    UniqueKernelHandle m_process;
    DWORD m_processId = 0;
    HWND m_window = nullptr;
};

// Clicks Detect Device and confirms the detection's result box (caption: "Prompt" in the
// program's language); answers the box's text, empty when no box came within timeoutMs.
std::wstring DetectDevice(const RunningProgram& program, const wchar_t* promptCaption = L"Prompt",
                          DWORD timeoutMs = 30000);

// A panel whose slot is empty shows the distance 0.00 m (the only value in plain metres).
bool PanelShowsNoObject(const std::wstring& panelText);
// Waits until the object panel shows an object.
bool WaitForObjectOnPanel(const RunningProgram& program, int panelId, DWORD timeoutMs = 30000);

// Waits up to timeoutMs for the shell's folder browser of the process (a dialog holding a tree
// of folders).
HWND WaitForFolderBrowser(DWORD processId, DWORD timeoutMs);

// Marks the licence agreement as accepted for this user, as an installer would.
void AcceptLicence();

// Captures a window of the program (with its non-client area) into <name>.png in the test
// programs' artefacts folder; answers the file's path (empty on failure).
std::wstring CaptureWindow(HWND window, const wchar_t* name);

// Reads the colour of a pixel of a window's client area through a capture; CLR_INVALID
// outside the window.
COLORREF ClientPixel(HWND window, int x, int y);

}  // namespace zuvo::test

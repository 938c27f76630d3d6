// Device detection: a modal window that runs the device search with visible progress, ends by
// itself when the search is done and can be cancelled.
#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "DeviceSearch.h"
#include "ModuleDialog.h"

namespace zuvo::dlg {

class DetectDeviceDlg : public ModuleDialog, private IDeviceSearchListener {
public:
    // minimumDuration: the shortest search the operator sees.
    explicit DetectDeviceDlg(std::chrono::milliseconds minimumDuration);
    ~DetectDeviceDlg() override;

    // Runs the search modally; the device found, or none when nothing answered, the operator
    // cancelled or the window could not be made.
    std::optional<FoundDevice> Run(HWND parent);

private:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void StartSearch();
    void Finish(bool cancelled);

    // The search's worker reports here and posts to the window; the window reads the status.
    void OnProbeStarted(int index, int count, const std::wstring& label) override;
    void OnDeviceFound(const FoundDevice& device, const std::wstring& label) override;
    void OnProgress(int perMille) override;
    void OnFinished() override;
    void PostStatus(std::wstring status);

    const std::chrono::milliseconds m_minimumDuration;
    HWND m_parent = nullptr;
    HWND m_postTarget = nullptr;  // set before the search starts, read by its worker
    std::unique_ptr<DeviceSearch> m_search;
    std::mutex m_statusMutex;
    std::wstring m_status;
    std::optional<FoundDevice> m_result;
};

}  // namespace zuvo::dlg

#include "DetectDeviceDlg.h"

#include <commctrl.h>

#include "DeviceCandidates.h"
#include "DlgResourceIds.h"
#include "TextFormat.h"

namespace zuvo::dlg {

namespace {

constexpr UINT kStatusMessage = WM_APP + 10;
constexpr UINT kProgressMessage = WM_APP + 11;  // wParam: per mille
constexpr UINT kFinishedMessage = WM_APP + 12;

}  // namespace

DetectDeviceDlg::DetectDeviceDlg(std::chrono::milliseconds minimumDuration)
    : m_minimumDuration(minimumDuration) {}

DetectDeviceDlg::~DetectDeviceDlg() {
    // The worker calls this object; it must be gone first.
    m_search.reset();
}

std::optional<FoundDevice> DetectDeviceDlg::Run(HWND parent) {
    m_parent = parent;
    m_result.reset();
    if (RunModal(parent, IDD_DETECT_DEVICE) != IDOK) {
        return std::nullopt;
    }
    return m_result;
}

INT_PTR DetectDeviceDlg::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SendDlgItemMessageW(Window(), IDC_DETECT_PROGRESS, PBM_SETRANGE32, 0, 1000);
            CentreOn(m_parent);
            StartSearch();
            return TRUE;
        case kStatusMessage: {
            std::lock_guard<std::mutex> guard(m_statusMutex);
            SetItemText(IDC_DETECT_STATUS, m_status);
            return TRUE;
        }
        case kProgressMessage:
            SendDlgItemMessageW(Window(), IDC_DETECT_PROGRESS, PBM_SETPOS, wParam, 0);
            return TRUE;
        case kFinishedMessage:
            Finish(false);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                Finish(true);
                return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            // The window may go without Finish (its owner was destroyed): stop the worker first.
            if (m_search) {
                m_search->Cancel();
                m_search->Wait();
            }
            return FALSE;
        default:
            return FALSE;
    }
}

void DetectDeviceDlg::StartSearch() {
    m_postTarget = Window();
    m_search = std::make_unique<DeviceSearch>(BuildDeviceCandidates(ThisModule(), Language()),
                                              m_minimumDuration);
    m_search->Start(*this);
}

void DetectDeviceDlg::Finish(bool cancelled) {
    if (!m_search) {
        EndDialog(Window(), IDCANCEL);
        return;
    }
    if (cancelled) {
        m_search->Cancel();
    }
    m_search->Wait();
    // A cancel that arrives after the search has ended still means "no device".
    m_result = cancelled ? std::nullopt : m_search->Result();
    EndDialog(Window(), m_result ? IDOK : IDCANCEL);
}

void DetectDeviceDlg::OnProbeStarted(int, int, const std::wstring& label) {
    PostStatus(FormatText(Text(IDS_DETECT_SEARCHING), {label}));
}

void DetectDeviceDlg::OnDeviceFound(const FoundDevice&, const std::wstring& label) {
    PostStatus(FormatText(Text(IDS_DETECT_FOUND), {label}));
}

void DetectDeviceDlg::OnProgress(int perMille) {
    PostMessageW(m_postTarget, kProgressMessage, static_cast<WPARAM>(perMille), 0);
}

void DetectDeviceDlg::OnFinished() {
    PostMessageW(m_postTarget, kFinishedMessage, 0, 0);
}

void DetectDeviceDlg::PostStatus(std::wstring status) {
    {
        std::lock_guard<std::mutex> guard(m_statusMutex);
        m_status = std::move(status);
    }
    PostMessageW(m_postTarget, kStatusMessage, 0, 0);
}

}  // namespace zuvo::dlg

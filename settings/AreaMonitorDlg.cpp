#include "settings/AreaMonitorDlg.h"

#include <commdlg.h>

#include "controls/DlgItemDouble.h"
#include "resources/AreaMonitorDialog.h"
#include "resources/resource.h"

namespace {

// The fields hold doubles; their limits are exact gate numbers.
constexpr int kDoubleValueType = 5;
constexpr double kLimitTolerance = 1e-16;
constexpr double kLowestGateMax = 1.0;

}  // namespace

CAreaMonitorDlg::CAreaMonitorDlg() : zuvo::Dialog(IDD_AREA_MONITOR) {
    m_customColours.fill(RGB(255, 255, 255));
}

CAreaMonitorDlg::~CAreaMonitorDlg() {
    // The controls' objects are members: the window goes while they still exist.
    DestroyDialogWindow();
}

void CAreaMonitorDlg::SetGateRange(double gateMin, double gateMax) {
    m_gateMin = gateMin;
    m_gateMax = gateMax;
}

void CAreaMonitorDlg::SetGateCount(int gateCount) {
    m_gateCount = gateCount;
}

void CAreaMonitorDlg::SetShowBoundaryButtons(int show) {
    m_showBoundaryButtons = show;
}

void CAreaMonitorDlg::SetListener(IAreaMonitorDlgListener* listener, int64_t context) {
    m_listener = listener;
    m_listenerContext = context;
}

void CAreaMonitorDlg::Show() {
    if (HWND panel = GetSafeHwnd()) {
        ShowWindow(panel, SW_SHOW);
    }
}

void CAreaMonitorDlg::DoDataExchange() {
    const HWND panel = GetSafeHwnd();
    m_gateMinEdit.SubclassDlgItem(IDC_AREA_GATE_MIN, panel);
    m_gateMaxEdit.SubclassDlgItem(IDC_AREA_GATE_MAX, panel);
    m_absentSwatch.SubclassDlgItem(IDC_AREA_ABSENT_COLOUR, panel);
    m_presentSwatch.SubclassDlgItem(IDC_AREA_PRESENT_COLOUR, panel);
}

bool CAreaMonitorDlg::OnInitDialog() {
    const HWND panel = GetSafeHwnd();
    const double highestGate = static_cast<double>(m_gateCount) - 1.0;

    m_gateMinEdit.ValueType = kDoubleValueType;
    m_gateMinEdit.SetMinValue(0.0, kLimitTolerance);
    m_gateMinEdit.SetMaxValue(highestGate, kLimitTolerance);
    m_gateMaxEdit.ValueType = kDoubleValueType;
    m_gateMaxEdit.SetMinValue(kLowestGateMax, kLimitTolerance);
    m_gateMaxEdit.SetMaxValue(highestGate, kLimitTolerance);

    SetDlgItemDouble(panel, IDC_AREA_GATE_MIN, m_gateMin);
    SetDlgItemDouble(panel, IDC_AREA_GATE_MAX, m_gateMax);

    const int boundaryButtons = m_showBoundaryButtons != 0 ? SW_SHOW : SW_HIDE;
    ShowWindow(GetDlgItem(panel, IDC_AREA_ADD_BOUNDARY), boundaryButtons);
    ShowWindow(GetDlgItem(panel, IDC_AREA_DELETE_BOUNDARIES), boundaryButtons);

    m_absentSwatch.SetBackColor(m_inactiveColour);
    m_presentSwatch.SetBackColor(m_activeColour);
    return true;
}

void CAreaMonitorDlg::OnCancel() {
    ShowWindow(GetSafeHwnd(), SW_HIDE);
}

LRESULT CAreaMonitorDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        // The close box hides the panel; it lives as long as its owner.
        ShowWindow(GetSafeHwnd(), SW_HIDE);
        return 0;
    }
    return zuvo::Dialog::HandleMessage(message, wParam, lParam);
}

bool CAreaMonitorDlg::OnCommand(UINT id, UINT notification, HWND) {
    // Buttons send BN_CLICKED and the swatches STN_CLICKED; both are 0.
    if (notification != BN_CLICKED) {
        return false;
    }
    switch (id) {
        case IDC_AREA_APPLY:
            OnApply();
            return true;
        case IDC_AREA_ABSENT_COLOUR:
            ChooseSwatchColour(m_absentSwatch, m_inactiveColour);
            return true;
        case IDC_AREA_PRESENT_COLOUR:
            ChooseSwatchColour(m_presentSwatch, m_activeColour);
            return true;
        case IDC_AREA_ADD_MONITOR:
            if (m_listener != nullptr) {
                m_listener->BeginAddMonitorArea(m_inactiveColour, m_activeColour,
                                                m_listenerContext);
            }
            return true;
        case IDC_AREA_DELETE_MONITOR:
            if (m_listener != nullptr) {
                m_listener->DeleteAllMonitorAreas(m_listenerContext);
            }
            return true;
        case IDC_AREA_ADD_BOUNDARY:
            if (m_listener != nullptr) {
                m_listener->BeginAddBoundary(m_inactiveColour, m_activeColour, m_listenerContext);
            }
            return true;
        case IDC_AREA_DELETE_BOUNDARIES:
            if (m_listener != nullptr) {
                m_listener->DeleteAllBoundaries(m_listenerContext);
            }
            return true;
        default:
            return false;
    }
}

void CAreaMonitorDlg::OnApply() {
    if (m_listener == nullptr) {
        return;
    }
    const HWND panel = GetSafeHwnd();
    m_gateMin = GetDlgItemDouble(panel, IDC_AREA_GATE_MIN);
    m_gateMax = GetDlgItemDouble(panel, IDC_AREA_GATE_MAX);
    m_listener->ApplyGateRange(m_gateMin, m_gateMax, m_listenerContext);
}

void CAreaMonitorDlg::ChooseSwatchColour(CColorStatic& swatch, COLORREF& colour) {
    CHOOSECOLORW chooser{};
    chooser.lStructSize = sizeof(chooser);
    chooser.hwndOwner = GetSafeHwnd();
    chooser.rgbResult = colour;
    chooser.lpCustColors = m_customColours.data();
    chooser.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&chooser)) {
        return;
    }
    colour = chooser.rgbResult;
    swatch.SetBackColor(colour);
    InvalidateRect(swatch.GetSafeHwnd(), nullptr, TRUE);
}

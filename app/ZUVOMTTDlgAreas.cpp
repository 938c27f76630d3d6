// Areas: the area monitoring panel's listener and the mouse drawing of new polygons over the
// sector view.
#include <algorithm>

#include "app/SectorViewAreas.h"
#include "app/SettingsDocument.h"
#include "app/ZUVOMTTDlg.h"
#include "settings/AreaStore.h"
#include "settings/SettingsFile.h"

namespace {

const COLORREF kMarkColour = RGB(255, 0, 0);
constexpr int kMarkPenWidth = 2;

}  // namespace

void CZUVOMTTDlg::CreateAreaPanel() {
    const int gateCount = gRadarParameter.GateCount;
    const double gateMax =
        std::clamp(m_settings.ObjectWnd_GateMax, 0.0, std::max(0.0, gateCount - 1.0));
    const double gateMin = std::clamp(m_settings.ObjectWnd_GateMin, 0.0, gateMax);
    m_areaPanel.SetGateRange(gateMin, gateMax);
    m_areaPanel.SetGateCount(gateCount);
    m_areaPanel.SetShowBoundaryButtons(m_settings.AlgorithmAreaEnable);
    m_areaPanel.Create(GetSafeHwnd());
    m_areaPanel.SetListener(this, 0);
}

bool CZUVOMTTDlg::ApplyGateRange(double gateMin, double gateMax, int64_t) {
    m_settings.ObjectWnd_GateMin = gateMin;
    m_settings.ObjectWnd_GateMax = gateMax;
    m_sectorView.SetGateRange(gateMin, gateMax, gRadarParameter.GateCount);
    return zuvo::settings::SaveGateRange(zuvo::app::SettingsDocument(), m_programFolder.c_str(),
                                         gateMin, gateMax);
}

void CZUVOMTTDlg::BeginAddMonitorArea(uint32_t, uint32_t, int64_t) {
    BeginDrawing(zuvo::app::AreaDrawing::kMonitorArea);
}

void CZUVOMTTDlg::BeginAddBoundary(uint32_t, uint32_t, int64_t) {
    BeginDrawing(zuvo::app::AreaDrawing::kDetectionBoundary);
}

void CZUVOMTTDlg::BeginDrawing(int mode) {
    m_drawing.Begin(mode);
    // Every further click reaches the main window wherever the pointer is.
    SetCapture(GetSafeHwnd());
}

void CZUVOMTTDlg::DeleteAllMonitorAreas(int64_t) {
    m_sectorView.ClearMonitorAreas();
    zuvo::settings::DeleteStoredMonitorAreas(zuvo::app::SettingsDocument(),
                                             m_programFolder.c_str());
}

void CZUVOMTTDlg::DeleteAllBoundaries(int64_t) {
    m_sectorView.ClearAlgorithmAreas();
    zuvo::settings::DeleteStoredAlgorithmAreas(zuvo::app::SettingsDocument(),
                                               m_programFolder.c_str());
}

void CZUVOMTTDlg::OnDrawingClick(POINT inWindow) {
    if (!m_drawing.IsDrawing()) {
        return;
    }
    const HWND view = m_sectorView.GetSafeHwnd();
    POINT inView = inWindow;
    ClientToScreen(GetSafeHwnd(), &inView);
    ScreenToClient(view, &inView);
    const RECT sector = m_sectorView.GetSectorRect();
    const ZRect sectorRect{sector.left, sector.top, sector.right, sector.bottom};
    if (!m_drawing.AddPoint({inView.x, inView.y}, sectorRect)) {
        return;
    }
    // The red marks are drawn over the view, where the polygon grows (drawing on the desktop
    // does not show above other windows everywhere); the next repaint of the view takes them
    // away, as it would on the screen.
    const zuvo::app::AreaDrawing::Mark mark = m_drawing.NextMark({inView.x, inView.y});
    zuvo::WindowDc dc(view, false);
    zuvo::UniquePen pen(CreatePen(PS_SOLID, kMarkPenWidth, kMarkColour));
    zuvo::UniqueBrush brush(CreateSolidBrush(kMarkColour));
    zuvo::SelectGuard selectPen(dc.get(), pen.get());
    zuvo::SelectGuard selectBrush(dc.get(), brush.get());
    const ZRect bounds = zuvo::app::AreaDrawing::MarkBounds(mark.at);
    Ellipse(dc.get(), bounds.left, bounds.top, bounds.right, bounds.bottom);
    if (mark.joined) {
        MoveToEx(dc.get(), mark.from.x, mark.from.y, nullptr);
        LineTo(dc.get(), mark.at.x, mark.at.y);
    }
}

void CZUVOMTTDlg::OnDrawingClose() {
    if (!m_drawing.IsDrawing()) {
        return;
    }
    const zuvo::app::AreaDrawing::Polygon polygon = m_drawing.Close();
    ReleaseCapture();
    if (polygon.rowColumnPairs.empty()) {
        return;  // fewer than three points: nothing to keep
    }
    const int count = static_cast<int>(polygon.rowColumnPairs.size() / 2);
    const uint32_t inactive = m_areaPanel.InactiveColour();
    const uint32_t active = m_areaPanel.ActiveColour();
    SectorViewAreas areas(m_sectorView);
    if (polygon.mode == zuvo::app::AreaDrawing::kMonitorArea) {
        zuvo::settings::SaveMonitorArea(zuvo::app::SettingsDocument(), m_programFolder.c_str(),
                                        areas, polygon.rowColumnPairs.data(), count, inactive,
                                        active);
        m_sectorView.AddMonitorArea(polygon.rowColumnPairs.data(), count, inactive, active);
    } else {
        zuvo::settings::SaveAlgorithmArea(zuvo::app::SettingsDocument(), m_programFolder.c_str(),
                                          areas, polygon.rowColumnPairs.data(), count, inactive,
                                          active);
        m_sectorView.AddAlgorithmArea(polygon.rowColumnPairs.data(), count, inactive, active);
    }
}

#include "app/AreaEditor.h"

#include <algorithm>

#include "app/SectorViewAreas.h"
#include "app/SettingsDocument.h"
#include "framework/Handles.h"
#include "settings/AreaStore.h"
#include "settings/SettingsFile.h"

namespace {

const COLORREF kMarkColour = RGB(255, 0, 0);
constexpr int kMarkPenWidth = 2;

}  // namespace

namespace zuvo::app {

void AreaEditor::CreatePanel(IAreaMonitorDlgListener* listener) {
    const int gateCount = m_radar.GateCount;
    const double gateMax =
        std::clamp(m_settings.ObjectWnd_GateMax, 0.0, std::max(0.0, gateCount - 1.0));
    const double gateMin = std::clamp(m_settings.ObjectWnd_GateMin, 0.0, gateMax);
    m_panel.SetGateRange(gateMin, gateMax);
    m_panel.SetGateCount(gateCount);
    m_panel.SetShowBoundaryButtons(m_settings.AlgorithmAreaEnable);
    m_panel.Create(m_window.GetSafeHwnd());
    m_panel.SetListener(listener, 0);
}

void AreaEditor::LoadStored() {
    CSectorViewAreas areas(m_view);
    zuvo::settings::LoadAreas(zuvo::app::SettingsDocument(), areas);
    zuvo::settings::LoadMonitorPoints(zuvo::app::SettingsDocument(), areas);
}

bool AreaEditor::ApplyGateRange(double gateMin, double gateMax) {
    m_settings.ObjectWnd_GateMin = gateMin;
    m_settings.ObjectWnd_GateMax = gateMax;
    m_view.SetGateRange(gateMin, gateMax, m_radar.GateCount);
    return zuvo::settings::SaveGateRange(zuvo::app::SettingsDocument(), m_programFolder.c_str(),
                                         gateMin, gateMax);
}

void AreaEditor::BeginDrawing(int mode) {
    m_drawing.Begin(mode);
    // Every further click reaches the main window wherever the pointer is.
    SetCapture(m_window.GetSafeHwnd());
}

void AreaEditor::DeleteAllMonitorAreas() {
    m_view.ClearMonitorAreas();
    zuvo::settings::DeleteStoredMonitorAreas(zuvo::app::SettingsDocument(),
                                             m_programFolder.c_str());
}

void AreaEditor::DeleteAllBoundaries() {
    m_view.ClearAlgorithmAreas();
    zuvo::settings::DeleteStoredAlgorithmAreas(zuvo::app::SettingsDocument(),
                                               m_programFolder.c_str());
}

void AreaEditor::OnClick(POINT inWindow) {
    if (!m_drawing.IsDrawing()) {
        return;
    }
    const HWND view = m_view.GetSafeHwnd();
    POINT inView = inWindow;
    ClientToScreen(m_window.GetSafeHwnd(), &inView);
    ScreenToClient(view, &inView);
    const RECT sector = m_view.GetSectorRect();
    const ZRect sectorRect{sector.left, sector.top, sector.right, sector.bottom};
    if (!m_drawing.AddPoint({inView.x, inView.y}, sectorRect)) {
        return;
    }
    // The red marks are drawn over the view, where the polygon grows (drawing on the desktop
    // does not show above other windows everywhere); the next repaint of the view takes them
    // away, as it would on the screen.
    const AreaDrawing::Mark mark = m_drawing.NextMark({inView.x, inView.y});
    zuvo::WindowDc dc(view, false);
    zuvo::UniquePen pen(CreatePen(PS_SOLID, kMarkPenWidth, kMarkColour));
    zuvo::UniqueBrush brush(CreateSolidBrush(kMarkColour));
    zuvo::SelectGuard selectPen(dc.get(), pen.get());
    zuvo::SelectGuard selectBrush(dc.get(), brush.get());
    const ZRect bounds = AreaDrawing::MarkBounds(mark.at);
    Ellipse(dc.get(), bounds.left, bounds.top, bounds.right, bounds.bottom);
    if (mark.joined) {
        MoveToEx(dc.get(), mark.from.x, mark.from.y, nullptr);
        LineTo(dc.get(), mark.at.x, mark.at.y);
    }
}

void AreaEditor::OnClose() {
    if (!m_drawing.IsDrawing()) {
        return;
    }
    const AreaDrawing::Polygon polygon = m_drawing.Close();
    ReleaseCapture();
    if (polygon.rowColumnPairs.empty()) {
        return;  // fewer than three points: nothing to keep
    }
    const int count = static_cast<int>(polygon.rowColumnPairs.size() / 2);
    const uint32_t inactive = m_panel.InactiveColour();
    const uint32_t active = m_panel.ActiveColour();
    CSectorViewAreas areas(m_view);
    if (polygon.mode == AreaDrawing::kMonitorArea) {
        zuvo::settings::SaveMonitorArea(zuvo::app::SettingsDocument(), m_programFolder.c_str(),
                                        areas, polygon.rowColumnPairs.data(), count, inactive,
                                        active);
        m_view.AddMonitorArea(polygon.rowColumnPairs.data(), count, inactive, active);
    } else {
        zuvo::settings::SaveAlgorithmArea(zuvo::app::SettingsDocument(), m_programFolder.c_str(),
                                          areas, polygon.rowColumnPairs.data(), count, inactive,
                                          active);
        m_view.AddAlgorithmArea(polygon.rowColumnPairs.data(), count, inactive, active);
    }
}

}  // namespace zuvo::app

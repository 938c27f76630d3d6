// The areas as the operator edits them: the area monitoring panel, the mouse drawing of new
// polygons over the sector view, and the stored areas in the settings document.
//
// The main window is the panel's listener and forwards each of its calls here; it also hands
// over the left-button releases and right-button presses that drawing takes. All on the
// user-interface thread.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <string>

#include "ZUVO_DataProcess.h"
#include "app/AreaDrawing.h"
#include "framework/Window.h"
#include "sectorview/ObjectSectorWnd.h"
#include "settings/AppConfig.h"
#include "settings/AreaMonitorDlg.h"
#include "settings/AreaMonitorDlgListener.h"

namespace zuvo::app {

class AreaEditor {
public:
    // window: the main window (it owns the panel and takes the mouse while drawing); view: the
    // sector view drawn over; settings: the settings record the gate range lives in;
    // programFolder: where the settings document is saved; radar: the library's record (the
    // gate count). All outlive the editor.
    AreaEditor(const zuvo::Window& window, CObjectSectorWnd& view,
               zuvo::settings::AppConfig& settings, const std::wstring& programFolder,
               const tagRADARPARAMETER& radar)
        : m_window(window),
          m_view(view),
          m_settings(settings),
          m_programFolder(programFolder),
          m_radar(radar) {}

    // The hidden panel, with the gate range, gate count and boundary flag of the moment,
    // reporting to listener.
    void CreatePanel(IAreaMonitorDlgListener* listener);
    void ShowPanel() { m_panel.Show(); }
    bool IsDrawing() const { return m_drawing.IsDrawing(); }

    // The stored detection boundaries, monitoring areas and monitoring points into the view.
    void LoadStored();

    // The panel's calls.
    bool ApplyGateRange(double gateMin, double gateMax);
    void BeginDrawing(int mode);
    void DeleteAllMonitorAreas();
    void DeleteAllBoundaries();

    // Left button up at a point of the main window's client area while drawing.
    void OnClick(POINT inWindow);
    // Right button: the polygon drawn so far is kept (three points or more) and drawing ends.
    void OnClose();

private:
    const zuvo::Window& m_window;
    CObjectSectorWnd& m_view;
    zuvo::settings::AppConfig& m_settings;
    const std::wstring& m_programFolder;
    const tagRADARPARAMETER& m_radar;
    CAreaMonitorDlg m_panel;
    AreaDrawing m_drawing;
};

}  // namespace zuvo::app

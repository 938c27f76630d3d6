// The main window's look: its controls stretched over the whole screen in proportion, the
// skinned buttons, the title banner and the object panels of the object count type.
//
// The layout owns the skinned controls it lays out (the title, the four object panels, the
// close button and the command buttons) and the proportional re-layout. User-interface
// thread only.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "controls/ASkinButton.h"
#include "controls/ColorStatic.h"
#include "resources/resource.h"
#include "settings/WndResizeTool.h"

namespace zuvo::app {

// The object panels: the single object's, then the three objects' in slot order.
inline constexpr int kObjectPanelIds[] = {IDC_OBJECT_PANEL_SINGLE, IDC_OBJECT_PANEL_1,
                                          IDC_OBJECT_PANEL_2, IDC_OBJECT_PANEL_3};

class MainLayout {
public:
    // Takes over the window's title, panels and buttons (at the dialog's data exchange).
    void Attach(HWND window);
    // Stretches the window over the screen, scales the controls in proportion and skins them
    // for objectCountType.
    void FillScreen(HWND window, int objectCountType);
    // The banner, the mode button and the panels of objectCountType (single or multi-object
    // tracking; any other value changes nothing but the banner).
    void ShowObjectCountType(HWND window, int objectCountType);

private:
    void InitControlSkins(int objectCountType);

    CColorStatic m_title;
    CColorStatic m_panels[4];  // as kObjectPanelIds
    CASkinButton m_closeButton;
    // 1090, 1101, 1091, 1100, 1092, 1093, 1102, 1103: the order their pictures are given in
    CASkinButton m_commandButtons[8];
    CWndResizeTool m_resizeTool;
    double m_scale = 1.0;  // smaller factor of the full-screen re-layout; sizes the panel fonts
};

}  // namespace zuvo::app

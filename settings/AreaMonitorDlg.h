// CAreaMonitorDlg: the area monitoring panel, a small modeless window owned by the main
// window. With it the operator sets the visible range-gate window of the sector view, picks
// the two colours given to new areas, starts drawing a monitoring area or a detection
// boundary, and deletes all areas of one kind. The panel does no work itself: every action
// goes to its listener with the listener's context; without a listener its buttons do
// nothing (the colours can still be chosen).
//
// The main window sets the gate range, gate count and boundary-button flag before Create,
// sets itself as listener right after, and shows the panel with Show. The close box (and
// Esc) only hides it; it is destroyed with its owner or this object.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <array>
#include <cstdint>

#include "controls/ColorStatic.h"
#include "controls/DigitalEdit.h"
#include "framework/Dialog.h"
#include "settings/AreaMonitorDlgListener.h"

class CAreaMonitorDlg : public zuvo::Dialog {
public:
    // Colours of new areas until the operator picks others.
    static constexpr COLORREF kDefaultInactiveColour = 0xFFFF00;  // no object inside
    static constexpr COLORREF kDefaultActiveColour = 0x0054DC;    // an object inside

    CAreaMonitorDlg();
    ~CAreaMonitorDlg() override;

    // ----- before Create -----
    // The values shown in the two fields.
    void SetGateRange(double gateMin, double gateMax);
    // The number of range gates; the fields accept up to gateCount - 1.
    void SetGateCount(int gateCount);
    // Non-zero: the two detection-boundary buttons are shown.
    void SetShowBoundaryButtons(int show);

    // The receiver of all actions (null: none) and the value handed back with every call.
    void SetListener(IAreaMonitorDlgListener* listener, int64_t context);

    // Create(owner) (from zuvo::Dialog) makes the hidden window; Show shows it.
    void Show();

    double GateMin() const { return m_gateMin; }
    double GateMax() const { return m_gateMax; }
    COLORREF InactiveColour() const { return m_inactiveColour; }
    COLORREF ActiveColour() const { return m_activeColour; }

protected:
    void DoDataExchange() override;
    bool OnInitDialog() override;
    // Enter stays in the panel: the fields commit on it themselves.
    void OnOK() override {}
    // Esc hides the panel like its close box.
    void OnCancel() override;
    bool OnCommand(UINT id, UINT notification, HWND control) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnApply();
    // Lets the operator pick the colour of a swatch; Cancel keeps it.
    void ChooseSwatchColour(CColorStatic& swatch, COLORREF& colour);

    IAreaMonitorDlgListener* m_listener = nullptr;
    int64_t m_listenerContext = 0;
    double m_gateMin = 0.0;
    double m_gateMax = 31.0;
    int m_gateCount = 32;
    int m_showBoundaryButtons = 0;
    COLORREF m_inactiveColour = kDefaultInactiveColour;
    COLORREF m_activeColour = kDefaultActiveColour;
    // The colour chooser's sixteen custom colours, kept from one choice to the next.
    std::array<COLORREF, 16> m_customColours;

    CDigitalEdit m_gateMinEdit;
    CDigitalEdit m_gateMaxEdit;
    CColorStatic m_absentSwatch;
    CColorStatic m_presentSwatch;
};

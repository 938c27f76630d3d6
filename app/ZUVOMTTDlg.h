// The main window: a caption-less dialog that fills the screen with the title banner, the
// command buttons, the object panels and the sector view. It is the main controller: it owns
// the settings record, the object slots and the run state, listens to the radar library for
// objects and playback, and drives the device, the result log and the tower light.
//
// Its code is split by concern: ZUVOMTTDlg.cpp (construction, initialisation, messages,
// commands, keyboard, tear-down), ZUVOMTTDlgIntake.cpp (object intake and panels),
// ZUVOMTTDlgView.cpp (view settings, object count type), ZUVOMTTDlgSettings.cpp (settings
// file, stored areas), ZUVOMTTDlgAppearance.cpp (full-screen layout, skins).
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <memory>
#include <string>

#include "ZUVO_Common.h"
#include "ZUVO_DataProcess.h"
#include "ZUVO_DlgResource.h"
#include "app/ObjectSlots.h"
#include "controls/ColorStatic.h"
#include "framework/Dialog.h"
#include "sectorview/ObjectSectorWnd.h"
#include "settings/AppConfig.h"
#include "settings/WndResizeTool.h"

// Messages of the main window.
constexpr UINT WM_OBJECT_REFRESH = WM_USER + 259;  // 1283: a delivery arrived
constexpr UINT WM_DEVICE_TOGGLE = WM_USER + 260;   // 1284: playback reading has ended

class CZUVOMTTDlg : public zuvo::Dialog,
                    public IFileRadarDataSource,
                    public IRadarObjectDetectListener {
public:
    CZUVOMTTDlg();
    ~CZUVOMTTDlg() override;

    // ----- IRadarObjectDetectListener (library thread) -----
    void OnRadarObjectDetect(int64_t value, CPtrCtrl* objects) override;

    // Pushes the view settings into the sector view and reloads its areas and monitoring
    // points.
    void ApplyViewSettings();
    // Banner and panels for the object count type.
    void ApplyObjectCountType();
    // Empties the ten slots (all refresh times 0).
    void ResetObjectSlots();
    // Writes the text of every shown slot into its panel.
    void RefreshObjectPanels();
    // The information text of a slot.
    std::wstring FormatObjectInfo(int index) const;

protected:
    bool OnInitDialog() override;
    void DoDataExchange() override;
    // Enter and Esc never close the main window.
    void OnOK() override {}
    void OnCancel() override {}
    bool OnCommand(UINT id, UINT notification, HWND control) override;
    bool PreTranslateMessage(MSG& message) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // ----- messages -----
    void OnDestroy();
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    void OnEraseBackground(HDC dc);
    void OnSysCommand(WPARAM wParam, LPARAM lParam);
    // The refresh pass: expiry, panels, presence.
    void RefreshPass();

    // ----- start-up helpers -----
    void LoadBackgroundPicture();
    void RegisterWithLibrary();
    void UnregisterFromLibrary();

    // ----- settings and stored areas (ZUVOMTTDlgSettings.cpp) -----
    void LoadSettings();
    void SaveRecordingSettings();
    void LoadAreas();
    void LoadMonitorPoints();

    // ----- appearance (ZUVOMTTDlgAppearance.cpp) -----
    // Stretches the window over the screen, scales the controls, skins them.
    void ApplyAppearance();
    void InitControlSkins();
    // Banner picture for the object count type.
    void ShowBannerPicture(int objectCountType);

    // Program folder (no trailing separator) and its files.
    std::wstring ProgramFile(const wchar_t* name) const;

    std::wstring m_programFolder;
    zuvo::settings::AppConfig m_settings;
    zuvo::app::ObjectSlotTable m_slots;
    tagRADARPARAMETER m_workingParameters;

    CColorStatic m_title;
    CColorStatic m_panels[4];  // 1084 (single object), 1085 to 1087 (three objects)
    CObjectSectorWnd m_sectorView;
    std::unique_ptr<Gdiplus::Bitmap> m_backgroundPicture;

    CWndResizeTool m_resizeTool;
    double m_scale = 1.0;  // smaller factor of the full-screen re-layout; sizes the panel fonts

    CDelayPostMsgEngine m_delayEngine;
    ZUVO_WAITINGDLG_HANDLE m_waitingDlg = nullptr;
    ZUVO_EULADLG_HANDLE m_eulaDlg = nullptr;
    HICON m_icon = nullptr;
    bool m_ctrlHeld = false;
    bool m_registered = false;
    uint32_t m_lastPresenceTime = 0;
    int m_drawingMode = 0;  // area drawing: 0 none, 1 monitoring area, 2 detection boundary
};

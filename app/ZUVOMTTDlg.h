// The main window: a caption-less dialog that fills the screen with the title banner, the
// command buttons, the object panels and the sector view. It is the main controller: it
// registers with the radar library as the object listener and playback source, maps the
// messages and commands, and carries out the operations the rest of the program calls on it,
// through its collaborators:
//   RunController  the run buttons and the library's parameter record around each run
//   ObjectIntake   each delivery of the library's thread into the slots, the log and the view
//   AreaEditor     the area panel, the drawing of new areas and the stored areas
//   MainLayout     the skinned controls, the full-screen re-layout, the object count's look
//
// Its own code: ZUVOMTTDlg.cpp (construction, initialisation, messages, commands, keyboard,
// tear-down), ZUVOMTTDlgDevice.cpp (detection, start, stop, pause, mode), ZUVOMTTDlgRecording.cpp
// (result log, raw-data switch and folder, playback), ZUVOMTTDlgIntake.cpp (the object panels
// and the refresh pass) and ZUVOMTTDlgView.cpp (view settings, object count type).
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <memory>
#include <string>
#include <vector>

#include "ZUVO_Common.h"
#include "ZUVO_DataProcess.h"
#include "ZUVO_DlgResource.h"
#include "app/AreaEditor.h"
#include "app/IntakeWindows.h"
#include "app/MainLayout.h"
#include "app/ObjectIntake.h"
#include "app/ObjectSlots.h"
#include "app/ResultLog.h"
#include "app/RunHealth.h"
#include "app/RunController.h"
#include "framework/KeepAwake.h"
#include "app/light/SerialLightCtrl_KWQ.h"
#include "controls/ASkinButton.h"
#include "controls/BalloonWnd.h"
#include "controls/ColorStatic.h"
#include "framework/Dialog.h"
#include "framework/LibraryDialogs.h"
#include "sectorview/ObjectSectorWnd.h"
#include "settings/AppConfig.h"
#include "settings/AreaMonitorDlg.h"
#include "settings/AreaMonitorDlgListener.h"
#include "settings/WndResizeTool.h"

// Messages of the main window.
constexpr UINT WM_OBJECT_REFRESH = zuvo::app::kObjectRefreshMessage;  // a delivery arrived
constexpr UINT WM_DEVICE_TOGGLE = WM_USER + 260;  // 1284: playback reading has ended

class CZUVOMTTDlg : public zuvo::Dialog,
                    public IFileRadarDataSource,
                    public IRadarObjectDetectListener,
                    public IAreaMonitorDlgListener {
public:
    CZUVOMTTDlg();
    ~CZUVOMTTDlg() override;

    // ----- IRadarObjectDetectListener (library thread) -----
    void OnRadarObjectDetect(int64_t value, CPtrCtrl* objects) override;
    // ----- IFileRadarDataSource (library thread) -----
    void OnFileRadarReadEnd() override;

    // ----- IAreaMonitorDlgListener: the area editor's -----
    bool ApplyGateRange(double gateMin, double gateMax, int64_t) override {
        return m_areas.ApplyGateRange(gateMin, gateMax);
    }
    void BeginAddMonitorArea(uint32_t, uint32_t, int64_t) override {
        m_areas.BeginDrawing(zuvo::app::AreaDrawing::kMonitorArea);
    }
    void DeleteAllMonitorAreas(int64_t) override {
        m_areas.DeleteAllMonitorAreas();
        RefreshAreaStatistics();
    }
    void BeginAddBoundary(uint32_t, uint32_t, int64_t) override {
        m_areas.BeginDrawing(zuvo::app::AreaDrawing::kDetectionBoundary);
    }
    void DeleteAllBoundaries(int64_t) override { m_areas.DeleteAllBoundaries(); }

    // ----- device control (ZUVOMTTDlgDevice.cpp) -----
    void DetectDevice();
    // True when the device runs.
    bool StartRadar();
    void StopRadar();

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
    static constexpr UINT_PTR kRefreshTimerId = 2;  // the refresh pass while a run lasts

    // ----- messages -----
    // Ctrl+F2: the parameter settings dialog, modal, with a fresh record.
    void OpenParameterDialog();
    // F1: the keys of the window, one message of the balloon each.
    void ShowKeys();
    void OnDestroy();
    // Windows ends the session without destroying the window: the run is ended and the
    // settings are saved here instead.
    void OnEndSession(bool ending);
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    void OnEraseBackground(HDC dc);
    void OnSysCommand(WPARAM wParam, LPARAM lParam);
    // The refresh pass: expiry, panels, presence, area statistics.
    void RefreshPass();
    // F9: the area statistics on or off, kept in the settings file.
    void ToggleAreaStatistics();
    // The labels of the area statistics with the counts of the moment (none when they are off).
    void RefreshAreaStatistics();
    // F11: the run-health overlay on or off, kept in the settings file.
    void ToggleRunHealth();
    // The overlay with the figures of the last second (none when it is off).
    void RefreshRunHealth();
    // F8: the heat map on or off, kept in the settings file.
    void ToggleHeatMap();
    // Timer 2: the refresh pass, or the end of a live run the device has ended by itself.
    void OnRefreshTimer();

    // ----- device control (ZUVOMTTDlgDevice.cpp) -----
    void ToggleStartStop();
    void TogglePause();
    void SwitchObjectCountType();
    // The tracking-mode command of the object count type to a sensor that tracks by itself.
    void SendModeCommand();
    void ShowErrorBox(UINT textId);
    void ShowErrorBox(const std::wstring& text, UINT captionId);
    // The run buttons as the run controller has them.
    void ApplyRunControls();
    // What every end of a run undoes, whether it is stopped, its window destroyed or its
    // session ended: the light, the device, the result log's tail, the screen saver and the
    // execution state. Safe to repeat: every step does nothing once done.
    void EndRunTearDown();

    // ----- recording and playback (ZUVOMTTDlgRecording.cpp) -----
    // Closes the previous result log and opens a new dated one in "Log", and the run's area
    // events file beside it.
    void OpenResultLog();
    // The exits of everyone still in an area, and the events file closed (the run ended).
    void EndAreaEvents();
    // A note to the operator that needs no answer, in a balloon at the sector view.
    void ShowNotice(UINT titleId, UINT textId);
    void ShowNotice(const std::wstring& title, const std::wstring& text, int icon, int id);
    // F12: the view as shown into "Snapshots\ZUVO_MTT_View_<date>_<time>.png"; the balloon
    // names the file.
    void SaveViewSnapshot();
    // Ctrl+F8: the heat map into "Log\ZUVO_MTT_Heatmap_<date>_<time>.png".
    void SaveHeatMap();
    // picture into folder (of the program folder) as prefix<date>_<time>.png, and a balloon
    // that names the file (titleId) or says that it could not be written (failedId).
    void SavePicture(Gdiplus::Bitmap* picture, const wchar_t* folder, const wchar_t* prefix,
                     UINT titleId, UINT failedId);
    void OnSaveDataSwitch();
    void ChooseSavePath();
    void Playback();
    void OnDeviceToggle();

    // ----- start-up helpers -----
    void LoadBackgroundPicture();
    void RegisterWithLibrary();
    void UnregisterFromLibrary();

    // The save-data switch and path into the settings file.
    void SaveRecordingSettings();

    // Program folder (no trailing separator) and its files.
    std::wstring ProgramFile(const wchar_t* name) const;

    std::wstring m_programFolder;
    // The run-health overlay's last sample of the delivery count.
    uint64_t m_healthDeliveries = 0;
    uint32_t m_healthSampledAt = 0;
    // The captions of the overlays, loaded once: the area labels are refreshed with every
    // delivery.
    zuvo::app::RunHealthWords m_healthWords;
    std::wstring m_statisticsIn;
    std::wstring m_statisticsEntries;
    zuvo::settings::AppConfig m_settings;
    zuvo::app::ObjectSlotTable m_slots;
    zuvo::app::ResultLog m_resultLog;          // written on the library's thread, see ResultLog.h
    zuvo::app::AreaEventTracker m_areaEvents;  // who is in which monitoring area, this run
    zuvo::app::AreaEventLog m_eventLog;        // the run's area events file
    CSerialLightCtrl_KWQ m_light;              // its destruction closes the light's port
    zuvo::KeepAwake m_keepAwake;               // engaged while a run lasts
    // The run buttons and the library's parameter record around each run.
    zuvo::app::RunController m_run{gRadarParameter, &ZUVO_Interface_RadarParameter_Copy};

    zuvo::app::MainLayout m_layout;  // the skinned controls and the full-screen re-layout
    CObjectSectorWnd m_sectorView;
    // The library's deliveries: slots, result log, view, and the message that wakes the
    // user-interface thread.
    zuvo::app::IntakeWindows m_intakeWindows{*this, m_sectorView};
    zuvo::app::ObjectIntake m_intake{m_slots,         m_resultLog,  m_intakeWindows,
                                     m_intakeWindows, m_areaEvents, m_eventLog};
    std::unique_ptr<Gdiplus::Bitmap> m_backgroundPicture;

    CDelayPostMsgEngine m_delayEngine;
    zuvo::UniqueWaitingDlg m_waitingDlg;
    zuvo::UniqueEulaDlg m_eulaDlg;
    HICON m_icon = nullptr;
    bool m_registered = false;
    CBalloonWnd m_notice;  // its window is made for the first notice
    // The area panel, drawing and the stored areas.
    zuvo::app::AreaEditor m_areas{*this, m_sectorView, m_settings, m_programFolder,
                                  gRadarParameter};
};

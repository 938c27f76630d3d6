// CObjectSectorWnd: the window that shows the sensor's field of view as a fan with the
// objects, their fading tracks, the areas and the monitoring points.
//
// The view is passive: the main window pushes settings, object batches, areas and points into
// it. It is either created as a child at a rectangle or takes over an existing control (the
// main dialog's placeholder 1200), keeping that control's rectangle, id and style.
//
// Threads: UpdateObjects and ClearTracks may be called from any thread (the radar library's
// callback thread); everything else belongs to the user-interface thread that owns the window.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gdiplus.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include "ZUVO_Common.h"
#include "framework/Handles.h"
#include "framework/Window.h"
#include "sectorview/AreaFillPainter.h"
#include "sectorview/AreaLabels.h"
#include "sectorview/RecentTimings.h"
#include "sectorview/SectorScene.h"

class CObjectSectorWnd : public zuvo::Window {
public:
    CObjectSectorWnd();
    // Destroys a view it created and gives a taken-over control back, while the view can
    // still release its buffers.
    ~CObjectSectorWnd() override;

    // Creates the view as a child window of parent covering rect (parent client pixels).
    bool Create(HWND parent, const RECT& rect, int controlId);
    // SubclassDlgItem (of the window base) makes an existing control the view.

    // ----- settings (user-interface thread) -----

    // The view's part of the main window's ApplyViewSettings: takes the controller's copy of
    // the background picture (null keeps the current one), applies and clamps the settings
    // with the gate count of the parameter record, relays out for the current client size,
    // repaints and purges expired track points. The controller then reloads the areas and
    // monitoring points.
    void ApplyViewSettings(const zuvo::sector::SectorViewConfig& config,
                           std::unique_ptr<Gdiplus::Bitmap> picture);
    void SetGateRange(double gateMin, double gateMax, int gateCount);
    // Rebuilds buffers, geometry and masks for the current client size.
    void Relayout();
    RECT GetSectorRect() const;

    // ----- objects (any thread) -----

    // One batch of SectorObject pointers (null: none): expires old points, adds the accepted
    // objects to their tracks and asks for a repaint unless one is pending.
    void UpdateObjects(const CPtrListCtrl* objects);
    void ClearTracks();
    // Every track's monitoring area (any thread).
    void TrackAreas(std::vector<zuvo::sector::TrackArea>& areas) const {
        m_scene.TrackAreas(areas);
    }

    // ----- areas and monitoring points (user-interface thread) -----

    // points holds count (row, column) pairs relative to the sector rectangle's top-left
    // corner; colours are COLORREF. Answers the slot, or -1.
    int AddAlgorithmArea(const int32_t* points, int count, COLORREF inactiveColour,
                         COLORREF activeColour);
    void ClearAlgorithmAreas();
    int AddMonitorArea(const int32_t* points, int count, COLORREF inactiveColour,
                       COLORREF activeColour);
    void ClearMonitorAreas();
    // The detection boundaries in view pixels, for handing them to the radar filters.
    const zuvo::sector::AreaTable& AlgorithmAreas() const { return m_scene.AlgorithmAreas(); }

    // A disc at (distance, angle) of diameter size ring spacings, labelled with label in
    // labelColour (COLORREF; the settings file's TextColor, white by default).
    void AddMonitorPoint(double distance, double angle, double size, const wchar_t* label,
                         COLORREF inactiveColour, COLORREF activeColour,
                         COLORREF labelColour = RGB(255, 255, 255));
    void ClearMonitorPoints();

    // A label inside every monitoring area whose slot has a text (user-interface thread;
    // empty texts: no label); repainted when one changed.
    void SetAreaLabels(const std::vector<std::wstring>& texts);
    void ClearAreaLabels();

    // The run-health overlay in the view's top-right corner (user-interface thread; empty: none).
    void SetHealthText(const std::wstring& text);
    // The medians of the paints of the last second: paint time, and the time from an
    // UpdateObjects call to the end of the first paint begun after it (user-interface thread).
    zuvo::sector::TimingMedians RecentPaints();

    // A copy of the view as it was last shown, opaque (user-interface thread); null before the
    // first paint or without memory.
    std::unique_ptr<Gdiplus::Bitmap> CopyShownFrame() const;

    // The heat map of the run's positions under the tracks, shown or not (user-interface
    // thread); it counts either way. ClearHeatMap (any thread) empties it: a run starts.
    void ShowHeatMap(bool shown);
    void ClearHeatMap();
    // The heat map over the view's background (grid and picture, no areas or tracks), opaque;
    // null before the first paint or without memory.
    std::unique_ptr<Gdiplus::Bitmap> CopyHeatMap() const;

    // The model behind the window, for diagnostics and tests.
    const zuvo::sector::SectorScene& Scene() const { return m_scene; }

private:
    // A top-down 32-bit DIB section and its pixels.
    struct Dib {
        zuvo::UniqueBitmap bitmap;
        uint32_t* pixels = nullptr;
    };

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSubclassed() override;
    void OnPaint();
    void OnSize(int width, int height);
    void OnDestroy();
    void RenderBackground();
    void Invalidate(bool erase);
    // Repaints when an add operation took a slot; answers the slot.
    int ShowAddedArea(int slot);
    void RequestRepaint();
    static bool CreateDib(Dib& dib, int width, int height);
    // A bitmap of the view's size with pixels, every pixel opaque; null on failure.
    std::unique_ptr<Gdiplus::Bitmap> OpaqueBitmap(const uint32_t* pixels) const;

    zuvo::sector::SectorScene m_scene;
    // The window, for the repaint requests of the radar library's thread: set once the view
    // has its window, cleared when the window goes.
    std::atomic<HWND> m_repaintTarget{nullptr};
    bool m_painted = false;          // the frame holds a composed picture that was shown
    bool m_settingsApplied = false;  // size messages count only after the first settings
    int m_width = 0;
    int m_height = 0;
    Dib m_frame;  // the composed frame copied to the screen
    // The frame's own device context, kept with the frame selected into it: the areas are
    // filled through it and the frame is copied to the window from there.
    zuvo::UniqueMemoryDc m_frameDc;
    std::optional<zuvo::SelectGuard> m_frameSelected;  // goes before the DC and the frame
    Dib m_background;                                  // picture, grid and shading
    // The areas' fills, kept over a copy of the background between frames.
    zuvo::sector::AreaFillPainter m_areaPainter;
    zuvo::sector::AreaLabels m_areaLabels;
    zuvo::sector::LabelPicture m_healthPicture;
    std::wstring m_healthText;
    zuvo::sector::RecentTimings m_timings;
    // The performance counter at the first UpdateObjects since the last paint began; 0: none.
    std::atomic<int64_t> m_firstUnshownUpdate{0};
    std::unique_ptr<Gdiplus::Bitmap> m_picture;
    std::unique_ptr<Gdiplus::Font> m_labelFont;
    // The area labels' face is the point labels', half as large again: they hold a line of text.
    static constexpr double kAreaLabelScale = 1.5;
    std::unique_ptr<Gdiplus::Font> m_areaLabelFont;
};

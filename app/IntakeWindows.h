// The object intake's window side: the sector view that takes each batch, the local clock of
// the result log's lines and the message that wakes the user-interface thread.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "app/ObjectIntake.h"
#include "framework/Window.h"
#include "sectorview/ObjectSectorWnd.h"

namespace zuvo::app {

// A delivery arrived (posted to the main window).
constexpr UINT kObjectRefreshMessage = WM_USER + 259;  // 1283

class IntakeWindows final : public IObjectView, public IIntakeHost {
public:
    // window: the main window the message goes to; view: the view the batches go to. Both
    // outlive this.
    IntakeWindows(const zuvo::Window& window, CObjectSectorWnd& view)
        : m_window(window), m_view(view) {}

    void UpdateObjects(const CPtrListCtrl* objects) override { m_view.UpdateObjects(objects); }
    void TrackAreas(std::vector<TrackArea>& areas) const override { m_view.TrackAreas(areas); }
    LogTime LocalTime() const noexcept override {
        SYSTEMTIME local;
        GetLocalTime(&local);
        return {local.wHour, local.wMinute, local.wSecond, local.wMilliseconds};
    }
    void NotifyObjectsArrived() noexcept override {
        PostMessageW(m_window.GetSafeHwnd(), kObjectRefreshMessage, 0, 0);
    }

private:
    const zuvo::Window& m_window;
    CObjectSectorWnd& m_view;
};

}  // namespace zuvo::app

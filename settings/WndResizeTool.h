// CWndResizeTool: scales a dialog designed at one size to another. It records every child
// window's rectangle and font once (Capture) and, on Resize, moves each child by the ratio of
// the new client size to the recorded one and gives it a font scaled by the smaller ratio.
// Scaling always starts from what was captured, so repeated resizes do not drift.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "ZUVO_Common.h"
#include "framework/Handles.h"

class CWndResizeTool {
public:
    CWndResizeTool() = default;
    CWndResizeTool(const CWndResizeTool&) = delete;
    CWndResizeTool& operator=(const CWndResizeTool&) = delete;
    virtual ~CWndResizeTool();

    // Forgets every record and deletes the fonts made by earlier resizes.
    void Reset();
    // Records every child of parent and, depth first, their children (parents before their
    // descendants), with rectangles in their parents' client coordinates.
    void Capture(HWND parent);
    // Moves and resizes the captured windows for a client of width x height and redraws the
    // owner once. Answers 1 with the horizontal and vertical factors, or 0 (factors 1.0) while
    // the tool is not ready.
    int Resize(int width, int height, double* horizontalFactor, double* verticalFactor);

    // Set by the owner around Capture.
    int m_ready = 0;
    HWND m_owner = nullptr;
    int m_recordedWidth = 0;
    int m_recordedHeight = 0;

private:
    // Owned by the list while in it (the list holds plain pointers), by a unique_ptr on the
    // way in and out.
    struct Record {
        HWND window = nullptr;
        RECT rect{};
        zuvo::UniqueFont scaledFont;
        LOGFONTW recordedFont{};
    };

    CPtrListCtrl m_records;
};

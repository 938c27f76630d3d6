#include "settings/WndResizeTool.h"

#include <cstring>
#include <memory>
#include <new>

#include "settings/ResizeArithmetic.h"

CWndResizeTool::~CWndResizeTool() {
    Reset();
}

void CWndResizeTool::Reset() {
    for (int i = m_records.GetCount() - 1; i >= 0; --i) {
        // Freed, with its scaled font, when this owner goes.
        const std::unique_ptr<Record> record(static_cast<Record*>(m_records.RemoveAt(i)));
    }
}

void CWndResizeTool::Capture(HWND parent) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        std::unique_ptr<Record> record(new (std::nothrow) Record);
        if (record == nullptr) {
            return;
        }
        record->window = child;
        GetWindowRect(child, &record->rect);
        POINT corners[2] = {{record->rect.left, record->rect.top},
                            {record->rect.right, record->rect.bottom}};
        ScreenToClient(parent, &corners[0]);
        ScreenToClient(parent, &corners[1]);
        record->rect = RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
        const auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
        if (font == nullptr ||
            GetObjectW(font, sizeof(record->recordedFont), &record->recordedFont) == 0) {
            std::memset(&record->recordedFont, 0, sizeof(record->recordedFont));
        }
        if (m_records.AddData(record.get(), -1) < 0) {
            return;
        }
        record.release();  // the list's now
        Capture(child);
    }
}

int CWndResizeTool::Resize(int width, int height, double* horizontalFactor,
                           double* verticalFactor) {
    if (horizontalFactor != nullptr) {
        *horizontalFactor = 1.0;
    }
    if (verticalFactor != nullptr) {
        *verticalFactor = 1.0;
    }
    zuvo::settings::ResizeFactors factors;
    if (!m_ready || !zuvo::settings::ComputeResizeFactors(m_recordedWidth, m_recordedHeight, width,
                                                          height, &factors)) {
        return 0;
    }
    for (int i = 0; i < m_records.GetCount(); ++i) {
        auto* record = static_cast<Record*>(m_records.GetAt(i));
        if (!IsWindow(record->window)) {
            continue;
        }
        const zuvo::settings::ScaledRect rect = zuvo::settings::ScaleRect(
            record->rect.left, record->rect.top, record->rect.right, record->rect.bottom, factors);
        MoveWindow(record->window, rect.x, rect.y, rect.width, rect.height, FALSE);
        if (record->recordedFont.lfHeight == 0) {
            continue;
        }
        record->scaledFont.reset();
        LOGFONTW scaled = record->recordedFont;
        scaled.lfHeight = zuvo::settings::ScaleFontDimension(scaled.lfHeight, factors);
        scaled.lfWidth = zuvo::settings::ScaleFontDimension(scaled.lfWidth, factors);
        record->scaledFont.reset(CreateFontIndirectW(&scaled));
        SendMessageW(record->window, WM_SETFONT, reinterpret_cast<WPARAM>(record->scaledFont.get()),
                     FALSE);
    }
    if (m_owner != nullptr) {
        RedrawWindow(m_owner, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
    }
    if (horizontalFactor != nullptr) {
        *horizontalFactor = factors.horizontal;
    }
    if (verticalFactor != nullptr) {
        *verticalFactor = factors.vertical;
    }
    return 1;
}

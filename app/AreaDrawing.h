// AreaDrawing: the state of drawing a polygon over the sector view with the mouse, without the
// window around it.
//
// The main window owns one. The area panel's begin buttons call Begin; every left-button
// release while drawing offers its point to AddPoint (converted into the view's client
// coordinates) and, when the point was taken, draws the feedback that NextMark describes; the
// right button calls Close, which hands back the polygon to store and show, and ends drawing.
//
//   drawing.Begin(AreaDrawing::kMonitorArea);             // capture the mouse
//   if (drawing.AddPoint(inView, sector)) {                // left button up
//       const AreaDrawing::Mark mark = drawing.NextMark(onScreen);
//       draw a red dot in AreaDrawing::MarkBounds(mark.at); if (mark.joined) a red line
//       from mark.from to mark.at
//   }
//   const AreaDrawing::Polygon polygon = drawing.Close();  // right button down
//   if (!polygon.rowColumnPairs.empty()) save and show it by polygon.mode; release the mouse
//
// Points are kept packed as the sector view's area code knows them: row (y - sector top) in
// the high 32 bits, column (x - sector left) in the low 32 bits of one 64-bit value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ZUVO_CommonCore.h"

namespace zuvo::app {

class AreaDrawing {
public:
    // Drawing modes.
    static constexpr int kNotDrawing = 0;
    static constexpr int kMonitorArea = 1;
    static constexpr int kDetectionBoundary = 2;

    // A polygon holds at most this many points; later clicks add nothing.
    static constexpr size_t kMaxPoints = 1000;
    // Half the size of a feedback dot: its bounds reach this far from the click.
    static constexpr int32_t kMarkRadius = 2;

    struct Point {
        int32_t x;
        int32_t y;
    };

    // The feedback of one added point: a dot at `at`, and when `joined` a line from the
    // previous mark `from` to it.
    struct Mark {
        Point at;
        bool joined;
        Point from;
    };

    // A closed polygon: the mode it was drawn in and its (row, column) pairs relative to the
    // sector rectangle, in click order; no pairs when it had fewer than three points.
    struct Polygon {
        int mode;
        std::vector<int32_t> rowColumnPairs;
    };

    // Starts drawing in mode (kMonitorArea or kDetectionBoundary; any other value stops
    // drawing). Points and the previous mark of a polygon under way are discarded.
    void Begin(int mode);

    int Mode() const { return m_mode; }
    bool IsDrawing() const { return m_mode != kNotDrawing; }
    size_t PointCount() const { return m_points.size(); }
    // The packed points in click order.
    const std::vector<uint64_t>& PackedPoints() const { return m_points; }

    // Adds the point (in the sector view's client coordinates) when drawing, the polygon is
    // not full and the point lies in the sector rectangle (left and top inclusive, right and
    // bottom exclusive). Answers whether it was added.
    bool AddPoint(Point inView, const ZRect& sector);

    // Records `at` as the newest mark and answers what to draw for it. Called for each added
    // point with its position on the screen (or wherever the feedback is drawn).
    Mark NextMark(Point at);

    // Ends drawing: answers the polygon when more than two points were collected, and in
    // every case empties the list, forgets the previous mark and returns to kNotDrawing.
    Polygon Close();

    // The corners of the dot drawn at `at`: from (x - 2, y - 2) to (x + 2, y + 2), as an
    // ellipse is given them.
    static ZRect MarkBounds(Point at);

    static uint64_t Pack(int32_t row, int32_t column);
    static int32_t PackedRow(uint64_t packed);
    static int32_t PackedColumn(uint64_t packed);

private:
    void Reset(int mode);

    int m_mode = kNotDrawing;
    std::vector<uint64_t> m_points;
    bool m_hasPreviousMark = false;
    Point m_previousMark{0, 0};
};

}  // namespace zuvo::app

// The outline and the even-odd inside of a polygon, row by row, in exact integer arithmetic.
//
// For a pixel that is not on the outline the even-odd answer does not depend on the direction
// of the test ray, so rows may be scanned although the library's test casts its ray along the
// other axis. An edge counts on a row when the row lies in [top, bottom) of the edge (the same
// half-open rule), and each crossing column is kept as an exact fraction: an integer part and
// a remainder over the edge's height, stepped from row to row without division. A pixel is
// inside when an odd number of crossings lie left of it, and on the outline when a crossing or
// a horizontal edge passes through it exactly.
#include "sectorview/PolygonRaster.h"

#include <algorithm>
#include <vector>

namespace zuvo::sector {

namespace {

__extension__ typedef __int128 Int128;

// A non-horizontal edge: its crossing with the current row is whole + remainder / height.
struct Edge {
    int64_t top;     // first row (the smaller row of the two ends)
    int64_t bottom;  // last row
    int64_t topColumn;
    int64_t height;         // bottom - top, > 0
    int64_t stepWhole;      // floor(column change / height)
    int64_t stepRemainder;  // column change - stepWhole x height, 0 ... height - 1
    int64_t whole = 0;
    int64_t remainder = 0;

    void StartAt(int64_t row) {
        const Int128 numerator = Int128{topColumn} * height +
                                 Int128{row - top} * (Int128{stepWhole} * height + stepRemainder);
        Int128 quotient = numerator / height;
        if (numerator % height != 0 && numerator < 0) {
            --quotient;  // floor, not truncation
        }
        whole = static_cast<int64_t>(quotient);
        remainder = static_cast<int64_t>(numerator - quotient * height);
    }

    void Step() {
        whole += stepWhole;
        remainder += stepRemainder;
        if (remainder >= height) {
            remainder -= height;
            ++whole;
        }
    }
};

struct HorizontalEdge {
    int64_t row;
    int64_t from;
    int64_t to;
};

// The polygon's non-horizontal edges, sorted by their top row, and its horizontal ones;
// firstRow and lastRow take the smallest and largest row of its vertices.
void MakeEdges(const int32_t* pairs, int count, std::vector<Edge>& edges,
               std::vector<HorizontalEdge>& horizontals, int64_t& firstRow, int64_t& lastRow) {
    edges.reserve(static_cast<size_t>(count));
    firstRow = INT64_MAX;
    lastRow = INT64_MIN;
    for (int i = 0; i < count; ++i) {
        const int j = i + 1 < count ? i + 1 : 0;
        const int64_t r1 = pairs[2 * i];
        const int64_t c1 = pairs[2 * i + 1];
        const int64_t r2 = pairs[2 * j];
        const int64_t c2 = pairs[2 * j + 1];
        firstRow = std::min(firstRow, r1);
        lastRow = std::max(lastRow, r1);
        if (r1 == r2) {
            horizontals.push_back(HorizontalEdge{r1, std::min(c1, c2), std::max(c1, c2)});
            continue;
        }
        Edge edge{};
        const bool downward = r1 < r2;
        edge.top = downward ? r1 : r2;
        edge.bottom = downward ? r2 : r1;
        edge.topColumn = downward ? c1 : c2;
        edge.height = edge.bottom - edge.top;
        const int64_t change = (downward ? c2 : c1) - edge.topColumn;
        edge.stepWhole = change / edge.height;
        edge.stepRemainder = change % edge.height;
        if (edge.stepRemainder < 0) {
            edge.stepRemainder += edge.height;
            --edge.stepWhole;
        }
        edges.push_back(edge);
    }
    std::sort(edges.begin(), edges.end(),
              [](const Edge& a, const Edge& b) { return a.top < b.top; });
}

}  // namespace

void RasterizePolygon(const int32_t* pairs, int count, int width, int height, uint32_t bit,
                      uint32_t* mask) {
    if (pairs == nullptr || count <= 0 || width <= 0 || height <= 0) {
        return;
    }
    std::vector<Edge> edges;
    std::vector<HorizontalEdge> horizontals;
    int64_t firstRow = 0;
    int64_t lastRow = 0;
    MakeEdges(pairs, count, edges, horizontals, firstRow, lastRow);
    const int64_t rowFrom = std::max<int64_t>(firstRow, 0);
    const int64_t rowTo = std::min<int64_t>(lastRow, height - 1);
    if (rowFrom > rowTo) {
        return;
    }
    std::sort(horizontals.begin(), horizontals.end(),
              [](const HorizontalEdge& a, const HorizontalEdge& b) { return a.row < b.row; });

    // The inside of a row, by the parity of the crossings left of each pixel: a crossing at
    // whole + fraction flips the parity from column whole + 1 on. The flips are collected per
    // column of the polygon's clipped width and summed along the row, with no sorting.
    int64_t columnFrom = INT64_MAX;
    int64_t columnTo = INT64_MIN;
    for (int i = 0; i < count; ++i) {
        columnFrom = std::min<int64_t>(columnFrom, pairs[2 * i + 1]);
        columnTo = std::max<int64_t>(columnTo, pairs[2 * i + 1]);
    }
    columnFrom = std::max<int64_t>(columnFrom, 0);
    columnTo = std::min<int64_t>(columnTo, width - 1);
    const size_t span = columnFrom <= columnTo ? static_cast<size_t>(columnTo - columnFrom + 1) : 0;
    std::vector<uint32_t> flips(span, 0);  // bit where the parity flips, else 0

    std::vector<Edge*> active;
    size_t nextEdge = 0;
    size_t nextHorizontal = 0;
    for (int64_t row = rowFrom; row <= rowTo; ++row) {
        // Edges reaching this row join, started at it (those from above the mask at once).
        while (nextEdge < edges.size() && edges[nextEdge].top <= row) {
            Edge& edge = edges[nextEdge++];
            if (edge.bottom >= row) {
                edge.StartAt(row);
                active.push_back(&edge);
            }
        }
        uint32_t* cells = mask + row * width;
        auto fill = [&](int64_t from, int64_t to) {
            for (int64_t x = std::max<int64_t>(from, 0); x <= std::min<int64_t>(to, width - 1);
                 ++x) {
                cells[x] |= bit;
            }
        };
        uint32_t inside = 0;  // bit while an odd number of crossings lie left
        int64_t firstFlip = INT64_MAX;
        int64_t lastFlip = INT64_MIN;
        for (Edge* edge : active) {
            if (edge->remainder == 0) {
                fill(edge->whole, edge->whole);  // the outline passes through the pixel
            }
            if (row < edge->bottom) {
                const int64_t flipAt = edge->whole + 1;
                if (flipAt <= columnFrom) {
                    inside ^= bit;
                } else if (flipAt <= columnTo) {
                    flips[static_cast<size_t>(flipAt - columnFrom)] ^= bit;
                    firstFlip = std::min(firstFlip, flipAt);
                    lastFlip = std::max(lastFlip, flipAt);
                }
            }
        }
        if (firstFlip > lastFlip) {
            if (inside != 0) {
                fill(columnFrom, columnTo);
            }
        } else {
            if (inside != 0) {
                fill(columnFrom, firstFlip - 1);
            }
            for (int64_t x = firstFlip; x <= lastFlip; ++x) {
                uint32_t& flip = flips[static_cast<size_t>(x - columnFrom)];
                inside ^= flip;
                flip = 0;
                cells[x] |= inside;
            }
            if (inside != 0) {
                fill(lastFlip + 1, columnTo);
            }
        }
        while (nextHorizontal < horizontals.size() && horizontals[nextHorizontal].row < row) {
            ++nextHorizontal;
        }
        for (size_t h = nextHorizontal; h < horizontals.size() && horizontals[h].row == row; ++h) {
            fill(horizontals[h].from, horizontals[h].to);
        }
        // Edges ending here leave; the others move on to the next row.
        active.erase(std::remove_if(active.begin(), active.end(),
                                    [row](const Edge* edge) { return edge->bottom <= row; }),
                     active.end());
        for (Edge* edge : active) {
            edge->Step();
        }
    }
}

void CoveredSpans(const int32_t* pairs, int count, int width, int height,
                  std::vector<FillSpan>& spans) {
    spans.clear();
    if (pairs == nullptr || count <= 0 || width <= 0 || height <= 0) {
        return;
    }
    std::vector<Edge> edges;
    std::vector<HorizontalEdge> horizontals;  // cover nothing of their own
    int64_t firstRow = 0;
    int64_t lastRow = 0;
    MakeEdges(pairs, count, edges, horizontals, firstRow, lastRow);
    // An edge covers the rows [top, bottom): the last row of the polygon is never covered.
    const int64_t rowFrom = std::max<int64_t>(firstRow, 0);
    const int64_t rowTo = std::min<int64_t>(lastRow - 1, height - 1);
    std::vector<Edge*> active;
    std::vector<int64_t> flips;  // the first covered column right of each crossing
    size_t nextEdge = 0;
    for (int64_t row = rowFrom; row <= rowTo; ++row) {
        while (nextEdge < edges.size() && edges[nextEdge].top <= row) {
            Edge& edge = edges[nextEdge++];
            if (edge.bottom > row) {
                edge.StartAt(row);
                active.push_back(&edge);
            }
        }
        // A crossing at whole + remainder / height flips the inside from the column at or
        // right of it on: a point exactly on an edge is covered where the inside lies right.
        flips.clear();
        for (const Edge* edge : active) {
            flips.push_back(edge->whole + (edge->remainder != 0 ? 1 : 0));
        }
        std::sort(flips.begin(), flips.end());
        for (size_t i = 0; i + 1 < flips.size(); i += 2) {
            const int64_t from = std::max<int64_t>(flips[i], 0);
            const int64_t to = std::min<int64_t>(flips[i + 1], width);
            if (from < to) {
                spans.push_back(
                    FillSpan{static_cast<int>(row), static_cast<int>(from), static_cast<int>(to)});
            }
        }
        active.erase(std::remove_if(active.begin(), active.end(),
                                    [row](const Edge* edge) { return edge->bottom <= row + 1; }),
                     active.end());
        for (Edge* edge : active) {
            edge->Step();
        }
    }
}

}  // namespace zuvo::sector

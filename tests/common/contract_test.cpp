// What the program relies on from the utility library, and nothing beyond it: containers,
// strings, the lock and the line drawing as the family promises them. Built twice, against our
// normal library and against the strict one (libs/ZUVO_Common/strict/, tests named Strict.*),
// so that both are held to the same promise, and a test that passes only with ours shows it
// leans on more than the promise.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <deque>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ZUVO_CommonCore.h"

namespace {

void* Item(intptr_t value) {
    return reinterpret_cast<void*>(value);
}

std::deque<intptr_t> Contents(const CPtrCtrl& list) {
    std::deque<intptr_t> values;
    for (int i = 0; i < list.GetCount(); ++i) {
        values.push_back(reinterpret_cast<intptr_t>(list.GetAt(i)));
    }
    return values;
}

int ZUVO_CALL SameValue(const void* entry, const void* key) {
    return entry == key ? 0 : 1;
}

// Each promised operation, on both kinds of container.
template <typename Container>
void CheckPromisedOperations() {
    Container list;
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetAt(0), nullptr);
    EXPECT_NE(list.AddData(Item(2), -1), -1);
    EXPECT_NE(list.AddData(Item(3), -1), -1);
    EXPECT_NE(list.AddData(Item(1), 0), -1);
    EXPECT_EQ(Contents(list), (std::deque<intptr_t>{1, 2, 3}));
    EXPECT_EQ(list.GetAt(3), nullptr) << "null past the end";

    EXPECT_EQ(list.FindData(Item(3), SameValue), 2);
    EXPECT_NE(list.AddData(Item(3), -1), -1);
    EXPECT_EQ(list.FindData(Item(3), SameValue), 2) << "the first match";
    EXPECT_LT(list.FindData(Item(9), SameValue), 0) << "no index for a missing key";

    list.MoveData(2, 1, 0);
    EXPECT_EQ(Contents(list), (std::deque<intptr_t>{3, 1, 2, 3}));
    EXPECT_EQ(list.RemoveAt(1), Item(1));
    EXPECT_EQ(Contents(list), (std::deque<intptr_t>{3, 2, 3}));

    list.RemoveAll();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetAt(0), nullptr);
    EXPECT_NE(list.AddData(Item(7), 0), -1) << "usable again after RemoveAll";
    EXPECT_EQ(Contents(list), (std::deque<intptr_t>{7}));
}

TEST(PromisedContainers, EachOperationOnListsAndArrays) {
    CheckPromisedOperations<CPtrListCtrl>();
    CheckPromisedOperations<CPtrArrayCtrl>();
}

// Long random runs of exactly the calls the sector view makes (append, insert in front, remove
// at an index, move to the front, find), against a model; sizes cross every growth step.
TEST(PromisedContainers, RandomRunsAgreeWithAModel) {
    std::mt19937 random(20241209);
    for (int run = 0; run < 20; ++run) {
        CPtrArrayCtrl list;
        std::deque<intptr_t> model;
        intptr_t next = 1;
        for (int step = 0; step < 2000; ++step) {
            const int count = static_cast<int>(model.size());
            switch (random() % 6) {
                case 0:
                case 1:
                    ASSERT_NE(list.AddData(Item(next), -1), -1);
                    model.push_back(next++);
                    break;
                case 2:
                    ASSERT_NE(list.AddData(Item(next), 0), -1);
                    model.push_front(next++);
                    break;
                case 3:
                    if (count > 0) {
                        const int at = static_cast<int>(random() % count);
                        ASSERT_EQ(list.RemoveAt(at), Item(model[at]));
                        model.erase(model.begin() + at);
                    }
                    break;
                case 4:
                    if (count > 0) {
                        const int at = static_cast<int>(random() % count);
                        list.MoveData(at, 1, 0);
                        const intptr_t moved = model[at];
                        model.erase(model.begin() + at);
                        model.push_front(moved);
                    }
                    break;
                default:
                    if (count > 0) {
                        const intptr_t key = model[random() % count];
                        const auto first = std::find(model.begin(), model.end(), key);
                        ASSERT_EQ(list.FindData(Item(key), SameValue), first - model.begin());
                    }
                    break;
            }
            ASSERT_EQ(list.GetCount(), static_cast<int>(model.size()));
        }
        EXPECT_EQ(Contents(list), model) << "run " << run;
    }
}

TEST(PromisedStrings, FormatAndAppendFollowPrintf) {
    CBaseStringA text;
    EXPECT_EQ(text.GetLength(), 0);
    text.Format("%d|%5.2f|%-4s|%x|%%", -42, 3.14159, "ab", 255u);
    EXPECT_STREQ(text.GetString(), "-42| 3.14|ab  |ff|%");
    EXPECT_EQ(text.GetLength(), 19);
    text.Format("%s", "new");
    EXPECT_STREQ(text.GetString(), "new") << "Format replaces";
    text.AppendFormat(" %03d", 7);
    text.AppendFormat("%c", '!');
    EXPECT_STREQ(text.GetString(), "new 007!");
    EXPECT_EQ(text.GetLength(), 8);
    text.Format("%s", "");
    EXPECT_STREQ(text.GetString(), "");
    EXPECT_EQ(text.GetLength(), 0);

    // Far beyond any first buffer.
    const std::string longer(5000, 'x');
    text.Format("[%s]", longer.c_str());
    EXPECT_EQ(text.GetLength(), 5002);
    EXPECT_EQ(std::string(text.GetString()), "[" + longer + "]");
}

TEST(PromisedStrings, TheWideStringTakesANarrowFormat) {
    CBaseStringW text;
    EXPECT_EQ(text.GetLength(), 0);
    text.Format("%s %d", "Log", 12);
    EXPECT_STREQ(text.GetString(), L"Log 12");
    text.AppendFormat("-%02d", 3);
    EXPECT_STREQ(text.GetString(), L"Log 12-03");
    EXPECT_EQ(text.GetLength(), 9);
    const std::string longer(3000, 'y');
    text.AppendFormat("%s", longer.c_str());
    EXPECT_EQ(text.GetLength(), 3009);
}

TEST(PromisedLock, KeepsTwoThreadsApart) {
    CBaseLock lock;
    int64_t counter = 0;
    auto work = [&] {
        for (int i = 0; i < 100000; ++i) {
            CAutoBaseLock hold(lock);
            ++counter;
        }
    };
    std::thread other(work);
    work();
    other.join();
    EXPECT_EQ(counter, 200000);
    lock.Lock();  // free again once both are done
    lock.Unlock();
}

// ----- the line drawing -----

constexpr int kWidth = 120;
constexpr int kHeight = 80;
constexpr size_t kGuard = 64;

void* Packed(int32_t x, int32_t y) {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(
        (static_cast<uint64_t>(static_cast<uint32_t>(y)) << 32) | static_cast<uint32_t>(x)));
}

struct Point {
    int x;
    int y;
};

// A buffer with guard bytes on both sides, which the drawing must leave alone.
class Canvas {
public:
    Canvas() : m_bytes(kGuard + kWidth * kHeight + kGuard, 0xA5) {
        std::memset(Bytes(), 0, kWidth * kHeight);
    }
    uint8_t* Bytes() { return m_bytes.data() + kGuard; }
    uint8_t At(int x, int y) const { return m_bytes[kGuard + y * kWidth + x]; }
    bool GuardsIntact() const {
        for (size_t i = 0; i < kGuard; ++i) {
            if (m_bytes[i] != 0xA5 || m_bytes[m_bytes.size() - 1 - i] != 0xA5) {
                return false;
            }
        }
        return true;
    }
    void Draw(const std::vector<Point>& points, double lineWidth, double alpha) {
        CPtrListCtrl list;
        for (const Point& point : points) {
            list.AddData(Packed(point.x, point.y), -1);
        }
        DrawGradualMultiLine(kWidth, kHeight, &list, lineWidth, 0.0, alpha, 0.0, Bytes());
    }

private:
    std::vector<uint8_t> m_bytes;
};

double DistanceToSegment(double x, double y, Point a, Point b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSq = dx * dx + dy * dy;
    const double t =
        lengthSq > 0.0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / lengthSq, 0.0, 1.0) : 0.0;
    return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
}

double DistanceToPolyline(double x, double y, const std::vector<Point>& points) {
    double nearest = DistanceToSegment(x, y, points[0], points[0]);
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        nearest = std::min(nearest, DistanceToSegment(x, y, points[i], points[i + 1]));
    }
    return nearest;
}

TEST(PromisedLine, AStrokeOfTheWidthThroughThePointsInListOrder) {
    // A corner: (10, 10) to (100, 10) to (100, 70). The chord between the ends is no part of it.
    const std::vector<Point> corner{{10, 10}, {100, 10}, {100, 70}};
    Canvas canvas;
    canvas.Draw(corner, 5.0, 1.0);
    for (int x = 14; x <= 96; ++x) {
        EXPECT_GE(canvas.At(x, 10), 200) << "along the first segment at x " << x;
    }
    for (int y = 14; y <= 66; ++y) {
        EXPECT_GE(canvas.At(100, y), 200) << "along the second segment at y " << y;
    }
    EXPECT_EQ(canvas.At(55, 40), 0) << "the chord from the first to the last point";
    EXPECT_EQ(canvas.At(10, 30), 0);
    // The stroke is about as wide as asked: well inside it is drawn, well outside it is not.
    EXPECT_GT(canvas.At(50, 11), 0);
    EXPECT_EQ(canvas.At(50, 16), 0);
    EXPECT_TRUE(canvas.GuardsIntact());
}

TEST(PromisedLine, AlphaScalesTheIntensityAndZeroDrawsNothing) {
    const std::vector<Point> line{{10, 40}, {110, 40}};
    Canvas full;
    full.Draw(line, 6.0, 1.0);
    Canvas half;
    half.Draw(line, 6.0, 0.5);
    Canvas none;
    none.Draw(line, 6.0, 0.0);
    int drawn = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            EXPECT_LE(std::abs(half.At(x, y) - full.At(x, y) / 2.0), 1.0) << x << ", " << y;
            EXPECT_EQ(none.At(x, y), 0);
            drawn += full.At(x, y) > 0 ? 1 : 0;
        }
    }
    EXPECT_GT(drawn, 100 * 5);
    EXPECT_GE(half.At(60, 40), 120);
}

TEST(PromisedLine, OnePointDrawsADotThere) {
    Canvas canvas;
    canvas.Draw({{30, 30}}, 8.0, 1.0);
    EXPECT_GE(canvas.At(30, 30), 200);
    EXPECT_GT(canvas.At(32, 30), 0);
    EXPECT_EQ(canvas.At(40, 30), 0);
    EXPECT_EQ(canvas.At(30, 40), 0);
}

// The sector view clears and blends only the polyline's box grown by half the width and two
// pixels (sectorview/TrackPainter.cpp): no drawing of a line of that width reaches beyond.
// Points also lie outside the buffer, as a track leaving the view does.
TEST(PromisedLine, NothingBeyondTwoPixelsOutsideTheStroke) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> xs(-40, kWidth + 40);
    std::uniform_int_distribution<int> ys(-40, kHeight + 40);
    std::uniform_real_distribution<double> widths(0.5, 14.0);
    for (int run = 0; run < 200; ++run) {
        std::vector<Point> points(1 + random() % 5);
        for (Point& point : points) {
            point = Point{xs(random), ys(random)};
        }
        const double lineWidth = widths(random);
        Canvas canvas;
        canvas.Draw(points, lineWidth, 1.0);
        ASSERT_TRUE(canvas.GuardsIntact()) << "run " << run;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (canvas.At(x, y) != 0) {
                    ASSERT_LE(DistanceToPolyline(x, y, points), lineWidth / 2.0 + 2.0)
                        << "run " << run << " pixel " << x << ", " << y;
                }
            }
        }
    }
}

}  // namespace

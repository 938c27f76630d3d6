// The coloured label on the screen: pictures and colours behind its text, and lines spread
// evenly over its height (found as rows of text pixels in a capture).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "controls/ColorStatic.h"
#include "tests/controls/TestDialog.h"
#include "tests/support/Capture.h"
#include "tests/support/ControlHost.h"

namespace {

using namespace zuvo::test;

constexpr uint32_t kSkin = 0x2A323C;  // RGB (42, 50, 60)
constexpr uint32_t kPurple = 0x780078;

struct InkRows {
    int top;
    int bottom;  // exclusive
};

// Runs of rows that hold at least one pixel unlike the background.
std::vector<InkRows> InkBlocks(const Capture& capture, uint32_t background) {
    std::vector<InkRows> blocks;
    bool inside = false;
    for (int y = 0; y < capture.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < capture.width() && !ink; ++x) {
            ink = capture.At(x, y) != background;
        }
        if (ink && !inside) {
            blocks.push_back(InkRows{y, y + 1});
        } else if (ink) {
            blocks.back().bottom = y + 1;
        }
        inside = ink;
    }
    return blocks;
}

struct InkColumns {
    int left;
    int right;  // exclusive
};

// The columns that hold ink within the rows.
InkColumns Columns(const Capture& capture, const InkRows& rows, uint32_t background) {
    InkColumns columns{capture.width(), 0};
    for (int y = rows.top; y < rows.bottom; ++y) {
        for (int x = 0; x < capture.width(); ++x) {
            if (capture.At(x, y) != background) {
                columns.left = std::min(columns.left, x);
                columns.right = std::max(columns.right, x + 1);
            }
        }
    }
    return columns;
}

class ColourLabel : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(label.SubclassDlgItem(kLabel, dialog.hwnd())); }

    Capture Shown(const wchar_t* artefact = nullptr) {
        Pump(80);
        Capture capture(label.GetSafeHwnd());
        if (artefact != nullptr) {
            capture.Save(artefact);
        }
        return capture;
    }

    TestDialog dialog;
    CColorStatic label;
};

TEST_F(ColourLabel, FourLinesAreSpreadWithEqualGaps) {
    label.SetLabelStyle(nullptr, 12, 0, 0);
    SetWindowTextW(label.GetSafeHwnd(), L"HHHH\r\nHHHH\r\nHHHH\r\nHHHH");
    const Capture capture = Shown(L"label_four_lines");
    const std::vector<InkRows> lines = InkBlocks(capture, kSkin);
    ASSERT_EQ(lines.size(), 4u);
    const int firstGap = lines[1].top - lines[0].bottom;
    EXPECT_GT(firstGap, 4);
    for (size_t index = 1; index < lines.size(); ++index) {
        EXPECT_LE(std::abs((lines[index].top - lines[index - 1].bottom) - firstGap), 1)
            << "gap before line " << index;
        EXPECT_LE(
            std::abs((lines[index].bottom - lines[index].top) - (lines[0].bottom - lines[0].top)),
            1);
    }
    // The lines' boxes sit as far from the top as from the bottom; the ink inside them is
    // shifted by the same amount in every line.
    const int above = lines[0].top;
    const int below = capture.height() - lines[3].bottom;
    EXPECT_GT(above, firstGap / 2);
    EXPECT_GT(below, firstGap / 2);
    EXPECT_LE(std::abs(above - below), firstGap / 2 + 4);
    // Near alignment: every line starts at the left, and all four are the same text (no
    // line shows its line end).
    const InkColumns first = Columns(capture, lines[0], kSkin);
    EXPECT_LT(first.left, capture.width() / 4);
    for (const InkRows& line : lines) {
        const InkColumns columns = Columns(capture, line, kSkin);
        EXPECT_EQ(columns.left, first.left);
        EXPECT_EQ(columns.right, first.right);
    }
}

TEST_F(ColourLabel, OneLineIsCentredVertically) {
    label.SetLabelStyle(nullptr, 12, 0, 1);
    SetWindowTextW(label.GetSafeHwnd(), L"HHHH");
    const Capture capture = Shown();
    const std::vector<InkRows> lines = InkBlocks(capture, kSkin);
    ASSERT_EQ(lines.size(), 1u);
    const int middle = (lines[0].top + lines[0].bottom) / 2;
    EXPECT_LE(std::abs(middle - capture.height() / 2), 4);
}

TEST_F(ColourLabel, TextIsDrawnOverThePicture) {
    const Picture banner = SolidPicture(0xFF000000 | kPurple);
    label.SetLabelStyle(banner.get(), 12, -1, 1);
    EXPECT_EQ(GetWindowTextLengthW(label.GetSafeHwnd()), 0) << "the style empties the text";
    SetWindowTextW(label.GetSafeHwnd(), L"HH");
    const Capture capture = Shown(L"label_picture_text");
    EXPECT_EQ(capture.Count(kSkin), 0) << "no background behind a picture";
    EXPECT_GT(capture.Count(kPurple), capture.width() * capture.height() * 9 / 10);
    EXPECT_GT(capture.Count(0xFFFFFF), 10) << "white text";
    EXPECT_EQ(capture.At(0, 0), kPurple);
}

TEST_F(ColourLabel, AnEmptyTextShowsOnlyTheBackground) {
    label.SetLabelStyle(nullptr, 12, 0, 0);
    const Capture capture = Shown();
    EXPECT_EQ(capture.Count(kSkin), capture.width() * capture.height());
}

TEST_F(ColourLabel, AColourSwatchFollowsItsColourWhenRepainted) {
    const Capture before = Shown();
    const uint32_t face = before.At(before.width() / 2, before.height() / 2);
    label.SetBackColor(RGB(10, 200, 30));
    EXPECT_EQ(Shown().At(5, 5), face) << "the caller repaints";
    InvalidateRect(label.GetSafeHwnd(), nullptr, FALSE);
    const Capture after = Shown();
    EXPECT_EQ(after.Count(0x0AC81E), after.width() * after.height());
}

TEST_F(ColourLabel, PicturesComeFromThePngResources) {
    CColorStatic::SetLabelPicture(label, 505, 10, -1, 1);
    EXPECT_EQ(Shown().Count(kPurple), Shown().width() * Shown().height());
    CColorStatic::SetLabelPicture(label, 506, 10, -1, 1);
    const Capture broken = Shown();
    EXPECT_EQ(broken.Count(kSkin), broken.width() * broken.height())
        << "an undecodable picture leaves the background";

    const Picture banner = SolidPicture(0xFF000000 | kPurple);
    label.SetPicture(banner.get());
    EXPECT_EQ(Shown().At(3, 3), kPurple);
    label.SetPicture(nullptr);
    EXPECT_EQ(Shown().At(3, 3), kSkin);
}

TEST_F(ColourLabel, ChineseTextIsDrawn) {
    label.SetLabelStyle(nullptr, 12, 0, 0);
    SetWindowTextW(label.GetSafeHwnd(), L"\x8DDD\x79BB: 1.2m\r\n\x89D2\x5EA6: 5");
    const std::vector<InkRows> lines = InkBlocks(Shown(L"label_chinese"), kSkin);
    EXPECT_EQ(lines.size(), 2u);
}

// A face that is not installed (on a machine without the project's fonts also without any
// generic sans-serif family) still gives text: the label falls back, never crashes.
TEST_F(ColourLabel, AFaceThatIsNotInstalledStillShowsText) {
    LOGFONTW logical{};
    logical.lfHeight = -16;
    wcscpy_s(logical.lfFaceName, L"No Such Face");
    const zuvo::UniqueFont missing(CreateFontIndirectW(&logical));
    ASSERT_TRUE(missing);
    label.SetBackColor(kPurple);
    SendMessageW(label.GetSafeHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(missing.get()), FALSE);
    SendMessageW(dialog.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(missing.get()), FALSE);
    SetWindowTextW(label.GetSafeHwnd(), L"HIHI 12");
    InvalidateRect(label.GetSafeHwnd(), nullptr, TRUE);
    EXPECT_EQ(InkBlocks(Shown(L"label_missing_face"), kPurple).size(), 1u);
}

}  // namespace

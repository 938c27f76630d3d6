// The over blend, its lookup table, the marker disc and the track fade.
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ReferenceView.h"
#include "sectorview/Argb.h"
#include "sectorview/DiscImage.h"
#include "sectorview/OverBlend.h"
#include "sectorview/TrackList.h"

namespace zuvo::sector {
namespace {

TEST(OverBlend, WorkedChannels) {
    const OverBlendTable& table = OverBlendTable::Instance();
    // Half-transparent red under blue at 128 / 255: A = 1 - (127 / 255)^2.
    EXPECT_EQ(table.Blend(0x80FF0000, 0xFF0000FF, 128), MakeArgb(0xBF, 0x54, 0x00, 0xAA));
    // A track line of intensity 200 over a shaded pixel of alpha 128.
    EXPECT_EQ(table.Blend(0x802A323C, kTrackLineColour, 200), MakeArgb(0xE3, 0xE2, 0xA0, 0xE5));
    // A fresh marker (q = 255 x 167 >> 8 = 166) over an opaque pixel stays opaque.
    EXPECT_EQ(table.Blend(0xFF2A323C, 0xFFFFFFFF, 166), MakeArgb(0xFF, 0xB4, 0xB7, 0xBA));
    // Nothing over nothing stays nothing; a transparent source leaves an opaque pixel; an
    // opaque source replaces.
    EXPECT_EQ(table.Blend(0x00123456, 0xFFFFFFFF, 0), 0u);
    EXPECT_EQ(table.Blend(0xFF123456, 0xFFFFFFFF, 0), 0xFF123456u);
    EXPECT_EQ(table.Blend(0x00123456, 0xFFABCDEF, 255), 0xFFABCDEFu);
}

TEST(OverBlend, TableEqualsTheFormulaForEveryAlphaPair) {
    const OverBlendTable& table = OverBlendTable::Instance();
    std::mt19937 random(7);
    for (uint32_t destinationAlpha = 0; destinationAlpha < 256; ++destinationAlpha) {
        for (uint32_t q = 0; q < 256; ++q) {
            for (int sample = 0; sample < 3; ++sample) {
                const uint32_t d = WithAlpha(static_cast<uint32_t>(random()), destinationAlpha);
                const uint32_t c = static_cast<uint32_t>(random());
                ASSERT_EQ(table.Blend(d, c, q), reference::OverBlend(d, c, q / 255.0))
                    << std::hex << d << " " << c << " " << q;
            }
        }
    }
}

std::string Picture(const DiscImage& image) {
    std::string rows;
    for (int row = 0; row < image.edge; ++row) {
        for (int column = 0; column < image.edge; ++column) {
            rows += image.At(column, row) != 0 ? '#' : '.';
        }
        rows += '\n';
    }
    return rows;
}

TEST(DiscImage, Shapes) {
    EXPECT_EQ(Picture(MakeDisc(0, 0)), "#\n");
    EXPECT_EQ(Picture(MakeDisc(2, 0)),
              "..#..\n"
              ".###.\n"
              "#####\n"
              ".###.\n"
              "..#..\n");
    EXPECT_EQ(Picture(MakeDisc(3, 0)),
              "..###..\n"
              ".#####.\n"
              "#######\n"
              "#######\n"
              "#######\n"
              ".#####.\n"
              "..###..\n");
    DiscImage disc = MakeDisc(3, 0x00123456);
    EXPECT_EQ(disc.At(3, 3), 0xFF123456u);  // alpha forced to 0xFF
    EXPECT_EQ(disc.At(0, 0), 0u);           // fully transparent outside
    EXPECT_EQ(disc.rows[0].first, 2);       // what drawing visits
    EXPECT_EQ(disc.rows[0].last, 4);
    EXPECT_EQ(disc.rows[3].first, 0);
    EXPECT_TRUE(disc.solid);
    disc.pixels[0] = 0xFFFFFFFFu;  // a label pixel in a corner
    disc.pixels[3 * 7 + 3] = 0xFF000000u;
    disc.FindRowSpans();
    EXPECT_EQ(disc.rows[0].first, 0);
    EXPECT_FALSE(disc.solid);
    EXPECT_EQ(MakeDisc(-4, 0).edge, 1);
}

TEST(TrackFade, FallsLinearlyOverTheDisplayTime) {
    EXPECT_EQ(TrackFade(1000, 1000, 2000), 223u);      // fresh
    EXPECT_EQ(TrackFade(1500, 1000, 2000), 167u);      // 500 ms old: 1500 x 223 / 2000
    EXPECT_EQ(TrackFade(2999, 1000, 2000), 0u);        // 1999 ms old
    EXPECT_EQ(TrackFade(3000, 1000, 2000), 223u);      // at the display time: full again
    EXPECT_EQ(TrackFade(5, 0xFFFFFFF0u, 2000), 220u);  // 21 ms old across the wrap
    EXPECT_EQ(TrackFade(7, 7, 0), 223u);               // no display time
    EXPECT_EQ(TrackFade(1, 0, 4000000000u), 222u);     // no overflow with a huge display time
}

}  // namespace
}  // namespace zuvo::sector

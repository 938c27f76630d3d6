// The balloon's timing on a test clock, its layout from measured sizes and the shape runs of
// its picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/BalloonLayout.h"
#include "controls/ShapeRuns.h"
#include "tests/controls/BalloonClock.h"

namespace {

using namespace zuvo::controls;
using balloon_test::ClockedBalloon;

std::vector<int> Ids(const std::vector<BalloonMessage>& messages) {
    std::vector<int> ids;
    for (const BalloonMessage& message : messages) {
        ids.push_back(message.id);
    }
    return ids;
}

TEST(BalloonTiming, AMessageStaysFiveSecondsThenFadesInFifteenSteps) {
    ClockedBalloon balloon;
    balloon.state.ShowMessage(L"Input Error", L"Invalid character 'x'", 3, 1);
    EXPECT_TRUE(balloon.host.visible);
    EXPECT_EQ(balloon.host.alphas, std::vector<int>{255});
    EXPECT_TRUE(balloon.host.Running(kExpiryTimer));

    balloon.host.Advance(4999);
    EXPECT_EQ(balloon.state.LiveMessages().size(), 1u);
    EXPECT_FALSE(balloon.host.Running(kFadeTimer));
    balloon.host.Advance(1);
    EXPECT_TRUE(balloon.state.LiveMessages().empty());
    EXPECT_FALSE(balloon.host.Running(kExpiryTimer));
    EXPECT_TRUE(balloon.host.Running(kFadeTimer));
    EXPECT_TRUE(balloon.host.relayoutTimes.empty()) << "the last picture stays while it fades";
    EXPECT_EQ(balloon.state.AllMessages().size(), 1u) << "expired, not yet dropped";

    balloon.host.Advance(1499);
    EXPECT_TRUE(balloon.host.visible);
    balloon.host.Advance(1);
    EXPECT_FALSE(balloon.host.visible);
    EXPECT_EQ(balloon.host.hideTimes, std::vector<uint32_t>{6500});
    std::vector<int> fade{255};
    for (int alpha = 238; alpha > 0; alpha -= 17) {
        fade.push_back(alpha);
    }
    EXPECT_EQ(balloon.host.alphas, fade) << "14 visible steps, the 15th hides";
    EXPECT_TRUE(balloon.state.AllMessages().empty());
    EXPECT_FALSE(balloon.host.Running(kFadeTimer));
}

TEST(BalloonTiming, NewerMessagesStackOnTopAndRenewingMovesOneUp) {
    ClockedBalloon balloon;
    balloon.state.ShowMessage(L"Data Invalid", L"MinValue Must >= 1", 3, 13);
    balloon.host.Advance(1000);
    balloon.state.ShowMessage(L"Data Invalid", L"MaxValue Suggest <= 20", 2, 12);
    EXPECT_EQ(Ids(balloon.state.LiveMessages()), (std::vector<int>{12, 13}));

    balloon.host.Advance(1000);
    balloon.state.ShowMessage(L"Data Invalid", L"MinValue Must >= 2", 2, 13);
    const std::vector<BalloonMessage> live = balloon.state.LiveMessages();
    ASSERT_EQ(Ids(live), (std::vector<int>{13, 12}));
    EXPECT_EQ(live[0].text, L"MinValue Must >= 2") << "a renewed message shows the new text";
    EXPECT_EQ(live[0].icon, 2);
    EXPECT_EQ(live[0].remaining, kDisplayTimeMs);
    EXPECT_EQ(live[1].remaining, 4000u);

    // Id 12 runs out first: the balloon shrinks to id 13 at that tick.
    balloon.host.Advance(4000);
    EXPECT_EQ(balloon.host.relayoutTimes, std::vector<uint32_t>{6000});
    EXPECT_EQ(Ids(balloon.state.LiveMessages()), std::vector<int>{13});
    EXPECT_FALSE(balloon.host.Running(kFadeTimer));
    balloon.host.Advance(1000);
    EXPECT_TRUE(balloon.host.Running(kFadeTimer));
}

TEST(BalloonTiming, MessagesWithoutIdMatchByTitleAndText) {
    ClockedBalloon balloon;
    balloon.state.ShowMessage(L"Tip", L"one", 1, -1);
    balloon.state.ShowMessage(L"Tip", L"two", 1, -1);
    balloon.state.ShowMessage(L"Tip", L"one", 3, -1);
    const std::vector<BalloonMessage> live = balloon.state.LiveMessages();
    ASSERT_EQ(live.size(), 2u);
    EXPECT_EQ(live[0].text, L"one");
    EXPECT_EQ(live[0].icon, 3);
    EXPECT_EQ(live[1].text, L"two");
}

TEST(BalloonTiming, PointingHoldsTheBalloonAndLeavingGivesTwoMoreSeconds) {
    ClockedBalloon balloon;
    balloon.state.ShowMessage(L"Input Error", L"Invalid character '.'", 3, 1);
    balloon.host.Advance(5300);  // fading, three steps down
    ASSERT_EQ(balloon.host.alphas.back(), 255 - 3 * 17);

    balloon.state.OnPointerMove(false);
    EXPECT_EQ(balloon.host.alphas.back(), 255) << "opaque at once";
    EXPECT_FALSE(balloon.host.Running(kFadeTimer));
    EXPECT_FALSE(balloon.host.Running(kExpiryTimer));
    balloon.host.Advance(60000);
    EXPECT_TRUE(balloon.host.visible) << "held while the pointer is on it";

    balloon.state.OnPointerLeave();
    EXPECT_EQ(balloon.state.LiveMessages().size(), 1u) << "the expired message is shown again";
    balloon.host.Advance(1999);
    EXPECT_FALSE(balloon.host.Running(kFadeTimer));
    balloon.host.Advance(1);
    EXPECT_TRUE(balloon.host.Running(kFadeTimer));
    balloon.host.Advance(1500);
    EXPECT_FALSE(balloon.host.visible);

    // Leaving without having entered changes nothing.
    balloon.state.ShowMessage(L"A", L"B", 1, 2);
    balloon.state.OnPointerLeave();
    EXPECT_EQ(balloon.state.LiveMessages()[0].remaining, kDisplayTimeMs);
}

TEST(BalloonTiming, MessagesWithMoreThanTheGraceKeepTheirTime) {
    ClockedBalloon balloon;
    balloon.state.ShowMessage(L"A", L"long", 1, 1);
    balloon.host.Advance(1000);
    balloon.state.OnPointerMove(false);
    balloon.host.Advance(10000);
    balloon.state.OnPointerLeave();
    EXPECT_EQ(balloon.state.LiveMessages()[0].remaining, 4000u) << "frozen while held";
}

TEST(BalloonTiming, TheCloseButtonHidesAtOnceAndForgetsEverything) {
    ClockedBalloon balloon;
    balloon.state.ShowMessage(L"A", L"first", 1, 1);
    balloon.state.ShowMessage(L"A", L"second", 1, 2);
    EXPECT_TRUE(balloon.state.OnPointerMove(true)) << "the close button lights up";
    EXPECT_FALSE(balloon.state.OnPointerMove(true));
    balloon.state.OnCloseClicked();
    EXPECT_FALSE(balloon.host.visible);
    EXPECT_TRUE(balloon.state.AllMessages().empty());
    EXPECT_FALSE(balloon.host.Running(kExpiryTimer));
    balloon.state.OnPointerLeave();  // the leave notification that follows the hiding
    EXPECT_FALSE(balloon.host.Running(kExpiryTimer));

    balloon.state.ShowMessage(L"A", L"third", 1, 3);
    EXPECT_EQ(Ids(balloon.state.AllMessages()), std::vector<int>{3}) << "a fresh list";
    EXPECT_FALSE(balloon.state.CloseHot());
}

TEST(BalloonTiming, AHiddenOwnerDropsTheMessages) {
    ClockedBalloon balloon;
    balloon.state.ShowMessage(L"A", L"B", 3, 1);
    balloon.host.Advance(5200);
    balloon.state.OnOwnerHidden();
    EXPECT_TRUE(balloon.state.AllMessages().empty());
    EXPECT_FALSE(balloon.host.Running(kExpiryTimer));
    EXPECT_FALSE(balloon.host.Running(kFadeTimer));
}

TEST(BalloonLayout, MessagesStackUnderTheTailWithTheCloseButtonTopRight) {
    const BalloonGeometry empty = LayOutBalloon({});
    EXPECT_EQ(empty.width, 40);
    EXPECT_EQ(empty.height, 38);
    EXPECT_EQ(empty.close.left, 10);
    EXPECT_EQ(empty.close.top, 32);
    EXPECT_EQ(empty.close.right, 30);
    EXPECT_EQ(empty.close.bottom, 52);

    const BalloonGeometry two = LayOutBalloon({{80, 20, 120, 16}, {10, 10, 11, 10}});
    ASSERT_EQ(two.messages.size(), 2u);
    const MessageBoxes& first = two.messages[0];
    EXPECT_EQ(
        (std::vector<int>{first.icon.left, first.icon.top, first.icon.right, first.icon.bottom}),
        (std::vector<int>{14, 32, 44, 62}));
    EXPECT_EQ((std::vector<int>{first.title.left, first.title.top, first.title.right,
                                first.title.bottom}),
              (std::vector<int>{54, 32, 136, 54}));
    EXPECT_EQ(
        (std::vector<int>{first.text.left, first.text.top, first.text.right, first.text.bottom}),
        (std::vector<int>{54, 56, 176, 74}));
    // The second starts 8 below the first's lowest box; its icon is its tallest part.
    const MessageBoxes& second = two.messages[1];
    EXPECT_EQ(second.icon.top, 82);
    EXPECT_EQ(second.text.bottom, 82 + 12 + 2 + 12);
    EXPECT_EQ(two.height, 82 + 30 + 8 + 6);
    EXPECT_EQ(two.width, 216);
    EXPECT_EQ(two.close.left, 186);
    EXPECT_EQ(two.close.right, 206);

    EXPECT_EQ(LayOutBalloon({{81, 20, 0, 16}}).width, 180) << "137 + 40 raised to 180";
}

// Rows of a picture: 'K' key colour, 'o' anything else.
std::vector<uint32_t> Picture(const std::vector<const char*>& rows, uint32_t other) {
    std::vector<uint32_t> pixels;
    for (const char* row : rows) {
        for (const char* cell = row; *cell != 0; ++cell) {
            pixels.push_back(*cell == 'K' ? 0x00FF0000u : other);
        }
    }
    return pixels;
}

TEST(ShapeRuns, RunsOfUnkeyedPixelsBecomeRowRectangles) {
    const std::vector<uint32_t> pixels = Picture({"KooKo", "KKKKK", "ooooo"}, 0x00FFFFFF);
    const std::vector<ZRect> runs = ShapeRuns(pixels.data(), 5, 3, 5);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ((std::vector<int>{runs[0].left, runs[0].top, runs[0].right, runs[0].bottom}),
              (std::vector<int>{1, 0, 3, 1}));
    EXPECT_EQ((std::vector<int>{runs[1].left, runs[1].right}), (std::vector<int>{4, 5}));
    EXPECT_EQ((std::vector<int>{runs[2].left, runs[2].top, runs[2].right}),
              (std::vector<int>{0, 2, 5}));

    // Only the first width pixels of each stride count.
    EXPECT_EQ(ShapeRuns(pixels.data(), 3, 1, 5).size(), 1u);
    EXPECT_TRUE(ShapeRuns(nullptr, 5, 3, 5).empty());
    EXPECT_TRUE(ShapeRuns(pixels.data(), 5, 3, 4).empty());
}

TEST(ShapeRuns, NearlyPureRedCountsAsKey) {
    EXPECT_TRUE(IsKeyColoured(0x00FF1010));
    EXPECT_TRUE(IsKeyColoured(0xFFFF0000)) << "alpha does not matter";
    EXPECT_FALSE(IsKeyColoured(0x00FF1100));
    EXPECT_FALSE(IsKeyColoured(0x00FF0011));
    EXPECT_FALSE(IsKeyColoured(0x00FE0000));
}

}  // namespace

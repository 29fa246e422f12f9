#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "platform/Twips.h"

namespace {

// The test screen is the offscreen one, at the customary 96 logical dpi.
TEST(Twips, OffscreenScreenIs96Dpi) {
    ASSERT_NE(QGuiApplication::primaryScreen(), nullptr);
    EXPECT_DOUBLE_EQ(QGuiApplication::primaryScreen()->logicalDotsPerInchY(), 96.0);
}

// 1440 twips per logical inch: 15 twips per pixel at 96 dpi, on both axes.
TEST(Twips, FifteenTwipsPerPixelAt96Dpi) {
    EXPECT_DOUBLE_EQ(platform::twipsPerPixelX(), 15.0);
    EXPECT_DOUBLE_EQ(platform::twipsPerPixelY(), 15.0);
    EXPECT_DOUBLE_EQ(platform::twipsPerPixelY(QGuiApplication::primaryScreen()), 15.0);
}

// Conversions follow the screen's ratio and round to whole pixels or twips.
TEST(Twips, ConversionsRoundToWholeUnits) {
    EXPECT_EQ(platform::twipsToPixelsY(780), 52);  // the band above the tiled host
    EXPECT_EQ(platform::twipsToPixelsX(11685), 779);
    EXPECT_EQ(platform::twipsToPixelsY(900), 60);
    EXPECT_EQ(platform::twipsToPixelsY(22), 1);  // 1.47 pixels
    EXPECT_EQ(platform::twipsToPixelsY(23), 2);  // 1.53 pixels
    EXPECT_EQ(platform::pixelsToTwipsY(52), 780);
    EXPECT_EQ(platform::pixelsToTwipsX(779), 11685);
    for (int px : {0, 1, 7, 326, 1024})
        EXPECT_EQ(platform::twipsToPixelsX(platform::pixelsToTwipsX(px)), px) << px;
}

}  // namespace

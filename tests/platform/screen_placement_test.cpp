// Saved window positions are brought back onto a screen.
#include <gtest/gtest.h>

#include "platform/ScreenPlacement.h"

using platform::keptOnScreen;

namespace {

// Two screens side by side; the left one has a 30-pixel bar at its top.
const QList<QRect> kScreens{QRect(0, 30, 1280, 994), QRect(1280, 0, 1024, 768)};

}  // namespace

// A frame whose title bar lies above the screen comes down to its top; one
// that overlaps a screen otherwise keeps its place, even partly off it.
TEST(ScreenPlacement, TitleBarStaysOnTheScreen) {
    EXPECT_EQ(keptOnScreen(QRect(100, -40, 779, 60), kScreens), QPoint(100, 30));
    EXPECT_EQ(keptOnScreen(QRect(1500, -20, 779, 60), kScreens), QPoint(1500, 0));
    EXPECT_EQ(keptOnScreen(QRect(200, 100, 779, 60), kScreens), QPoint(200, 100));
    EXPECT_EQ(keptOnScreen(QRect(1000, 500, 779, 60), kScreens), QPoint(1000, 500));
    EXPECT_EQ(keptOnScreen(QRect(-300, 500, 779, 60), kScreens), QPoint(-300, 500));
}

// A frame off every screen comes onto the nearest one, whole when it fits.
TEST(ScreenPlacement, OffEveryScreenComesToTheNearest) {
    EXPECT_EQ(keptOnScreen(QRect(-2000, 400, 779, 60), kScreens), QPoint(0, 400));
    EXPECT_EQ(keptOnScreen(QRect(5000, 5000, 779, 60), kScreens), QPoint(2304 - 779, 768 - 60));
    EXPECT_EQ(keptOnScreen(QRect(300, 3000, 779, 60), kScreens), QPoint(300, 1024 - 60));
    // Wider than the screen: its left edge on the screen's.
    EXPECT_EQ(keptOnScreen(QRect(9000, 100, 3000, 60), kScreens), QPoint(1280, 100));
    EXPECT_EQ(keptOnScreen(QRect(9000, 100, 30, 60), {}), QPoint(9000, 100));
}

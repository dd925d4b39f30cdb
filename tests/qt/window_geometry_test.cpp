// Where the main window reopens: a remembered rectangle, kept on the screen.
#include "window_geometry.h"

#include <gtest/gtest.h>

namespace {

const QRect kScreen(0, 0, 1600, 1000);

TEST(WindowGeometry, ARectangleOnTheScreenIsKept) {
  EXPECT_EQ(fitOnScreen(QRect(100, 50, 1280, 760), kScreen), QRect(100, 50, 1280, 760));
  EXPECT_EQ(fitOnScreen(kScreen, kScreen), kScreen);
}

TEST(WindowGeometry, NeverLargerThanTheScreen) {
  // Saved on a larger display, reopened on this one.
  EXPECT_EQ(fitOnScreen(QRect(0, 0, 2560, 1440), kScreen), kScreen);
  EXPECT_EQ(fitOnScreen(QRect(300, 200, 1800, 900), kScreen), QRect(0, 100, 1600, 900));
}

TEST(WindowGeometry, MovedBackWhenOffTheScreen) {
  EXPECT_EQ(fitOnScreen(QRect(1500, 900, 800, 600), kScreen), QRect(800, 400, 800, 600));
  EXPECT_EQ(fitOnScreen(QRect(-3000, -50, 800, 600), kScreen), QRect(0, 0, 800, 600));
  // A screen that does not start at the origin (a second monitor, a panel on top).
  EXPECT_EQ(fitOnScreen(QRect(0, 0, 800, 600), QRect(1600, 30, 1280, 994)), QRect(1600, 30, 800, 600));
}

}  // namespace

// Where the main window reopens: a remembered rectangle, kept on the screen.
#include "window_geometry.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>

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

namespace {

// A real window under the offscreen platform (one screen, smaller than 2560 × 1440).
TEST(WindowGeometry, TheWindowReopensAsItWasLastClosed) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "window_geometry_test";
  static char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  QTemporaryDir dir;
  QSettings settings(dir.filePath("distrato.conf"), QSettings::IniFormat);

  QMainWindow first;
  showAtSavedGeometry(first, settings);  // nothing remembered yet
  EXPECT_TRUE(first.isMaximized());
  first.showNormal();
  first.setGeometry(100, 80, 500, 400);
  saveGeometryOf(first, settings);

  QMainWindow second;
  showAtSavedGeometry(second, settings);
  EXPECT_FALSE(second.isMaximized());
  EXPECT_EQ(second.geometry(), QRect(100, 80, 500, 400));
  second.showMaximized();
  saveGeometryOf(second, settings);

  QMainWindow third;
  showAtSavedGeometry(third, settings);
  EXPECT_TRUE(third.isMaximized());

  // Remembered from a larger display: brought within this one, frame included.
  settings.setValue("mainWindow/geometry", QRect(200, 100, 2560, 1440));
  settings.setValue("mainWindow/maximized", false);
  QMainWindow fourth;
  showAtSavedGeometry(fourth, settings);
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(screen.contains(fourth.frameGeometry()))
      << fourth.frameGeometry().width() << "x" << fourth.frameGeometry().height();
  EXPECT_GE(fourth.width(), screen.width() - 10);
}

}  // namespace

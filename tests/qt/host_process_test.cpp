// The host program as a user starts it: options in, exit code and files out.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <utility>

#include "test_server.h"

namespace {

struct HostRun {
  int exitCode = -1;
  bool crashed = false;
  QString errors;
};

// The offscreen platform with one display of an office monitor's size (its
// own default is 800 × 800, narrower than the module's screen).
QString largeDisplayPlatform() {
  static QTemporaryDir dir;
  const QString path = dir.filePath("display.json");
  if (!QFile::exists(path)) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
      f.write(R"({"windowFrameMargins": false, "screens": [{"name": "monitor", "x": 0, "y": 0,
                 "width": 1600, "height": 1000, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    }
  }
  return QStringLiteral("offscreen:configfile=") + path;
}

HostRun runHost(const QStringList& args, const QString& marker = {}, const QString& password = {}) {
  QProcess p;
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", largeDisplayPlatform());
  if (!marker.isEmpty()) env.insert("DX_TEST_MARKER", marker);
  if (!password.isEmpty()) env.insert("DX_PASSWORD", password);
  p.setProcessEnvironment(env);
  p.start(DX_HOST_EXE, args);
  HostRun r;
  if (!p.waitForFinished(60000)) {
    p.kill();
    p.waitForFinished();
    r.errors = "did not finish";
    return r;
  }
  r.crashed = p.exitStatus() != QProcess::NormalExit;
  r.exitCode = p.exitCode();
  r.errors = QString::fromLocal8Bit(p.readAllStandardError());
  return r;
}

}  // namespace

TEST(HostProcess, MissingModuleIsReportedAndFailsTheScreenshot) {
  QTemporaryDir dir;
  const QString png = dir.filePath("out.png");
  const HostRun r = runHost({"--screenshot", png, "--module", "/nonexistent.so"});
  EXPECT_FALSE(r.crashed);
  EXPECT_NE(r.exitCode, 0);
  EXPECT_TRUE(r.errors.contains("Não foi possível carregar o módulo /nonexistent.so")) << r.errors.toStdString();
  EXPECT_FALSE(QFile::exists(png));
}

// Nobody could answer the message of a refused login: the picture ends at
// once with the server's reason, whether the operator is unknown or the
// password wrong.
TEST(HostProcess, ARefusedLoginEndsAPictureWithTheServersMessage) {
  dx_test::DemoServer server;
  for (const auto& [operatorCode, password] : {std::pair{"DEMO", "DISTRATO"}, std::pair{"SUPERVISOR", "errada"}}) {
    QTemporaryDir dir;
    const QString png = dir.filePath("out.png");
    const HostRun r = runHost({"--screenshot", png, "--module", DX_FORM_MODULE, "--server",
                               QString::fromStdString(server.address()), "--operator", operatorCode},
                              {}, password);
    EXPECT_FALSE(r.crashed) << operatorCode;
    EXPECT_EQ(r.exitCode, 2) << operatorCode << ": " << r.errors.toStdString();
    EXPECT_TRUE(r.errors.contains("Operador ou senha inválidos.")) << r.errors.toStdString();
    EXPECT_FALSE(QFile::exists(png));
  }
}

// An accepted login still gets its picture.
TEST(HostProcess, AnAcceptedLoginTakesThePicture) {
  dx_test::DemoServer server;
  QTemporaryDir dir;
  const QString png = dir.filePath("out.png");
  const HostRun r = runHost({"--screenshot", png, "--module", DX_FORM_MODULE, "--server",
                             QString::fromStdString(server.address()), "--operator", "SUPERVISOR"},
                            {}, "DISTRATO");
  EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
  EXPECT_TRUE(QFile::exists(png));
}

TEST(HostProcess, LibraryWithoutEntryIsReported) {
  QTemporaryDir dir;
  const HostRun r = runHost({"--screenshot", dir.filePath("out.png"), "--module", DX_NO_ENTRY_MODULE});
  EXPECT_FALSE(r.crashed);
  EXPECT_NE(r.exitCode, 0);
  EXPECT_TRUE(r.errors.contains("Não foi possível carregar o módulo")) << r.errors.toStdString();
  EXPECT_TRUE(r.errors.contains("IniProc")) << r.errors.toStdString();
}

TEST(HostProcess, ScreenshotCallsTheEntryAndSavesAPicture) {
  QTemporaryDir dir;
  const QString png = dir.filePath("out.png");
  const QString marker = dir.filePath("marker");
  const HostRun r = runHost({"--screenshot", png, "--module", DX_FAKE_MODULE, "--branch", "0001",
                         "--branch-name", "Matriz"},
                        marker);
  EXPECT_FALSE(r.crashed);
  EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
  QFile called(marker);
  ASSERT_TRUE(called.open(QIODevice::ReadOnly));
  EXPECT_EQ(called.readAll(), "IniProc\n");
  const QImage picture(png);
  EXPECT_FALSE(picture.isNull());
  EXPECT_GE(picture.width(), 1068);
  // The main window opens maximised: as large as the display, no larger.
  EXPECT_EQ(picture.size(), QSize(1600, 1000));
}

TEST(HostProcess, TheModulesScreenAppearsInTheMainWindow) {
  QTemporaryDir dir;
  const QString png = dir.filePath("screen.png");
  const HostRun r = runHost({"--screenshot", png, "--module", DX_FORM_MODULE});
  ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
  const QImage picture(png);
  ASSERT_FALSE(picture.isNull());
  // The form's panel is tool-tip yellow: it is there only if the module's
  // form reached the host's renderer.
  int yellow = 0;
  for (int y = 0; y < picture.height(); y += 4)
    for (int x = 0; x < picture.width(); x += 4)
      if (QColor(picture.pixel(x, y)) == QColor(0xFF, 0xFF, 0xE1)) ++yellow;
  EXPECT_GT(yellow, 1000);
}

TEST(HostProcess, BadOptionsExitWithAMessage) {
  const HostRun r = runHost({"--date", "99/99/9999"});
  EXPECT_FALSE(r.crashed);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.errors.contains("99/99/9999"));
}

// Asking for help or the version must work on a machine with no display:
// the xcb platform with nothing to connect to aborts any QApplication.
TEST(HostProcess, HelpAndVersionNeedNoDisplay) {
  for (const char* option : {"--help", "--version"}) {
    QProcess p;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    p.setProcessEnvironment(env);
    p.start(DX_HOST_EXE, {option});
    ASSERT_TRUE(p.waitForFinished(60000)) << option;
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << option;
    EXPECT_EQ(p.exitCode(), 0) << option;
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
    if (QString(option) == "--help")
      EXPECT_TRUE(out.contains("Usage: distrato") && out.contains("--server")) << out.toStdString();
    else
      EXPECT_EQ(out, QStringLiteral("distrato " DX_VERSION "\n"));
  }
}

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

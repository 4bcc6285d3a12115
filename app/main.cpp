#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QToolTip>
#include <cstdio>
#include <cstdlib>

#include "app/frmMainUnit.h"
#include "core/paths.h"

namespace {

bool HasDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform) return true;
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "Lumarin: 没有可用的图形显示（DISPLAY 未设置），无法打开窗口。\n"
                 "Lumarin: no graphical display is available (DISPLAY is not set).\n"
                 "在终端中可使用命令行版本：build/bin/lumarin-cli --help\n");
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Lumarin3.0"));
  QApplication::setApplicationDisplayName(QString());
  // A CJK font at 13 px stands in for the Windows 宋体.
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(13);
  QApplication::setFont(font);
  app.setProperty("toolTipWakeUpDelay", 500);

  TfrmMain window(DefaultErrorLogPath(), DefaultDatabasePath());
  window.show();
  return app.exec();
}

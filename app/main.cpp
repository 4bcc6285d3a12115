#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/app_setup.h"
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
  SetUpApplication(app);

  TfrmMain window(DefaultErrorLogPath(), DefaultDatabasePath());
  window.show();
  return app.exec();
}

#include <QTest>
#include "gui_support.h"
class TestMainWindow : public QObject {
  Q_OBJECT
 private slots:
  void opens() { TestWindow w; QCOMPARE(w.window->windowTitle(), QStringLiteral("Lumarin V3.0")); }
};
LUMARIN_GUI_TEST_MAIN(TestMainWindow)
#include "test_main_window.moc"

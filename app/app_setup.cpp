#include "app/app_setup.h"

#include <QApplication>
#include <QFont>
#include <QProxyStyle>

namespace {

class LumarinStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == QStyle::SH_ToolTip_WakeUpDelay) return 500;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

}  // namespace

void SetUpApplication(QApplication& app) {
  QApplication::setApplicationName(QStringLiteral("Lumarin3.0"));
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(13);
  QApplication::setFont(font);
  app.setStyle(new LumarinStyle);
}

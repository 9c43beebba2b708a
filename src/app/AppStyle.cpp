#include "app/AppStyle.h"

#include <QProxyStyle>

namespace app {

namespace {

constexpr int kHintPauseMs = 300;

class AppStyle : public QProxyStyle {
public:
    AppStyle() : QProxyStyle(QStringLiteral("Fusion")) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay) return kHintPauseMs;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

QStyle* CreateAppStyle() {
    return new AppStyle;
}

}  // namespace app

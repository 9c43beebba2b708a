#include "app/HintWrap.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QStringList>
#include <QTextDocument>
#include <QToolTip>

namespace app {

namespace {

bool IsSeparator(QChar c) {
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

// Breaks one line of text; a space at a break is dropped, a separator stays
// at the end of its line.
void BreakLine(QString line, QStringList& lines) {
    while (line.size() > kHintLineChars) {
        int cut = kHintLineChars;
        int skip = 0;
        for (int i = kHintLineChars; i > 0; --i) {
            if (line[i] == QLatin1Char(' ')) {
                cut = i;
                skip = 1;
                break;
            }
            if (IsSeparator(line[i - 1])) {
                cut = i;
                break;
            }
        }
        lines << line.left(cut);
        line = line.mid(cut + skip);
    }
    lines << line;
}

// The hint a help event over 'widget' would show, and the area it belongs
// to: a list row's, a menu item's or the widget's own.
struct Hint {
    QString text;
    QRect area;
};

Hint HintAt(QWidget& widget, QPoint position) {
    if (auto* view = qobject_cast<QAbstractItemView*>(widget.parentWidget());
        view != nullptr && view->viewport() == &widget) {
        const QModelIndex index = view->indexAt(position);
        return {index.data(Qt::ToolTipRole).toString(), view->visualRect(index)};
    }
    if (auto* menu = qobject_cast<QMenu*>(&widget)) {
        QAction* action = menu->actionAt(position);
        if (action == nullptr || !menu->toolTipsVisible()) return {};
        return {action->toolTip(), menu->actionGeometry(action)};
    }
    return {widget.toolTip(), QRect()};
}

class HintWrapper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
        auto& widget = static_cast<QWidget&>(*watched);
        const auto& help = static_cast<const QHelpEvent&>(*event);
        const Hint hint = HintAt(widget, help.pos());
        const QString wrapped = WrappedHint(hint.text);
        // Short hints take Qt's own way, which also hides a hint no longer wanted.
        if (wrapped == hint.text) return false;
        QToolTip::showText(help.globalPos(), wrapped, &widget, hint.area, widget.toolTipDuration());
        return true;
    }
};

}  // namespace

QString WrappedHint(const QString& hint) {
    if (hint.size() <= kHintLineChars || Qt::mightBeRichText(hint)) return hint;
    QStringList lines;
    for (const QString& line : hint.split(QLatin1Char('\n'))) BreakLine(line, lines);
    return lines.join(QLatin1Char('\n'));
}

void WrapLongHints(QApplication& application) {
    application.installEventFilter(new HintWrapper(&application));
}

}  // namespace app

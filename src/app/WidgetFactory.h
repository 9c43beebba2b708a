// Small makers for the controls of the window's pages: every control gets
// the object name it is known by, and a tool tip where one helps.
#pragma once

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace app {

template <class Widget>
Widget* Named(Widget* widget, const char* name, const QString& hint = QString()) {
    widget->setObjectName(QLatin1String(name));
    if (!hint.isEmpty()) widget->setToolTip(hint);
    return widget;
}

inline QPushButton* Button(const char* name, const QString& text, const QString& hint = QString()) {
    return Named(new QPushButton(text), name, hint);
}

inline QToolButton* ArrowButton(const char* name, QStyle::StandardPixmap arrow,
                                const QString& hint) {
    auto* button = Named(new QToolButton, name, hint);
    button->setIcon(QApplication::style()->standardIcon(arrow));
    button->setAutoRaise(false);
    return button;
}

inline QLabel* Label(const char* name, const QString& text) {
    return Named(new QLabel(text), name);
}

inline QAction* MenuItem(QMenu* menu, const char* name, const QString& text,
                         const QKeySequence& shortcut = QKeySequence()) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    return action;
}

}  // namespace app

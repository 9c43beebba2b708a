#include "app/ProportionalFrame.h"

#include <QResizeEvent>
#include <QTimer>

#include <algorithm>

namespace app {

ProportionalFrame::ProportionalFrame(int designWidth, int designHeight, QWidget* parent)
    : QFrame(parent), design_(designWidth, designHeight) {
    setMinimumSize(design_);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

QSize ProportionalFrame::sizeHint() const {
    return design_ * 3 / 2;
}

int ProportionalFrame::heightForWidth(int width) const {
    return width * design_.height() / design_.width();
}

void ProportionalFrame::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    // Layouts inside stacked pages do not ask for the height that suits a
    // width, so the panel asks for it itself, once the running layout pass
    // is over (a request made during the pass would be lost).
    const int wanted = std::max(design_.height(), heightForWidth(event->size().width()));
    if (height() != wanted) {
        QTimer::singleShot(0, this, [this] {
            const int height = std::max(design_.height(), heightForWidth(width()));
            if (minimumHeight() != height || maximumHeight() != height) setFixedHeight(height);
        });
        return;
    }
    emit Resized();
}

}  // namespace app

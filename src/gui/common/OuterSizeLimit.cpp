#include "gui/common/OuterSizeLimit.h"

#include <QEvent>
#include <QMargins>
#include <QWidget>
#include <QWindow>

namespace losfix {

OuterSizeLimit::OuterSizeLimit(QWidget* window, QSize outer)
    : QObject(window), window_(window), outer_(outer) {
    window_->setMaximumSize(outer_);
    window_->installEventFilter(this);
}

bool OuterSizeLimit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        switch (event->type()) {
            case QEvent::Show:
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::WindowStateChange:
                fit();
                break;
            default:
                break;
        }
    }
    return false;
}

void OuterSizeLimit::fit() {
    const QWindow* handle = window_->windowHandle();
    if (handle == nullptr) {
        return;
    }
    const QSize limit = outer_.shrunkBy(handle->frameMargins()).expandedTo(window_->minimumSize());
    if (window_->maximumSize() != limit) {
        window_->setMaximumSize(limit);
    }
}

}  // namespace losfix

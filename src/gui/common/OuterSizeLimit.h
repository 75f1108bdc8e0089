#pragma once

#include <QObject>
#include <QSize>

class QWidget;

namespace losfix {

// Keeps a window's whole size, frame included, within a largest size. Qt's maximum size limits
// only the client area; the frame is known once the window manager has taken the window (it
// moves the window then), so the client's limit follows the frame from then on. Never below the
// window's minimum size. Owned by the window.
class OuterSizeLimit : public QObject {
public:
    OuterSizeLimit(QWidget* window, QSize outer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fit();

    QWidget* window_;
    QSize outer_;
};

}  // namespace losfix

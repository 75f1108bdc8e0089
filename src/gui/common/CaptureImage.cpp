#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>
#include <algorithm>

#include "core/app/Program.h"
#include "gui/common/Style.h"
#include "gui/common/TFAbbild.h"

namespace losfix {

namespace {

constexpr int kBarsHeight = 80;

// Lets a panel of fixed size grow for a moment, so that an extra strip at its bottom is drawn
// inside its frame; its sizes are restored before anything else can run.
class TemporaryHeight {
public:
    TemporaryHeight(QWidget* panel, int height)
        : panel_(panel),
          minimum_(panel->minimumSize()),
          maximum_(panel->maximumSize()),
          size_(panel->size()) {
        if (height > size_.height()) {
            panel_->setMaximumHeight(QWIDGETSIZE_MAX);
            panel_->resize(size_.width(), height);
        }
    }
    ~TemporaryHeight() {
        if (panel_->size() != size_) {
            panel_->setMinimumSize(minimum_);
            panel_->setMaximumSize(maximum_);
            panel_->resize(size_);
        }
    }
    TemporaryHeight(const TemporaryHeight&) = delete;
    TemporaryHeight& operator=(const TemporaryHeight&) = delete;

private:
    QWidget* panel_;
    QSize minimum_;
    QSize maximum_;
    QSize size_;
};

// The panel as it looks, cut at the bottom or extended by a strip of its background.
QImage RenderPanel(QWidget* panel, int height) {
    QImage image(panel->width(), height, QImage::Format_RGB32);
    image.fill(panel->palette().color(panel->backgroundRole()));
    QPixmap shown;
    {
        TemporaryHeight taller(panel, height);
        shown = panel->grab();
    }
    QPainter painter(&image);
    // A high-density screen grabs more pixels; they are drawn at the panel's logical size.
    painter.drawPixmap(QRect(QPoint(0, 0), shown.deviceIndependentSize().toSize()), shown);
    return image;
}

void PlaceOnScreen(QWidget& window, QWidget* owner) {
    QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    window.move(screen->availableGeometry().topLeft());
    if (QGuiApplication::screens().size() == 1 &&
        window.frameGeometry().left() < screen->geometry().left()) {
        window.move(screen->geometry().left(), window.y());
    }
}

}  // namespace

void DrawWatermark(QPainter& painter, QPoint topLeft) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QRectF stamp(topLeft, QSizeF(kWatermarkWidth, kWatermarkHeight));
    QPainterPath outline;
    outline.addRoundedRect(stamp, 3, 3);
    painter.fillPath(outline, QColor(0x00, 0x40, 0x80, 200));
    QFont font = TahomaFont(7, true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.setClipPath(outline);
    painter.drawText(stamp, Qt::AlignCenter, QString::fromUtf8(kProgramName));
    painter.restore();
}

TFAbbild* CaptureImage(AppContext& context, ImageSession& session, QWidget* panel,
                       const QString& title, int cut, int rightOffset, int bottomOffset,
                       int extraHeight, QWidget* owner) {
    if (panel == nullptr) {
        return nullptr;
    }
    const int width = panel->width();
    const int height = std::max(0, panel->height() + extraHeight - cut);
    QImage picture;
    if (width > 0 && height > 0) {
        picture = RenderPanel(panel, height);
        QPainter painter(&picture);
        DrawWatermark(painter,
                      QPoint(width - rightOffset - kWatermarkWidth, height - bottomOffset));
    }

    auto* window = new TFAbbild(context, session, owner);
    window->setObjectName(QStringLiteral("FAbbild%1").arg(++session.windowCount));
    window->setWindowTitle(title);
    window->setPicture(picture);
    window->resize(width, height + kBarsHeight);
    PlaceOnScreen(*window, owner);
    window->show();
    return window;
}

}  // namespace losfix

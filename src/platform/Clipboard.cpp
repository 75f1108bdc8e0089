#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QString>

namespace losfix {

void QtClipboard::setText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

std::string QtClipboard::text() const {
    return QGuiApplication::clipboard()->text().toStdString();
}

void QtClipboard::setImage(const QImage& image) {
    QGuiApplication::clipboard()->setImage(image);
}

}  // namespace losfix

#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QString>

namespace losfix {

void CopyTextToClipboard(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void CopyImageToClipboard(const QImage& image) {
    QGuiApplication::clipboard()->setImage(image);
}

}  // namespace losfix

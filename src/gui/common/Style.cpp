#include "gui/common/Style.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QPalette>
#include <QStyleFactory>
#include <QWidget>

namespace losfix {

void RegisterFonts() {
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
        return;
    }
    for (const char* path :
         {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
        if (QFile::exists(QString::fromUtf8(path))) {
            QFontDatabase::addApplicationFont(QString::fromUtf8(path));
        }
    }
}

int PointsToPixels(int points) {
    return (points * 96 + 36) / 72;
}

QFont TahomaFont(int points, bool bold) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(PointsToPixels(points));
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont InterfaceFont(int pixels, bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont CalibriPixelFont(int pixels, bool bold) {
    QFont font(QStringLiteral("Calibri"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont TableFont() {
    return TahomaFont(8);
}

QIcon ProgramIcon(const QString& name) {
    return QIcon(QStringLiteral(":/icon-") + name + QStringLiteral(".svg"));
}

void SetPanelBackground(QWidget* panel) {
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, QColor(0xF7, 0xF8, 0xFA));
    panel->setPalette(pal);
}

void ApplyProgramStyle() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0xEC, 0xEE, 0xF1));
    palette.setColor(QPalette::WindowText, QColor(0x1E, 0x24, 0x2B));
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, QColor(0xF5, 0xF7, 0xFA));
    palette.setColor(QPalette::Button, QColor(0xF4, 0xF5, 0xF7));
    palette.setColor(QPalette::ButtonText, QColor(0x1E, 0x24, 0x2B));
    palette.setColor(QPalette::Highlight, QColor(0x1F, 0x5F, 0xA8));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0xA0, 0xA4, 0xAA));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0xA0, 0xA4, 0xAA));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0xA0, 0xA4, 0xAA));
    QApplication::setPalette(palette);
    QApplication::setFont(InterfaceFont(12));
}

}  // namespace losfix

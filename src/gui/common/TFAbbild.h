#pragma once

#include <QImage>
#include <QWidget>
#include <string>

#include "gui/common/AppContext.h"

class QLabel;
class QSlider;
class QToolButton;
class QPushButton;
class QPainter;

namespace losfix {

// An image window: shows one captured picture; saves it as a progressive JPEG or copies it to
// the clipboard. Closing only hides it.
class TFAbbild : public QWidget {
    Q_OBJECT
public:
    TFAbbild(AppContext& context, ImageSession& session, QWidget* owner = nullptr);

    void setPicture(const QImage& picture);
    bool hasPicture() const { return !picture_.isNull(); }
    const QImage& picture() const { return picture_; }
    int quality() const;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // "Abbild speichern...": asks for a name (SD1) and writes the JPEG.
    void BSaveClick();
    // Copies the picture to the clipboard as an image.
    void bsSkinSpeedButton1Click();

    QToolButton* BClose = nullptr;
    QLabel* bsSkinLabel1 = nullptr;
    QToolButton* BSave = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QSlider* Slider1 = nullptr;
    QLabel* Label3 = nullptr;
    QToolButton* bsSkinSpeedButton1 = nullptr;
    QLabel* Image1 = nullptr;
    AppContext& context_;
    ImageSession& session_;
    QImage picture_;
};

// Takes a picture of the panel (height + extraHeight - cut; for the extra strip the panel grows
// for the moment of the picture, so the strip shows its background inside its frame), draws the
// watermark at (width - rightOffset - 60, height - bottomOffset) and opens a new image window named
// "FAbbild<n>" captioned with the title.
TFAbbild* CaptureImage(AppContext& context, ImageSession& session, QWidget* panel,
                       const QString& title, int cut, int rightOffset, int bottomOffset,
                       int extraHeight = 0, QWidget* owner = nullptr);

// The program's stamp, 60 pixels wide, with its top-left corner at the given point.
void DrawWatermark(QPainter& painter, QPoint topLeft);
constexpr int kWatermarkWidth = 60;
constexpr int kWatermarkHeight = 14;

// The name the JPEG is written to: the chosen name with its extension replaced by ".jpg", or
// ".jpg" appended when it has none. A dot in a folder name is no extension.
std::string JpegFileName(const std::string& chosen);

}  // namespace losfix

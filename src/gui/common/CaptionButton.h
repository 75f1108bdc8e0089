#pragma once

#include <QToolButton>

namespace losfix {

// A flat tool button with its icon on the left and a caption that wraps onto two lines at its
// blanks ("Reihen aufstei- gend sortieren"). The caption stays the text as given; a screen reader
// reads it without the breaks (SpokenCaption).
class CaptionButton : public QToolButton {
    Q_OBJECT
public:
    CaptionButton(const QString& objectName, const QString& caption, const QIcon& icon,
                  QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int menuArrowWidth() const;
};

// A caption as one reads it aloud: a word broken with "- " is whole again ("aufstei- gend" gives
// "aufsteigend"), a compound keeps its hyphen ("Excel- Export" gives "Excel-Export").
QString SpokenCaption(const QString& caption);

// A button that shows only an icon; tooltip and accessible name say what it does.
QToolButton* MakeIconButton(const QString& objectName, const QIcon& icon, const QString& tooltip,
                            QWidget* parent, int size = 30);

}  // namespace losfix

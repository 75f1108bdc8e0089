#pragma once

#include <QFrame>
#include <QString>
#include <QStringList>

namespace losfix {

// A status text that never moves the layout: it has a fixed number of lines and takes the width
// it is given, wraps at blanks, cuts what does not fit with "…" and shows the whole text as its
// tooltip, both as they stand, never as markup. While it is empty it keeps its place; with `filled`
// in a style sheet selector it can look different while it holds text.
class ElidedLabel : public QFrame {
    Q_OBJECT
    Q_PROPERTY(bool filled READ filled)
public:
    explicit ElidedLabel(const QString& objectName, int lines = 1, QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);
    void clear() { setText(QString()); }
    bool filled() const { return !text_.isEmpty(); }
    // The lines as painted at the current width.
    QStringList shownLines() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fixHeight();

    QString text_;
    int lines_;
};

}  // namespace losfix

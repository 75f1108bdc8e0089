#pragma once

#include <QFrame>
#include <QString>

namespace losfix {

// A status text of a fixed number of lines: it wraps at blanks, cuts what does not fit with "…"
// and shows the whole text as its tooltip, so a long text never changes the window's layout.
class WrappedNote : public QFrame {
    Q_OBJECT
public:
    WrappedNote(const QString& objectName, int lines, QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);
    void clear() { setText(QString()); }
    // Whether the whole text fits into the lines.
    bool fits() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The lines as they are shown, the last one cut where the text goes on.
    QStringList shownLines(int width, bool* complete = nullptr) const;

    QString text_;
    int lines_;
};

}  // namespace losfix

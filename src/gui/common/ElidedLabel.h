#pragma once

#include <QAccessible>
#include <QFrame>
#include <QString>
#include <QStringList>

namespace losfix {

// A status text that never moves the layout: it has a fixed number of lines and takes the width
// it is given, wraps at blanks, cuts what does not fit with "…" and shows the whole text as its
// tooltip, both as they stand, never as markup. While it is empty it keeps its place; with
// `filled` in a style sheet selector it can look different while it holds text. A screen reader
// reads the whole text as the name, value and text of a static text (or status bar) and hears
// every change and every showing of it.
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
    // Static text by default; a status bar for lines that report on work in progress.
    void setAccessibleRole(QAccessible::Role role) { role_ = role; }
    QAccessible::Role accessibleRole() const { return role_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void fixHeight();
    void notifyTextChanged(const QString& oldText);

    QString text_;
    int lines_;
    QAccessible::Role role_ = QAccessible::StaticText;
};

}  // namespace losfix

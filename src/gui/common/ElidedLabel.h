#pragma once

#include <QFrame>
#include <QString>

namespace losfix {

// A one-line status text that never changes the layout: it takes the width it is given, cuts a
// longer text with "…" and shows the whole text as its tooltip.
class ElidedLabel : public QFrame {
    Q_OBJECT
public:
    explicit ElidedLabel(const QString& objectName, QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);
    void clear() { setText(QString()); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

}  // namespace losfix

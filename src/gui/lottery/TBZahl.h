#pragma once

#include <QAbstractButton>

#include "core/lottery/Board.h"

namespace losfix {

// A number button of the board: caption n, face in the colour family of its status; a mouse-down
// asks the board to step the status (left forward, right back, middle nothing).
class TBZahl : public QAbstractButton {
    Q_OBJECT
public:
    TBZahl(int number, QWidget* parent = nullptr);

    int number() const { return number_; }
    NumberStatus status() const { return status_; }
    void setStatus(NumberStatus status);
    void setCaptionPointSize(int points);

    QSize sizeHint() const override { return {39, 30}; }

signals:
    void stepRequested(int number, losfix::MouseStep step);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void updateAccessibleText();

    int number_;
    NumberStatus status_ = NumberStatus::Normal;
};

// The display name of a status, as the legend shows it.
QString StatusName(NumberStatus status);

}  // namespace losfix

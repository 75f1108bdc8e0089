#pragma once

#include <QFrame>

#include "core/lottery/NumberStatus.h"

class QLabel;

namespace losfix {

// A distribution frame (60 x 22): the number on black with yellow "n:" and the draw count on the
// number's status colour.
class TFfrStat : public QFrame {
    Q_OBJECT
public:
    TFfrStat(int number, QWidget* parent = nullptr);

    int number() const { return number_; }
    // PAnz shows the count in decimal on the status colour.
    void showCount(int count, NumberStatus status);
    QString countText() const;
    QColor countColour() const;

    QLabel* PNr = nullptr;
    QLabel* PAnz = nullptr;

private:
    int number_;
};

}  // namespace losfix

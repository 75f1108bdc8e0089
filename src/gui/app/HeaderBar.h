#pragma once

#include <QFrame>

#include "gui/common/AppContext.h"

class QLabel;
class QToolButton;

namespace losfix {

class CaptionButton;

// The header of the main window: program end, football, update, title, donation area, window
// position and info.
class HeaderBar : public QFrame {
    Q_OBJECT
public:
    explicit HeaderBar(AppContext& context, QWidget* parent = nullptr);

    QString donationText() const;
    void setDonationText(const QString& text);

signals:
    void exitRequested();
    void footballRequested();
    void updateRequested();
    void savePositionRequested();
    void infoRequested();

private:
    CaptionButton* bsSkinSpeedButton1 = nullptr;   // "Programm beenden"
    CaptionButton* bsSkinSpeedButton12 = nullptr;  // "Losfix Fußball"
    QToolButton* bsSkinSpeedButton13 = nullptr;    // update
    QLabel* Label3 = nullptr;                      // "Losfix 2.0"
    QFrame* PPayPal = nullptr;
    QLabel* Label5 = nullptr;
    QToolButton* BPay = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* leur = nullptr;
    QToolButton* bsSkinSpeedButton16 = nullptr;  // position
    QToolButton* bsSkinSpeedButton14 = nullptr;  // info
};

}  // namespace losfix

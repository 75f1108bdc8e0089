#pragma once

#include <QFrame>

class QLabel;
class QToolButton;

namespace losfix {

class CaptionButton;

// The header of the main window: program end, title, donation area and window position.
class HeaderBar : public QFrame {
    Q_OBJECT
public:
    explicit HeaderBar(QWidget* parent = nullptr);

    QString donationText() const;
    void setDonationText(const QString& text);

signals:
    void exitRequested();
    void savePositionRequested();

private:
    CaptionButton* bsSkinSpeedButton1 = nullptr;  // "Programm beenden"
    QLabel* Label3 = nullptr;                     // "Losfix 2.0"
    QFrame* PPayPal = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* leur = nullptr;
    QToolButton* bsSkinSpeedButton16 = nullptr;  // position
};

}  // namespace losfix

#include "gui/football/TipButton.h"

#include "core/football/FootballLayout.h"
#include "gui/common/Style.h"

namespace losfix {

QString TipStatusName(TipStatus status) {
    switch (status) {
        case TipStatus::TipOut:
            return QStringLiteral("out");
        case TipStatus::TipFavI:
            return QStringLiteral("Fav I");
        case TipStatus::TipFavII:
            return QStringLiteral("Fav II");
        case TipStatus::TipFavIII:
            return QStringLiteral("Fav III");
    }
    return {};
}

TipButton::TipButton(int slot, QWidget* parent) : TBZahl(slot, parent) {
    setText(QString::fromStdString(OutcomeText(slot)));
    const PixelRect r = OutcomeButtonRect(slot);
    setGeometry(r.left, r.top, r.width, r.height);
    showTipStatus(TipStatus::TipOut);
}

void TipButton::showTipStatus(TipStatus status) {
    if (!IsTipStatusCode(static_cast<int>(status))) {
        return;  // an unknown code leaves the face as it was
    }
    setStatus(TipStatusFace(status));
    setAccessibleName(QStringLiteral("Spiel %1, Tipp %2: %3")
                          .arg(MatchOfSlot(slot()))
                          .arg(text(), TipStatusName(status)));
}

TPNr::TPNr(int match, QWidget* parent) : QLabel(QString::number(match), parent) {
    setObjectName(QStringLiteral("PNr%1").arg(match));
    setFixedSize(kMatchNumberSize, kMatchNumberSize);
    setAlignment(Qt::AlignCenter);
    setFont(CalibriPixelFont(PointsToPixels(8), true));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(kMatchNumberBackground));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    setAccessibleName(QStringLiteral("Spiel %1").arg(match));
}

}  // namespace losfix

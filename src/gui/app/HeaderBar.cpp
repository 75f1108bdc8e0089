#include "gui/app/HeaderBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/app/Program.h"
#include "gui/common/CaptionButton.h"
#include "gui/common/Style.h"
#include "gui/online/Online.h"

namespace losfix {

namespace {
const QString kDonationText =
    QStringLiteral("Wenn Ihnen das Programm gefällt, würde ich mich über einen Wachmacher freuen:");
}  // namespace

HeaderBar::HeaderBar(AppContext& context, QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PHeader"));
    setFixedHeight(62);
    setStyleSheet(QStringLiteral(
        "#PHeader { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, "
        "stop:1 #dfe6ef); border-bottom: 1px solid #b9c3cf; }"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->setSpacing(10);

    bsSkinSpeedButton1 =
        new CaptionButton(QStringLiteral("bsSkinSpeedButton1"), QStringLiteral("Programm beenden"),
                          ProgramIcon(QStringLiteral("exit")), this);
    bsSkinSpeedButton12 =
        new CaptionButton(QStringLiteral("bsSkinSpeedButton12"), QStringLiteral("Losfix Fußball"),
                          ProgramIcon(QStringLiteral("football")), this);
    bsSkinSpeedButton13 =
        MakeIconButton(QStringLiteral("bsSkinSpeedButton13"), ProgramIcon(QStringLiteral("update")),
                       QStringLiteral("Nach einer neuen Version suchen"), this, 40);
    for (CaptionButton* button : {bsSkinSpeedButton1, bsSkinSpeedButton12}) {
        button->setFixedSize(124, 40);
        layout->addWidget(button);
    }
    layout->addWidget(bsSkinSpeedButton13);

    Label3 = new QLabel(QString::fromUtf8(kProgramName), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFont(CalibriPixelFont(30, true));
    Label3->setStyleSheet(QStringLiteral("color: #004080;"));
    layout->addSpacing(6);
    layout->addWidget(Label3);
    layout->addStretch(1);

    PPayPal = new QFrame(this);
    PPayPal->setObjectName(QStringLiteral("PPayPal"));
    auto* pay = new QHBoxLayout(PPayPal);
    pay->setContentsMargins(0, 0, 0, 0);
    pay->setSpacing(8);
    Label5 = new QLabel(kDonationText, PPayPal);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setWordWrap(true);
    Label5->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = Label5->font();
    bold.setBold(true);
    bold.setPixelSize(11);
    Label5->setFont(bold);
    Label5->setFixedWidth(250);
    pay->addWidget(Label5);
    BPay = MakePayButton(context, PPayPal);
    pay->addWidget(BPay);
    auto* standBox = new QVBoxLayout();
    standBox->setSpacing(1);
    Label17 = new QLabel(QStringLiteral("Stand in €"), PPayPal);
    Label17->setObjectName(QStringLiteral("Label17"));
    Label17->setAlignment(Qt::AlignCenter);
    leur = new QLabel(QStringLiteral("0"), PPayPal);
    leur->setObjectName(QStringLiteral("leur"));
    // The server's text, kept in the settings file: shown as it stands, never as markup.
    leur->setTextFormat(Qt::PlainText);
    leur->setAlignment(Qt::AlignCenter);
    leur->setFrameShape(QFrame::Panel);
    leur->setFrameShadow(QFrame::Sunken);
    leur->setMinimumWidth(70);
    leur->setStyleSheet(QStringLiteral("background: white;"));
    Label17->setBuddy(leur);  // a screen reader reads the amount with its caption
    standBox->addWidget(Label17);
    standBox->addWidget(leur);
    pay->addLayout(standBox);
    layout->addWidget(PPayPal);
    layout->addSpacing(6);

    bsSkinSpeedButton16 = MakeIconButton(QStringLiteral("bsSkinSpeedButton16"),
                                         ProgramIcon(QStringLiteral("position")),
                                         QStringLiteral("Fensterposition speichern"), this, 40);
    bsSkinSpeedButton14 =
        MakeIconButton(QStringLiteral("bsSkinSpeedButton14"), ProgramIcon(QStringLiteral("info")),
                       QStringLiteral("Informationen zu Losfix"), this, 40);
    layout->addWidget(bsSkinSpeedButton16);
    layout->addWidget(bsSkinSpeedButton14);

    connect(bsSkinSpeedButton1, &QToolButton::clicked, this, &HeaderBar::exitRequested);
    connect(bsSkinSpeedButton12, &QToolButton::clicked, this, &HeaderBar::footballRequested);
    connect(bsSkinSpeedButton13, &QToolButton::clicked, this, &HeaderBar::updateRequested,
            Qt::QueuedConnection);
    connect(bsSkinSpeedButton16, &QToolButton::clicked, this, &HeaderBar::savePositionRequested);
    connect(bsSkinSpeedButton14, &QToolButton::clicked, this, &HeaderBar::infoRequested);
}

QString HeaderBar::donationText() const {
    return leur->text();
}

void HeaderBar::setDonationText(const QString& text) {
    leur->setText(text);
}

}  // namespace losfix

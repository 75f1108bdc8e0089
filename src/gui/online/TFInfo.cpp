#include "gui/online/TFInfo.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QVBoxLayout>

#include "core/app/Program.h"
#include "core/online/Donation.h"
#include "gui/common/ErrorGuard.h"
#include "gui/online/Online.h"

namespace losfix {

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

QPixmap Background() {
    QPixmap picture(kWidth, kHeight);
    picture.fill(QColor(0xEE, 0xF3, 0xF9));
    QSvgRenderer renderer(QStringLiteral(":/info-background.svg"));
    if (renderer.isValid()) {
        QPainter painter(&picture);
        renderer.render(&painter, QRectF(0, 0, kWidth, kHeight));
    }
    return picture;
}

QLabel* MakeContactLabel(const QString& name, const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(name);
    label->setStyleSheet(QStringLiteral("color: black; font-weight: bold;"));
    return label;
}

}  // namespace

LinkLabel::LinkLabel(const QString& name, const QString& text, QWidget* parent)
    : QLabel(text, parent) {
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(text);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

TFInfo::TFInfo(AppContext& context, QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), context_(context) {
    setObjectName(QStringLiteral("FInfo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromStdString(WindowCaption()));
    setFixedSize(kWidth, kHeight);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, kWidth, kHeight);
    Image1->setPixmap(Background());
    // What the picture says, for a screen reader.
    Image1->setAccessibleName(QString::fromUtf8(kProgramName) + QStringLiteral(" – ") +
                              QString::fromUtf8(kProgramSlogan));

    LVersion = new QLabel(QStringLiteral("Version ") + QString::fromUtf8(kProgramVersion), this);
    LVersion->setObjectName(QStringLiteral("LVersion"));
    LVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LVersion->setStyleSheet(QStringLiteral("color: #004080; font-weight: bold;"));
    LVersion->setGeometry(kWidth - 170, 74, 150, 20);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(20, 118, 230, 132);
    // Over the free part of the panel the pointer is the ordinary one; only the link shows a hand.
    Panel1->setCursor(Qt::ArrowCursor);
    LName = MakeContactLabel(QStringLiteral("LName"), kMaker.name, Panel1);
    LStrasse = MakeContactLabel(QStringLiteral("LStrasse"), kMaker.street, Panel1);
    LPLZOrt = MakeContactLabel(QStringLiteral("LPLZOrt"), kMaker.postcodeTown, Panel1);
    LMail = new LinkLabel(QStringLiteral("LMail"), QString::fromUtf8(kMaker.mail), Panel1);
    LMail->setStyleSheet(
        QStringLiteral("color: #0000ff; font-weight: bold; text-decoration: underline;"));
    LMail->setToolTip(QStringLiteral("E-Mail schreiben"));
    LTelefon = MakeContactLabel(QStringLiteral("LTelefon"),
                                (std::string("Tel. ") + kMaker.telephone).c_str(), Panel1);
    LFax = MakeContactLabel(QStringLiteral("LFax"), (std::string("Fax ") + kMaker.fax).c_str(),
                            Panel1);
    auto* contact = new QVBoxLayout(Panel1);
    contact->setContentsMargins(0, 0, 0, 0);
    contact->setSpacing(2);
    for (QWidget* label : {static_cast<QWidget*>(LName), static_cast<QWidget*>(LStrasse),
                           static_cast<QWidget*>(LPLZOrt), static_cast<QWidget*>(LMail),
                           static_cast<QWidget*>(LTelefon), static_cast<QWidget*>(LFax)}) {
        contact->addWidget(label, 0, Qt::AlignLeft);
    }
    contact->addStretch(1);

    bsSkinSpeedButton3 = new QPushButton(QStringLiteral("Schließen"), this);
    bsSkinSpeedButton3->setObjectName(QStringLiteral("bsSkinSpeedButton3"));
    bsSkinSpeedButton3->setCursor(Qt::PointingHandCursor);
    bsSkinSpeedButton3->setGeometry(kWidth - 104, kHeight - 40, 92, 28);

    ConnectGuarded(LMail, &LinkLabel::clicked, this, *context_.dialogs, [this] { LMailClick(); });
    connect(bsSkinSpeedButton3, &QPushButton::clicked, this, &QWidget::close);
}

void TFInfo::LMailClick() {
    // Whether a mail program opened is not reported.
    context_.shell->openUrl(MailtoAddress());
}

void TFInfo::closeEvent(QCloseEvent* event) {
    // Freed later; a new opening must not find it.
    setObjectName(QString());
    event->accept();
}

TFInfo* ShowInfoWindow(AppContext& context, QWidget* mainWindow) {
    auto* window = qobject_cast<TFInfo*>(FindWindowNamed(QStringLiteral("FInfo")));
    if (window == nullptr) {
        window = new TFInfo(context, mainWindow);
        CentreOn(window, mainWindow);
    }
    ShowAndRaise(window);
    return window;
}

}  // namespace losfix

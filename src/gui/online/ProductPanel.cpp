#include "gui/online/ProductPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/online/Donation.h"
#include "gui/common/ErrorGuard.h"
#include "gui/online/Online.h"

namespace losfix {

namespace {

const char* const kNoConnectionForProduct =
    "Für den Aufruf der Produktseite muss eine Verbindung zum Internet bestehen.";
const QSize kPictureSize(96, 64);

QLabel* MakeLabel(const QString& name, const QString& text, bool bold, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

QToolButton* MakePicture(const QString& name, const SiblingProduct& product, QWidget* parent) {
    auto* picture = new QToolButton(parent);
    picture->setObjectName(name);
    picture->setIcon(QIcon(QString::fromUtf8(product.picture)));
    picture->setIconSize(kPictureSize);
    picture->setAutoRaise(true);
    picture->setCursor(Qt::PointingHandCursor);
    const QString hint = QString::fromUtf8(product.name) + QStringLiteral(" im Browser öffnen");
    picture->setToolTip(hint);
    picture->setAccessibleName(hint);
    return picture;
}

}  // namespace

ProductPanel::ProductPanel(AppContext& context, QWidget* parent)
    : QFrame(parent), context_(context) {
    setObjectName(QStringLiteral("PProdukte"));

    Label9 = MakeLabel(QStringLiteral("Label9"),
                       QStringLiteral("Hinweis auf zwei meiner Programme:"), true, this);
    Label10 =
        MakeLabel(QStringLiteral("Label10"), QString::fromUtf8(kFirstProduct.name), true, this);
    Label11 = MakeLabel(QStringLiteral("Label11"), QString::fromUtf8(kFirstProduct.description),
                        false, this);
    Image1 = MakePicture(QStringLiteral("Image1"), kFirstProduct, this);
    Label8 =
        MakeLabel(QStringLiteral("Label8"), QString::fromUtf8(kSecondProduct.name), true, this);
    Label13 = MakeLabel(QStringLiteral("Label13"), QString::fromUtf8(kSecondProduct.description),
                        false, this);
    Label12 = MakeLabel(QStringLiteral("Label12"),
                        QStringLiteral("Für weitere Details klicke rechts."), false, this);
    Image2 = MakePicture(QStringLiteral("Image2"), kSecondProduct, this);

    // Each product: its texts on the left, its picture on the right.
    auto product = [](std::initializer_list<QLabel*> texts, QToolButton* picture) {
        auto* row = new QHBoxLayout;
        row->setSpacing(8);
        auto* column = new QVBoxLayout;
        column->setSpacing(1);
        for (QLabel* text : texts) {
            column->addWidget(text);
        }
        column->addStretch(1);
        row->addLayout(column, 1);
        row->addWidget(picture, 0, Qt::AlignVCenter);
        return row;
    };
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(Label9);
    layout->addLayout(product({Label10, Label11}, Image1));
    layout->addSpacing(6);
    layout->addLayout(product({Label8, Label13, Label12}, Image2));
    layout->addStretch(1);

    // Queued, so that a press returns at once; the fetch that follows may take a moment.
    ConnectGuarded(
        Image1, &QToolButton::clicked, this, *context_.dialogs, [this] { Image1Click(); },
        Qt::QueuedConnection);
    ConnectGuarded(
        Image2, &QToolButton::clicked, this, *context_.dialogs, [this] { Image2Click(); },
        Qt::QueuedConnection);
}

void ProductPanel::Image1Click() {
    openProduct(kFirstProduct);
}

void ProductPanel::Image2Click() {
    openProduct(kSecondProduct);
}

void ProductPanel::openProduct(const SiblingProduct& product) {
    if (!Image1->isEnabled()) {
        return;  // the last click's fetch still runs
    }
    if (!context_.network->connected()) {
        context_.dialogs->information(kNoConnectionForProduct);
        return;
    }
    // Whether a browser opened is not reported, as with any web link.
    context_.shell->openUrl(product.url);
    QString donation;
    {
        BusyScope busy([this](bool on) { setBusy(on); });
        donation = FetchDonationCounter(context_);
    }
    emit donationCounterFetched(donation);
}

void ProductPanel::setBusy(bool busy) {
    Image1->setEnabled(!busy);
    Image2->setEnabled(!busy);
}

}  // namespace losfix

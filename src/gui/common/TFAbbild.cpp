#include "gui/common/TFAbbild.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstring>
#include <string_view>

#include "core/app/Program.h"
#include "core/common/Error.h"
#include "core/common/FileAccess.h"
#include "core/common/FileSystem.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/Style.h"
#include "platform/JpegWriter.h"
#include "platform/WindowTitle.h"

namespace losfix {

namespace {

constexpr int kBarHeight = 40;
constexpr int kMinQuality = 36;
constexpr int kMaxQuality = 100;

const char* const kNoPicture = "Kein Bild im Speicher";
const char* const kSaveTitle = "Abbildung speichern";
const char* const kFilterName = "Abbildungen";
const char* const kFilterPattern = "*.jpg";
const char* const kJpegExtension = "jpg";

const QColor kTopBarColour(0x1F, 0x4E, 0x79);
const QColor kSaveBarColour(0xE4, 0xE9, 0xF0);

QFrame* MakeBar(const QString& name, const QColor& colour, QWidget* parent) {
    auto* bar = new QFrame(parent);
    bar->setObjectName(name);
    bar->setFixedHeight(kBarHeight);
    bar->setAutoFillBackground(true);
    QPalette pal = bar->palette();
    pal.setColor(QPalette::Window, colour);
    bar->setPalette(pal);
    return bar;
}

QToolButton* MakeIconButton(const QString& name, const QString& icon, const QString& hint,
                            QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(ProgramIcon(icon));
    button->setIconSize(QSize(20, 20));
    button->setFixedSize(32, 32);
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QLabel* MakeLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

// The picture as 24-bit RGB rows without padding, as the encoder takes them.
RgbImage ToRgbImage(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    RgbImage out;
    out.width = rgb.width();
    out.height = rgb.height();
    const auto rowBytes = static_cast<std::size_t>(out.width) * 3;
    out.pixels.resize(rowBytes * static_cast<std::size_t>(out.height));
    for (int y = 0; y < out.height; ++y) {
        std::memcpy(out.pixels.data() + rowBytes * static_cast<std::size_t>(y),
                    rgb.constScanLine(y), rowBytes);
    }
    return out;
}

}  // namespace

std::string JpegFileName(const std::string& chosen) {
    const std::size_t separator = chosen.find_last_of("/\\");
    const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    const std::size_t dot = chosen.find_last_of('.');
    if (dot != std::string::npos && dot >= nameStart) {
        return chosen.substr(0, dot) + ".jpg";
    }
    return chosen + ".jpg";
}

TFAbbild::TFAbbild(AppContext& context, ImageSession& session, QWidget* owner)
    : QWidget(owner, Qt::Window), context_(context), session_(session) {
    setObjectName(QStringLiteral("FAbbild"));
    setWindowTitle(QString::fromStdString(WindowCaption()));

    auto* topBar = MakeBar(QStringLiteral("TopBar"), kTopBarColour, this);
    BClose = MakeIconButton(QStringLiteral("BClose"), QStringLiteral("close"),
                            QStringLiteral("Schließen"), topBar);
    bsSkinLabel1 = MakeLabel(QStringLiteral("bsSkinLabel1"), QStringLiteral("Screenshot"), topBar);
    bsSkinLabel1->setFont(TahomaFont(11, true));
    QPalette titlePalette = bsSkinLabel1->palette();
    titlePalette.setColor(QPalette::WindowText, Qt::white);
    bsSkinLabel1->setPalette(titlePalette);
    auto* topLayout = new QHBoxLayout(topBar);
    topLayout->setContentsMargins(4, 4, 8, 4);
    topLayout->setSpacing(6);
    topLayout->addWidget(BClose);
    topLayout->addWidget(bsSkinLabel1);
    topLayout->addStretch(1);

    auto* saveBar = MakeBar(QStringLiteral("SaveBar"), kSaveBarColour, this);
    BSave = new QToolButton(saveBar);
    BSave->setObjectName(QStringLiteral("BSave"));
    BSave->setText(QStringLiteral("Abbild speichern..."));
    BSave->setIcon(ProgramIcon(QStringLiteral("image-save")));
    BSave->setIconSize(QSize(20, 20));
    BSave->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    BSave->setFixedHeight(32);
    BSave->setCursor(Qt::PointingHandCursor);

    Label1 = MakeLabel(QStringLiteral("Label1"), QStringLiteral("Bild-Qualität"), saveBar);
    Label1->setAlignment(Qt::AlignCenter);
    Label2 = MakeLabel(QStringLiteral("Label2"), QStringLiteral("-"), saveBar);
    Label3 = MakeLabel(QStringLiteral("Label3"), QStringLiteral("+"), saveBar);
    for (QLabel* label : {Label1, Label2, Label3}) {
        label->setFont(TahomaFont(8, label != Label1));
    }
    Label2->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    Label3->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    Slider1 = new QSlider(Qt::Horizontal, saveBar);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setRange(kMinQuality, kMaxQuality);
    Slider1->setSingleStep(1);
    Slider1->setPageStep(8);
    Slider1->setValue(kMaxQuality);
    // Narrows in the smallest image window, never grows apart from its labels.
    Slider1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    Slider1->setMinimumWidth(50);
    Slider1->setMaximumWidth(110);
    Slider1->setAccessibleName(QStringLiteral("Bild-Qualität"));
    Label1->setBuddy(Slider1);
    auto showQuality = [this](int value) {
        Slider1->setToolTip(QStringLiteral("Bild-Qualität: %1").arg(value));
    };
    showQuality(Slider1->value());
    connect(Slider1, &QSlider::valueChanged, this, showQuality);

    bsSkinSpeedButton1 =
        MakeIconButton(QStringLiteral("bsSkinSpeedButton1"), QStringLiteral("copy"),
                       QStringLiteral("In Zwischenablage kopieren"), saveBar);

    auto* sliderRow = new QHBoxLayout;
    sliderRow->setSpacing(3);
    sliderRow->addWidget(Label2);
    sliderRow->addWidget(Slider1);
    sliderRow->addWidget(Label3);
    auto* qualityBox = new QVBoxLayout;
    qualityBox->setSpacing(0);
    qualityBox->addWidget(Label1);
    qualityBox->addLayout(sliderRow);

    auto* saveLayout = new QHBoxLayout(saveBar);
    saveLayout->setContentsMargins(4, 2, 4, 2);
    saveLayout->setSpacing(6);
    saveLayout->addWidget(BSave);
    saveLayout->addStretch(1);
    saveLayout->addLayout(qualityBox);
    saveLayout->addStretch(1);
    saveLayout->addWidget(bsSkinSpeedButton1);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setAccessibleName(QStringLiteral("Abbild"));
    // The window gets the picture's size; the label must not push it larger.
    Image1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    Image1->setMinimumSize(0, 0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(topBar);
    layout->addWidget(saveBar);
    layout->addWidget(Image1, 1);

    connect(BClose, &QToolButton::clicked, this, &QWidget::hide);
    connect(BSave, &QToolButton::clicked, this, &TFAbbild::BSaveClick);
    connect(bsSkinSpeedButton1, &QToolButton::clicked, this, &TFAbbild::bsSkinSpeedButton1Click);
}

void TFAbbild::setPicture(const QImage& picture) {
    picture_ = picture;
    Image1->setPixmap(picture_.isNull() ? QPixmap() : QPixmap::fromImage(picture_));
}

int TFAbbild::quality() const {
    return Slider1->value();
}

void TFAbbild::BSaveClick() {
    Dialogs& dialogs = *context_.dialogs;
    Guarded(dialogs, [&] {
        if (!hasPicture()) {
            dialogs.warning(kNoPicture);
            return;
        }
        FileDialogRequest request;
        request.title = kSaveTitle;
        request.filterName = kFilterName;
        request.filterPattern = kFilterPattern;
        request.defaultExtension = kJpegExtension;
        request.folder =
            session_.rememberedFolder.empty() ? context_.folders.shots : session_.rememberedFolder;
        request.proposedName = windowTitle().toStdString();
        request.confirmOverwrite = true;
        const std::optional<std::string> chosen = dialogs.saveFile(request);
        if (!chosen) {
            return;
        }
        const std::string target = JpegFileName(*chosen);
        // The dialog asked about the name as typed; a different existing ".jpg" must not be
        // replaced without asking as well.
        if (target != *chosen && context_.files->exists(target) &&
            !dialogs.question(FileNameOf(target) +
                              " ist bereits vorhanden.\nMöchten Sie die Datei ersetzen?")) {
            return;
        }
        const std::vector<std::uint8_t> jpeg =
            EncodeProgressiveJpeg(ToRgbImage(picture_), quality());
        SaveFile(*context_.files, target,
                 std::string_view(reinterpret_cast<const char*>(jpeg.data()), jpeg.size()));
        session_.rememberedFolder = FolderOf(target);
    });
}

void TFAbbild::bsSkinSpeedButton1Click() {
    Guarded(*context_.dialogs, [&] {
        if (hasPicture()) {
            context_.clipboard->setImage(picture_);
        }
    });
}

bool TFAbbild::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    // A tip image before any tip file was saved has an empty caption, and keeps it on the screen.
    if (event->type() == QEvent::Show || event->type() == QEvent::WindowTitleChange) {
        KeepEmptyTitle(windowHandle());
    }
    return handled;
}

void TFAbbild::closeEvent(QCloseEvent* event) {
    // Image windows stay until the program ends; closing only hides them.
    event->accept();
    hide();
}

}  // namespace losfix

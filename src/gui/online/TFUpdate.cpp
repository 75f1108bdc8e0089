#include "gui/online/TFUpdate.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryFile>
#include <QTimer>
#include <QVBoxLayout>

#include "core/app/Program.h"
#include "core/common/Error.h"
#include "core/online/Donation.h"
#include "core/online/Download.h"
#include "core/online/UpdateScript.h"
#include "gui/common/ErrorGuard.h"
#include "gui/online/Online.h"
#include "platform/WindowsSystem.h"

namespace losfix {

namespace {

constexpr int kWidth = 311;
constexpr int kHeight = 289;

const char* const kNoConnectionForCheck =
    "Für die Aktualisierung muss eine Verbindung zum Internet bestehen.";
const char* const kCheckFailed = "Die Prüfung hat leider nicht geklappt.\r";
const char* const kNoConnectionForDownload =
    "Für den Download der Installations-Datei muss eine Verbindung zum Internet bestehen.\r\r"
    "Ich breche ab.";
const char* const kDownloadFailed =
    "Der Download ist gescheitert. Versuchen Sie es bitte später noch einmal.";

QLabel* MakeLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    // The available version is the server's text: shown as it stands, never as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

// A version shown bold and centred in a sunken field.
QLabel* MakeVersionField(const QString& name, const QString& text, QWidget* parent) {
    QLabel* field = MakeLabel(name, text, parent);
    QFont bold = field->font();
    bold.setBold(true);
    field->setFont(bold);
    field->setAlignment(Qt::AlignCenter);
    field->setFrameShape(QFrame::Panel);
    field->setFrameShadow(QFrame::Sunken);
    field->setMinimumHeight(22);
    field->setStyleSheet(QStringLiteral("background: white;"));
    return field;
}

QPushButton* MakeButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setCursor(Qt::PointingHandCursor);
    button->setMinimumWidth(86);
    return button;
}

// A note beside a button, wrapped.
QLabel* MakeNote(const QString& name, const QString& text, QWidget* parent) {
    QLabel* note = MakeLabel(name, text, parent);
    note->setWordWrap(true);
    return note;
}

// A new empty file in the folder, named after the template; its path, or "" when none could be
// made. It stays on disk: the script written over it removes it.
QString NewScriptFile(const QString& folder, const QString& nameTemplate) {
    QTemporaryFile file(folder + nameTemplate);
    file.setAutoRemove(false);
    if (!file.open()) {
        return {};
    }
    return file.fileName();
}

}  // namespace

TFUpdate::TFUpdate(AppContext& context, UpdateWindowHooks hooks, QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      context_(context),
      hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("FUpdate"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(kProgramName));
    setFixedSize(kWidth, kHeight);

    bsSkinGroupBox1 = new QGroupBox(QStringLiteral("Programmversion auf Aktualität prüfen"), this);
    bsSkinGroupBox1->setObjectName(QStringLiteral("bsSkinGroupBox1"));
    BCalc = MakeButton(QStringLiteral("BCalc"), QStringLiteral("Prüfen"), bsSkinGroupBox1);
    Label1 = MakeLabel(QStringLiteral("Label1"), QStringLiteral("Installierte Version"),
                       bsSkinGroupBox1);
    PiVersion = MakeVersionField(QStringLiteral("PiVersion"), QString::fromUtf8(kProgramVersion),
                                 bsSkinGroupBox1);
    Label2 =
        MakeLabel(QStringLiteral("Label2"), QStringLiteral("Verfügbare Version"), bsSkinGroupBox1);
    PvVersion = MakeVersionField(QStringLiteral("PvVersion"), QString(), bsSkinGroupBox1);
    auto* check = new QGridLayout(bsSkinGroupBox1);
    check->setContentsMargins(8, 6, 8, 8);
    check->setHorizontalSpacing(12);
    check->setVerticalSpacing(2);
    check->addWidget(Label1, 0, 0, Qt::AlignHCenter);
    check->addWidget(PiVersion, 1, 0);
    check->addWidget(Label2, 0, 1, Qt::AlignHCenter);
    check->addWidget(PvVersion, 1, 1);
    // A screen reader reads each version with its caption.
    Label1->setBuddy(PiVersion);
    Label2->setBuddy(PvVersion);
    check->setRowMinimumHeight(2, 6);
    check->addWidget(BCalc, 3, 1, Qt::AlignRight);
    check->setColumnStretch(0, 1);
    check->setColumnStretch(1, 1);

    bsSkinGroupBox3 = new QGroupBox(this);
    bsSkinGroupBox3->setObjectName(QStringLiteral("bsSkinGroupBox3"));
    Label4 = MakeNote(QStringLiteral("Label4"),
                      QStringLiteral("Wenn online eine aktuellere Version verfügbar ist, wird der "
                                     "Download-Button aktiv."),
                      bsSkinGroupBox3);
    BDown = MakeButton(QStringLiteral("BDown"), QStringLiteral("Download"), bsSkinGroupBox3);
    auto* download = new QHBoxLayout(bsSkinGroupBox3);
    download->setContentsMargins(8, 6, 8, 6);
    download->addWidget(Label4, 1);
    download->addWidget(BDown);

    bsSkinGroupBox2 = new QGroupBox(this);
    bsSkinGroupBox2->setObjectName(QStringLiteral("bsSkinGroupBox2"));
    Label3 = MakeNote(QStringLiteral("Label3"),
                      QStringLiteral("Nach dem Download wird der Installations-Button aktiv."),
                      bsSkinGroupBox2);
    BSetup = MakeButton(QStringLiteral("BSetup"), QStringLiteral("Installation"), bsSkinGroupBox2);
    auto* setup = new QHBoxLayout(bsSkinGroupBox2);
    setup->setContentsMargins(8, 6, 8, 6);
    setup->addWidget(Label3, 1);
    setup->addWidget(BSetup);

    Gauge3 = new QProgressBar(this);
    Gauge3->setObjectName(QStringLiteral("Gauge3"));
    Gauge3->setRange(0, 100);
    Gauge3->setValue(0);
    Gauge3->setTextVisible(false);
    Gauge3->setFixedHeight(12);
    Gauge3->setAccessibleName(QStringLiteral("Fortschritt"));

    bsSkinSpeedButton1 =
        MakeButton(QStringLiteral("bsSkinSpeedButton1"), QStringLiteral("Sch&ließen"), this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->setSpacing(8);
    layout->addWidget(bsSkinGroupBox1);
    layout->addWidget(bsSkinGroupBox3);
    layout->addWidget(bsSkinGroupBox2);
    layout->addWidget(Gauge3);
    layout->addStretch(1);
    layout->addWidget(bsSkinSpeedButton1, 0, Qt::AlignRight);

    // The transfers start from a queued call, so that a press returns at once.
    auto queued = [this](void (TFUpdate::*handler)()) {
        return [this, handler] { QMetaObject::invokeMethod(this, handler, Qt::QueuedConnection); };
    };
    connect(BCalc, &QPushButton::clicked, this, queued(&TFUpdate::BCalcClick));
    connect(BDown, &QPushButton::clicked, this, queued(&TFUpdate::BDownClick));
    connect(BSetup, &QPushButton::clicked, this, queued(&TFUpdate::BSetupClick));
    connect(bsSkinSpeedButton1, &QPushButton::clicked, this, &QWidget::close);
    applyState();
}

void TFUpdate::applyState() {
    PvVersion->setText(QString::fromStdString(state_.availableVersion));
    BCalc->setEnabled(!busy_);
    BDown->setEnabled(state_.downloadEnabled && !busy_);
    BSetup->setEnabled(state_.setupEnabled && !busy_);
}

void TFUpdate::setBusy(bool busy) {
    busy_ = busy;
    applyState();
    if (!busy_ && closeRequested_) {
        // Closed during the transfer: closes once the handler has finished.
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

std::string TFUpdate::shownBaseFolder() const {
    return QDir::toNativeSeparators(QString::fromStdString(context_.folders.base)).toStdString();
}

void TFUpdate::BCalcClick() {
    if (busy_) {
        return;
    }
    Dialogs& dialogs = *context_.dialogs;
    if (!context_.network->connected()) {
        dialogs.information(kNoConnectionForCheck);
        return;
    }
    const OnlineAccess access = AccessOf(context_);
    if (access.probeFile.empty()) {
        // The reason, not "the check did not work": trying again later would not help.
        dialogs.information(kNoPrivateTemporaryFolder);
        return;
    }
    const std::string target = context_.folders.base + kVersionInfoFile;
    bool delivered = false;
    {
        BusyScope busy([this](bool on) { setBusy(on); });
        try {
            delivered = DownloadFile(access, FreshRequest(access.url(kVersionInfoPath)), target);
        } catch (const Error&) {
            delivered = false;
        }
        // Every check with a connection refreshes the donation status, whatever its outcome.
        const QString donation = QString::fromStdString(FetchDonationCounter(access));
        if (hooks_.showDonationCounter) {
            hooks_.showDonationCounter(donation);
        }
    }
    if (!delivered) {
        dialogs.information(kCheckFailed);
        return;
    }
    Guarded(dialogs, [&] {
        const std::optional<std::string> available = ReadVersionFile(*context_.files, target);
        if (!available) {
            // Long enough to count as delivered, too short for one record.
            dialogs.information(kCheckFailed);
            return;
        }
        state_ = AfterVersionCheck(state_, available);
        applyState();
    });
}

void TFUpdate::BDownClick() {
    if (busy_) {
        return;
    }
    Dialogs& dialogs = *context_.dialogs;
    if (!context_.network->connected()) {
        dialogs.information(kNoConnectionForDownload);
        return;
    }
    const OnlineAccess access = AccessOf(context_);
    bool delivered = false;
    // A file that cannot be written is reported in the error box rather than passed over.
    const bool completed = Guarded(dialogs, [&] {
        BusyScope busy([this](bool on) { setBusy(on); });
        delivered = DownloadFile(access, InstallerRequest(access.url(kInstallerPath)),
                                 context_.folders.base + kInstallerFile);
    });
    state_ = AfterInstallerDownload(state_, delivered);
    applyState();
    if (completed && !delivered) {
        dialogs.information(kDownloadFailed);
    }
}

void TFUpdate::BSetupClick() {
    if (busy_) {
        return;
    }
    Dialogs& dialogs = *context_.dialogs;
    const std::string folder = shownBaseFolder();
    if (!dialogs.question(InstallConfirmationText(folder))) {
        dialogs.information(InstallDeclinedText(folder));
        return;
    }
    if (!startInstaller(context_.folders.base + kInstallerFile)) {
        dialogs.information(InstallerNotStartedText(folder));
        return;
    }
    handOver();
}

bool TFUpdate::startInstaller(const std::string& installer) {
#ifdef Q_OS_WIN
    // The shell asks for elevation where the installer needs it.
    return context_.shell->openFile(installer);
#else
    const QString path = QString::fromStdString(installer);
    QFile::setPermissions(path,
                          QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return context_.shell->startDetached(installer, {});
#endif
}

void TFUpdate::handOver() {
    const QString program =
        hooks_.programFile.isEmpty() ? QCoreApplication::applicationFilePath() : hooks_.programFile;
    const QString folder = QString::fromStdString(AccessOf(context_).temporaryFolder());
    // The installer already runs; the program ends whether or not the clean-up could be arranged.
    Guarded(*context_.dialogs, [&] {
#ifdef Q_OS_WIN
        // Written in the interpreter's code page and run hidden; tested under Wine.
        StartUpdateBatch(*context_.files, program.toStdString(), folder.toStdString());
#else
        const std::string script =
            NewScriptFile(folder, QStringLiteral("uisXXXXXX.sh")).toStdString();
        if (script.empty()) {
            return;
        }
        const FileResult written =
            context_.files->writeAtomic(script, LinuxUpdateScript(program.toStdString(), script));
        if (!written.ok) {
            throw Error(messages::CannotCreate(script, written.systemText));
        }
        context_.shell->startDetached("/bin/sh", {script});
#endif
    });
    if (hooks_.endProgram) {
        hooks_.endProgram();
    } else {
        QCoreApplication::exit(0);
    }
}

void TFUpdate::closeEvent(QCloseEvent* event) {
    if (busy_) {
        // The transfer's handler still runs on this window.
        closeRequested_ = true;
        event->ignore();
        return;
    }
    // Freed later; a new opening must not find it.
    setObjectName(QString());
    event->accept();
}

TFUpdate* ShowUpdateWindow(AppContext& context, QWidget* mainWindow, UpdateWindowHooks hooks) {
    auto* window = qobject_cast<TFUpdate*>(FindWindowNamed(QStringLiteral("FUpdate")));
    if (window == nullptr) {
        window = new TFUpdate(context, std::move(hooks), mainWindow);
        CentreOn(window, mainWindow);
    }
    ShowAndRaise(window);
    return window;
}

}  // namespace losfix

#include "gui/app/TFStart.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QThread>

#include "core/app/Program.h"
#include "gui/common/Style.h"
#include "platform/Files.h"
#include "platform/WindowsSystem.h"

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace losfix {

namespace {
constexpr int kWidth = 400;
constexpr int kHeight = 300;
}  // namespace

DataFolders SystemDataFolders() {
#ifdef Q_OS_WIN
    // The roaming folder as the shell knows it, whatever %APPDATA% says.
    QString appData = QString::fromStdString(RoamingAppDataFolder());
#else
    QString appData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#endif
    const QString home = QDir::homePath();
    // A new account may not have its data folder yet (~/.local/share on Linux).
    if (!appData.isEmpty()) {
        QDir().mkpath(appData);
    }
    return MakeDataFolders(QDir::fromNativeSeparators(appData).toStdString(),
                           QDir::fromNativeSeparators(home).toStdString());
}

std::string SystemTempProbeFile() {
#ifdef Q_OS_WIN
    // The user's own temporary folder, closed to other users.
    QString temp = QDir::tempPath();
    if (!temp.endsWith(QLatin1Char('/'))) {
        temp += QLatin1Char('/');
    }
    return temp.left(255).toStdString() + "tmp.tmp";
#else
    // The shared temporary folder is open to every user of the machine: one could leave a
    // "tmp.tmp" there that nobody else can replace, or read and plant the downloads. Below the
    // runtime folder (emptied at logout), the cache folder, or, without either, a folder of the
    // user's own in the shared one.
    QStringList candidates;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime)) {
        candidates << runtime + QStringLiteral("/losfix");
    }
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.isEmpty() && QDir().mkpath(cache)) {
        candidates << cache + QStringLiteral("/losfix");
    }
    candidates << QDir::tempPath() + QStringLiteral("/losfix-") + QString::number(::geteuid());
    for (const QString& folder : candidates) {
        if (PreparePrivateFolder(folder.toStdString())) {
            return folder.toStdString() + "/tmp.tmp";
        }
    }
    // Downloads refuse to run without it.
    return {};
#endif
}

TFStart::TFStart(AppContext& context, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FStart"));
    setWindowTitle(QString::fromStdString(WindowCaption()));
    setFixedSize(kWidth, kHeight);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);

    context.tempProbeFile = SystemTempProbeFile();
    if (context.folders.base.empty()) {
        context.folders = SystemDataFolders();
    }
    CreateDataFolders(context.folders, *context.files);

    QSvgRenderer renderer(QStringLiteral(":/start-background.svg"));
    background_ = QPixmap(kWidth, kHeight);
    background_.fill(QColor(0x1F, 0x5F, 0xA8));
    if (renderer.isValid()) {
        QPainter painter(&background_);
        renderer.render(&painter, QRectF(0, 0, kWidth, kHeight));
    }

    // The picture's line under the name, for a screen reader; the caption names the program.
    setAccessibleDescription(QString::fromUtf8(kProgramSlogan));

    Weiter = new QPushButton(QStringLiteral("Weiter"), this);
    Weiter->setObjectName(QStringLiteral("Weiter"));
    Weiter->setIcon(ProgramIcon(QStringLiteral("next")));
    Weiter->setIconSize(QSize(18, 18));
    // The glyph stands right of the text.
    Weiter->setLayoutDirection(Qt::RightToLeft);
    Weiter->setFixedSize(104, 32);
    Weiter->move(kWidth - 104 - 12, kHeight - 32 - 12);
    Weiter->setEnabled(false);
    Weiter->setDefault(true);
    connect(Weiter, &QPushButton::clicked, this, &TFStart::WeiterClick);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kWidth / 2, kHeight / 2));
    }
}

void TFStart::setInitializationDone() {
    FInitializationDone = true;
    Weiter->setEnabled(true);
    Weiter->setCursor(Qt::PointingHandCursor);
}

void TFStart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, background_);
}

void TFStart::WeiterClick() {
    Weiter->hide();
    QApplication::processEvents();
    Weiter->setEnabled(false);
    close();
}

void TFStart::closeEvent(QCloseEvent* event) {
    if (!fading_) {
        fading_ = true;
        fade();
    }
    event->accept();
    emit fadeFinished();
}

void TFStart::fade() {
    for (int i = 1; i <= 51; ++i) {
        QApplication::processEvents();
        setWindowOpacity((255 - 5 * i) / 255.0);
        QThread::msleep(1);
        QApplication::processEvents();
    }
    hide();
    QApplication::processEvents();
    QThread::msleep(100);
    if (mainWindow_ != nullptr) {
        // Shown only now, so that without a compositor it does not appear before its fade.
        mainWindow_->setWindowOpacity(0.0);
        mainWindow_->show();
        for (int i = 1; i <= 51; ++i) {
            mainWindow_->setWindowOpacity((5 * i) / 255.0);
            QApplication::processEvents();
            QThread::msleep(1);
        }
        mainWindow_->raise();
        mainWindow_->activateWindow();
    }
}

}  // namespace losfix

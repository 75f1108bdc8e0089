#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include "gui/common/AppContext.h"

class QPushButton;

namespace losfix {

// The start window: prepares the data folders while it is created, enables "Weiter" once the
// main windows exist, and when it closes fades itself out and the main window in.
class TFStart : public QWidget {
    Q_OBJECT
public:
    explicit TFStart(AppContext& context, QWidget* parent = nullptr);

    // Enables "Weiter" with a hand cursor: the main windows exist (or failed to).
    void setInitializationDone();
    bool initializationDone() const { return FInitializationDone; }
    // The window faded in when this one closes.
    void setMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }

signals:
    // Emitted after both fades, just before the start window goes away.
    void fadeFinished();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void WeiterClick();

    QPushButton* Weiter = nullptr;
    void fade();

    bool FInitializationDone = false;
    bool fading_ = false;
    QPointer<QWidget> mainWindow_;
    QPixmap background_;
};

// Data folders below the system's per-user application data (XDG data home, roaming AppData on
// Windows), with the home folder as a fallback.
DataFolders SystemDataFolders();
// "tmp.tmp" in a temporary folder private to the user, created when missing: on Windows the
// system's temporary folder, elsewhere "losfix" below the runtime or the cache folder; "" when no
// such folder can be had.
std::string SystemTempProbeFile();

}  // namespace losfix

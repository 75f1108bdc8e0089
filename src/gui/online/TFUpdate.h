#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "core/online/VersionInfo.h"
#include "gui/common/AppContext.h"

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace losfix {

// What the update window needs from the main window.
struct UpdateWindowHooks {
    // Puts the donation status fetched by every check into the main window's box (`leur`).
    std::function<void(const QString&)> showDonationCounter;
    // Ends the program without writing the settings once the installer runs. Empty: leaves the
    // application's event loop, which skips the main window's closing steps.
    std::function<void()> endProgram;
    // The program file the hand-over removes. Empty: the running program.
    QString programFile;
};

// The update window: compares the installed version with the one on the server, downloads the
// installer when they differ and hands over to it. Freed when closed.
class TFUpdate : public QWidget {
    Q_OBJECT
public:
    TFUpdate(AppContext& context, UpdateWindowHooks hooks, QWidget* owner = nullptr);

    // "Prüfen": fetches the version file and the donation status.
    void BCalcClick();
    // "Download": fetches the installer.
    void BDownClick();
    // "Installation": after a confirmation starts the installer and ends the program.
    void BSetupClick();

    const UpdateWindowState& state() const { return state_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void applyState();
    void setBusy(bool busy);
    bool startInstaller(const std::string& installer);
    void handOver();
    // The base folder as the user knows it, for the messages.
    std::string shownBaseFolder() const;

    AppContext& context_;
    UpdateWindowHooks hooks_;
    UpdateWindowState state_;
    bool busy_ = false;
    bool closeRequested_ = false;

    QGroupBox* bsSkinGroupBox1 = nullptr;
    QPushButton* BCalc = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* PiVersion = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* PvVersion = nullptr;
    QGroupBox* bsSkinGroupBox3 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* BDown = nullptr;
    QGroupBox* bsSkinGroupBox2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* BSetup = nullptr;
    QProgressBar* Gauge3 = nullptr;
    QPushButton* bsSkinSpeedButton1 = nullptr;
};

// bsSkinSpeedButton13: shows the open update window, or creates one centred on the main window.
TFUpdate* ShowUpdateWindow(AppContext& context, QWidget* mainWindow, UpdateWindowHooks hooks = {});

}  // namespace losfix

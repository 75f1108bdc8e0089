#pragma once

#include <QLabel>
#include <QWidget>

#include "gui/common/AppContext.h"

class QPushButton;

namespace losfix {

// A label that works as a link: a click or Space/Enter on it emits clicked().
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& name, const QString& text, QWidget* parent);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// The info window: program name and version over a picture, the maker's contact details and the
// e-mail address as a link. Freed when closed.
class TFInfo : public QWidget {
    Q_OBJECT
public:
    explicit TFInfo(AppContext& context, QWidget* owner = nullptr);

    // Opens a new message to the maker in the user's mail program.
    void LMailClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    AppContext& context_;

    QLabel* Image1 = nullptr;
    QLabel* LVersion = nullptr;
    QWidget* Panel1 = nullptr;
    QLabel* LName = nullptr;
    QLabel* LStrasse = nullptr;
    QLabel* LPLZOrt = nullptr;
    LinkLabel* LMail = nullptr;
    QLabel* LTelefon = nullptr;
    QLabel* LFax = nullptr;
    QPushButton* bsSkinSpeedButton3 = nullptr;
};

// bsSkinSpeedButton14: shows the open info window, or creates one centred on the main window.
TFInfo* ShowInfoWindow(AppContext& context, QWidget* mainWindow);

}  // namespace losfix

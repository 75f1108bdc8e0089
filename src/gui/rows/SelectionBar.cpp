#include "gui/rows/SelectionBar.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/rows/RowStore.h"
#include "gui/common/CaptionButton.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/Style.h"

namespace losfix {

namespace {

FileDialogRequest SelectionDialog(const std::string& title, const std::string& folder) {
    return FileDialogFor(title, "Auswahl-Datei", "whl", folder);
}

QHBoxLayout* MakeRow(QWidget* parent, QVBoxLayout* column) {
    auto* bar = new QWidget(parent);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    column->addWidget(bar);
    return row;
}

}  // namespace

SelectionBar::SelectionBar(AppContext& context, const Board& board, SelectionTarget& target,
                           std::function<void()> resetStatuses, QWidget* parent)
    : QWidget(parent),
      context_(context),
      board_(board),
      target_(target),
      resetStatuses_(std::move(resetStatuses)) {
    setObjectName(QStringLiteral("PAuswahl"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(5);

    fileRow_ = MakeRow(this, column);
    bsSkinSpeedButton9 =
        new CaptionButton(QStringLiteral("bsSkinSpeedButton9"), QStringLiteral("Auswahl öffnen..."),
                          ProgramIcon(QStringLiteral("open")), this);
    bsSkinSpeedButton10 = new CaptionButton(QStringLiteral("bsSkinSpeedButton10"),
                                            QStringLiteral("Auswahl speichern..."),
                                            ProgramIcon(QStringLiteral("save")), this);
    for (auto* button : {bsSkinSpeedButton9, bsSkinSpeedButton10}) {
        button->setFixedHeight(32);
        fileRow_->addWidget(button);
    }
    fileRow_->addStretch(1);

    QHBoxLayout* quickRow = MakeRow(this, column);
    auto makeQuick = [&](const QString& name, const QString& icon, const QString& tip) {
        QToolButton* button = MakeIconButton(name, ProgramIcon(icon), tip, this, 34);
        button->setFixedSize(44, 34);
        button->setIconSize(QSize(36, 28));
        return button;
    };
    BQuick1 = makeQuick(QStringLiteral("BQuick1"), QStringLiteral("quick-open-1"),
                        QStringLiteral("Schnellauswahl 1 öffnen"));
    BQuick2 = makeQuick(QStringLiteral("BQuick2"), QStringLiteral("quick-open-2"),
                        QStringLiteral("Schnellauswahl 2 öffnen"));
    BQuick3 = makeQuick(QStringLiteral("BQuick3"), QStringLiteral("quick-open-3"),
                        QStringLiteral("Schnellauswahl 3 öffnen"));
    bsSkinSpeedButton6 =
        makeQuick(QStringLiteral("bsSkinSpeedButton6"), QStringLiteral("quick-save-1"),
                  QStringLiteral("Schnellauswahl 1 speichern"));
    bsSkinSpeedButton5 =
        makeQuick(QStringLiteral("bsSkinSpeedButton5"), QStringLiteral("quick-save-2"),
                  QStringLiteral("Schnellauswahl 2 speichern"));
    bsSkinSpeedButton4 =
        makeQuick(QStringLiteral("bsSkinSpeedButton4"), QStringLiteral("quick-save-3"),
                  QStringLiteral("Schnellauswahl 3 speichern"));
    for (auto* button : {BQuick1, BQuick2, BQuick3}) {
        button->setEnabled(false);
        quickRow->addWidget(button);
    }
    quickRow->addStretch(1);
    for (auto* button : {bsSkinSpeedButton6, bsSkinSpeedButton5, bsSkinSpeedButton4}) {
        quickRow->addWidget(button);
    }

    Dialogs& dialogs = *context_.dialogs;
    ConnectGuarded(bsSkinSpeedButton9, &QToolButton::clicked, this, dialogs,
                   [this] { OpenSelection(); });
    ConnectGuarded(bsSkinSpeedButton10, &QToolButton::clicked, this, dialogs,
                   [this] { SaveSelection(); });
    const QToolButton* opens[] = {BQuick1, BQuick2, BQuick3};
    const QToolButton* saves[] = {bsSkinSpeedButton6, bsSkinSpeedButton5, bsSkinSpeedButton4};
    for (int slot = 1; slot <= 3; ++slot) {
        ConnectGuarded(opens[slot - 1], &QToolButton::clicked, this, dialogs,
                       [this, slot] { QuickOpen(quickSlotPath(slot)); });
        ConnectGuarded(saves[slot - 1], &QToolButton::clicked, this, dialogs,
                       [this, slot] { QuickSave(quickSlotPath(slot)); });
    }
}

void SelectionBar::addToFileRow(QWidget* widget) {
    fileRow_->addWidget(widget);
}

std::string SelectionBar::quickSlotPath(int slot) const {
    return context_.folders.settings + QuickSlotFileName(slot);
}

void SelectionBar::QuickSave(const std::string& path) {
    SaveSelectionFile(*context_.files, path, board_);
    RefreshQuickButtons();
}

void SelectionBar::QuickOpen(const std::string& path) {
    if (const auto problem = OpenSelectionFile(*context_.files, path, target_, resetStatuses_)) {
        context_.dialogs->warning(*problem);
    }
}

void SelectionBar::RefreshQuickButtons() {
    QToolButton* buttons[] = {BQuick1, BQuick2, BQuick3};
    for (int slot = 1; slot <= 3; ++slot) {
        buttons[slot - 1]->setEnabled(context_.files->exists(quickSlotPath(slot)));
    }
}

void SelectionBar::OpenSelection() {
    const auto path =
        context_.dialogs->openFile(SelectionDialog("Auswahl öffnen", context_.folders.base));
    if (path) {
        QuickOpen(*path);
    }
}

void SelectionBar::SaveSelection() {
    const auto path =
        context_.dialogs->saveFile(SelectionDialog("Auswahl speichern", context_.folders.base));
    if (path) {
        QuickSave(*path);
    }
}

}  // namespace losfix

#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "core/lottery/Board.h"
#include "core/rows/SelectionFile.h"
#include "gui/common/AppContext.h"

class QHBoxLayout;
class QToolButton;

namespace losfix {

class CaptionButton;

// Selection files and the three quick slots: two rows under the board. The board's own tool
// buttons join the first row (addToFileRow).
class SelectionBar : public QWidget {
    Q_OBJECT
public:
    SelectionBar(AppContext& context, const Board& board, SelectionTarget& target,
                 std::function<void()> resetStatuses, QWidget* parent = nullptr);

    void addToFileRow(QWidget* widget);

    void QuickSave(const std::string& path);
    void QuickOpen(const std::string& path);
    // BQuick<i> is enabled exactly when quick slot i's file exists.
    void RefreshQuickButtons();
    void OpenSelection();
    void SaveSelection();

private:
    std::string quickSlotPath(int slot) const;

    AppContext& context_;
    const Board& board_;
    SelectionTarget& target_;
    std::function<void()> resetStatuses_;
    QHBoxLayout* fileRow_ = nullptr;

    CaptionButton* bsSkinSpeedButton9 = nullptr;   // "Auswahl öffnen..."
    CaptionButton* bsSkinSpeedButton10 = nullptr;  // "Auswahl speichern..."
    QToolButton* BQuick1 = nullptr;
    QToolButton* BQuick2 = nullptr;
    QToolButton* BQuick3 = nullptr;
    QToolButton* bsSkinSpeedButton6 = nullptr;  // quick save 1
    QToolButton* bsSkinSpeedButton5 = nullptr;  // quick save 2
    QToolButton* bsSkinSpeedButton4 = nullptr;  // quick save 3
};

}  // namespace losfix

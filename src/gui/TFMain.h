#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <memory>
#include <optional>

#include "core/common/IniFile.h"
#include "core/common/Random.h"
#include "core/common/StringGrid.h"
#include "core/lottery/Board.h"
#include "core/lottery/RowGenerator.h"
#include "core/rows/GridSort.h"
#include "core/rows/SelectionFile.h"
#include "gui/AppContext.h"

class QLabel;
class QLineEdit;
class QSlider;
class QTimer;
class QToolButton;
class QFrame;

namespace losfix {

class BoardPanel;
class CaptionButton;
class DistributionPanel;
class RadioGroup;
class RowTableView;
class StringGridModel;

// The main window: the number board on the left, the generator and the row table in the middle,
// the number distribution on the right.
class TFMain : public QWidget, private SelectionTarget {
    Q_OBJECT
public:
    static constexpr int kNormalWidth = 1078;
    static constexpr int kWideWidth = 1227;
    static constexpr int kDefaultHeight = 674;
    static constexpr int kMaxWidth = 1240;
    static constexpr int kMaxHeight = 725;

    explicit TFMain(AppContext& context, QWidget* parent = nullptr);
    ~TFMain() override;

    // Number board.
    void StepStatus(int number, MouseStep step);
    void SetStatus(int number, NumberStatus status);
    void ResetStatuses();
    void ApplyPoolSize(int item);

    // Generator.
    void GenerateRows();
    void RequestStop();
    bool running() const { return running_; }

    // Sorting.
    void SortRows();
    void UndoSort();

    // Distribution.
    void SortByFrequency();
    void SortByNumber();

    // Row files.
    void SaveRowFile();
    void LoadRowFile();

    // Selections and quick slots.
    void QuickSave(const std::string& path);
    void QuickOpen(const std::string& path);
    void RefreshQuickButtons();
    void OpenSelection();
    void SaveSelection();
    void QuickSlotOpen(int slot);
    void QuickSlotSave(int slot);

    // Pictures.
    void CaptureBoard();
    void CaptureDistribution();

    // Window.
    void SetWideWidth();
    void SetNormalWidth();
    void SavePosition();

    const Board& board() const { return board_; }
    const StringGrid& table() const { return table_; }
    const StringGrid& sortBackup() const { return gpuf2_; }
    const DrawCounts& drawCounts() const { return counts_; }
    int sortKeySize() const { return sortKeySize_; }
    bool boardLaidOut() const { return boardLaidOut_; }
    ImageSession& imageSession() { return imageSession_; }
    IniFile& settingsFile() { return *ini_; }

    // Controls, named as the program names them.
    QToolButton* bsSkinSpeedButton1 = nullptr;  // "Programm beenden"
    QLabel* Label3 = nullptr;                   // "Losfix 2.0"
    QFrame* PPayPal = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* leur = nullptr;
    QToolButton* bsSkinSpeedButton16 = nullptr;  // position

    RadioGroup* RG1 = nullptr;
    RadioGroup* RG2 = nullptr;
    BoardPanel* P4 = nullptr;
    CaptionButton* bsSkinSpeedButton9 = nullptr;   // "Auswahl öffnen..."
    CaptionButton* bsSkinSpeedButton10 = nullptr;  // "Auswahl speichern..."
    QToolButton* BFoto = nullptr;
    QToolButton* BDel = nullptr;
    QToolButton* BQuick1 = nullptr;
    QToolButton* BQuick2 = nullptr;
    QToolButton* BQuick3 = nullptr;
    QToolButton* bsSkinSpeedButton6 = nullptr;  // quick save 1
    QToolButton* bsSkinSpeedButton5 = nullptr;  // quick save 2
    QToolButton* bsSkinSpeedButton4 = nullptr;  // quick save 3
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;

    QLabel* Label1 = nullptr;  // "Gewünschte Reihenanzahl:"
    QLineEdit* eAnz = nullptr;
    QLabel* LHinweis = nullptr;
    QToolButton* BBreit = nullptr;
    QToolButton* Bnormal = nullptr;
    RadioGroup* RGPaar = nullptr;
    QLabel* Label4 = nullptr;  // "Max. Reihenkongruenz "
    QSlider* Track1 = nullptr;
    QLabel* Lkon = nullptr;
    CaptionButton* bsSkinSpeedButton2 = nullptr;  // "Reihen bilden"
    QToolButton* BStop = nullptr;
    QLabel* LFortschritt = nullptr;  // progress of a run
    QLabel* LObergrenze = nullptr;   // the most rows these settings allow
    RowTableView* g1 = nullptr;
    CaptionButton* BSort = nullptr;
    CaptionButton* BUnSort = nullptr;
    CaptionButton* bsSkinSpeedButton3 = nullptr;  // "Reihen öffnen..."
    CaptionButton* bsSkinSpeedButton7 = nullptr;  // "Reihen speichern..."
    QLabel* Label2 = nullptr;                     // "Datei"
    QLabel* LDatei2 = nullptr;

    DistributionPanel* P3 = nullptr;
    CaptionButton* BSortN = nullptr;
    CaptionButton* BSortH = nullptr;
    QToolButton* bsSkinSpeedButton15 = nullptr;

    QTimer* Timer1 = nullptr;

signals:
    // The window closed for good (settings written); the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // SelectionTarget: how a loaded selection reaches the board.
    void applyRowSizeItem(int item) override;
    void applyPoolItem(int item) override;
    int poolSize() const override;
    void applyStatus(int number, NumberStatus status) override;

    QWidget* buildHeader();
    QWidget* buildLeftColumn();
    QWidget* buildMiddleColumn();
    QWidget* buildRightColumn();
    void connectHandlers();
    void applySettings();
    void FinishRun();
    bool runYield(const RunProgress& progress);
    void showProgress(const RunProgress& progress);
    void setRunControls(bool running);
    void updateCongruenceLabel(int value);
    void repaintTable();
    int measureText(std::string_view text) const;
    template <typename Handler>
    void guarded(Handler&& handler);

    AppContext& context_;
    std::unique_ptr<IniFile> ini_;
    std::unique_ptr<SortLocale> sortLocale_;
    Board board_;
    bool boardLaidOut_ = false;
    StringGrid table_;
    StringGrid gpuf2_;  // the sort backup
    StringGridModel* model_ = nullptr;
    DrawCounts counts_{};
    int sortKeySize_ = 0;
    Random random_;
    ImageSession imageSession_;

    bool running_ = false;
    bool stopRequested_ = false;
    bool closeAfterRun_ = false;
    unsigned yieldCalls_ = 0;
    QElapsedTimer pumpClock_;
    qint64 lastPump_ = 0;
    qint64 lastProgress_ = 0;
};

}  // namespace losfix

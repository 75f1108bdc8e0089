#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "core/app/StartFile.h"
#include "core/common/IniFile.h"
#include "core/common/Random.h"
#include "gui/common/AppContext.h"
#include "gui/lottery/LotteryState.h"

namespace losfix {

class BoardColumn;
class DistributionColumn;
class GeneratorPanel;
class HeaderBar;
class ProductPanel;
class RowsPanel;
class SortLocale;
class StringGridModel;
class TFAuswertung;
class TFKick;

// The main window: a frame that puts the areas together and connects them. The header on top;
// below it the board column, the generator panel over the rows panel, and the distribution.
class TFMain : public QWidget {
    Q_OBJECT
public:
    static constexpr int kNormalWidth = 1078;
    static constexpr int kWideWidth = 1227;
    static constexpr int kDefaultHeight = 674;
    static constexpr int kMaxWidth = 1240;
    static constexpr int kMaxHeight = 725;

    explicit TFMain(AppContext& context, QWidget* parent = nullptr);
    ~TFMain() override;

    // The football window that "Losfix Fußball" shows; it ends with this window.
    void setFootballWindow(TFKick* football);
    // The file the program was started with, opened as the button for its kind opens it, with
    // the same messages; or the notice why the arguments were not used.
    void OpenStartFile(const StartFile& file);

    // "Auswerten": opens the evaluation of the rows, or says why the rows cannot be evaluated.
    void OpenEvaluation();

    void SetWideWidth();
    void SetNormalWidth();
    void SavePosition();

    const Board& board() const { return state_.board; }
    const StringGrid& table() const { return state_.table; }
    const StringGrid& sortBackup() const { return state_.sortBackup; }
    const DrawCounts& drawCounts() const { return state_.counts; }
    int sortKeySize() const { return state_.sortKeySize; }
    bool boardLaidOut() const;
    bool running() const;
    ImageSession& imageSession() { return imageSession_; }
    IniFile& settingsFile() { return *ini_; }

signals:
    // The window closed for good (settings written); the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void connectAreas();
    void applySettings();
    int measureText(std::string_view text) const;

    AppContext& context_;
    std::unique_ptr<IniFile> ini_;
    std::unique_ptr<SortLocale> sortLocale_;
    LotteryState state_;
    StringGridModel* model_ = nullptr;
    Random random_;
    ImageSession imageSession_;
    bool closeAfterRun_ = false;

    HeaderBar* header_ = nullptr;
    BoardColumn* boardColumn_ = nullptr;
    GeneratorPanel* generator_ = nullptr;
    RowsPanel* rows_ = nullptr;
    DistributionColumn* distribution_ = nullptr;
    ProductPanel* products_ = nullptr;
    QPointer<TFKick> football_;
    QPointer<TFAuswertung> evaluation_;
};

}  // namespace losfix

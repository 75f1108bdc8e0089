#pragma once

#include <QFrame>
#include <array>

#include "core/lottery/Board.h"
#include "gui/lottery/TBZahl.h"

namespace losfix {

// The board panel P4 with the 90 number buttons, laid out per pool size.
class BoardPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int kWidth = 287;
    static constexpr int kHeight = 249;

    explicit BoardPanel(QWidget* parent = nullptr);

    TBZahl* button(int number) const;
    // Hides everything, places and shows the buttons 1..N of the geometry, shows the panel.
    void applyGeometry(const BoardGeometry& geometry);
    void showStatus(int number, NumberStatus status);
    void showStatuses(const std::array<NumberStatus, kMaxNumber>& statuses);

signals:
    void stepRequested(int number, losfix::MouseStep step);

private:
    std::array<TBZahl*, kMaxNumber> buttons_{};
};

}  // namespace losfix

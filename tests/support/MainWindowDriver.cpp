#include "support/MainWindowDriver.h"

#include <QLineEdit>

#include "gui/lottery/BoardPanel.h"

namespace losfix::testing {

void GenerateRows(TFMain& window, int rows) {
    Find<QLineEdit>(window, "eAnz")->setText(QString::number(rows));
    GenerateRows(window);
}

void GenerateRows(TFMain& window) {
    Press(window, "bsSkinSpeedButton2");
}

void SetStatus(TFMain& window, int number, NumberStatus status) {
    TBZahl* button = Find<BoardPanel>(window, "P4")->button(number);
    for (int step = 0; step < kStatusCount && window.board().status(number) != status; ++step) {
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QCOMPARE(window.board().status(number), status);
}

}  // namespace losfix::testing

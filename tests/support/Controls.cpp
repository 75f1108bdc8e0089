#include "support/Controls.h"

#include <QCoreApplication>

namespace losfix::testing {

void Press(const QObject& root, const char* name) {
    QTest::mouseClick(Find<QWidget>(root, name), Qt::LeftButton);
    QCoreApplication::processEvents();
}

}  // namespace losfix::testing

// Opens both evaluation windows with a counted draw and computed odds, says READY and waits: the
// AT-SPI check (check_evaluation.py) reads them as a screen reader would.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "core/football/TipStatus.h"
#include "gui/app/TFMain.h"
#include "gui/eval/TFAuswertung.h"
#include "gui/eval/TFKickAuswertung.h"
#include "gui/football/TFKick.h"
#include "gui/football/TipButton.h"
#include "support/Controls.h"
#include "support/MainWindowDriver.h"
#include "support/TestContext.h"

using namespace losfix;
using losfix::testing::Find;
using losfix::testing::Press;

namespace {

bool WaitUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 1200 && !done(); ++i) {
        QTest::qWait(50);
    }
    return done();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    testing::InitGuiTestEnvironment();
    testing::TestContext env;

    TFMain window(env.context());
    window.setWindowOpacity(1.0);
    window.show();
    testing::GenerateRows(window, 12);
    Press(window, "BAuswerten");
    auto* lotto = window.findChild<TFAuswertung*>(QStringLiteral("FAuswertung"));
    if (lotto == nullptr) {
        std::fprintf(stderr, "no evaluation window\n");
        return 1;
    }
    // The first row as the draw: one row with six hits.
    QString draw;
    for (int c = 1; c <= 6; ++c) {
        draw += QString::fromStdString(window.table().cell(c, 1)) + QLatin1Char(' ');
    }
    Find<QLineEdit>(*lotto, "eZiehung")->setText(draw);
    Press(*lotto, "BTreffer");
    Press(*lotto, "BBerechnen");
    if (!WaitUntil([lotto] { return !lotto->computing(); })) {
        std::fprintf(stderr, "the lottery odds did not end\n");
        return 1;
    }

    ImageSession images;
    TFKick kick(env.context(), images);
    kick.showAndRaise();
    for (int match = 1; match <= kMatchCount; ++match) {
        const QByteArray name = QByteArray("but") + QByteArray::number(OutcomeSlot(match, 1));
        QTest::mouseClick(Find<TipButton>(kick, name.constData()), Qt::LeftButton);
    }
    Find<QLineEdit>(kick, "eAnz")->setText(QStringLiteral("1"));
    Press(kick, "bsSkinSpeedButton2");
    WaitUntil([&kick] { return !kick.running(); });
    Press(kick, "BAuswerten");
    auto* football = kick.findChild<TFKickAuswertung*>(QStringLiteral("FKickAuswertung"));
    if (football == nullptr) {
        std::fprintf(stderr, "no football evaluation window\n");
        return 1;
    }
    Find<QLineEdit>(*football, "eErgebnisse")->setText(QStringLiteral("1111111111111"));
    Press(*football, "BTreffer");
    Press(*football, "BBerechnen");
    if (!WaitUntil([football] { return !football->computing(); })) {
        std::fprintf(stderr, "the football odds did not end\n");
        return 1;
    }
    std::printf("READY\n");
    std::fflush(stdout);
    return application.exec();
}

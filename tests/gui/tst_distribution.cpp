#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <set>

#include "core/lottery/PoolLayouts.h"
#include "gui/common/RadioGroup.h"
#include "gui/common/Style.h"
#include "gui/rows/DistributionPanel.h"
#include "support/Controls.h"
#include "support/MainWindowDriver.h"
#include "support/TestContext.h"

using namespace losfix;

namespace {

constexpr int kItem35 = 0;
constexpr int kItem38 = 1;
constexpr int kItem49 = 5;
constexpr int kItem90 = 11;

using Statuses = std::array<NumberStatus, kMaxNumber>;

Statuses AllNormal() {
    Statuses statuses;
    statuses.fill(NumberStatus::Normal);
    return statuses;
}

QColor Colour(NumberStatus status) {
    return ToQColor(StatusColour(status));
}

// Records, at each Hide and Show of the panel, where frame 1 stands.
class VisibilityProbe : public QObject {
public:
    VisibilityProbe(QWidget* panel, QWidget* frame) : frame_(frame) {
        panel->installEventFilter(this);
    }
    QList<QPair<QEvent::Type, QPoint>> seen;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide || event->type() == QEvent::Show) {
            seen.append({event->type(), frame_->pos()});
        }
        return false;
    }

private:
    QWidget* frame_;
};

}  // namespace

class DistributionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::InitGuiTestEnvironment(); }

    void framesAreBuiltHiddenWithTheirNumbers() {
        DistributionPanel panel;
        QCOMPARE(panel.objectName(), QStringLiteral("P3"));
        QCOMPARE(panel.size(), QSize(428, 306));
        QCOMPARE(panel.findChildren<TFfrStat*>().size(), 90);
        for (int n = 1; n <= kMaxNumber; ++n) {
            auto* frame = panel.findChild<TFfrStat*>(QStringLiteral("frs%1").arg(n));
            QVERIFY2(frame != nullptr, qPrintable(QStringLiteral("frs%1").arg(n)));
            QCOMPARE(frame, panel.frame(n));
            QCOMPARE(frame->number(), n);
            QVERIFY(frame->isHidden());
            QCOMPARE(frame->size(), QSize(60, 22));
            QCOMPARE(frame->PNr->text(), QStringLiteral("%1:").arg(n));
            QCOMPARE(frame->countText(), QString());
        }
        QCOMPARE(panel.frame(0), nullptr);
        QCOMPARE(panel.frame(91), nullptr);
        QCOMPARE(panel.poolCount(), 0);
        QVERIFY(!panel.frequencyOrder());

        const TFfrStat* frame = panel.frame(7);
        QCOMPARE(frame->PNr->objectName(), QStringLiteral("PNr"));
        QCOMPARE(frame->PAnz->objectName(), QStringLiteral("PAnz"));
        QCOMPARE(frame->PNr->geometry(), QRect(0, 0, 22, 22));
        QCOMPARE(frame->PAnz->geometry(), QRect(22, 0, 38, 22));
        for (const QLabel* part : {frame->PNr, frame->PAnz}) {
            QCOMPARE(part->frameStyle(), int(QFrame::Panel | QFrame::Sunken));
            QCOMPARE(part->lineWidth(), 1);
            QVERIFY(part->font().bold());
            QCOMPARE(part->alignment(), Qt::AlignCenter);
        }
        // The widest numbers keep a margin inside their sunken 22-pixel field.
        const QFontMetrics metrics(frame->PNr->font());
        for (const char* widest : {"88:", "90:", "10:", "11:"}) {
            QVERIFY2(metrics.horizontalAdvance(QString::fromLatin1(widest)) <= 22 - 2 - 4, widest);
        }
        QCOMPARE(frame->PNr->palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(frame->PNr->palette().color(QPalette::WindowText), QColor(Qt::yellow));
        QCOMPARE(frame->countColour(), Colour(NumberStatus::Normal));
    }

    void layoutFollowsTheGridOfThePool() {
        DistributionPanel panel;
        panel.applyGeometry(LayoutForPoolItem(kItem38));
        QCOMPARE(panel.poolCount(), 38);
        QCOMPARE(panel.framePositions().size(), std::size_t(38));
        // 5 columns: 60 + 30 apart; 8 rows: 22 + 16 apart; 5 pixels from the panel's edge.
        QCOMPARE(panel.frame(1)->pos(), QPoint(5, 5));
        QCOMPARE(panel.frame(2)->pos(), QPoint(95, 5));
        QCOMPARE(panel.frame(5)->pos(), QPoint(365, 5));
        QCOMPARE(panel.frame(6)->pos(), QPoint(5, 43));
        QCOMPARE(panel.frame(36)->pos(), QPoint(5, 271));
        QCOMPARE(panel.frame(38)->pos(), QPoint(185, 271));
        int lastRow = 0;
        for (int n = 1; n <= kMaxNumber; ++n) {
            QCOMPARE(!panel.frame(n)->isHidden(), n <= 38);
            if (n <= 38) {
                QCOMPARE(panel.framePositions()[std::size_t(n - 1)], panel.frame(n)->pos());
                lastRow += panel.frame(n)->y() == 271 ? 1 : 0;
            }
        }
        QCOMPARE(lastRow, 3);

        // 90 on 13 x 7 without gaps; 35 on 5 x 7 with 44 pixels between the rows.
        panel.applyGeometry(LayoutForPoolItem(kItem90));
        QCOMPARE(panel.frame(90)->pos(), QPoint(305, 269));
        QCOMPARE(panel.frame(8)->pos(), QPoint(5, 27));
        QVERIFY(!panel.frame(90)->isHidden());
        QVERIFY(QRect(QPoint(0, 0), panel.size()).contains(panel.frame(90)->geometry()));

        panel.applyGeometry(LayoutForPoolItem(kItem35));
        QCOMPARE(panel.poolCount(), 35);
        QCOMPARE(panel.frame(35)->pos(), QPoint(365, 269));
        QCOMPARE(panel.frame(8)->pos(), QPoint(5, 71));
        QVERIFY(panel.frame(36)->isHidden());
        QVERIFY(panel.frame(90)->isHidden());
    }

    void refreshShowsCountsAndStatusColours() {
        DistributionPanel panel;
        panel.applyGeometry(LayoutForPoolItem(kItem38));
        DrawCounts counts{};
        for (int n = 1; n <= kMaxNumber; ++n) {
            counts[std::size_t(n - 1)] = (n * 7) % 23;
        }
        Statuses statuses = AllNormal();
        statuses[2] = NumberStatus::Out;
        statuses[9] = NumberStatus::FavIII;
        statuses[37] = NumberStatus::Bank;
        statuses[38] = NumberStatus::FavI;  // 39: outside the pool

        panel.refresh(counts, statuses, 38);
        for (int n = 1; n <= 38; ++n) {
            QCOMPARE(panel.frame(n)->countText(), QString::number(counts[std::size_t(n - 1)]));
            QCOMPARE(panel.frame(n)->countColour(), Colour(statuses[std::size_t(n - 1)]));
        }
        QCOMPARE(panel.frame(3)->countColour(), Colour(NumberStatus::Out));
        QCOMPARE(panel.frame(38)->countColour(), Colour(NumberStatus::Bank));
        for (int n = 39; n <= kMaxNumber; ++n) {
            QCOMPARE(panel.frame(n)->countText(), QString());
            QCOMPARE(panel.frame(n)->countColour(), Colour(NumberStatus::Normal));
        }

        // A status change shows only at the next refresh; a smaller pool leaves the rest alone.
        statuses[2] = NumberStatus::FavII;
        QCOMPARE(panel.frame(3)->countColour(), Colour(NumberStatus::Out));
        DrawCounts zero{};
        panel.refresh(zero, statuses, 35);
        QCOMPARE(panel.frame(3)->countText(), QStringLiteral("0"));
        QCOMPARE(panel.frame(3)->countColour(), Colour(NumberStatus::FavII));
        QCOMPARE(panel.frame(36)->countText(), QString::number(counts[35]));
        QCOMPARE(panel.frame(38)->countColour(), Colour(NumberStatus::Bank));
    }

    void sortByFrequencyPutsTheMostDrawnFirst() {
        DistributionPanel panel;
        panel.applyGeometry(LayoutForPoolItem(kItem35));
        DrawCounts counts{};
        for (int n = 1; n <= 35; ++n) {
            counts[std::size_t(n - 1)] = n % 5;  // 0..4
        }
        counts[11] = 9;   // 12
        counts[29] = 9;   // 30
        counts[40] = 50;  // 41 lies outside the pool
        const auto positions = panel.framePositions();

        panel.sortByFrequency(counts);
        QVERIFY(panel.frequencyOrder());
        QCOMPARE(panel.frame(12)->pos(), positions[0]);
        QCOMPARE(panel.frame(30)->pos(), positions[1]);
        QVERIFY(panel.frame(41)->isHidden());

        // Every slot is taken once; counts fall slot by slot, ties keep ascending numbers.
        std::vector<int> bySlot(35, 0);
        for (int n = 1; n <= 35; ++n) {
            const auto it = std::find(positions.begin(), positions.end(), panel.frame(n)->pos());
            QVERIFY(it != positions.end());
            QCOMPARE(bySlot[std::size_t(it - positions.begin())], 0);
            bySlot[std::size_t(it - positions.begin())] = n;
        }
        for (std::size_t slot = 1; slot < bySlot.size(); ++slot) {
            const int before = counts[std::size_t(bySlot[slot - 1] - 1)];
            const int here = counts[std::size_t(bySlot[slot] - 1)];
            QVERIFY(before > here || (before == here && bySlot[slot - 1] < bySlot[slot]));
        }
        // The frames with count 4 (4, 9, 14, ...) follow 12 and 30 in numeric order.
        QCOMPARE(panel.frame(4)->pos(), positions[2]);
        QCOMPARE(panel.frame(9)->pos(), positions[3]);

        panel.sortByNumber();
        QVERIFY(!panel.frequencyOrder());
        for (int n = 1; n <= 35; ++n) {
            QCOMPARE(panel.frame(n)->pos(), positions[std::size_t(n - 1)]);
        }
    }

    void equalCountsKeepTheNumericPositions() {
        DistributionPanel panel;
        panel.applyGeometry(LayoutForPoolItem(kItem38));
        DrawCounts counts{};
        counts.fill(6);
        panel.sortByFrequency(counts);
        QVERIFY(panel.frequencyOrder());
        for (int n = 1; n <= 38; ++n) {
            QCOMPARE(panel.frame(n)->pos(), panel.framePositions()[std::size_t(n - 1)]);
        }
    }

    void pool38SortsOnItsOwnPositions() {
        DistributionPanel panel;
        panel.applyGeometry(LayoutForPoolItem(kItem38));
        DrawCounts counts{};
        for (int n = 1; n <= 38; ++n) {
            counts[std::size_t(n - 1)] = n;  // reverses the order
        }
        panel.sortByFrequency(counts);
        QCOMPARE(panel.frame(38)->pos(), QPoint(5, 5));
        QCOMPARE(panel.frame(1)->pos(), QPoint(185, 271));
        std::set<std::pair<int, int>> taken;
        for (int n = 1; n <= 38; ++n) {
            taken.insert({panel.frame(n)->x(), panel.frame(n)->y()});
        }
        QCOMPARE(taken.size(), std::size_t(38));
        const auto lastRow = std::count_if(taken.begin(), taken.end(),
                                           [](const auto& p) { return p.second == 271; });
        QCOMPARE(lastRow, 3);
    }

    void applyGeometryClearsFrequencyOrderAndKeepsCaptions() {
        DistributionPanel panel;
        panel.applyGeometry(LayoutForPoolItem(kItem35));
        DrawCounts counts{};
        for (int n = 1; n <= 35; ++n) {
            counts[std::size_t(n - 1)] = 100 - n;
        }
        Statuses statuses = AllNormal();
        statuses[0] = NumberStatus::FavII;
        panel.refresh(counts, statuses, 35);
        panel.sortByFrequency(counts);
        QVERIFY(panel.frequencyOrder());

        panel.applyGeometry(LayoutForPoolItem(kItem38));
        QVERIFY(!panel.frequencyOrder());
        for (int n = 1; n <= 38; ++n) {
            QCOMPARE(panel.frame(n)->pos(), panel.framePositions()[std::size_t(n - 1)]);
            QVERIFY(!panel.frame(n)->isHidden());
        }
        QCOMPARE(panel.frame(1)->countText(), QStringLiteral("99"));
        QCOMPARE(panel.frame(1)->countColour(), Colour(NumberStatus::FavII));
        QCOMPARE(panel.frame(35)->countText(), QStringLiteral("65"));
        QCOMPARE(panel.frame(36)->countText(), QString());  // never part of a run

        // Old counts sort the new pool: the frames without a count come last, in numeric order.
        panel.sortByFrequency(counts);
        QCOMPARE(panel.frame(1)->pos(), panel.framePositions()[0]);
        QCOMPARE(panel.frame(36)->pos(), panel.framePositions()[35]);
        QCOMPARE(panel.frame(38)->pos(), panel.framePositions()[37]);
    }

    void panelIsHiddenWhileFramesMove() {
        QWidget window;
        auto* panel = new DistributionPanel(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        panel->applyGeometry(LayoutForPoolItem(kItem35));
        QVERIFY(panel->isVisible());

        DrawCounts counts{};
        counts[19] = 5;  // 20 goes first, 1 moves to the second slot
        const QPoint numeric = panel->frame(1)->pos();
        VisibilityProbe probe(panel, panel->frame(1));
        panel->sortByFrequency(counts);
        QCOMPARE(probe.seen.size(), 2);
        QCOMPARE(probe.seen[0].first, QEvent::Hide);
        QCOMPARE(probe.seen[0].second, numeric);
        QCOMPARE(probe.seen[1].first, QEvent::Show);
        QCOMPARE(probe.seen[1].second, panel->framePositions()[1]);
        QVERIFY(panel->isVisible());

        probe.seen.clear();
        panel->sortByNumber();
        QCOMPARE(probe.seen.size(), 2);
        QCOMPARE(probe.seen[1].second, numeric);

        probe.seen.clear();
        panel->applyGeometry(LayoutForPoolItem(kItem90));
        QCOMPARE(probe.seen.size(), 2);
        QCOMPARE(probe.seen[0].first, QEvent::Hide);
        QCOMPARE(probe.seen[1].first, QEvent::Show);
        QVERIFY(panel->isVisible());
        QVERIFY(panel->updatesEnabled());
    }

    void aPoolChangedDuringARunLeavesTheFramesOutsideTheRun() {
        testing::TestContext env;
        TFMain window(env.context());
        window.show();
        auto* pools = testing::Find<RadioGroup>(window, "RG2");
        auto* panel = testing::Find<DistributionPanel>(window, "P3");
        pools->setItemIndex(kItem90);
        testing::GenerateRows(window, 40);
        QStringList earlier;
        for (int n = 50; n <= kMaxNumber; ++n) {
            earlier << panel->frame(n)->countText();
        }
        QVERIFY(earlier.join(QString()) != QString(41, QLatin1Char('0')));

        // Pool 49; while the run draws, the user picks 90 and then stops.
        pools->setItemIndex(kItem49);
        auto* user = new QTimer(&window);
        user->setInterval(1);
        connect(user, &QTimer::timeout, &window, [&window, pools, user] {
            if (window.running() && window.table().cell(1, 3) != std::string()) {
                user->stop();
                pools->setItemIndex(kItem90);
                testing::Press(window, "BStop");
            }
        });
        user->start();
        testing::GenerateRows(window, 20000);
        QVERIFY(!window.running());
        QCOMPARE(window.board().poolSize(), 90);

        // The run's own frames show its counts; the others what they showed before it.
        int drawn = 0;
        for (int n = 1; n <= 49; ++n) {
            const int count = window.drawCounts()[std::size_t(n - 1)];
            QCOMPARE(panel->frame(n)->countText(), QString::number(count));
            drawn += count;
        }
        int rows = 0;
        while (rows + 1 < window.table().rowCount() && !window.table().cell(1, rows + 1).empty()) {
            ++rows;
        }
        QVERIFY(rows >= 3);
        QCOMPARE(drawn, 6 * rows);
        QStringList after;
        for (int n = 50; n <= kMaxNumber; ++n) {
            QVERIFY(panel->frame(n)->isVisibleTo(panel));
            after << panel->frame(n)->countText();
        }
        QCOMPARE(after, earlier);
    }

    void pictureOfARefreshedPanel() {
        DistributionPanel panel;
        panel.applyGeometry(LayoutForPoolItem(kItem90));
        DrawCounts counts{};
        Statuses statuses = AllNormal();
        for (int n = 1; n <= kMaxNumber; ++n) {
            counts[std::size_t(n - 1)] = n * 3;
            statuses[std::size_t(n - 1)] = static_cast<NumberStatus>(n % kStatusCount);
        }
        panel.refresh(counts, statuses, 90);
        const QImage image = panel.grab().toImage();
        // Frame 9 (status 3) stands in row 2, column 2; its count part starts 22 pixels in.
        const QPoint frame9 = panel.frame(9)->pos();
        QCOMPARE(frame9, QPoint(65, 27));
        QCOMPARE(image.pixelColor(frame9 + QPoint(2, 2)), QColor(Qt::black));
        QCOMPARE(image.pixelColor(frame9 + QPoint(24, 3)), Colour(NumberStatus::FavII));
        // Its count text is drawn in the count part.
        int textPixels = 0;
        for (int x = frame9.x() + 24; x < frame9.x() + 58; ++x) {
            for (int y = frame9.y() + 3; y < frame9.y() + 19; ++y) {
                textPixels += image.pixelColor(x, y) != Colour(NumberStatus::FavII) ? 1 : 0;
            }
        }
        QVERIFY(textPixels > 10);
    }
};

QTEST_MAIN(DistributionTest)
#include "tst_distribution.moc"

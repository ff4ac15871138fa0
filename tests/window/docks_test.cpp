// The docks beside the plot: the search's curve and the history tabbed together below it, the
// plot keeping half the window's height, the window giving back what a closed dock added, and
// every label whole at the window's least size.

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QDockWidget>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

#include "window_fixture.h"
#include "workbench/window/curve_chart.h"
#include "workbench/window/search_curve.h"

class TWindowDocksTest : public TWindowTest {
    Q_OBJECT

    QDockWidget* Dock(const char* name) const { return Find<QDockWidget>(name); }
    QWidget* Plot() const { return Find<QWidget>("ImagePanel"); }
    void Settle() {
        for (int i = 0; i < 5; ++i) {
            QApplication::processEvents();
            QTest::qWait(10);
        }
    }
    void ShortEvolve() {
        FForm->SetEvolveBudget(20000);
        Button("EvolveToolButton")->click();
        WaitForTheSearch();
        Settle();
    }
    // The texts of a chart's scene cut short with an ellipsis.
    static QStringList CutLabels(const QChartView& view) {
        QStringList cut;
        for (const QGraphicsItem* item : view.scene()->items())
            if (const auto* text = dynamic_cast<const QGraphicsTextItem*>(item))
                if (text->isVisible() && (text->toPlainText().contains(QChar(0x2026)) ||
                                          text->toPlainText().contains("...")))
                    cut << text->toPlainText();
        return cut;
    }

private slots:
    void init() { QVERIFY(OpenWindow()); }
    void cleanup() { QVERIFY(CloseWindow().isEmpty()); }

    // The search's curve and the history share the bottom as tabs; the plot keeps at least half
    // the window's height with both shown, and the window is back to its size once they close.
    void theBottomDocksAreTabsAndLeaveThePlotHalf() {
        const QSize opened = FForm->size();
        ShortEvolve();
        FDocksHistory()->trigger();
        Settle();
        QDockWidget* curve = Dock("SearchCurveDock");
        QDockWidget* history = Dock("HistoryDock");
        QVERIFY(curve->isVisible() || history->isVisible());
        QVERIFY(FForm->tabifiedDockWidgets(history).contains(curve));
        QVERIFY2(Plot()->height() * 2 >= FForm->height(),
                 qPrintable(QString("plot %1 of %2").arg(Plot()->height()).arg(FForm->height())));
        // Dragged larger, the docks still leave the plot its half.
        FForm->resizeDocks({history}, {FForm->height()}, Qt::Vertical);
        Settle();
        QVERIFY2(Plot()->height() * 2 >= FForm->height(),
                 qPrintable(QString("%1 of %2").arg(Plot()->height()).arg(FForm->height())));
        curve->close();
        history->close();
        Settle();
        QCOMPARE(FForm->size(), opened);
    }

    // The block panel gives back the width it added; the history's columns fit its width.
    void theBlockPanelGivesItsWidthBackAndTheHistoryFits() {
        const QSize opened = FForm->size();
        ShortEvolve();
        Button("BlocksToolButton")->click();
        Settle();
        FDocksHistory()->trigger();
        Settle();
        auto* table = Find<QTableWidget>("HistoryTable");
        QVERIFY(table->isVisible()); // the history in front of the curve, its tab's neighbour
        QVERIFY(!table->horizontalScrollBar()->isVisible());
        QVERIFY2(Plot()->height() * 2 >= FForm->height(),
                 qPrintable(QString("plot %1 of %2").arg(Plot()->height()).arg(FForm->height())));
        Button("BlocksToolButton")->click();
        Settle();
        FDocksHistory()->trigger();
        Settle();
        Dock("SearchCurveDock")->close();
        Settle();
        QCOMPARE(FForm->size(), opened);
    }

    // At the window's least size the chart's and the curve's labels are whole.
    void atTheLeastSizeEveryLabelIsWhole() {
        ShortEvolve();
        Button("ChartToolButton")->click();
        FForm->resize(FForm->minimumSizeHint());
        FForm->resize(1, 1);
        Settle();
        QVERIFY2(CutLabels(*Find<TCurveChart>("CurveChart")).isEmpty(),
                 qPrintable(CutLabels(*Find<TCurveChart>("CurveChart")).join(" | ")));
        QVERIFY2(CutLabels(*Find<TSearchCurve>("SearchCurve")).isEmpty(),
                 qPrintable(CutLabels(*Find<TSearchCurve>("SearchCurve")).join(" | ")));
    }

private:
    QAction* FDocksHistory() const { return Find<QAction>("HistoryAction"); }
};

QTEST_MAIN(TWindowDocksTest)
#include "docks_test.moc"

// Renders the workbench window after the first preset pattern has been shown and saves it as a
// PNG: window_snapshot <file.png>. Run on the offscreen platform to refresh docs/workbench.png.
// window_snapshot <file.png> evolve: after "Evolve" on 8 blocks, with the block panel shown and
// the pointer over the plot (docs/evolve.png); chart: the same search shown on the chart
// (docs/chart.png); target: a target drawn on the chart with the mouse and the pattern "Evolve"
// fits to it (docs/target.png); docks: a short search (200,000 evaluations) on 8 blocks with the
// block panel, the history and the search's curve open and the chart zoomed in twice about a
// point, the pointer over it (docs/docks.png; run on a virtual X server of 1400x900, where the
// window can grow).

#include <cstdio>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include "runtime/random_source.h"
#include "temporary_places.h"
#include "workbench/window/curve_chart.h"
#include "workbench/window/home_form.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: window_snapshot <file.png> [evolve|chart|target|docks]\n");
        return 2;
    }
    QApplication application(argc, argv);
    UseTemporaryPlaces(); // the window as it first opens, the user's settings untouched
    vesk::RandomSource.Seed = 0;
    TVeskTestHomeForm form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;

    if (argc == 3 && QString(argv[2]) == "docks") {
        form.findChild<QAbstractSpinBox*>("NBlocksSpinEdit")->findChild<QLineEdit*>()->setText("8");
        form.SetEvolveBudget(200000);
        form.findChild<QToolButton*>("EvolveToolButton")->click();
        while (form.EvolveRunning())
            QTest::qWait(20);
        form.findChild<QToolButton*>("BlocksToolButton")->click();
        form.findChild<QToolButton*>("ChartToolButton")->click();
        form.findChild<QAction*>("HistoryAction")->trigger();
        QTest::qWait(200);
        form.findChild<QWidget*>("SearchCurveDock")->raise();
        auto* chart = form.findChild<TCurveChart*>("CurveChart");
        QWidget* view = chart->viewport();
        const QPoint at(view->width() * 2 / 5, view->height() / 2);
        for (int notch = 0; notch < 2; ++notch) {
            QWheelEvent wheel(at, view->mapToGlobal(at), {}, {0, 120}, Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view, &wheel);
        }
        QTest::mouseMove(view, at + QPoint(30, -20));
        QTest::qWait(200);
    } else if (argc == 3 && QString(argv[2]) == "target") {
        form.findChild<QAbstractSpinBox*>("NBlocksSpinEdit")->findChild<QLineEdit*>()->setText("8");
        form.findChild<QAction*>("DrawTargetAction")->trigger();
        QTest::qWait(100);
        auto* chart = form.findChild<TCurveChart*>("CurveChart");
        QWidget* view = chart->viewport();
        const QRectF area = chart->chart()->plotArea();
        // A rise, a plateau, a dip and a slope down, drawn as a user would drag the mouse.
        const double xs[] = {0.0, 0.2, 0.35, 0.5, 0.6, 0.75, 1.0};
        const double ys[] = {0.9, 0.15, 0.15, 0.6, 0.3, 0.3, 0.95};
        const auto at = [&](int k) {
            return chart->mapFromScene(area.left() + 2 + xs[k] * (area.width() - 4),
                                       area.top() + 2 + ys[k] * (area.height() - 4));
        };
        QTest::mousePress(view, Qt::LeftButton, {}, at(0));
        for (int k = 1; k < 7; ++k)
            QTest::mouseMove(view, at(k));
        QTest::mouseRelease(view, Qt::LeftButton, {}, at(6));
        form.findChild<QAction*>("DrawTargetAction")->trigger(); // drawing off
        form.findChild<QToolButton*>("EvolveToolButton")->click();
        while (form.EvolveRunning())
            QTest::qWait(20);
        QTest::qWait(100);
    } else if (argc == 3) {
        const bool chart = QString(argv[2]) == "chart";
        form.findChild<QAbstractSpinBox*>("NBlocksSpinEdit")->findChild<QLineEdit*>()->setText("8");
        form.findChild<QToolButton*>("EvolveToolButton")->click();
        while (form.EvolveRunning())
            QTest::qWait(20);
        if (chart)
            form.findChild<QToolButton*>("ChartToolButton")->click();
        else
            form.findChild<QToolButton*>("BlocksToolButton")->click();
        QTest::qWait(100);
        QWidget* plot = form.findChild<QWidget*>(chart ? "CurveChart" : "FSImage");
        if (auto* view = plot->findChild<QWidget*>("qt_scrollarea_viewport")) plot = view;
        QTest::mouseMove(plot, QPoint(plot->width() / 3, plot->height() / 2));
        QApplication::processEvents();
    } else {
        form.findChild<QComboBox*>("HexaComboBox")->setCurrentIndex(0);
        form.findChild<QToolButton*>("HexaToolButton")->click();
    }
    QApplication::processEvents();

    if (!form.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "window_snapshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

// The chart's navigation: round ticks, zooming about the pointer, moving, stepping back and
// showing all, the read-out following the view, the reference kept through a search, and
// pictures of the chart taken without the crosshair.

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QTest>
#include <QValueAxis>
#include <QWheelEvent>

#include "window_fixture.h"
#include "workbench/window/chart_navigation.h"
#include "workbench/window/curve_chart.h"

class TWindowChartTest : public TWindowTest {
    Q_OBJECT

    TCurveChart* FChart = nullptr;

    QValueAxis* Axis(Qt::Orientation orientation) const {
        return qobject_cast<QValueAxis*>(FChart->chart()->axes(orientation).value(0));
    }
    QPointF ValueAt(QPoint position) const {
        return FChart->chart()->mapToValue(
            FChart->chart()->mapFromScene(FChart->mapToScene(position)));
    }
    QString ReadOut() const { return Caption("StatusPanel2"); }
    void Turn(QPoint at, int notches) {
        QWheelEvent wheel(at, FChart->viewport()->mapToGlobal(at), {}, {0, 120 * notches},
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(FChart->viewport(), &wheel);
    }
    // A point of the plot area, as a share of its width and height from its top left.
    QPoint InPlot(double across, double down) const {
        const QRectF area = FChart->chart()->plotArea();
        return FChart->mapFromScene(area.left() + across * area.width(),
                                    area.top() + down * area.height());
    }

private slots:
    void init() {
        QVERIFY(OpenWindow(true));
        Combo()->setEditText("77467C422E8C46887454");
        Button("HexaToolButton")->click();
        Button("ChartToolButton")->click();
        FChart = Find<TCurveChart>("CurveChart");
        QVERIFY(FChart->isVisible());
        QCoreApplication::processEvents();
    }
    void cleanup() { QVERIFY(CloseWindow().isEmpty()); }

    void ticksFallOnRoundNumbers() {
        const std::pair<double, double> steps[] = {{104, 20},   {99, 20},    {79.2, 20}, {40, 10},
                                                   {12, 2},     {10, 2},     {3, 1},     {0.5, 1},
                                                   {1000, 200}, {2500, 500}, {-99, 20}};
        for (const auto& [span, step] : steps)
            QVERIFY2(RoundTickStep(span) == step, qPrintable(QString::number(span)));
        // Zoomed about a point, it stays where it was in the range.
        const QRectF range(0, -2, 99, 104);
        const QRectF zoomed = ZoomedAbout(range, {30, 40}, 0.5);
        QCOMPARE(zoomed.width(), 49.5);
        QCOMPARE((30 - zoomed.left()) / zoomed.width(), (30 - range.left()) / range.width());
        QCOMPARE((40 - zoomed.top()) / zoomed.height(), (40 - range.top()) / range.height());
        // The history keeps the last few, the last first.
        TViewHistory history;
        for (int k = 0; k < 20; ++k)
            history.Push(QRectF(k, 0, 1, 1));
        for (int k = 19; k >= 20 - int(TViewHistory::Depth); --k)
            QCOMPARE(history.Pop().left(), double(k));
        QVERIFY(history.Empty());
        QVERIFY(history.Pop().isNull());

        // The whole chart: the degrees with room around 0 and 100, both axes at round steps.
        QValueAxis* elements = Axis(Qt::Horizontal);
        QValueAxis* degrees = Axis(Qt::Vertical);
        QCOMPARE(degrees->min(), -2.0);
        QCOMPARE(degrees->max(), 102.0);
        QCOMPARE(degrees->tickType(), QValueAxis::TicksDynamic);
        QCOMPARE(degrees->tickAnchor(), 0.0);
        QCOMPARE(degrees->tickInterval(), 20.0);
        QCOMPARE(elements->tickInterval(), 20.0);
    }

    void theWheelZoomsAboutThePointerAndTheViewStepsBack() {
        QValueAxis* elements = Axis(Qt::Horizontal);
        const QPoint at = InPlot(0.3, 0.4);
        QTest::mouseMove(FChart->viewport(), at);
        QTRY_VERIFY(ReadOut().startsWith("element 3"));
        const QString pointed = ReadOut();
        const QPointF before = ValueAt(at);
        const QRectF all = FChart->View();
        Turn(at, 1);
        Turn(at, 2); // one run of the wheel: one step back
        const QRectF zoomed = FChart->View();
        QVERIFY(zoomed.width() < all.width() * 0.6);
        QVERIFY(all.contains(zoomed));
        const QPointF after = ValueAt(at);
        QVERIFY(qAbs(after.x() - before.x()) < 1e-6 * all.width());
        QVERIFY(qAbs(after.y() - before.y()) < 1e-6 * all.height());
        QCOMPARE(ReadOut(), pointed);
        QVERIFY(elements->tickInterval() < 20.0); // finer marks on the narrower range

        // The arrow keys move the view: the read-out follows without the pointer moving.
        FChart->setFocus();
        QTest::keyClick(FChart, Qt::Key_Right);
        QTest::keyClick(FChart, Qt::Key_Right);
        QVERIFY(FChart->View().left() > zoomed.left());
        QCOMPARE(FChart->View().width(), zoomed.width());
        QVERIFY(ReadOut().startsWith("element "));
        QVERIFY(ReadOut() != pointed);
        // Backspace: back to before the keys, then to before the wheel.
        QTest::keyClick(FChart, Qt::Key_Backspace);
        QCOMPARE(FChart->View(), zoomed);
        QCOMPARE(ReadOut(), pointed);
        QTest::keyClick(FChart, Qt::Key_Backspace);
        QCOMPARE(FChart->View(), all);
        QTest::keyClick(FChart, Qt::Key_Backspace); // nothing before: stays
        QCOMPARE(FChart->View(), all);

        // The middle button drags the view along; the mouse's back button steps back.
        Turn(at, 3);
        const QRectF again = FChart->View();
        QTest::mousePress(FChart->viewport(), Qt::MiddleButton, {}, at);
        QTest::mouseMove(FChart->viewport(), at + QPoint(60, 0));
        QTest::mouseRelease(FChart->viewport(), Qt::MiddleButton, {}, at + QPoint(60, 0));
        QVERIFY(FChart->View().left() < again.left());
        QVERIFY(qAbs(FChart->View().top() - again.top()) < 1e-9);
        QTest::mouseClick(FChart->viewport(), Qt::BackButton, {}, at);
        QCOMPARE(FChart->View(), again);

        // A double click shows everything; a step back returns to the zoom.
        QTest::mouseDClick(FChart->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(FChart->View(), all);
        QCOMPARE(elements->tickInterval(), 20.0);
        Find<QAction>("PreviousViewAction")->trigger();
        QCOMPARE(FChart->View(), again);
    }

    // With a target of one's own, the chart shows the reference, the target and the best so far
    // while the search runs, each named in the legend.
    void theReferenceAndTheTargetStayDrawnWhileASearchRuns() {
        Find<QAction>("DrawTargetAction")->trigger();
        QVERIFY(FChart->Drawing());
        QTest::mousePress(FChart->viewport(), Qt::LeftButton, {}, InPlot(0.01, 0.05));
        QTest::mouseMove(FChart->viewport(), InPlot(0.99, 0.05));
        QTest::mouseRelease(FChart->viewport(), Qt::LeftButton, {}, InPlot(0.99, 0.05));
        Find<QAction>("DrawTargetAction")->trigger();
        auto& session = FForm->Session();
        QVERIFY(session.Search.Target.has_value());
        const auto series = FChart->chart()->series();
        auto* reference = qobject_cast<QLineSeries*>(series[0]);
        auto* pattern = qobject_cast<QLineSeries*>(series[1]);
        auto* target = qobject_cast<QLineSeries*>(series[2]);
        const QList<QPointF> referenceBefore = reference->points();
        const QList<QPointF> patternBefore = pattern->points();
        QCOMPARE(referenceBefore.size(), 100);

        FForm->SetEvolveBudget(1'000'000'000);
        Button("EvolveToolButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(pattern->points() != patternBefore, 60000);
        QVERIFY(FForm->EvolveRunning());
        QCOMPARE(reference->points(), referenceBefore);
        QCOMPARE(target->count(), 100);
        QVERIFY(target->at(50).y() > 90);
        for (QLineSeries* curve : {reference, pattern, target}) {
            QVERIFY(curve->isVisible());
            for (QLegendMarker* marker : FChart->chart()->legend()->markers(curve))
                QVERIFY(marker->isVisible());
        }
        Button("EvolveToolButton")->click();
        WaitForTheSearch();
    }

    // Copy Image, PNG and SVG show the sets as without the pointer over them; the crosshair
    // stays where the pointer is.
    void picturesLeaveTheCrosshairOut() {
        const QImage plain = FChart->Picture().convertToFormat(QImage::Format_RGB32);
        const QByteArray plainSvg = FChart->SvgDocument();
        QTest::mouseMove(FChart->viewport(), InPlot(0.5, 0.5));
        QVERIFY(ReadOut().startsWith("element "));
        const QImage hovered = FChart->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY(hovered != plain); // the crosshair is drawn

        QCOMPARE(FChart->Picture().convertToFormat(QImage::Format_RGB32), plain);
        QCOMPARE(FChart->SvgDocument(), plainSvg);
        Find<QAction>("CopyImageAction")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                 plain);
        QCOMPARE(FChart->grab().toImage().convertToFormat(QImage::Format_RGB32), hovered);
    }
};

QTEST_MAIN(TWindowChartTest)
#include "chart_test.moc"

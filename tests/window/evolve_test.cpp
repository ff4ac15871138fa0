// The window's search and its aids: "Evolve" off the window's thread with its progress and Stop,
// the block panel, the values under the mouse, the keyboard shortcuts, and closing mid-search.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "window_fixture.h"
#include "workbench/window/evolve_controller.h"

namespace {

// Memcheck runs everything some fifty times slower.
bool UnderValgrind() {
    return qEnvironmentVariable("LD_PRELOAD").contains("vgpreload");
}

} // namespace

class TEvolveWindowTest : public TWindowTest {
    Q_OBJECT

    QString Status() const { return Find<QLabel>("StatusPanel2")->text(); }
    void SetBlocks(const QString& text) {
        Find<QAbstractSpinBox>("NBlocksSpinEdit")->findChild<QLineEdit*>()->setText(text);
    }

private slots:
    void init() { QVERIFY(OpenWindow()); }
    void cleanup() {
        const QStringList unexpected = CloseWindow();
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(", ")));
    }

    void evolveRunsOffTheWindowThreadAndStopKeepsTheBestSoFar() {
        FForm->SetEvolveBudget(1'000'000'000);
        SetBlocks("6");
        const int items = Combo()->count();
        QVERIFY(Find<QProgressBar>("EvalProgressBar")->isHidden());
        Button("EvolveToolButton")->click();
        QVERIFY(FForm->EvolveRunning());
        QCOMPARE(Button("EvolveToolButton")->text(), QString("Stop"));
        QVERIFY(!Find<QProgressBar>("EvalProgressBar")->isHidden());
        for (const char* other : {"RandomVeskToolButton", "HexaToolButton", "FitToolButton"})
            QVERIFY(!Button(other)->isEnabled());
        // The window keeps taking events while the search runs.
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(10);
        // Under valgrind the threads take turns, slowly: the window gets its ticks later.
        const int patience = UnderValgrind() ? 60000 : 400;
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 5, patience);
        QVERIFY(FForm->EvolveRunning());
        QTRY_VERIFY_WITH_TIMEOUT(Status().contains("evaluations, distance"), patience + 1000);
        QVERIFY(Find<QProgressBar>("EvalProgressBar")->value() < 100);
        // Once past a thousand evaluations, the counts grouped as the locale groups digits.
        const QRegularExpression grouped("^[0-9]{1,3}(,[0-9]{3})+ evaluations, distance [0-9.]+, "
                                         "fitness [0-9]+, [0-9]{1,3}(,[0-9]{3})*/s$");
        QTRY_VERIFY2_WITH_TIMEOUT(grouped.match(Status()).hasMatch(), qPrintable(Status()),
                                  patience + 1000);

        QElapsedTimer stopping;
        stopping.start();
        Button("EvolveToolButton")->click();
        while (FForm->EvolveRunning())
            QTest::qWait(1);
        QVERIFY(stopping.elapsed() < (UnderValgrind() ? 20000 : 200));
        QCOMPARE(Button("EvolveToolButton")->text(), QString("Evolve"));
        QVERIFY(Find<QProgressBar>("EvalProgressBar")->isHidden());
        // The end message replaces the progress, which leaves no count behind it.
        QVERIFY(FForm->statusBar()->currentMessage().startsWith("Evolve stopped after "));
        QCOMPARE(Status(), QString());
        for (const char* other : {"RandomVeskToolButton", "HexaToolButton", "FitToolButton"})
            QVERIFY(Button(other)->isEnabled());
        // The best pattern so far lands in the combo box and is shown as Hexa String shows it.
        const QString hex = Combo()->currentText();
        QCOMPARE(hex.size(), 30);
        QCOMPARE(Combo()->count(), items + 1);
        QCOMPARE(Combo()->itemText(items), hex);
        QCOMPARE(QString::fromStdString(FForm->Session().HexaText), hex);
        QVERIFY(Find<QLabel>("HammingLabel")->text().trimmed() != "0.0");
    }

    void aFaultingReferenceIsReportedAndNoSearchStarts() {
        Find<QAbstractSpinBox>("XElementsSpinEdit")->findChild<QLineEdit*>()->setText("5");
        const int items = Combo()->count();
        TBoxRecord box;
        TModalWatcher watcher([&](QWidget* modal) { box = AnswerBox(modal); });
        Button("EvolveToolButton")->click();
        QVERIFY(watcher.Seen());
        QCOMPARE(box.Icon, QMessageBox::Critical);
        QCOMPARE(box.Text, QString("Floating point division by zero."));
        QVERIFY(!FForm->EvolveRunning());
        QCOMPARE(Button("EvolveToolButton")->text(), QString("Evolve"));
        QVERIFY(Find<QProgressBar>("EvalProgressBar")->isHidden());
        QVERIFY(Button("HexaToolButton")->isEnabled());
        QCOMPARE(Combo()->count(), items);
    }

    void theSameEvolveGivesTheSamePattern() {
        FForm->SetEvolveBudget(30000);
        SetBlocks("5");
        Button("EvolveToolButton")->click();
        WaitForTheSearch();
        const QString first = Combo()->currentText();
        SetBlocks("5");
        Button("EvolveToolButton")->click();
        WaitForTheSearch();
        QCOMPARE(Combo()->currentText(), first);
        QCOMPARE(first.size(), 25);
    }

    void theBlockPanelFollowsTheTextAndEditsRewriteIt() {
        QTableWidget* table = Find<QTableWidget>("BlocksTable");
        QVERIFY(Find<QWidget>("BlocksPanel")->isHidden());
        Button("BlocksToolButton")->click();
        QVERIFY(!Find<QWidget>("BlocksPanel")->isHidden());
        Combo()->setEditText("77467C422E8C46887454");
        QCOMPARE(table->rowCount(), 4);
        QCOMPARE(table->item(2, 5)->text(), QString("48..99"));
        QVERIFY(
            qobject_cast<QComboBox*>(table->cellWidget(1, 0))->currentText().contains("staircase"));
        Combo()->setEditText("77G67");
        QVERIFY(table->item(0, 5)->text().contains("reads as 00000"));
        Combo()->setEditText("7746");
        QVERIFY(!Find<QLabel>("BlocksProblemLabel")->isHidden());
        QCOMPARE(table->rowCount(), 0);

        Combo()->setEditText("77467C422E");
        qobject_cast<QSpinBox*>(table->cellWidget(0, 1))->setValue(3); // centre of block 0
        QTest::qWait(1);
        QCOMPARE(Combo()->currentText(), QString("73467C422E"));
        qobject_cast<QComboBox*>(table->cellWidget(1, 4))->setCurrentIndex(0); // operator
        QTest::qWait(1);
        QCOMPARE(Combo()->currentText(), QString("73467C4220"));
        QCOMPARE(FForm->Session().CardinalityCaption, std::string("0.0")); // nothing ran
    }

    void theReadoutFollowsTheMouse() {
        Combo()->setEditText("77467C422E8C46887454");
        Button("HexaToolButton")->click();
        QWidget* plot = Find<QWidget>("FSImage");
        QTest::mouseMove(plot, QPoint(plot->width() / 2, plot->height() / 2));
        QApplication::processEvents();
        const QString text = Status();
        QVERIFY2(text.startsWith("element "), qPrintable(text));
        const int element = text.section(' ', 1, 1).chopped(1).toInt();
        const auto& session = FForm->Session();
        QCOMPARE(text, QString("element %1: pattern %2, reference %3")
                           .arg(element)
                           .arg(session.PatternSet.GetDegree(element))
                           .arg(session.ReferenceSet.GetDegree(element)));
        QVERIFY(element > 40 && element < 60); // the middle of 100 elements
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(plot, &leave);
        QCOMPARE(Status(), QString());
    }

    void shortcutsRunTheCommandsAndTooltipsNameThem() {
        QVERIFY(Button("HexaToolButton")->toolTip().contains("(Ctrl+H)"));
        QVERIFY(Button("EvolveToolButton")->toolTip().contains("(Ctrl+E)"));
        Combo()->setEditText("77467C422E8C46887454");
        // A window's keys reach it only while it is active (as it is under the user's hands).
        FForm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
        QTest::keySequence(FForm.get(), QKeySequence("Ctrl+H"));
        QCOMPARE(Find<QLabel>("FitnessLabel")->text().trimmed(), QString("17"));
        QTest::keySequence(FForm.get(), QKeySequence("Ctrl+R"));
        // A random pattern of the 4 blocks Hexa String left in the block field.
        QCOMPARE(Combo()->currentText().size(), 20);
        QVERIFY(Combo()->currentText() != "77467C422E8C46887454");
    }

    // The controller on its own, as the window's later parts will drive it: one run announced
    // and searching, its points, then no longer searching, the session showing the result, and
    // the end in words; every command it runs goes through the runner it was given.
    void theControllerAnnouncesARunAndItsEnd() {
        vesk::TWorkbenchSession session;
        session.Search.Evaluations = 5000;
        int commands = 0;
        TEvolveController evolve(session, [&](const TSessionCommand& command) {
            ++commands;
            QVERIFY(!command().Error);
        });
        QStringList heard;
        connect(&evolve, &TEvolveController::RunStarted,
                [&](const QString& name) { heard << "run " + name; });
        connect(&evolve, &TEvolveController::SearchingChanged,
                [&](bool searching) { heard << (searching ? "searching" : "done"); });
        int points = 0;
        connect(&evolve, &TEvolveController::PointReached, [&] { ++points; });
        QString message;
        connect(&evolve, &TEvolveController::Finished, [&](const QString& m) { message = m; });
        evolve.StartOrStop();
        QVERIFY(evolve.Running());
        QTRY_VERIFY_WITH_TIMEOUT(!evolve.Running() && !message.isEmpty(), 60000);
        QCOMPARE(heard.size(), 3);
        QCOMPARE(heard[0],
                 QString("run 1: 16 blocks, reference of 100, seed %1").arg(vesk::EvolveSeed));
        QCOMPARE(heard.mid(1), QStringList({"searching", "done"}));
        QVERIFY(points >= 1);
        QCOMPARE(commands, 2); // prepared, then finished
        QVERIFY2(message.startsWith("Evolve finished: "), qPrintable(message));
        QCOMPARE(session.HexaText.size(), std::size_t{16 * 5});
        QCOMPARE(QString::fromStdString(session.HexaItems.back()),
                 QString::fromStdString(session.HexaText));
    }

    // A run far shorter than the half second between progress reports still draws its descent:
    // a point for each improvement the search kept, the best an element never worse, and the
    // last point the result's, at the evaluations the run ended at.
    void aShortRunDrawsItsRealDescent() {
        vesk::TWorkbenchSession session;
        session.Search.Evaluations = 30000;
        TEvolveController evolve(session, [&](const TSessionCommand& command) { command(); });
        QList<QPointF> points;
        connect(&evolve, &TEvolveController::PointReached,
                [&](std::uint64_t evaluations, double best) {
                    points << QPointF(static_cast<double>(evaluations), best);
                });
        QString message;
        connect(&evolve, &TEvolveController::Finished, [&](const QString& m) { message = m; });
        evolve.StartOrStop();
        QTRY_VERIFY_WITH_TIMEOUT(!evolve.Running() && !message.isEmpty(), 60000);
        QVERIFY2(points.size() >= 8, qPrintable(QString::number(points.size())));
        for (int k = 1; k < points.size(); ++k) {
            QVERIFY(points[k].x() >= points[k - 1].x()); // the end may repeat the last count
            QVERIFY(points[k].y() <= points[k - 1].y());
        }
        QVERIFY(points.first().y() > points.last().y());
        const QRegularExpression end("finished: ([0-9,]+) evaluations");
        QCOMPARE(points.last().x(), end.match(message).captured(1).remove(',').toDouble());
        const vesk::THistoryEntry& result = session.History.back();
        QVERIFY(qAbs(points.last().y() - result.Distance / result.Elements) < 1e-12);
    }

    void closingDuringASearchStopsIt() {
        FForm->SetEvolveBudget(1'000'000'000);
        Button("EvolveToolButton")->click();
        QTest::qWait(50);
        QVERIFY(FForm->EvolveRunning());
        FForm->close();
        QVERIFY(!FForm->EvolveRunning());
        FForm.reset(); // and destroying it leaves nothing running
    }
};

QTEST_MAIN(TEvolveWindowTest)
#include "evolve_test.moc"

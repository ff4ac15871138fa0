// The whole search from the window: its settings refused in the tool's words and taken, a loaded
// and a drawn target fitted, and the one-click default unchanged.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QValueAxis>

#include "vesk/agent.h"
#include "window_fixture.h"
#include "workbench/window/curve_chart.h"
#include "workbench/window/designed_geometry.h"
#include "workbench/window/history_panel.h"
#include "workbench/window/kept_settings.h"
#include "workbench/window/search_curve.h"
#include "workbench/window/search_panel.h"
#include "workbench/window/window_keys.h"

class TWindowSearchTest : public TWindowTest {
    Q_OBJECT

    QTemporaryDir FDir;

    // Loads the target file of this name in the temporary directory through "Load Target...".
    void LoadTarget(const QString& name) {
        ChooseTargetFile(FDir.path(), name,
                         [this] { Find<QAction>("LoadTargetAction")->trigger(); });
    }
    void Evolve() {
        Button("EvolveToolButton")->click();
        WaitForTheSearch();
    }
    // Opens "Search Settings", lets fill change the fields, presses OK; the panel's problem, if
    // it stayed open (then it is cancelled).
    QString Settle(const std::function<void(TSearchPanel*)>& fill) {
        QString problem;
        TModalWatcher watcher([&](QWidget* modal) {
            auto* panel = qobject_cast<TSearchPanel*>(modal);
            if (!panel) return void(AnswerBox(modal));
            fill(panel);
            panel->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            if (panel->isVisible()) {
                problem = panel->findChild<QLabel*>("SearchProblemLabel")->text();
                panel->reject();
            }
        });
        Find<QAction>("SearchSettingsAction")->trigger();
        return problem;
    }
    static void Set(TSearchPanel* panel, const char* field, const QString& text) {
        panel->findChild<QLineEdit*>(field)->setText(text);
    }

private slots:
    void initTestCase() { QVERIFY(FDir.isValid()); }
    void init() { QVERIFY(OpenWindow()); }
    void cleanup() {
        const QStringList unexpected = CloseWindow();
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(", ")));
    }

    void settingsAreRefusedInTheToolsWordsAndTakenWhole() {
        auto& search = FForm->Session().Search;
        QCOMPARE(Settle([](TSearchPanel* p) { Set(p, "SeedField", "x"); }),
                 QString("--seed: must be a whole number"));
        QCOMPARE(Settle([](TSearchPanel* p) {
                     Set(p, "SeedField", "7");
                     Set(p, "ShapesField", "16");
                 }),
                 QString("--shapes: '16' is not a code 0..15 or a range LOW-HIGH of them"));
        QCOMPARE(search.Seed, vesk::EvolveSeed); // nothing of a refused panel is taken
        // Each refused field says what is wrong with it under itself, and has the focus; a
        // field mended loses its mark.
        Settle([](TSearchPanel* p) {
            Set(p, "SeedField", "x");
            Set(p, "SecondsField", "-1");
            p->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            QVERIFY(p->isVisible());
            QCOMPARE(p->findChild<QLabel*>("SeedProblem")->text(),
                     QString("must be a whole number"));
            QVERIFY(p->findChild<QLabel*>("SecondsProblem")->isVisibleTo(p));
            QVERIFY(!p->findChild<QLabel*>("IslandsProblem")->isVisibleTo(p));
            QCOMPARE(p->focusWidget(), p->findChild<QLineEdit*>("SeedField"));
            Set(p, "SeedField", "3");
        });
        QCOMPARE(Settle([](TSearchPanel* p) {
                     Set(p, "SeedField", "7");
                     Set(p, "EvaluationsField", "20000");
                     Set(p, "ShapesField", "0-7");
                     Set(p, "IslandsField", "1");
                 }),
                 QString());
        QCOMPARE(search.Seed, 7u);
        QCOMPARE(search.Evaluations.value_or(0), std::uint64_t{20000});
        QCOMPARE(search.Islands, 1);
        QCOMPARE(search.Shapes.size(), std::size_t{8});
        // The settings last: the panel shows them when it opens again.
        Settle([](TSearchPanel* p) {
            QCOMPARE(p->findChild<QLineEdit*>("SeedField")->text(), QString("7"));
            QCOMPARE(p->findChild<QLineEdit*>("ShapesField")->text(), QString("0,1,2,3,4,5,6,7"));
        });
        Evolve();
        const QString hex = Combo()->currentText();
        for (int b = 0; b < hex.size(); b += 5)
            QVERIFY2(hex[b] >= '0' && hex[b] <= '7', qPrintable(hex));
    }

    // Nothing of the panel is cut: each field shows its default whole, and each mark of a
    // refused value all its lines, however many it wraps to.
    void theSettingsShowTheirDefaultsAndMarksWhole() {
        const auto whole = [](TSearchPanel* p) {
            QCoreApplication::processEvents(); // the layout takes the marks in
            for (QLineEdit* field : p->findChildren<QLineEdit*>()) {
                const QString shown =
                    field->text().isEmpty() ? field->placeholderText() : field->text();
                QStyleOptionFrame frame;
                frame.initFrom(field);
                const QRect room =
                    field->style()->subElementRect(QStyle::SE_LineEditContents, &frame, field);
                QVERIFY2(field->fontMetrics().horizontalAdvance(shown) <= room.width(),
                         qPrintable(field->objectName() + ": " + shown));
            }
            for (QLabel* label : p->findChildren<QLabel*>())
                if (label->isVisibleTo(p) && label->wordWrap())
                    QVERIFY2(label->height() >= label->heightForWidth(label->width()),
                             qPrintable(label->objectName() + ": " + label->text()));
        };
        Settle([&](TSearchPanel* p) {
            whole(p);
            Set(p, "IslandsField", "x");
            Set(p, "ShapesField", "16");
            Set(p, "OperatorsField", "0-99");
            Set(p, "DistanceField", "-1");
            Set(p, "SecondsField", "1e99x");
            p->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            QVERIFY(p->findChild<QLabel*>("ShapesProblem")->isVisibleTo(p));
            whole(p);
        });
    }

    // An empty budget with a time limit or a stop distance leaves those the only limits; with
    // neither it is "Evolve"'s budget. The rows explain themselves, and offer no word that no
    // "Evolve" could run with.
    void anEmptyBudgetLeavesTheTimeOrTheDistanceTheOnlyLimit() {
        auto& session = FForm->Session();
        const auto budget = [&session] {
            vesk::TSearchSettings settings;
            const bool ready = !session.PrepareEvolve(settings).Error;
            return ready ? settings.Evaluations : 0;
        };
        QCOMPARE(Settle([](TSearchPanel* p) {
                     auto* evaluations = p->findChild<QLineEdit*>("EvaluationsField");
                     QCOMPARE(evaluations->text(), QString());
                     QVERIFY(evaluations->placeholderText().startsWith(
                         QString::number(vesk::EvolveBudget)));
                     QVERIFY(evaluations->toolTip().contains("no limit but those"));
                     QCOMPARE(p->findChild<QComboBox*>("AlgorithmBox")->findText("nsga2"), -1);
                     Set(p, "SecondsField", "0.5");
                 }),
                 QString());
        QCOMPARE(budget(), vesk::MaxEvaluations);
        QCOMPARE(Settle([](TSearchPanel* p) {
                     Set(p, "SecondsField", "");
                     Set(p, "DistanceField", "0.2");
                 }),
                 QString());
        QCOMPARE(budget(), vesk::MaxEvaluations);
        QCOMPARE(Settle([](TSearchPanel* p) {
                     QCOMPARE(p->findChild<QLineEdit*>("DistanceField")->text(), QString("0.2"));
                     Set(p, "DistanceField", "");
                 }),
                 QString());
        QCOMPARE(budget(), vesk::EvolveBudget);
    }

    void aLoadedTargetIsFittedAndItsDistanceShown() {
        const QString path = FDir.filePath("tri.txt");
        std::ofstream(path.toStdString()) << "0 10 20 30 40 50 60 70 80 90 100 90 80 70 60 50\n";
        LoadTarget("tri.txt");
        auto& session = FForm->Session();
        QVERIFY(session.Search.Target.has_value());
        QCOMPARE(session.Search.Target->Count(), 16);
        // Nothing plotted yet: the chart spans the target's elements, and no pattern is
        // measured against the target.
        QVERIFY(!Find<QLabel>("TargetHammingLabel")->isVisible());
        Button("ChartToolButton")->click();
        QCOMPARE(Find<TCurveChart>("CurveChart")->View().right(), 15.0);
        FForm->SetEvolveBudget(20000);
        Evolve();
        const auto distance = session.TargetDistance();
        QVERIFY(distance.has_value());
        QVERIFY(*distance < 2.0); // 16 elements; the flat start of 50s is at 5.2
        QVERIFY2(FForm->statusBar()->currentMessage().endsWith("(to " + path + ")"),
                 qPrintable(FForm->statusBar()->currentMessage()));
        // "Hexa String" still shows the designed reference of FS Elements.
        QCOMPARE(session.ReferenceSet.Count(), 100);

        // The side panel adds the distance and fitness to the target under the designed four,
        // which stay against the reference.
        const QStringList targetRows{"TargetLabel", "TargetHammingCaption", "TargetFitnessCaption",
                                     "TargetHammingLabel", "TargetFitnessLabel"};
        for (const QString& row : targetRows)
            QVERIFY2(Find<QLabel>(qPrintable(row))->isVisible(), qPrintable(row));
        QVERIFY(qAbs(Caption("TargetHammingLabel").trimmed().toDouble() - *distance) < 0.006);
        QCOMPARE(Caption("TargetFitnessLabel").trimmed().toInt(),
                 vesk::FitnessOfDistance(*distance, 16));
        QCOMPARE(Caption("HammingLabel"), QString::fromStdString(session.HammingCaption));
        QVERIFY(Caption("HammingLabel").trimmed().toDouble() > *distance); // 100 elements
        for (const char* against : {"Label4", "HammingLabel", "Label5", "FitnessLabel"})
            QVERIFY(Find<QLabel>(against)->toolTip().contains("reference"));
        for (const char* against : {"TargetHammingCaption", "TargetFitnessLabel"})
            QVERIFY(Find<QLabel>(against)->toolTip().contains("target"));
        auto* panel = Find<QWidget>("FSControlsPanel");
        QVERIFY(panel->minimumHeight() >= Find<QLabel>("TargetFitnessLabel")->geometry().bottom());

        // Copy Data as CSV carries the target, left empty where it has no element.
        Find<QAction>("CopyDataAction")->trigger();
        const QStringList lines = QGuiApplication::clipboard()->text().split('\n');
        QCOMPARE(lines.value(0), QString("element,reference,pattern,target"));
        QCOMPARE(lines.size(), 1 + 100 + 1);
        QCOMPARE(lines.value(1 + 10), QString("10,%1,%2,100")
                                          .arg(session.ReferenceSet.GetDegree(10))
                                          .arg(session.PatternSet.GetDegree(10)));
        QVERIFY(lines.value(1 + 16).endsWith(','));

        Find<QAction>("ReferenceTargetAction")->trigger();
        QVERIFY(!session.Search.Target.has_value());
        for (const QString& row : targetRows)
            QVERIFY2(!Find<QLabel>(qPrintable(row))->isVisible(), qPrintable(row));
        Find<QAction>("CopyDataAction")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text().section('\n', 0, 0),
                 QString("element,reference,pattern"));
    }

    // "Save Drawn Target..." writes the target one degree a line, with ".csv" added; a name that
    // leads to a device taking nothing is reported with the system's reason.
    void theTargetIsSavedOrTheFailureReported() {
        const QString loaded = FDir.filePath("target.txt");
        std::ofstream(loaded.toStdString()) << "0 50 100\n";
        LoadTarget("target.txt");
        const auto save = [&](const QString& name) {
            std::unique_ptr<TModalWatcher> reports;
            TBoxRecord error;
            TModalWatcher chooses([&](QWidget* modal) {
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                if (!dialog) return void(AnswerBox(modal));
                reports = std::make_unique<TModalWatcher>(
                    [&](QWidget* box) { error = AnswerBox(box); }, dialog);
                dialog->setDirectory(FDir.path());
                dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
                dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
            });
            Find<QAction>("SaveTargetAction")->trigger();
            if (!reports || !reports->Seen()) error.Text.clear();
            return error.Text;
        };
        QCOMPARE(save("saved"), QString());
        QFile saved(FDir.filePath("saved.csv"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("0\n50\n100\n"));
        if (QFile::exists("/dev/full")) {
            QVERIFY(QFile::link("/dev/full", FDir.filePath("full.csv")));
            QCOMPARE(save("full"), "Cannot create file " + FDir.filePath("full.csv") + ": " +
                                       QString::fromLocal8Bit(std::strerror(ENOSPC)) + ".");
            QVERIFY(QFileInfo(FDir.filePath("full.csv")).isSymLink());
        }
        QVERIFY(QDir(FDir.path()).entryList({".*"}, QDir::Files | QDir::Hidden).isEmpty());
    }

    void aDrawnTargetIsFitted() {
        Find<QAction>("DrawTargetAction")->trigger();
        auto* chart = Find<TCurveChart>("CurveChart");
        QVERIFY(chart->isVisible());
        QVERIFY(chart->Drawing());
        QCoreApplication::processEvents();
        QWidget* view = chart->viewport();
        // A stroke from the left at the top to the middle at the bottom.
        const QRectF area = chart->chart()->plotArea();
        const QPoint from = chart->mapFromScene(area.topLeft() + QPointF(2, 2));
        const QPoint to = chart->mapFromScene(area.center().x(), area.bottom() - 2);
        QTest::mousePress(view, Qt::LeftButton, {}, from);
        QTest::mouseMove(view, (from + to) / 2);
        QTest::mouseRelease(view, Qt::LeftButton, {}, to);
        auto& session = FForm->Session();
        QVERIFY(session.Search.Target.has_value());
        const vesk::TFuzzySet& target = *session.Search.Target;
        QCOMPARE(target.Count(), 100);
        QVERIFY(target.GetDegree(0) > 90);
        QVERIFY(target.GetDegree(25) > 30 && target.GetDegree(25) < 70);
        QCOMPARE(target.GetDegree(99), 0); // not painted
        // Nothing plotted, the chart stays on the drawing's elements: a second stroke paints
        // at the right end.
        QCOMPARE(chart->View().right(), 99.0);
        const QPoint right = chart->mapFromScene(area.right() - 4, area.center().y());
        QTest::mousePress(view, Qt::LeftButton, {}, right - QPoint(30, 0));
        QTest::mouseMove(view, right);
        QTest::mouseRelease(view, Qt::LeftButton, {}, right);
        QVERIFY(session.Search.Target->GetDegree(98) > 30);
        auto* targetCurve = qobject_cast<QLineSeries*>(chart->chart()->series().value(2));
        QVERIFY(targetCurve->isVisible());
        QCOMPARE(targetCurve->name(), QString("target"));

        FForm->SetEvolveBudget(20000);
        Evolve();
        QVERIFY(*session.TargetDistance() < 8.0); // 100 elements
    }

    // The target a search fits stays the target until it ends: what would change it waits, a
    // drawing going on ends, and the search's word and history name what it fitted.
    void theTargetWaitsWhileASearchRuns() {
        KeptSettings::SaveTarget({TKeptTarget::TKind::Drawn, {}, {0, 50, 100}});
        QVERIFY(ReopenWindow());
        QVERIFY(Find<QAction>("RestoreSessionAction")->isEnabled());
        Find<QAction>("DrawTargetAction")->trigger();
        auto* chart = Find<TCurveChart>("CurveChart");
        QVERIFY(chart->Drawing());
        const char* const changes[] = {"LoadTargetAction", "DrawTargetAction",
                                       "ReferenceTargetAction", "RestoreSessionAction"};
        // No limit but a minute: the Stop ends it.
        QCOMPARE(Settle([](TSearchPanel* p) { Set(p, "SecondsField", "60"); }), QString());
        Button("EvolveToolButton")->click();
        QVERIFY(FForm->EvolveRunning());
        QVERIFY(!chart->Drawing());
        for (const char* change : changes)
            QVERIFY2(!Find<QAction>(change)->isEnabled(), change);
        QVERIFY(!Find<QMenu>("RecentTargetsMenu")->isEnabled());
        // A stroke on the chart meanwhile paints nothing.
        QCoreApplication::processEvents();
        const QRectF area = chart->chart()->plotArea();
        QWidget* view = chart->viewport();
        QTest::mousePress(view, Qt::LeftButton, {}, chart->mapFromScene(area.center()));
        QTest::mouseRelease(view, Qt::LeftButton, {},
                            chart->mapFromScene(area.center() + QPointF(40, 20)));
        QVERIFY(!FForm->Session().Search.Target);
        Button("EvolveToolButton")->click(); // Stop
        WaitForTheSearch();
        QVERIFY(!Find<QStatusBar>("StatusBar1")->currentMessage().contains("target"));
        QVERIFY(!QString::fromStdString(FForm->Session().History.back().Source).contains("target"));
        for (const char* change : changes)
            QVERIFY2(Find<QAction>(change)->isEnabled(), change);
    }

    // A search only a stop distance ends has no share done to show: the bar shows it busy, and
    // the next search with a budget shows its share again.
    void aSearchWithoutABudgetShowsItselfBusy() {
        QCOMPARE(Settle([](TSearchPanel* p) { Set(p, "DistanceField", "0"); }), QString());
        auto* bar = Find<QProgressBar>("EvalProgressBar");
        Button("EvolveToolButton")->click();
        QTRY_COMPARE_WITH_TIMEOUT(bar->maximum(), 0, 60000);
        Button("EvolveToolButton")->click(); // Stop
        QTRY_VERIFY(!FForm->EvolveRunning());
        QCOMPARE(Settle([](TSearchPanel* p) { Set(p, "DistanceField", ""); }), QString());
        FForm->SetEvolveBudget(1'000'000'000);
        Button("EvolveToolButton")->click();
        QCOMPARE(bar->maximum(), 100);
        Button("EvolveToolButton")->click();
        QTRY_VERIFY(!FForm->EvolveRunning());
    }

    void theSearchsCurveGrowsARunAtATime() {
        auto* curve = Find<TSearchCurve>("SearchCurve");
        QVERIFY(!curve->isVisible());
        FForm->SetEvolveBudget(1'000'000'000);
        Button("EvolveToolButton")->click();
        QVERIFY(curve->isVisible());
        auto* first = qobject_cast<QLineSeries*>(curve->chart()->series().value(0));
        QTRY_VERIFY_WITH_TIMEOUT(first->count() >= 2, 60000);
        Button("EvolveToolButton")->click(); // Stop
        QTRY_VERIFY(!FForm->EvolveRunning());
        for (int k = 1; k < first->count(); ++k) {
            QVERIFY(first->at(k).x() > first->at(k - 1).x());  // more evaluations
            QVERIFY(first->at(k).y() <= first->at(k - 1).y()); // never a worse best
        }
        FForm->SetEvolveBudget(20000);
        Evolve();
        QCOMPARE(curve->Runs(), 2); // the first run's curve stays beside the second's
        QVERIFY(first->count() >= 2);
    }

    // The curve's axis titles show whole at its least height beside a legend of long names, and
    // its axes fit every run, the longest and the highest.
    void theCurvesTitlesShowWholeAndItsAxesFitEveryRun() {
        TSearchCurve curve;
        curve.resize(DesignedGeometry::WindowBounds.width(), curve.minimumHeight());
        curve.StartRun("1: 16 blocks, reference of 100, seed 1");
        curve.AddPoint(10, 0.4);
        curve.AddPoint(200000, 0.05);
        curve.StartRun("2: 32 blocks, drawn target, seed 20");
        curve.AddPoint(20, 0.3);
        curve.AddPoint(2000, 0.1);
        curve.show();
        QVERIFY(QTest::qWaitForWindowExposed(&curve));
        const QRectF plot = curve.chart()->plotArea();
        const auto length = [](const QAbstractAxis* axis) {
            return QFontMetrics(axis->titleFont()).horizontalAdvance(axis->titleText());
        };
        QCOMPARE(curve.DistanceAxis()->titleText(), QString("best distance per element"));
        QVERIFY2(
            length(curve.DistanceAxis()) <= plot.height(),
            qPrintable(QString("%1 > %2").arg(length(curve.DistanceAxis())).arg(plot.height())));
        QVERIFY(length(curve.EvaluationsAxis()) <= plot.width());
        QVERIFY(curve.EvaluationsAxis()->min() <= 10 && curve.EvaluationsAxis()->max() >= 200000);
        QVERIFY(curve.DistanceAxis()->min() <= 0.05 && curve.DistanceAxis()->max() >= 0.4);
    }

    void theHistoryListsShowsComparesAndForgets() {
        auto& session = FForm->Session();
        QVERIFY(!Find<QWidget>("HistoryPanel")->isVisible()); // hidden at start
        Button("RandomVeskToolButton")->click();
        Combo()->setEditText("77467C422E8C46887454");
        Button("HexaToolButton")->click();
        FForm->SetEvolveBudget(20000);
        Evolve();
        QCOMPARE(session.History.size(), std::size_t{3});
        QCOMPARE(QString::fromStdString(session.History[0].Source), QString("random"));
        QCOMPARE(QString::fromStdString(session.History[1].Source), QString("typed"));
        QCOMPARE(session.History[1].Fitness, 17);
        QVERIFY(QString::fromStdString(session.History[2].Source).startsWith("evolved: annealing"));
        QCOMPARE(QString::fromStdString(session.History[2].Hex), Combo()->currentText());

        // A window's keys reach it only while it is active (as it is under the user's hands).
        FForm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
        QTest::keySequence(FForm.get(), HistoryKey());
        auto* panel = Find<THistoryPanel>("HistoryPanel");
        QVERIFY(panel->isVisible());
        QTableWidget* table = panel->Table();
        QCOMPARE(table->rowCount(), 3);
        // A click shows the entry as "Hexa String" does.
        table->selectRow(1);
        emit table->cellClicked(1, 0);
        QCOMPARE(Combo()->currentText(), QString("77467C422E8C46887454"));
        QCOMPARE(Find<QLabel>("FitnessLabel")->text().trimmed(), QString("17"));
        // Two selected: both overlaid on the chart.
        table->clearSelection();
        table->setSelectionMode(QAbstractItemView::MultiSelection);
        table->selectRow(0);
        table->selectRow(2);
        auto* chart = Find<TCurveChart>("CurveChart");
        const auto series = chart->chart()->series();
        QVERIFY(series[3]->isVisible() && series[4]->isVisible());
        QCOMPARE(qobject_cast<QLineSeries*>(series[3])->count(), 100);
        QCOMPARE(series[4]->name(), QString::fromStdString(session.History[2].Hex));
        // Copied and removed.
        Find<QPushButton>("HistoryCopyButton")->click();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QString::fromStdString(session.History[0].Hex + "\n" + session.History[2].Hex));
        Find<QPushButton>("HistoryRemoveButton")->click();
        QCOMPARE(table->rowCount(), static_cast<int>(session.History.size()));
        QCOMPARE(QString::fromStdString(session.History[0].Source), QString("typed"));
    }

    void theOneClickEvolveIsTheSameEveryTime() {
        FForm->SetEvolveBudget(20000);
        Evolve();
        const QString first = Combo()->currentText();
        Evolve();
        QCOMPARE(Combo()->currentText(), first);
    }
};

QTEST_MAIN(TWindowSearchTest)
#include "search_test.moc"

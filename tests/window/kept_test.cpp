// What the window keeps between sessions: the search settings and the recent targets come back on
// their own, the last target, the history and the search curves when asked; whatever was kept,
// damaged or not, the window opens as designed.

#include <QAction>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <QChart>
#include <QLineSeries>

#include "window_fixture.h"
#include "workbench/window/kept_history.h"
#include "workbench/window/kept_settings.h"
#include "workbench/window/plot_area.h"
#include "workbench/window/search_curve.h"
#include "workbench/window/search_panel.h"
#include "workbench/window/spin_edit.h"
#include "workbench/window/target_actions.h"

namespace {

vesk::THistoryEntry Entry(const std::string& hex, double distance) {
    vesk::THistoryEntry entry;
    entry.Hex = hex;
    entry.Source = "typed";
    entry.Blocks = static_cast<std::int32_t>(hex.size() / 5);
    entry.Elements = 100;
    entry.Distance = distance;
    entry.Fitness = 42;
    entry.When = "10:11:12";
    return entry;
}

QStringList Paths(int count) {
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << QString("/t/%1.txt").arg(i);
    return paths;
}

} // namespace

class TKeptTest : public TWindowTest {
    Q_OBJECT

    QTemporaryDir FDir;

    // A target file of n degrees in the temporary directory.
    QString TargetFile(const QString& name, int n) {
        QFile file(FDir.filePath(name));
        if (!file.open(QIODevice::WriteOnly)) return {};
        for (int i = 0; i < n; ++i)
            file.write(QByteArray::number(i * 100 / n) + "\n");
        return file.fileName();
    }
    TTargetActions* Targets() const { return FForm->findChild<TTargetActions*>(); }
    // The paths Recent Targets lists, as its actions give them.
    QStringList RecentShown() const {
        QStringList paths;
        for (QAction* action : Find<QMenu>("RecentTargetsMenu")->actions())
            if (!action->data().toString().isEmpty()) paths << action->data().toString();
        return paths;
    }
    void ExpectDesignedFields() {
        QCOMPARE(Find<TSpinEdit>("XElementsSpinEdit")->text(), QString("100"));
        QCOMPARE(Find<TSpinEdit>("NBlocksSpinEdit")->text(), QString("16"));
        for (const char* dock : {"BlocksDock", "SearchCurveDock", "HistoryDock"})
            QVERIFY2(Find<QDockWidget>(dock)->isHidden(), dock);
        QVERIFY(!Find<TPlotArea>("ImagePanel")->ChartShown());
        QVERIFY(FForm->Session().History.empty());
    }

private slots:
    void initTestCase() { QVERIFY(FDir.isValid()); }
    void init() { QVERIFY(OpenWindow()); }
    void cleanup() { QVERIFY(CloseWindow().isEmpty()); }

    void SearchSettingsSurviveANewWindow() {
        TModalWatcher watcher([](QWidget* modal) {
            auto* panel = qobject_cast<TSearchPanel*>(modal);
            if (!panel) return void(AnswerBox(modal));
            panel->findChild<QLineEdit*>("SeedField")->setText("7");
            panel->findChild<QLineEdit*>("SecondsField")->setText("2.5");
            panel->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        Find<QAction>("SearchSettingsAction")->trigger();
        QVERIFY(watcher.Seen());
        QCOMPARE(FForm->Session().Search.Seed, 7u);

        QVERIFY(ReopenWindow());
        QCOMPARE(FForm->Session().Search.Seed, 7u);
        QCOMPARE(FForm->Session().Search.Seconds, std::optional<double>(2.5));
        ExpectDesignedFields();
    }

    // A setting the dialog did not take (Cancel) is not kept either.
    void CancelledSettingsAreNotKept() {
        TModalWatcher watcher([](QWidget* modal) {
            auto* panel = qobject_cast<TSearchPanel*>(modal);
            if (!panel) return void(AnswerBox(modal));
            panel->findChild<QLineEdit*>("SeedField")->setText("9");
            panel->reject();
        });
        Find<QAction>("SearchSettingsAction")->trigger();
        QVERIFY(ReopenWindow());
        QCOMPARE(FForm->Session().Search.Seed, vesk::DefaultSeed);
    }

    void StoredSettingsAreCheckedOneByOne() {
        vesk::TSearchSetup setup;
        const auto left = TakeKeptSettings(
            setup, {{"seed", "banana"}, {"seconds", "3"}, {"nonsense", "1"}, {"islands", "-2"}});
        QCOMPARE(left, (std::vector<std::string>{"seed", "nonsense", "islands"}));
        QCOMPARE(setup.Seed, vesk::DefaultSeed);
        QCOMPARE(setup.Seconds, std::optional<double>(3));
        // What the settings give back is taken again unchanged.
        vesk::TSearchSetup again;
        QVERIFY(TakeKeptSettings(again, SearchSettingsOf(setup)).empty());
        QCOMPARE(SearchSettingsOf(again), SearchSettingsOf(setup));
    }

    void FieldsOpenAsDesignedAfterAChangedSession() {
        qobject_cast<QLineEdit*>(Fields()[1])->setText("50");
        qobject_cast<QLineEdit*>(Fields()[2])->setText("8");
        Button("RandomVeskToolButton")->click();
        QCOMPARE(FForm->Session().History.size(), std::size_t(1));
        Find<QAction>("HistoryAction")->trigger();
        QVERIFY(ReopenWindow());
        ExpectDesignedFields();
        QVERIFY(Find<QAction>("RestoreSessionAction")->isEnabled());
    }

    void RecentTargetsAreOrderedLimitedAndUnique_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("first") << QStringList() << "/a" << QStringList{"/a"};
        QTest::newRow("newest first")
            << QStringList{"/a", "/b"} << "/c" << QStringList{"/c", "/a", "/b"};
        QTest::newRow("again moves to the front")
            << QStringList{"/a", "/b", "/c"} << "/c" << QStringList{"/c", "/a", "/b"};
        QTest::newRow("the oldest goes past ten")
            << Paths(10) << "/new" << (QStringList{"/new"} + Paths(9));
        QTest::newRow("ten again, none lost")
            << Paths(10) << "/t/9.txt" << (QStringList{"/t/9.txt"} + Paths(9));
    }
    void RecentTargetsAreOrderedLimitedAndUnique() {
        QFETCH(QStringList, before);
        QFETCH(QString, added);
        QFETCH(QStringList, after);
        QCOMPARE(WithRecentTarget(before, added), after);
    }

    void RecentTargetsListLoadedFilesAcrossSessions() {
        QVERIFY(!Find<QMenu>("RecentTargetsMenu")->isEnabled());
        QStringList loaded;
        for (int i = 0; i < 12; ++i) {
            loaded.prepend(TargetFile(QString("t%1.txt").arg(i), 5 + i));
            Targets()->LoadTargetFrom(loaded.first());
        }
        Targets()->LoadTargetFrom(loaded[4]); // again: to the front, not twice
        loaded.move(4, 0);
        loaded = loaded.mid(0, RecentTargetLimit);
        QCOMPARE(RecentShown(), loaded);

        QVERIFY(ReopenWindow());
        QCOMPARE(RecentShown(), loaded);
        // Chosen from the menu: the target again.
        Find<QMenu>("RecentTargetsMenu")->actions()[2]->trigger();
        QCOMPARE(QString::fromStdString(FForm->Session().Search.TargetName), loaded[2]);
        QCOMPARE(RecentShown().first(), loaded[2]);
    }

    void AVanishedRecentTargetIsTakenOffAndSaid() {
        const QString kept = TargetFile("kept.txt", 10);
        const QString gone = TargetFile("gone.txt", 10);
        Targets()->LoadTargetFrom(kept);
        Targets()->LoadTargetFrom(gone);
        QVERIFY(QFile::remove(gone));
        TBoxRecord box;
        TModalWatcher watcher([&](QWidget* modal) { box = AnswerBox(modal); });
        Find<QMenu>("RecentTargetsMenu")->actions()[0]->trigger();
        QVERIFY(watcher.Seen());
        QCOMPARE(box.Icon, QMessageBox::Critical);
        QVERIFY2(box.Text.contains("gone.txt") && box.Text.contains("no longer there"),
                 qPrintable(box.Text));
        QCOMPARE(RecentShown(), QStringList{kept});

        Find<QAction>("ClearRecentTargetsAction")->trigger();
        QVERIFY(RecentShown().isEmpty());
    }

    void TheSessionFileRoundTrips() {
        TKeptSession kept;
        kept.History = {Entry("12345", 0.25), Entry("ABCDE0123F", 3)};
        kept.History[1].TargetDistance = 1.5;
        kept.History[1].Source = "evolved \"quoted\" ünïcode";
        kept.Runs = {{"1: 16 blocks", {{10, 9.5}, {1000, 2.25}, {(1ull << 40), 0.125}}},
                     {"2: no points", {}}};
        const auto back = ParseKeptSession(KeptSessionText(kept));
        QVERIFY(back);
        QCOMPARE(KeptSessionText(*back), KeptSessionText(kept));
        QCOMPARE(back->History[1].TargetDistance, std::optional<double>(1.5));
        QCOMPARE(back->Runs[0].Points[2].first, std::uint64_t(1) << 40);
    }

    void JoinedKeepsTheNewest() {
        TKeptSession earlier, later;
        for (std::size_t i = 0; i < KeptEntryLimit; ++i)
            earlier.History.push_back(Entry("00000", static_cast<double>(i)));
        later.History = {Entry("11111", -1)};
        earlier.Runs.resize(KeptRunLimit, {"old", {}});
        later.Runs = {{"new", {{1, 1}}}};
        const TKeptSession joined = Joined(earlier, later);
        QCOMPARE(joined.History.size(), KeptEntryLimit);
        QCOMPARE(joined.History.front().Distance, 1.0);
        QCOMPARE(joined.History.back().Hex, std::string("11111"));
        QCOMPARE(joined.Runs.size(), KeptRunLimit);
        QCOMPARE(joined.Runs.back().Name, QString("new"));
    }

    void ADamagedSessionFileHoldsNothing_data() {
        QTest::addColumn<QByteArray>("text");
        const QByteArray entry =
            R"({"hex":"12345","source":"typed","blocks":1,"elements":100,"distance":1,)"
            R"("fitness":3,"when":"10:00:00"})";
        QTest::newRow("not JSON") << QByteArray("\x01garbage{");
        QTest::newRow("cut short") << QByteArray(R"({"version":1,"history":[)");
        QTest::newRow("no version") << QByteArray(R"({"history":[],"runs":[]})");
        QTest::newRow("another version") << QByteArray(R"({"version":2,"history":[],"runs":[]})");
        QTest::newRow("history not a list")
            << QByteArray(R"({"version":1,"history":{"a":1},"runs":[]})");
        QByteArray bad = entry;
        QTest::newRow("a pattern of no length") << QByteArray(
            R"({"version":1,"runs":[],"history":[)" + bad.replace("12345", "1234") + "]}");
        bad = entry;
        QTest::newRow("a distance not a number")
            << QByteArray(R"({"version":1,"runs":[],"history":[)" +
                          bad.replace(R"("distance":1)", R"("distance":"x")") + "]}");
        QTest::newRow("points not rising") << QByteArray(
            R"({"version":1,"history":[],"runs":[{"name":"a","points":[[5,1],[5,0.5]]}]})");
        QTest::newRow("a point of three")
            << QByteArray(R"({"version":1,"history":[],"runs":[{"name":"a","points":[[5,1,2]]}]})");
    }
    void ADamagedSessionFileHoldsNothing() {
        QFETCH(QByteArray, text);
        QVERIFY(!ParseKeptSession(std::string_view(text.constData(), text.size())));
    }

    // The history, the curves and the drawn target come back only when asked.
    void TheLastSessionIsRestoredWhenAsked() {
        Button("RandomVeskToolButton")->click();
        Button("RandomVeskToolButton")->click();
        const std::vector<vesk::THistoryEntry> history = FForm->Session().History;
        QCOMPARE(history.size(), std::size_t(2));
        auto* curve = Find<TSearchCurve>("SearchCurve");
        curve->StartRun("1: 16 blocks, reference of 100, seed 1");
        curve->AddPoint(100, 12.5);
        curve->AddPoint(2000, 3.25);
        KeptSettings::SaveTarget({TKeptTarget::TKind::Drawn, {}, {0, 50, 100, 50}});

        QVERIFY(ReopenWindow());
        ExpectDesignedFields();
        QVERIFY(!FForm->Session().Search.Target);
        QCOMPARE(Find<TSearchCurve>("SearchCurve")->Runs(), 0);
        Button("RandomVeskToolButton")->click(); // this session's own entry comes after
        Find<QAction>("RestoreSessionAction")->trigger();

        const vesk::TWorkbenchSession& session = FForm->Session();
        QCOMPARE(session.History.size(), std::size_t(3));
        QCOMPARE(session.History[0].Hex, history[0].Hex);
        QCOMPARE(session.History[1].Hex, history[1].Hex);
        QVERIFY(session.Search.Target);
        QCOMPARE(session.Search.Target->Count(), 4);
        QCOMPARE(session.Search.Target->GetDegree(1), 50);
        const std::vector<TSearchRun> runs = Find<TSearchCurve>("SearchCurve")->Shown();
        QCOMPARE(runs.size(), std::size_t(1));
        QCOMPARE(runs[0].Name, QString("earlier 1: 16 blocks, reference of 100, seed 1"));
        QCOMPARE(runs[0].Points,
                 (std::vector<std::pair<std::uint64_t, double>>{{100, 12.5}, {2000, 3.25}}));
        QVERIFY(!Find<QAction>("RestoreSessionAction")->isEnabled());

        // Restored once, kept once: the next session finds the three entries, not five.
        QVERIFY(ReopenWindow());
        Find<QAction>("RestoreSessionAction")->trigger();
        QCOMPARE(FForm->Session().History.size(), std::size_t(3));
        QCOMPARE(Find<TSearchCurve>("SearchCurve")->Shown()[0].Name, runs[0].Name);
    }

    // Restored after a search of this session, the earlier curves still come first: on the
    // chart, in its legend's colours and in what is kept for the next session, whose newest
    // runs are this session's.
    void EarlierCurvesComeBeforeThisSessionsRuns() {
        Find<TSearchCurve>("SearchCurve")->StartRun("1: last session");
        Find<TSearchCurve>("SearchCurve")->AddPoint(100, 0.5);
        QVERIFY(ReopenWindow());
        auto* curve = Find<TSearchCurve>("SearchCurve");
        curve->StartRun("1: this session");
        curve->AddPoint(100, 0.4);
        Find<QAction>("RestoreSessionAction")->trigger();
        curve->AddPoint(200, 0.25); // the run of this session goes on growing

        const std::vector<TSearchRun> runs = curve->Shown();
        QCOMPARE(runs.size(), std::size_t(2));
        QCOMPARE(runs[0].Name, QString("earlier 1: last session"));
        QCOMPARE(runs[1].Name, QString("1: this session"));
        QCOMPARE(runs[1].Points.size(), std::size_t(2));
        const QList<QAbstractSeries*> series = curve->chart()->series();
        QVERIFY(static_cast<QLineSeries*>(series[0])->color() !=
                static_cast<QLineSeries*>(series[1])->color());

        QVERIFY(ReopenWindow());
        Find<QAction>("RestoreSessionAction")->trigger();
        const std::vector<TSearchRun> kept = Find<TSearchCurve>("SearchCurve")->Shown();
        QCOMPARE(kept.size(), std::size_t(2));
        QCOMPARE(kept[0].Name, runs[0].Name);
        QCOMPARE(kept[1].Name, QString("earlier 1: this session"));
    }

    // Not restored, the earlier sessions' history is still kept, before this one's.
    void UnrestoredSessionsAccumulate() {
        Button("RandomVeskToolButton")->click();
        QVERIFY(ReopenWindow());
        Button("HexaToolButton")->click(); // the preset pattern
        QVERIFY(ReopenWindow());
        Find<QAction>("RestoreSessionAction")->trigger();
        QCOMPARE(FForm->Session().History.size(), std::size_t(2));
        QCOMPARE(FForm->Session().History[0].Source, std::string("random"));
    }

    void ALoadedTargetIsRestoredFromItsFile() {
        const QString path = TargetFile("last.txt", 12);
        Targets()->LoadTargetFrom(path);
        QVERIFY(ReopenWindow());
        QVERIFY(!FForm->Session().Search.Target);
        Find<QAction>("RestoreSessionAction")->trigger();
        QCOMPARE(QString::fromStdString(FForm->Session().Search.TargetName), path);
        QCOMPARE(FForm->Session().Search.Target->Count(), 12);
    }

    void ForgottenSessionsAreGone() {
        Button("RandomVeskToolButton")->click();
        QVERIFY(ReopenWindow());
        Find<QAction>("ForgetSessionAction")->trigger();
        QVERIFY(!Find<QAction>("RestoreSessionAction")->isEnabled());
        QVERIFY(!QFile::exists(KeptSessionPath()));
        // Taken down without closing as a person does: this session keeps nothing.
        QVERIFY(CloseWindow().isEmpty());
        QVERIFY(OpenWindowAsKept());
        QVERIFY(!Find<QAction>("RestoreSessionAction")->isEnabled());
    }

    void DamagedKeepingOpensAsDesigned() {
        QVERIFY(CloseWindow().isEmpty());
        {
            QSettings settings;
            settings.setValue("search/seed", "banana");
            settings.setValue("search/objective", "sweep"); // good beside bad: still taken
            settings.setValue("search/unknown", "1");
            settings.setValue("target/kind", "drawn");
            settings.setValue("target/degrees", "10,500,x");
            settings.setValue("targets/recent", 12);
        }
        QFile file(KeptSessionPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"version":1,"history":[{"hex":)");
        file.close();
        QVERIFY(OpenWindowAsKept());
        ExpectDesignedFields();
        QCOMPARE(FForm->Session().Search.Seed, vesk::DefaultSeed);
        QCOMPARE(FForm->Session().Search.Objective, vesk::TObjective::Sweep);
        QVERIFY(!Find<QAction>("RestoreSessionAction")->isEnabled());
        QVERIFY(RecentShown().size() <= 1);
        // The damaged file is replaced by a good one when the window closes.
        Button("RandomVeskToolButton")->click();
        QVERIFY(ReopenWindow());
        QVERIFY(Find<QAction>("RestoreSessionAction")->isEnabled());
    }

    // Nothing kept at all (the first run, or the data folder emptied): the designed window.
    void NothingKeptOpensAsDesigned() {
        ExpectDesignedFields();
        QVERIFY(!Find<QAction>("RestoreSessionAction")->isEnabled());
        QVERIFY(RecentShown().isEmpty());
        QCOMPARE(FForm->Session().Search.Seed, vesk::DefaultSeed);
    }
};

QTEST_MAIN(TKeptTest)
#include "kept_test.moc"

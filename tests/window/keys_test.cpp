// The window from the keyboard: the standard keys (Quit, Close, Open, Preferences, Undo, Redo),
// every menu action reachable by a key or through a menu a key opens, the "?" list naming them
// all, no key doing two things, and Tab visiting only what takes input, visibly.
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QFileDialog>
#include <QFocusFrame>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QSet>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "window_fixture.h"
#include "workbench/window/curve_chart.h"
#include "workbench/window/search_panel.h"
#include "workbench/window/shortcut_list.h"
#include "workbench/window/window_keys.h"

namespace {

const QString Preset = "77467C422E8C46887454";

} // namespace

class TKeysTest : public TWindowTest {
    Q_OBJECT

    QWidget* Elements() const { return Find<QAbstractSpinBox>("XElementsSpinEdit"); }
    QMenu* Menu(const char* name) const { return Find<QMenu>(name); }
    // Presses keys with the focus in a field, the window active as a user has it.
    void Press(const QKeySequence& keys, QWidget* focus = nullptr) {
        FForm->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(FForm.get()));
        focus = focus ? focus : Combo()->lineEdit();
        focus->setFocus();
        QTest::keySequence(focus, keys);
    }
    // Presses keys expecting them to open a modal window, which is closed; its class name.
    QString PressForModal(const QKeySequence& keys) {
        QString seen;
        TModalWatcher watcher([&](QWidget* modal) {
            seen = modal->metaObject()->className();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) seen += ": " + box->text();
            AnswerBox(modal, QMessageBox::Ok);
        });
        Press(keys);
        return watcher.Seen() ? seen : QString();
    }
    // Every action the window and its menus hold, each once.
    QList<QAction*> AllActions() const {
        QList<QAction*> all = FForm->actions();
        for (const char* menu : {"EvolveMenu", "PlotMenu"})
            for (QAction* action : Menu(menu)->actions())
                if (!action->isSeparator() && !all.contains(action)) all.append(action);
        return all;
    }
    // Tabs round from the Elements field: the widgets visited until it comes back.
    QList<QWidget*> TabRound() {
        Press(QKeySequence(), Elements());
        QList<QWidget*> visited{QApplication::focusWidget()};
        for (int step = 0; step < 20; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QApplication::focusWidget() == visited.first()) break;
            visited.append(QApplication::focusWidget());
        }
        return visited;
    }

private slots:
    void init() { QVERIFY(OpenWindow(true)); }
    void cleanup() {
        const QStringList unexpected = CloseWindow();
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(", ")));
    }

    void closeAndQuitCloseTheWindow() {
        Press(QKeySequence::Close);
        QVERIFY(!FForm->isVisible());
        QVERIFY(OpenWindow(true));
        Press(QKeySequence("Ctrl+Q"));
        QVERIFY(!FForm->isVisible());
    }

    void theMenusActionsRunFromTheirKeysWithTheFocusInAField() {
        QCOMPARE(PressForModal(QKeySequence::Open), QString("QFileDialog"));
        const QKeySequence preferences =
            StandardKeys(QKeySequence::Preferences, QKeySequence("Ctrl+,")).first();
        QCOMPARE(PressForModal(preferences), QString("TSearchPanel"));
        QCOMPARE(PressForModal(QKeySequence("Ctrl+Shift+D")),
                 QString("QMessageBox: There is no target to save."));
        Press(QKeySequence("Ctrl+D"), Elements());
        QVERIFY(Find<TCurveChart>("CurveChart")->Drawing());
        QVERIFY(Find<QAction>("DrawTargetAction")->isChecked());

        // History keeps Ctrl+Y only where that is not Redo.
        QVERIFY(!QKeySequence::keyBindings(QKeySequence::Redo).contains(HistoryKey()));
        Press(HistoryKey());
        QVERIFY(Find<QDockWidget>("HistoryDock")->isVisible());

        // Ctrl+Z in a field is the window's Undo, not the field's own.
        Combo()->setEditText(Preset);
        Button("HexaToolButton")->click();
        Button("RandomVeskToolButton")->click();
        Press(QKeySequence::Undo, Elements());
        QCOMPARE(Combo()->currentText(), Preset);
    }

    // The menus open from the keyboard and are walked with the arrow keys.
    void theMenusOpenFromTheKeyboard() {
        Press(QKeySequence("Alt+E"));
        QMenu* evolve = Menu("EvolveMenu");
        QTRY_VERIFY(evolve->isVisible());
        QToolButton* button = Button("EvolveToolButton");
        QCOMPARE(evolve->pos(), button->mapToGlobal(QPoint(0, button->height())));
        QTest::keyClick(evolve, Qt::Key_Escape);
        QTRY_VERIFY(!evolve->isVisible());

        // Down to "Draw Target" (after Search Settings and Load Target), then Enter.
        Press(QKeySequence("Alt+E"));
        QTRY_VERIFY(evolve->isVisible());
        for (int step = 0; step < 3; ++step)
            QTest::keyClick(evolve, Qt::Key_Down);
        QCOMPARE(evolve->activeAction(), Find<QAction>("DrawTargetAction"));
        QTest::keyClick(evolve, Qt::Key_Return);
        QTRY_VERIFY(!evolve->isVisible());
        QVERIFY(Find<TCurveChart>("CurveChart")->Drawing());

        Press(QKeySequence("Alt+P"));
        QMenu* plot = Menu("PlotMenu");
        QTRY_VERIFY(plot->isVisible());
        QVERIFY(plot->actions().contains(Find<QAction>("UndoAction")));
        QTest::keyClick(plot, Qt::Key_Escape);
        QTRY_VERIFY(!plot->isVisible());
    }

    // Every action is listed with its keys and places; no key serves two actions; an action
    // without a key of its own is on a menu a key opens.
    void theShortcutListNamesEveryActionAndNoKeyIsTwice() {
        Press(QKeySequence::HelpContents);
        auto* list = Find<TShortcutList>("ShortcutList");
        QTRY_VERIFY(list->isVisible());
        QTableWidget* table = list->Table();
        QMap<QString, QStringList> rows; // command: keys, where
        for (int row = 0; row < table->rowCount(); ++row)
            rows[table->item(row, 0)->text()] = {table->item(row, 1)->text(),
                                                 table->item(row, 2)->text()};
        QSet<QString> keysSeen;
        for (QAction* action : AllActions()) {
            QString command = action->text().remove('&');
            if (command.endsWith("...")) command.chop(3);
            QVERIFY2(rows.contains(command), qPrintable(command));
            for (const QKeySequence& keys : action->shortcuts()) {
                const QString text = keys.toString(QKeySequence::NativeText);
                QVERIFY2(rows[command][0].contains(text), qPrintable(command));
                QVERIFY2(!keysSeen.contains(text), qPrintable(text + " twice"));
                keysSeen.insert(text);
            }
            QVERIFY2(!action->shortcuts().isEmpty() || rows[command][1].contains("menu"),
                     qPrintable(command + " has no key"));
        }
        QCOMPARE(rows["Random Vesk"], QStringList({"Ctrl+R", "Tool bar"}));
        QCOMPARE(rows["Load Target"][1], QString("Evolve menu"));
        QCOMPARE(rows["History"][1], QString("Evolve menu, Plot menu"));
        QVERIFY(rows["Previous View"][1] == "Plot menu");
        QVERIFY(rows.contains("Quit") && rows.contains("Close Window"));
        // Undo's text follows its step, and the list follows it when shown again.
        Button("RandomVeskToolButton")->click();
        Press(QKeySequence::HelpContents);
        QVERIFY(!table->findItems("Undo Pattern", Qt::MatchExactly).isEmpty());
        QTest::keyClick(list, Qt::Key_Escape);
        QVERIFY(!list->isVisible());
    }

    void tabVisitsOnlyWhatTakesInputVisibly() {
        const QList<QWidget*> fields{Elements(), Find<QWidget>("NBlocksSpinEdit"), Combo()};
        QCOMPARE(TabRound(), fields);
        // The search's curve, once shown, takes no keys: Tab passes it by.
        FForm->SetEvolveBudget(3000);
        Button("EvolveToolButton")->click();
        WaitForTheSearch();
        QVERIFY(Find<QWidget>("SearchCurve")->isVisible());
        QCOMPARE(TabRound(), fields);
        // The chart takes the arrow keys: shown, it is a stop, framed while it has the focus.
        Button("ChartToolButton")->click();
        auto* chart = Find<TCurveChart>("CurveChart");
        QCOMPARE(TabRound(), QList<QWidget*>(fields) << chart);
        auto* frame = Find<QFocusFrame>("ChartFocusFrame");
        QVERIFY(!frame->isVisible());
        chart->setFocus();
        QTRY_VERIFY(frame->isVisible());
        QCOMPARE(frame->widget(), static_cast<QWidget*>(chart));
        QVERIFY(frame->geometry().contains(chart->geometry().adjusted(1, 1, -1, -1)));
        Elements()->setFocus();
        QTRY_VERIFY(!frame->isVisible());
    }
};

QTEST_MAIN(TKeysTest)
#include "keys_test.moc"

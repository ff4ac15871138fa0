// Undo and redo in the window: a command's pattern and fields taken back and brought again, the
// result of "Evolve", a block's edit, the target loaded or drawn stroke by stroke, a typed edit
// not yet committed, and no undo while a search runs.
#include <fstream>

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <QChart>
#include <QLineSeries>

#include "window_fixture.h"
#include "workbench/window/blocks_panel.h"
#include "workbench/window/curve_chart.h"

namespace {

const QString Preset = "77467C422E8C46887454"; // fitness 17 at 100 elements

} // namespace

class TUndoTest : public TWindowTest {
    Q_OBJECT

    QTemporaryDir FDir;

    // What the window shows of a pattern: the text, the fields, the measures, the sets and the
    // plot. The plot is drawn at the size the window gives it when shown again, so it is
    // compared pixel for pixel only at the same size.
    struct TShown {
        QString Text, Elements, Blocks, Fitness, Hamming;
        std::vector<std::int32_t> Pattern;
        QImage Plot;
        bool operator==(const TShown& other) const {
            return Text == other.Text && Elements == other.Elements && Blocks == other.Blocks &&
                   Fitness == other.Fitness && Hamming == other.Hamming &&
                   Pattern == other.Pattern && Plot.isNull() == other.Plot.isNull() &&
                   (Plot.size() != other.Plot.size() || Plot == other.Plot);
        }
    };
    TShown Shown() const {
        return {Combo()->currentText(),
                Find<QAbstractSpinBox>("XElementsSpinEdit")->text(),
                Find<QAbstractSpinBox>("NBlocksSpinEdit")->text(),
                Caption("FitnessLabel").trimmed(),
                Caption("HammingLabel").trimmed(),
                FForm->Session().PatternSet.Degrees(),
                FForm->Session().Image.Bitmap()};
    }
    QAction* Action(const char* name) const { return Find<QAction>(name); }
    // Presses keys with the focus in the Hexa String box, as a user would.
    void Press(const char* keys) {
        FForm->activateWindow(); // as it is again once a dialog it opened has closed
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(FForm.get()));
        Combo()->lineEdit()->setFocus();
        QTest::keySequence(Combo()->lineEdit(), QKeySequence(keys));
    }
    void Undo() { Press("Ctrl+Z"); }
    void Redo() { Press(QKeySequence(QKeySequence::Redo).toString().toLatin1().constData()); }
    std::vector<std::int32_t> Target() const {
        const auto& target = FForm->Session().Search.Target;
        return target ? target->Degrees() : std::vector<std::int32_t>();
    }
    void LoadTarget(const QString& name) {
        ChooseTargetFile(FDir.path(), name, [this] { Press("Ctrl+O"); });
    }

private slots:
    void initTestCase() { QVERIFY(FDir.isValid()); }
    void init() { QVERIFY(OpenWindow(true)); }
    void cleanup() {
        const QStringList unexpected = CloseWindow();
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(", ")));
    }

    void aCommandIsUndoneAndRedoneWithItsTextFieldsAndPlot() {
        QVERIFY(!Action("UndoAction")->isEnabled());
        QVERIFY(!Action("RedoAction")->isEnabled());
        Combo()->setEditText(Preset);
        Button("HexaToolButton")->click();
        const TShown preset = Shown();
        QCOMPARE(preset.Fitness, QString("17"));

        Find<QAbstractSpinBox>("NBlocksSpinEdit")->findChild<QLineEdit*>()->setText("6");
        Button("RandomVeskToolButton")->click();
        const TShown random = Shown();
        QCOMPARE(random.Blocks, QString("6"));
        QCOMPARE(random.Text.size(), 30);
        QVERIFY(random.Plot != preset.Plot); // drawn anew, not over the kept plot
        QCOMPARE(Action("UndoAction")->text(), QString("Undo Pattern"));

        Undo();
        QVERIFY(Shown() == preset); // the text, both fields, the measures and the plot
        QVERIFY(Action("RedoAction")->isEnabled());
        Redo();
        QVERIFY(Shown() == random);
        QVERIFY(!Action("RedoAction")->isEnabled());

        // Back to the opening: no pattern, nothing to save, nothing more to undo.
        Undo();
        Undo();
        QCOMPARE(Combo()->currentText(), QString());
        QCOMPARE(Shown().Elements, QString("100"));
        QVERIFY(!FForm->Session().Image.HasBitmap());
        QVERIFY(!Action("UndoAction")->isEnabled());
        // The History panel keeps every pattern shown; undo does not add to it.
        QCOMPARE(FForm->Session().History.size(), std::size_t(2));

        // A new command ends what could be redone.
        Button("RandomVeskToolButton")->click();
        QVERIFY(!Action("RedoAction")->isEnabled());
        // A command that changes nothing is no step: the stack does not grow.
        const int steps = FForm->findChild<QUndoStack*>()->count();
        Button("HexaToolButton")->click();
        QCOMPARE(FForm->findChild<QUndoStack*>()->count(), steps);
    }

    // Typed text not yet committed is taken back first; Redo brings it again.
    void aTypedEditIsUndoneBeforeTheCommandBeforeIt() {
        Combo()->setEditText(Preset);
        Button("HexaToolButton")->click();
        const TShown preset = Shown();
        QLineEdit* edit = Combo()->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, "ABCDE");
        QVERIFY(Action("UndoAction")->isEnabled());
        QCOMPARE(Action("UndoAction")->text(), QString("Undo Hexa String"));
        Undo();
        QVERIFY(Shown() == preset);
        Redo();
        QCOMPARE(Combo()->currentText(), QString("ABCDE"));
        QCOMPARE(Shown().Plot, preset.Plot); // the typed text was never shown
        Undo();
        Undo();
        QCOMPARE(Combo()->currentText(), QString());
    }

    void theResultOfEvolveAndABlocksEditAreSteps() {
        FForm->SetEvolveBudget(3000);
        Combo()->setEditText(Preset);
        Button("HexaToolButton")->click();
        const TShown preset = Shown();
        Button("EvolveToolButton")->click();
        // No undo while the search runs.
        QVERIFY(!Action("UndoAction")->isEnabled());
        WaitForTheSearch();
        const TShown evolved = Shown();
        QVERIFY(evolved.Text != preset.Text);
        Undo();
        QVERIFY(Shown() == preset);
        Redo();
        QVERIFY(Shown() == evolved);

        // A block's degree edited in the block panel changes the text: a step of its own.
        Button("BlocksToolButton")->click();
        QTableWidget* table = Find<TBlocksPanel>("BlocksPanel")->Table();
        QTRY_VERIFY(table->rowCount() > 0);
        auto* centre = qobject_cast<QSpinBox*>(table->cellWidget(0, 1)); // of block 0
        QVERIFY(centre);
        centre->setValue(centre->value() == 3 ? 4 : 3);
        QTRY_VERIFY(Combo()->currentText() != evolved.Text);
        const QString edited = Combo()->currentText();
        QCOMPARE(Action("UndoAction")->text(), QString("Undo Hexa String"));
        Undo();
        QCOMPARE(Combo()->currentText(), evolved.Text);
        Redo();
        QCOMPARE(Combo()->currentText(), edited);
    }

    void aTargetLoadedOrDrawnStrokeByStrokeIsUndone() {
        std::ofstream((FDir.path() + "/target.txt").toStdString()) << "0 50 100\n";
        LoadTarget("target.txt");
        QCOMPARE(Target(), std::vector<std::int32_t>({0, 50, 100}));
        QCOMPARE(Action("UndoAction")->text(), QString("Undo Target"));
        Undo();
        QVERIFY(!FForm->Session().Search.Target);
        Redo();
        QCOMPARE(Target(), std::vector<std::int32_t>({0, 50, 100}));
        Press("Ctrl+Z");

        // Two strokes on the chart, each a step; the chart's target curve follows.
        Combo()->setEditText(Preset);
        Button("HexaToolButton")->click();
        Press("Ctrl+D"); // Draw Target, which shows the chart
        auto* chart = Find<TCurveChart>("CurveChart");
        QTRY_VERIFY(chart->isVisible() && chart->Drawing());
        QCoreApplication::processEvents();
        const QRectF area = chart->chart()->plotArea();
        const auto at = [&](double across, double down) {
            return chart->mapFromScene(area.left() + across * area.width(),
                                       area.top() + down * area.height());
        };
        const auto stroke = [&](double from, double to, double down) {
            QTest::mousePress(chart->viewport(), Qt::LeftButton, {}, at(from, down));
            QTest::mouseMove(chart->viewport(), at(to, down));
            QTest::mouseRelease(chart->viewport(), Qt::LeftButton, {}, at(to, down));
        };
        stroke(0.0, 0.5, 0.1);
        const std::vector<std::int32_t> first = Target();
        QCOMPARE(first.size(), std::size_t(100));
        stroke(0.5, 1.0, 0.9);
        const std::vector<std::int32_t> second = Target();
        QVERIFY(second != first);
        auto* curve = qobject_cast<QLineSeries*>(chart->chart()->series().value(2));
        QVERIFY(curve && curve->name() == "target");

        Undo();
        QCOMPARE(Target(), first);
        QCOMPARE(curve->at(99).y(), double(first[99]));
        Undo();
        QVERIFY(Target().empty());
        QVERIFY(!curve->isVisible());
        Redo();
        QCOMPARE(Target(), first);
        // Drawing goes on from the target the undo left.
        stroke(0.9, 1.0, 0.5);
        QCOMPARE(Target()[10], first[10]);
        QVERIFY(Target()[99] != first[99]);
        // Undone back to the opening, nothing plotted: the chart still takes strokes, on the
        // elements of FS Elements.
        while (Action("UndoAction")->isEnabled())
            Undo();
        QVERIFY(!FForm->Session().Image.HasBitmap());
        QVERIFY(Target().empty() && chart->Drawing());
        stroke(0.0, 1.0, 0.5);
        QCOMPARE(Target().size(), std::size_t(100));
    }
};

QTEST_MAIN(TUndoTest)
#include "undo_test.moc"

// The window as a daily tool: every command's shortcut with the focus in every field, Enter in
// the Hexa String box, read-only fields during a search and the status bar's word when it ends,
// the plot's menu (copy and export), and a shrunk plot that keeps its curves whole.
#include <cerrno>
#include <cstring>
#include <optional>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <QChart>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>

#include "window_fixture.h"
#include "workbench/window/blocks_panel.h"
#include "workbench/window/curve_chart.h"

namespace {

const QString Preset = "77467C422E8C46887454"; // fitness 17 at 100 elements

QImage AsRgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB888);
}

} // namespace

class TDailyUseTest : public TWindowTest {
    Q_OBJECT

    QTemporaryDir FDir;

    QString Fitness() const { return Caption("FitnessLabel").trimmed(); }
    void Press(QWidget* focus, const char* keys) {
        FForm->activateWindow(); // as it is again once a box it opened has closed
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(FForm.get()));
        focus->setFocus();
        QTest::keySequence(focus, QKeySequence(keys));
    }
    // Exports through the plot's menu, choosing the filter and typing the name; the box that
    // reports a failure, when one is expected, is answered and recorded in error.
    void Export(int filter, const QString& name, TBoxRecord* error = nullptr) {
        std::optional<TModalWatcher> reports;
        if (error)
            reports.emplace([error](QWidget* box) { *error = AnswerBox(box); },
                            Find<QFileDialog>("ExportDialog"));
        TModalWatcher watcher([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog) return void(AnswerBox(modal));
            dialog->setDirectory(FDir.path());
            dialog->selectNameFilter(dialog->nameFilters().value(filter));
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
        });
        Find<QAction>("ExportAction")->trigger();
        QVERIFY(watcher.Seen());
        if (reports) QVERIFY(reports->Seen());
    }

private slots:
    void initTestCase() { QVERIFY(FDir.isValid()); }
    void init() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(OpenWindow());
    }
    void cleanup() {
        const QStringList unexpected = CloseWindow();
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(", ")));
    }

    void everyShortcutWorksWithTheFocusInEveryField() {
        FForm->SetEvolveBudget(3000);
        for (QWidget* field : Fields()) {
            const QByteArray name = field->parentWidget()->objectName().toUtf8();
            qobject_cast<QLineEdit*>(Fields()[1])->setText("100");
            Combo()->setEditText(Preset);
            Press(field, "Ctrl+H");
            QCOMPARE(Fitness(), QString("17"));
            Press(field, "Ctrl+R");
            QVERIFY2(Combo()->currentText() != Preset, name.constData());

            Press(field, "Ctrl+E");
            QVERIFY2(FForm->EvolveRunning(), name.constData());
            WaitForTheSearch();

            const bool shown = Find<TBlocksPanel>("BlocksPanel")->isVisible();
            Press(field, "Ctrl+B");
            QCOMPARE(Find<TBlocksPanel>("BlocksPanel")->isVisible(), !shown);

            TModalWatcher box([](QWidget* modal) { AnswerBox(modal); });
            Press(field, "Ctrl+F");
            QVERIFY2(box.Seen(), name.constData());
            TModalWatcher dialog([](QWidget* modal) { AnswerBox(modal); });
            Press(field, "Ctrl+S");
            QVERIFY2(dialog.Seen(), name.constData());
        }
        // A disabled command's shortcut does nothing: no second search while one runs.
        FForm->SetEvolveBudget(1'000'000'000);
        Button("EvolveToolButton")->click();
        const QString text = Combo()->currentText();
        Press(Fields()[1], "Ctrl+R");
        QCOMPARE(Combo()->currentText(), text);
        Press(Fields()[1], "Ctrl+E"); // Stop
        WaitForTheSearch();
    }

    // The block panel's cell editors come and go with the text; a command's key still runs the
    // command, not the editor's own use of the key.
    void aShortcutWorksWithTheFocusInABlockCell() {
        FForm->SetEvolveBudget(3000);
        Combo()->setEditText(Preset);
        Button("BlocksToolButton")->click();
        QTableWidget* table = Find<TBlocksPanel>("BlocksPanel")->Table();
        QVERIFY(table->rowCount() > 0);
        auto* centre = table->cellWidget(0, 1)->findChild<QLineEdit*>();
        QVERIFY(centre);
        Press(centre, "Ctrl+E");
        QVERIFY(FForm->EvolveRunning());
        WaitForTheSearch();
    }

    void enterInTheHexaBoxRunsHexaString() {
        Combo()->lineEdit()->setFocus();
        QTest::keyClicks(Combo()->lineEdit(), Preset);
        QTest::keyClick(Combo()->lineEdit(), Qt::Key_Return);
        QCOMPARE(Fitness(), QString("17"));
        QCOMPARE(Combo()->count(), 2); // and the list is as it was
    }

    void aSearchLeavesTheFieldsReadOnlyAndSaysHowItEnded() {
        FForm->SetEvolveBudget(1'000'000'000);
        Button("EvolveToolButton")->click();
        QVERIFY(FForm->EvolveRunning());
        for (QWidget* field : Fields())
            QVERIFY(qobject_cast<QLineEdit*>(field)->isReadOnly());
        QVERIFY(!Find<TBlocksPanel>("BlocksPanel")->isEnabled());
        const QString text = Combo()->currentText();
        Combo()->lineEdit()->setFocus();
        QTest::keyClicks(Combo()->lineEdit(), "123");
        QTest::keyClick(Combo()->lineEdit(), Qt::Key_Down); // nor a step through the list
        QCOMPARE(Combo()->currentText(), text);
        QTest::qWait(100);
        Button("EvolveToolButton")->click();
        WaitForTheSearch();
        for (QWidget* field : Fields())
            QVERIFY(!qobject_cast<QLineEdit*>(field)->isReadOnly());
        QVERIFY(Find<TBlocksPanel>("BlocksPanel")->isEnabled());
        const QRegularExpression stopped(
            "^Evolve stopped after [0-9,]+ evaluations in [0-9.]+ s, distance [0-9.]+, fitness "
            "[0-9]+$");
        QVERIFY2(stopped.match(FForm->statusBar()->currentMessage()).hasMatch(),
                 qPrintable(FForm->statusBar()->currentMessage()));

        FForm->SetEvolveBudget(12000);
        Button("EvolveToolButton")->click();
        WaitForTheSearch();
        // 12,000 evaluations and each island's start, grouped as the locale groups digits.
        const QRegularExpression finished("^Evolve finished: 12,0[0-9]{2} evaluations in [0-9.]+ "
                                          "s, distance [0-9.]+, fitness [0-9]+$");
        QVERIFY2(finished.match(FForm->statusBar()->currentMessage()).hasMatch(),
                 qPrintable(FForm->statusBar()->currentMessage()));
        Button("HexaToolButton")->click(); // the next command clears it
        QCOMPARE(FForm->statusBar()->currentMessage(), QString());
    }

    void thePlotsMenuCopiesAndExports() {
        Combo()->setEditText(Preset);
        Button("HexaToolButton")->click();
        const QImage bitmap = FForm->Session().Image.Bitmap();

        Find<QAction>("CopyDataAction")->trigger();
        const QStringList lines = QGuiApplication::clipboard()->text().split('\n');
        QCOMPARE(lines.value(0), QString("element,reference,pattern"));
        QCOMPARE(lines.size(), 1 + 100 + 1); // header, the elements, the last line's end
        const auto& session = FForm->Session();
        QCOMPARE(lines.value(51), QString("50,%1,%2")
                                      .arg(session.ReferenceSet.GetDegree(50))
                                      .arg(session.PatternSet.GetDegree(50)));
        Find<QAction>("CopyImageAction")->trigger();
        QCOMPARE(AsRgb(QGuiApplication::clipboard()->image()), AsRgb(bitmap));

        // The format follows the filter, the extension is added when missing.
        Export(0, "plot");
        QCOMPARE(AsRgb(QImage(FDir.filePath("plot.png"), "PNG")), AsRgb(bitmap));
        Export(1, "curves.svg");
        QSvgRenderer svg(FDir.filePath("curves.svg"));
        QVERIFY(svg.isValid());
        QCOMPARE(svg.viewBox().size(), bitmap.size());
        Export(2, "plain");
        QCOMPARE(AsRgb(QImage(FDir.filePath("plain.bmp"), "BMP")), AsRgb(bitmap));
        QVERIFY(!QFile::exists(FDir.filePath("plain")));
    }

    // Every export, of the plot and of the chart, onto a device that takes nothing: the box
    // names the file and the system's reason, and the name is left as it was.
    void anExportThatCannotBeWrittenIsReportedWithTheReason() {
        if (!QFile::exists("/dev/full")) QSKIP("no /dev/full here");
        Combo()->setEditText(Preset);
        Button("HexaToolButton")->click();
        Find<QFileDialog>("ExportDialog")->setOption(QFileDialog::DontConfirmOverwrite);
        const QString reason = QString::fromLocal8Bit(std::strerror(ENOSPC));
        const QString names[] = {"full.png", "full.svg", "full.bmp"};
        for (const QString& name : names)
            QVERIFY(QFile::link("/dev/full", FDir.filePath(name)));
        for (const bool chart : {false, true}) {
            if (chart) Press(Combo()->lineEdit(), "Ctrl+G");
            QCOMPARE(Find<TCurveChart>("CurveChart")->isVisible(), chart);
            for (int filter = 0; filter < 3; ++filter) {
                TBoxRecord error;
                Export(filter, names[filter], &error);
                QCOMPARE(error.Icon, QMessageBox::Critical);
                QCOMPARE(error.Text, "Cannot create file " + FDir.filePath(names[filter]) + ": " +
                                         reason + ".");
                QVERIFY(QFileInfo(FDir.filePath(names[filter])).isSymLink());
            }
        }
        QVERIFY(QDir(FDir.path()).entryList({".*"}, QDir::Files | QDir::Hidden).isEmpty());
        for (const QString& name : names)
            QVERIFY(QFile::remove(FDir.filePath(name)));
    }

    void theChartShowsWhatTheLastCommandLeftAndFollowsThePalette() {
        auto* chart = Find<TCurveChart>("CurveChart");
        auto* plot = Find<QWidget>("FSImage");
        QVERIFY(chart->isHidden()); // the window opens as designed
        QVERIFY(!Button("ChartToolButton")->isChecked());
        Combo()->setEditText(Preset);
        Button("HexaToolButton")->click();
        Press(Combo()->lineEdit(), "Ctrl+G");
        QVERIFY(chart->isVisible());
        QVERIFY(plot->isHidden());

        const auto series = chart->chart()->series();
        QCOMPARE(series.size(), 5);
        for (int k = 2; k < 5; ++k) // no target of one's own, no history overlaid
            QVERIFY(!series[k]->isVisible());
        auto* reference = qobject_cast<QLineSeries*>(series[0]);
        auto* pattern = qobject_cast<QLineSeries*>(series[1]);
        QCOMPARE(reference->name(), QString("reference"));
        QCOMPARE(reference->color(), QColor(Qt::blue));
        QCOMPARE(pattern->name(), QString("pattern"));
        QCOMPARE(pattern->color(), QColor(Qt::red));
        const auto& session = FForm->Session();
        QCOMPARE(reference->count(), 100);
        QCOMPARE(reference->at(40).y(), double(session.ReferenceSet.GetDegree(40)));
        QCOMPARE(pattern->at(40).y(), double(session.PatternSet.GetDegree(40)));
        auto* elements = qobject_cast<QValueAxis*>(chart->chart()->axes(Qt::Horizontal).value(0));
        auto* degrees = qobject_cast<QValueAxis*>(chart->chart()->axes(Qt::Vertical).value(0));
        QCOMPARE(elements->max(), 99.0);
        QCOMPARE(degrees->max(), 102.0); // room above 100, marked 0, 20, ..., 100
        QCOMPARE(degrees->tickInterval(), 20.0);

        // Another command at another element count: the chart follows.
        auto* count = qobject_cast<QLineEdit*>(Fields()[1]);
        count->setFocus();
        count->selectAll();
        QTest::keyClicks(count, "50");
        Button("HexaToolButton")->click();
        QCOMPARE(reference->count(), 50);
        QCOMPARE(elements->max(), 49.0);

        // The crosshair's readout names the element under the pointer.
        const auto pointAtTheMiddle = [&] {
            QTest::mouseMove(chart->viewport(), chart->viewport()->rect().center());
            return Find<QLabel>("StatusPanel2")->text();
        };
        QTRY_VERIFY(pointAtTheMiddle().startsWith("element 2"));

        // Exported while shown: the chart itself, as pixels and as vectors.
        Export(0, "chart.png");
        QCOMPARE(QImage(FDir.filePath("chart.png"), "PNG").size(),
                 chart->size() * chart->devicePixelRatioF());
        Export(1, "chart.svg");
        QVERIFY(QSvgRenderer(FDir.filePath("chart.svg")).isValid());

        QPalette dark;
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        dark.setColor(QPalette::Text, QColor(230, 230, 230));
        chart->setPalette(dark);
        QCOMPARE(chart->chart()->backgroundBrush().color(), QColor(30, 30, 30));
        QCOMPARE(elements->labelsColor(), QColor(230, 230, 230));

        Press(count, "Ctrl+G");
        QVERIFY(chart->isHidden());
        QVERIFY(plot->isVisible());
    }

    void theBlocksPanelKeepsThePlotAndTheTextWideAndShowsEveryColumn() {
        Combo()->setEditText(Preset + "FFFFF");
        Button("BlocksToolButton")->click();
        auto* panel = Find<TBlocksPanel>("BlocksPanel");
        QVERIFY(panel->isVisible());
        QCoreApplication::processEvents();
        QVERIFY(Find<QWidget>("ImagePanel")->width() >= 300);
        QVERIFY(Combo()->width() >=
                Combo()->fontMetrics().horizontalAdvance("0123456789ABCDEF") * 40 / 16);
        QTableWidget* table = panel->Table();
        QVERIFY(table->horizontalHeader()->length() <= table->viewport()->width());
        // Choosing a value in the last editable column leaves the table where it was.
        auto* operatorBox = qobject_cast<QComboBox*>(table->cellWidget(2, 4));
        operatorBox->setFocus();
        operatorBox->setCurrentIndex(3);
        QCoreApplication::processEvents();
        QCOMPARE(table->horizontalScrollBar()->value(), 0);
        QCOMPARE(Combo()->currentText().mid(14, 1), QString("3"));
        Button("BlocksToolButton")->click();
        QVERIFY(!panel->isVisible());
    }

    void theSmallestWindowKeepsEveryControlWhole() {
        FForm->resize(1, 1);
        QCoreApplication::processEvents();
        auto* bar = Find<QWidget>("VeskToolBar");
        for (auto* button : bar->findChildren<QToolButton*>()) {
            if (!button->objectName().endsWith("ToolButton")) continue; // the bar's own ones
            QVERIFY2(button->isVisible(), qPrintable(button->objectName()));
            QVERIFY(bar->rect().contains(button->geometry()));
        }
        auto* panel = Find<QWidget>("FSControlsPanel");
        // The rows for a target of one's own show whole too, once there is one.
        for (const bool target : {false, true}) {
            if (target) {
                vesk::TFuzzySet own;
                own.MakeReference(50);
                FForm->Session().Search.Target = own;
                Combo()->setEditText(Preset);
                Button("HexaToolButton")->click();
                FForm->resize(1, 1);
                QCoreApplication::processEvents();
                QVERIFY(Find<QLabel>("TargetFitnessLabel")->isVisible());
            }
            for (auto* label : panel->findChildren<QLabel*>())
                QVERIFY2(label->isHidden() || panel->rect().contains(label->geometry()),
                         qPrintable(label->objectName()));
        }
        QVERIFY(Find<QWidget>("ImagePanel")->width() >= 300);
    }

    void theChartFollowsASearch() {
        auto* chart = Find<TCurveChart>("CurveChart");
        Button("ChartToolButton")->click();
        auto* pattern = qobject_cast<QLineSeries*>(chart->chart()->series().value(1));
        const QList<QPointF> before = pattern->points();
        FForm->SetEvolveBudget(1'000'000'000);
        Button("EvolveToolButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(pattern->points() != before, 60000);
        Button("EvolveToolButton")->click();
        WaitForTheSearch();
    }

    // Each column of a plot shown at about half its size keeps some ink, where a nearest-pixel
    // shrink drops whole rows (the plateaus) and breaks shallow slopes into dots.
    void aShrunkPlotKeepsItsCurvesWhole() {
        Combo()->setEditText(Preset);
        Button("HexaToolButton")->click();
        const QSize full = FForm->Session().Image.Bitmap().size();
        auto* image = Find<QWidget>("FSImage");
        FForm->resize(FForm->width(), FForm->height() - full.height() / 2);
        QTRY_VERIFY(image->height() < full.height() * 2 / 3);
        const QImage shown = AsRgb(image->grab().toImage());
        QCOMPARE(shown.width(), full.width()); // only the height shrank
        const QImage bitmap = AsRgb(FForm->Session().Image.Bitmap());
        const auto inked = [](const QImage& picture, int x) {
            for (int y = 0; y < picture.height(); ++y) {
                const QColor c = picture.pixelColor(x, y);
                if (std::min({c.red(), c.green(), c.blue()}) < 235) return true;
            }
            return false;
        };
        for (int x = 0; x < shown.width(); ++x)
            if (inked(bitmap, x))
                QVERIFY2(inked(shown, x), qPrintable(QString("column %1").arg(x)));
    }
};

QTEST_MAIN(TDailyUseTest)
#include "daily_use_test.moc"

// The workbench window driven through its real widgets: layout and defaults (its outline held to
// the designed geometry, and the designed pixels themselves), the four commands, the boxes they
// show, the combo box's double click, the plot and saving it.

#include <cerrno>
#include <cstring>
#include <memory>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <utility>

#include "window_fixture.h"
#include "workbench/window/designed_geometry.h"
#include "workbench/window/image_view.h"
#include "workbench/window/spin_edit.h"

namespace {

namespace Designed = DesignedGeometry;

const QString Preset1 = "77467C422E8C46887454";
const QString Preset2 = "AF6553666D22533E1571";

QImage AsRgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB888);
}

// Enters a name relative to the temporary directory and presses Save, as the user would.
void ChooseAndSave(QFileDialog* dialog, const QTemporaryDir& dir, const QString& name) {
    dialog->setDirectory(dir.path());
    if (auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit")) edit->setText(name);
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    QPushButton* save = buttons ? buttons->button(QDialogButtonBox::Save) : nullptr;
    if (save)
        save->click();
    else
        static_cast<QDialog*>(dialog)->accept();
}

bool HasColour(const QImage& image, QColor colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour) return true;
    return false;
}

} // namespace

class TVeskTestHomeFormTest : public TWindowTest {
    Q_OBJECT

    QTemporaryDir FDir;

    QStringList Captions() const {
        return {Caption("CardinalityLabel"), Caption("SubSethoodLabel"), Caption("HammingLabel"),
                Caption("FitnessLabel")};
    }
    TSpinEdit* Elements() const { return Find<TSpinEdit>("XElementsSpinEdit"); }
    TSpinEdit* Blocks() const { return Find<TSpinEdit>("NBlocksSpinEdit"); }
    void Click(const char* button) { QTest::mouseClick(Button(button), Qt::LeftButton); }
    // The geometry of a control in the window's coordinates.
    QRect InWindow(const char* name) const {
        auto* control = Find<QWidget>(name);
        return {control->mapTo(FForm.get(), QPoint()), control->size()};
    }

    // Replaces a field's text by typing, leaving the focus in the field.
    void Type(TSpinEdit* field, const QString& text) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
    // Clicks a tool button that is expected to open one message box; returns what it showed.
    TBoxRecord ClickForBox(const char* button,
                           QMessageBox::StandardButton answer = QMessageBox::Ok) {
        TBoxRecord box;
        TModalWatcher watcher([&](QWidget* modal) { box = AnswerBox(modal, answer); });
        Click(button);
        if (!watcher.Seen()) qWarning("%s showed no box", button);
        return box;
    }
    // Runs "Save Image", entering the given name in the dialog; Inspect sees the dialog first.
    bool SaveTo(const QString& name, const std::function<void(QFileDialog*)>& inspect = {}) {
        bool accepted = false;
        TModalWatcher watcher([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog) return void(AnswerBox(modal));
            if (inspect) inspect(dialog);
            ChooseAndSave(dialog, FDir, name);
            accepted = dialog->result() == QDialog::Accepted;
        });
        Click("SaveToolButton");
        return watcher.Seen() && accepted;
    }
    void ShowPreset(int index) {
        Combo()->setCurrentIndex(index);
        Click("HexaToolButton");
    }

private slots:
    void initTestCase() { QVERIFY(FDir.isValid()); }

    void init() { QVERIFY(OpenWindow(true)); }
    void cleanup() {
        const QStringList unexpected = CloseWindow();
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join("; ")));
    }

    void windowAndControlsStartAtTheirDefaults() {
        QCOMPARE(FForm->windowTitle(), QString("Vesk Test"));
        QCOMPARE(FForm->frameGeometry(), Designed::WindowBounds);

        const std::pair<const char*, const char*> kinds[] = {
            {"StatusBar1", "QStatusBar"},
            {"EvalProgressBar", "QProgressBar"},
            {"VeskToolBar", "QToolBar"},
            {"RandomVeskToolButton", "QToolButton"},
            {"HexaToolButton", "QToolButton"},
            {"SaveToolButton", "QToolButton"},
            {"FitToolButton", "QToolButton"},
            {"FSControlsPanel", "QFrame"},
            {"XLabel", "QLabel"},
            {"XElementsSpinEdit", "TSpinEdit"},
            {"NBlocksSpinEdit", "TSpinEdit"},
            {"ImagePanel", "QFrame"},
            {"Panel1", "QFrame"},
            {"Label6", "QLabel"},
            {"HexaComboBox", "QComboBox"},
            {"FSImage", "TImageView"},
            {"SaveDialog1", "QFileDialog"},
        };
        for (const auto& [name, kind] : kinds) {
            QObject* control = FForm->findChild<QObject*>(name);
            QVERIFY2(control && control->inherits(kind), name);
        }
        const std::pair<const char*, const char*> captions[] = {
            {"XLabel", "FS Elements:"}, {"Label1", "FS Blocks"},     {"Label2", "Cardinality:"},
            {"Label3", "Subsethood:"},  {"Label4", "Hamming"},       {"Label5", "Fitness"},
            {"Label6", "Hexa String:"}, {"CardinalityLabel", "0.0"}, {"SubSethoodLabel", "0.0"},
            {"HammingLabel", "0.0"},    {"FitnessLabel", "0"},
        };
        for (const auto& [name, caption] : captions)
            QCOMPARE(Caption(name), QString(caption));
        QCOMPARE(Caption("CardinalityLabel"), QString("0.0"));
        QVERIFY(Find<QLabel>("FitnessLabel")->font().bold());

        QCOMPARE(Elements()->text(), QString("100"));
        QCOMPARE(Blocks()->text(), QString("16"));
        QCOMPARE(Elements()->geometry(), Designed::ElementsSpinEdit);
        QCOMPARE(Blocks()->geometry(), Designed::BlocksSpinEdit);

        QVERIFY(Combo()->isEditable());
        QCOMPARE(Combo()->count(), 2);
        QCOMPARE(Combo()->itemText(0), Preset1);
        QCOMPARE(Combo()->itemText(1), Preset2);
        QCOMPARE(Combo()->currentText(), QString());

        QCOMPARE(Find<QWidget>("VeskToolBar")->width(), Designed::ToolBarWidth);
        QCOMPARE(Find<QWidget>("FSControlsPanel")->width(), Designed::ControlsPanelWidth);
        QCOMPARE(Find<QWidget>("Panel1")->height(), Designed::HexaStripHeight);

        const char* const buttons[] = {"RandomVeskToolButton", "HexaToolButton", "SaveToolButton",
                                       "FitToolButton"};
        const char* const texts[] = {"Random Vesk", "Hexa String", "Save Image", "Fitness"};
        int previousTop = -1;
        for (int i = 0; i < 4; ++i) {
            auto* button = Find<QToolButton>(buttons[i]);
            QCOMPARE(button->text(), QString(texts[i]));
            QCOMPARE(button->focusPolicy(), Qt::NoFocus);
            QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextOnly);
            QCOMPARE(button->size(), Designed::ToolButtonSize);
            QVERIFY(button->geometry().top() > previousTop); // one a row, in this order
            previousTop = button->geometry().top();
        }

        auto* status = Find<QStatusBar>("StatusBar1");
        QCOMPARE(FForm->statusBar(), status);
        QVERIFY(status->isSizeGripEnabled());
        auto* first = status->findChild<QLabel*>("StatusPanel1");
        auto* second = status->findChild<QLabel*>("StatusPanel2");
        QVERIFY(first && second);
        QCOMPARE(first->width(), Designed::StatusCaptionWidth);
        QCOMPARE(second->width(), Designed::StatusReadOutWidth);
        QVERIFY(!first->text().isEmpty());
        QVERIFY(first->alignment() & Qt::AlignHCenter);
        QCOMPARE(second->text(), QString());

        auto* progress = Find<QProgressBar>("EvalProgressBar");
        QVERIFY(!progress->isVisible());
        QCOMPARE(progress->minimum(), 0);
        QCOMPARE(progress->maximum(), 100);
        QVERIFY(!FForm->Session().Image.HasBitmap());
    }

    // Left to right the tool bar, the controls panel and the plot area, edge to edge over the
    // window's width; down the plot area the strip, then the plot; no control covers another.
    void theOutlineKeepsItsOrderAndNothingOverlaps() {
        const QRect bar = InWindow("VeskToolBar"), panel = InWindow("FSControlsPanel"),
                    area = InWindow("ImagePanel"), strip = InWindow("Panel1"),
                    plot = InWindow("FSImage");
        QCOMPARE(bar.left(), 0);
        QCOMPARE(panel.left(), bar.right() + 1);
        QCOMPARE(area.left(), panel.right() + 1);
        QCOMPARE(area.right(), FForm->width() - 1);
        QVERIFY(area.contains(strip) && area.contains(plot));
        QCOMPARE(plot.top(), strip.bottom() + 1);
        QVERIFY(plot.bottom() < InWindow("StatusBar1").top());

        // Within each panel, the children lie inside it and apart from each other, but for the
        // captions: at 10 pixels "FS Elements:" and "Cardinality:" reach a pixel past the designed
        // left edge of what follows them on their row (a field's frame, a value's leading blank).
        const auto touching = [](const QWidget* a, const QWidget* b) {
            const QString name = a->objectName();
            return (name == "XLabel" || name.startsWith("Label")) &&
                   a->geometry().top() >= b->geometry().top() &&
                   a->geometry().bottom() <= b->geometry().bottom();
        };
        for (const char* name : {"VeskToolBar", "FSControlsPanel", "Panel1"}) {
            auto* parent = Find<QWidget>(name);
            QList<QWidget*> children;
            for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (child->isVisible()) children << child;
            QVERIFY2(children.size() >= 2, name);
            for (int i = 0; i < children.size(); ++i) {
                const QRect place = children[i]->geometry();
                QVERIFY2(parent->rect().contains(place), qPrintable(children[i]->objectName()));
                for (int j = i + 1; j < children.size(); ++j) {
                    const QRect overlap = place.intersected(children[j]->geometry());
                    const int allowed = touching(children[i], children[j]) ? 2 : 0;
                    QVERIFY2(overlap.width() <= allowed,
                             qPrintable(children[i]->objectName() + " over " +
                                        children[j]->objectName()));
                }
            }
        }
        // The combo box keeps its designed distances to the strip's edges at the first size.
        const QRect combo = Combo()->geometry();
        QCOMPARE(combo.topLeft(), Designed::HexaComboBox.topLeft());
        QCOMPARE(Find<QWidget>("Panel1")->width() - combo.right() - 1, Designed::HexaComboRightGap);
        QCOMPARE(Find<QWidget>("Panel1")->height() - combo.bottom() - 1,
                 Designed::HexaComboBottomGap);
    }

    // The window as designed, pixel for pixel where the design gives them: a change of the shared
    // figures, or of how the window applies them, shows here first.
    void theDesignedPixelsAreKept() {
        QCOMPARE(FForm->frameGeometry(), QRect(83, 131, 854, 329));
        QCOMPARE(InWindow("VeskToolBar").topLeft(), QPoint(0, 0));
        QCOMPARE(InWindow("VeskToolBar").width(), 97);
        QCOMPARE(InWindow("FSControlsPanel").topLeft(), QPoint(97, 0));
        QCOMPARE(InWindow("FSControlsPanel").width(), 136);
        QCOMPARE(InWindow("ImagePanel").left(), 97 + 136);
        QCOMPARE(Find<QWidget>("Panel1")->height(), 32);
        for (const char* button :
             {"RandomVeskToolButton", "HexaToolButton", "SaveToolButton", "FitToolButton",
              "EvolveToolButton", "BlocksToolButton", "ChartToolButton"})
            QCOMPARE(Button(button)->size(), QSize(71, 21));
        QCOMPARE(Elements()->geometry(), QRect(72, 8, 57, 26));
        QCOMPARE(Blocks()->geometry(), QRect(72, 40, 57, 26));
        const std::pair<const char*, QPoint> labels[] = {
            {"XLabel", {8, 16}},
            {"Label1", {16, 48}},
            {"Label2", {8, 72}},
            {"Label3", {8, 96}},
            {"Label4", {8, 120}},
            {"Label5", {8, 144}},
            {"CardinalityLabel", {64, 72}},
            {"SubSethoodLabel", {72, 96}},
            {"HammingLabel", {64, 120}},
            {"FitnessLabel", {48, 144}},
            {"Label6", {8, 8}},
        };
        for (const auto& [name, at] : labels)
            QCOMPARE(Find<QLabel>(name)->pos(), at);
        QCOMPARE(Find<QLabel>("Label6")->font().pixelSize(), 10);
        QCOMPARE(Find<QLabel>("FitnessLabel")->font().pixelSize(), 15);
        QCOMPARE(Combo()->geometry().topLeft(), QPoint(72, 8));
        QCOMPARE(Combo()->height(), 21);
        QCOMPARE(Find<QWidget>("StatusBar1")->height(), 21);
        QCOMPARE(Find<QWidget>("StatusPanel1")->width(), 200);
        QCOMPARE(Find<QWidget>("StatusPanel2")->width(), 339);
        QCOMPARE(Find<QWidget>("EvalProgressBar")->height(), 11);
    }

    // However small the window is made, the designed controls keep their least sizes.
    void theSmallestWindowKeepsTheLeastSizes() {
        FForm->resize(1, 1);
        QCoreApplication::processEvents();
        QCOMPARE(Find<QWidget>("VeskToolBar")->width(), Designed::ToolBarWidth);
        QCOMPARE(Find<QWidget>("FSControlsPanel")->width(), Designed::ControlsPanelWidth);
        QVERIFY(Find<QWidget>("ImagePanel")->width() >= Designed::PlotLeastWidth);
        const int digit = Combo()->fontMetrics().horizontalAdvance("0123456789ABCDEF") / 16;
        QVERIFY(Combo()->width() >= digit * Designed::HexaComboLeastDigits);
        QVERIFY(InWindow("HexaComboBox").right() < FForm->width());
        QCOMPARE(Elements()->geometry(), Designed::ElementsSpinEdit);
    }

    void presetsShowTheirMeasures() {
        ShowPreset(0);
        QCOMPARE(Captions(), QStringList({"   62.02", "    0.69", "   28.94", "        17"}));
        QCOMPARE(Blocks()->text(), QString("4"));
        QCOMPARE(Combo()->currentText(), Preset1);

        ShowPreset(1);
        QCOMPARE(Captions(), QStringList({"   43.27", "    0.83", "   23.99", "        21"}));
        QCOMPARE(Blocks()->text(), QString("4"));
    }

    void randomVeskWritesItsTextAndHexaStringReadsItBack() {
        Click("RandomVeskToolButton");
        const QStringList random = Captions();
        QCOMPARE(random, QStringList({"   38.28", "    0.72", "   35.56", "        14"}));
        QCOMPARE(Combo()->currentText().size(), 80);
        QCOMPARE(Combo()->count(), 2); // the list is not changed
        QCOMPARE(Blocks()->text(), QString("16"));

        Click("HexaToolButton");
        QCOMPARE(Captions(), random);
        QCOMPARE(Blocks()->text(), QString("16"));
    }

    void fitnessReportsInAPlainMessageBox() {
        Combo()->setCurrentIndex(0);
        const TBoxRecord box = ClickForBox("FitToolButton");
        QCOMPARE(box.Title, QString("Vesk Test"));
        QCOMPARE(box.Text, QString("Fitness (100, 500, 1000, 5000):    17,   18,   18,   18"));
        QCOMPARE(box.Icon, QMessageBox::NoIcon);
        QCOMPARE(box.Standard, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(box.Buttons.size(), 1);
        QCOMPARE(Blocks()->text(), QString("4"));
        QCOMPARE(Captions(), QStringList({"0.0", "0.0", "0.0", "0"})); // nothing is shown
        QVERIFY(!FForm->Session().Image.HasBitmap());
    }

    void aFaultIsReportedAndTheWindowStaysUsable() {
        ShowPreset(0);
        const QImage before = FForm->Session().Image.Bitmap();
        Type(Elements(), "5");
        const TBoxRecord box = ClickForBox("HexaToolButton");
        QCOMPARE(box.Icon, QMessageBox::Critical);
        QCOMPARE(box.Title, QString("Vesk Test"));
        QCOMPARE(box.Text, QString("Floating point division by zero."));
        QCOMPARE(box.Standard, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(box.Buttons.size(), 1);
        QCOMPARE(Captions(), QStringList({"   62.02", "    0.69", "   28.94", "        17"}));
        QCOMPARE(FForm->Session().Image.Bitmap(), before); // nothing was drawn

        Type(Elements(), "100");
        ShowPreset(1);
        QCOMPARE(Captions(), QStringList({"   43.27", "    0.83", "   23.99", "        21"}));
    }

    void aCommandCommitsTheTypedFieldsFirst() {
        Type(Elements(), "3000");
        Type(Blocks(), "40");
        QVERIFY(Blocks()->hasFocus());
        Click("RandomVeskToolButton");
        QVERIFY(Blocks()->hasFocus()); // the tool buttons take no focus
        QCOMPARE(Elements()->text(), QString("2048"));
        QCOMPARE(Blocks()->text(), QString("32"));
        QCOMPARE(FForm->Session().PatternSet.Count(), 2048);
        QCOMPARE(Combo()->currentText().size(), 32 * 5);
    }

    void doubleClickAppendsTheTextUnchecked() {
        QLineEdit* edit = Combo()->lineEdit();
        QTest::keyClicks(edit, "ABCDE");
        QTest::mouseDClick(edit, Qt::LeftButton);
        QTest::mouseDClick(edit, Qt::LeftButton);
        QCOMPARE(Combo()->count(), 4);
        QCOMPARE(Combo()->itemText(2), QString("ABCDE"));
        QCOMPARE(Combo()->itemText(3), QString("ABCDE"));
        QCOMPARE(Combo()->currentText(), QString("ABCDE"));

        edit->clear();
        QTest::mouseDClick(edit, Qt::LeftButton);
        QCOMPARE(Combo()->count(), 5);
        QCOMPARE(Combo()->itemText(4), QString());
        QCOMPARE(Combo()->currentText(), QString());
    }

    void enterInTheComboDoesNotAddToTheList() {
        QTest::keyClicks(Combo()->lineEdit(), Preset2);
        QTest::keyClick(Combo()->lineEdit(), Qt::Key_Return);
        QCOMPARE(Combo()->count(), 2);
    }

    void theImageShowsTheBitmapAndFollowsResizes() {
        auto* image = Find<TImageView>("FSImage");
        const QColor panelColour = image->grab().toImage().pixelColor(5, 5);
        ShowPreset(0);
        const QImage& bitmap = FForm->Session().Image.Bitmap();
        QCOMPARE(bitmap.size(), image->size());
        QImage shown = AsRgb(image->grab().toImage());
        QCOMPARE(shown, AsRgb(bitmap));
        QVERIFY(HasColour(shown, QColor(0, 0, 255)));
        QVERIFY(HasColour(shown, QColor(255, 0, 0)));
        QVERIFY(shown.pixelColor(5, 5) != panelColour);

        // Growing the window stretches the old bitmap over the larger image...
        const QSize oldSize = image->size();
        FForm->resize(FForm->size() + QSize(120, 60));
        QTRY_COMPARE(image->size(), oldSize + QSize(120, 60));
        QCOMPARE(FForm->Session().Image.Bitmap().size(), oldSize);
        shown = AsRgb(image->grab().toImage());
        QCOMPARE(shown.size(), oldSize + QSize(120, 60));
        QVERIFY(HasColour(shown, QColor(0, 0, 255)));
        QVERIFY(HasColour(shown, QColor(255, 0, 0)));

        // ...and the next command draws at the new size.
        Click("HexaToolButton");
        QCOMPARE(FForm->Session().Image.Bitmap().size(), image->size());
        QCOMPARE(AsRgb(image->grab().toImage()), AsRgb(FForm->Session().Image.Bitmap()));
    }

    void theComboBoxWidensWithThePanel() {
        const int width = Combo()->width();
        FForm->resize(FForm->size() + QSize(100, 0));
        QTRY_COMPARE(Combo()->width(), width + 100);
        QCOMPARE(Combo()->geometry().topLeft(), Designed::HexaComboBox.topLeft());
    }

    void saveWritesTheBitmapAsGiven() {
        ShowPreset(0);
        const QString bmp = FDir.filePath("plot.bmp");
        QStringList filters;
        QString selectedFilter, title, suffix;
        bool confirms = false, native = true;
        const auto inspect = [&](QFileDialog* dialog) {
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            selectedFilter = dialog->selectedNameFilter();
            suffix = dialog->defaultSuffix();
            confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            native = !dialog->testOption(QFileDialog::DontUseNativeDialog);
            dialog->selectNameFilter(filters.value(1)); // the next run selects the first again
        };
        QVERIFY(SaveTo("plot.bmp", inspect));
        QCOMPARE(title, QString("Save Solution Image"));
        QCOMPARE(filters, QStringList({"bitmap files (*.bmp)", "all files (*.*)"}));
        QCOMPARE(selectedFilter, filters.value(0));
        QCOMPARE(suffix, QString());
        QVERIFY(confirms);
        QVERIFY(!native);

        const QImage saved(bmp, "BMP");
        QCOMPARE(AsRgb(saved), AsRgb(FForm->Session().Image.Bitmap()));

        const QString plain = FDir.filePath("plain");
        QVERIFY(SaveTo("plain", inspect));
        QCOMPARE(selectedFilter, filters.value(0));
        QVERIFY(QFile::exists(plain));
        QVERIFY(!QFile::exists(plain + ".bmp")); // no extension added
        QCOMPARE(AsRgb(QImage(plain, "BMP")), AsRgb(saved));
    }

    void saveAsksBeforeReplacingAFile() {
        ShowPreset(0);
        const QString path = FDir.filePath("keep.bmp");
        const auto writeMarker = [&] {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write("keep") == 4;
        };
        QVERIFY(writeMarker());

        // Saying No leaves the file alone and the dialog open; cancelling then saves nothing.
        for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
            TBoxRecord question;
            bool stillOpen = false;
            TModalWatcher watcher([&](QWidget* modal) {
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                if (!dialog) return void(AnswerBox(modal));
                TModalWatcher asks([&](QWidget* box) { question = AnswerBox(box, answer); },
                                   dialog);
                ChooseAndSave(dialog, FDir, "keep.bmp");
                stillOpen = dialog->isVisible();
                if (stillOpen) dialog->reject();
            });
            Click("SaveToolButton");
            QVERIFY(watcher.Seen());
            QVERIFY(question.Text.contains("keep.bmp"));
            QCOMPARE(question.Standard, QMessageBox::Yes | QMessageBox::No);
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            if (answer == QMessageBox::No) {
                QVERIFY(stillOpen);
                QCOMPARE(file.readAll(), QByteArray("keep"));
            } else {
                QVERIFY(!stillOpen);
                QCOMPARE(AsRgb(QImage(path, "BMP")), AsRgb(FForm->Session().Image.Bitmap()));
            }
        }
    }

    void cancellingTheDialogSavesNothing() {
        ShowPreset(0);
        TModalWatcher watcher([](QWidget* modal) {
            if (auto* edit = modal->findChild<QLineEdit*>("fileNameEdit"))
                edit->setText("cancelled.bmp");
            AnswerBox(modal); // rejects the dialog
        });
        Click("SaveToolButton");
        QVERIFY(watcher.Seen());
        QVERIFY(!QFile::exists(FDir.filePath("cancelled.bmp")));
    }

    void saveBeforeAnyPlotInformsWithoutADialog() {
        const TBoxRecord box = ClickForBox("SaveToolButton");
        QCOMPARE(box.ClassName, QString("QMessageBox"));
        QCOMPARE(box.Icon, QMessageBox::Information);
        QCOMPARE(box.Text, QString::fromUtf8(vesk::NoImageYet));
        QCOMPARE(box.Title, QString("Vesk Test"));
    }

    // With the system's reason: a missing directory, and a device that takes nothing.
    void aFileThatCannotBeCreatedIsReported() {
        ShowPreset(0);
        auto* dialog = Find<QFileDialog>("SaveDialog1");
        dialog->setOption(QFileDialog::DontConfirmOverwrite); // /dev/full exists
        const std::pair<QString, int> names[] = {{FDir.filePath("missing/plot.bmp"), ENOENT},
                                                 {"/dev/full", ENOSPC}};
        for (const auto& [name, reason] : names) {
            if (!QFileInfo(name).dir().exists()) continue; // no /dev here
            TModalWatcher chooses([&](QWidget*) { ChooseAndSave(dialog, FDir, name); });
            TBoxRecord error;
            TModalWatcher reports([&](QWidget* box) { error = AnswerBox(box); }, dialog);
            Click("SaveToolButton");
            QVERIFY(chooses.Seen() && reports.Seen());
            QCOMPARE(error.Icon, QMessageBox::Critical);
            QCOMPARE(error.Text, "Cannot create file " + name + ": " +
                                     QString::fromLocal8Bit(std::strerror(reason)) + ".");
        }
        QVERIFY(!QFile::exists(FDir.filePath("missing")));
        QVERIFY(QDir(FDir.path()).entryList({".*"}, QDir::Files | QDir::Hidden).isEmpty());
    }
};

QTEST_MAIN(TVeskTestHomeFormTest)
#include "home_form_test.moc"

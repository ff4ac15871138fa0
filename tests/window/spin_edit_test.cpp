// The spin field widget on its own: typing filter, pasting, stepping and clamping on focus loss.

#include <memory>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyleOptionSpinBox>
#include <QTest>
#include <QVBoxLayout>

#include "workbench/window/spin_edit.h"

class TSpinEditTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> FHost;
    std::unique_ptr<vesk::TSpinField> FModel;
    TSpinEdit* FEdit = nullptr;
    QLineEdit* FOther = nullptr;

    // Gives the field the focus and replaces its text as a user would: select all, then type.
    void Retype(const QString& text) {
        FEdit->setFocus();
        QTest::keyClick(FEdit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(FEdit, Qt::Key_Delete);
        QTest::keyClicks(FEdit, text);
    }
    // Sets the text directly, as pasting would, without the typing filter.
    void Show(const char* text) {
        FModel->Text = text;
        FEdit->LoadText();
    }
    QRect ButtonRect(QStyle::SubControl button) const {
        QStyleOptionSpinBox option;
        option.initFrom(FEdit);
        option.rect = FEdit->rect();
        option.subControls = QStyle::SC_All;
        option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
        option.frame = true;
        return FEdit->style()->subControlRect(QStyle::CC_SpinBox, &option, button, FEdit);
    }

private slots:
    void init() {
        FModel = std::make_unique<vesk::TSpinField>(1, 2048, 100);
        FHost = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(FHost.get());
        FEdit = new TSpinEdit(*FModel, FHost.get());
        FEdit->setFixedSize(57, 26);
        FOther = new QLineEdit(FHost.get());
        layout->addWidget(FEdit);
        layout->addWidget(FOther);
        FHost->show();
        FHost->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(FHost.get()));
    }
    void cleanup() {
        FHost.reset();
        FModel.reset();
    }

    void showsTheModelsText() { QCOMPARE(FEdit->text(), QString("100")); }

    void typingAcceptsDigitsSignsAndTheSeparatorOnly() {
        QSignalSpy refused(FEdit, &TSpinEdit::KeyRefused);
        Retype("1a2x+ -.");
        QCOMPARE(FEdit->text(), QString("12+-."));
        QCOMPARE(refused.count(), 3); // a, x and the blank

        QTest::keyClick(FEdit, Qt::Key_Return);
        QTest::keyClick(FEdit, Qt::Key_Enter);
        QCOMPARE(refused.count(), 5);
        QTest::keyClick(FEdit, Qt::Key_Backspace);
        QTest::keyClick(FEdit, Qt::Key_Home);
        QTest::keyClick(FEdit, Qt::Key_Delete);
        QCOMPARE(FEdit->text(), QString("2+-"));
        QCOMPARE(refused.count(), 5);
    }

    void pastingIsNotFiltered() {
        QApplication::clipboard()->setText("x9");
        Retype("");
        QTest::keyClick(FEdit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(FEdit->text(), QString("x9"));
        FEdit->StoreText();
        QCOMPARE(FModel->ReadValue(), 1); // unparsable: the minimum
    }

    void arrowKeysReadAddAndWriteClamped() {
        struct TCase {
            const char* Text;
            Qt::Key Key;
            const char* Expected;
        };
        const TCase cases[] = {
            {"41", Qt::Key_Up, "42"},     {"41", Qt::Key_Down, "40"},
            {"3000", Qt::Key_Up, "2048"}, {"3000", Qt::Key_Down, "2048"},
            {"", Qt::Key_Down, "1"},      {"12.5", Qt::Key_Up, "2"},
            {"2048", Qt::Key_Up, "2048"}, {"$10", Qt::Key_Up, "17"},
        };
        FEdit->setFocus();
        for (const TCase& c : cases) {
            Show(c.Text);
            QTest::keyClick(FEdit, c.Key);
            QVERIFY2(FEdit->text() == c.Expected, c.Text);
            QCOMPARE(FModel->Text, std::string(c.Expected));
        }
        Show("50");
        QTest::keyClick(FEdit, Qt::Key_PageUp);
        QTest::keyClick(FEdit, Qt::Key_PageDown);
        QCOMPARE(FEdit->text(), QString("50"));
    }

    void spinButtonsStepLikeTheArrows() {
        Show("3000");
        QTest::mouseClick(FEdit, Qt::LeftButton, {}, ButtonRect(QStyle::SC_SpinBoxDown).center());
        QCOMPARE(FEdit->text(), QString("2048"));
        QTest::mouseClick(FEdit, Qt::LeftButton, {}, ButtonRect(QStyle::SC_SpinBoxDown).center());
        QCOMPARE(FEdit->text(), QString("2047"));
        QTest::mouseClick(FEdit, Qt::LeftButton, {}, ButtonRect(QStyle::SC_SpinBoxUp).center());
        QCOMPARE(FEdit->text(), QString("2048"));
    }

    void losingTheFocusClampsOnlyOutOfBoundsValues() {
        struct TCase {
            const char* Typed;
            const char* Shown;
        };
        const TCase cases[] = {{"3000", "2048"}, {"0", "1"},       {"-5", "1"},  {"", ""},
                               {"+", "+"},       {"12.5", "12.5"}, {"77", "77"}, {"2049", "2048"}};
        for (const TCase& c : cases) {
            Retype(c.Typed);
            QCOMPARE(FEdit->text(), QString(c.Typed));
            FOther->setFocus();
            QVERIFY2(FEdit->text() == c.Shown, c.Typed);
            QCOMPARE(FModel->Text, std::string(c.Shown));
        }
    }

    void theWheelDoesNotStep() {
        Show("50");
        QWheelEvent wheel(QPointF(5, 5), FEdit->mapToGlobal(QPointF(5, 5)), {}, {0, 120},
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(FEdit, &wheel);
        QCOMPARE(FEdit->text(), QString("50"));
    }
};

QTEST_MAIN(TSpinEditTest)
#include "spin_edit_test.moc"

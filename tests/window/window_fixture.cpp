#include "window_fixture.h"

#include <QAbstractSpinBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "runtime/random_source.h"
#include "temporary_places.h"

bool TWindowTest::OpenWindow(bool active) {
    ForgetWhatWasKept();
    return OpenWindowAsKept(active);
}

bool TWindowTest::ReopenWindow() {
    FForm->close();
    return CloseWindow().isEmpty() && OpenWindowAsKept(false);
}

bool TWindowTest::OpenWindowAsKept(bool active) {
    UseTemporaryPlaces();
    vesk::RandomSource.Seed = 0;
    FGuard = std::make_unique<TModalGuard>();
    FForm = std::make_unique<TVeskTestHomeForm>();
    FForm->show();
    if (!active) return QTest::qWaitForWindowExposed(FForm.get());
    FForm->activateWindow();
    return QTest::qWaitForWindowActive(FForm.get());
}

QStringList TWindowTest::CloseWindow() {
    FForm.reset();
    const QStringList unexpected = FGuard ? FGuard->Unexpected() : QStringList();
    FGuard.reset();
    return unexpected;
}

QList<QWidget*> TWindowTest::Fields() const {
    return {Combo()->lineEdit(),
            Find<QAbstractSpinBox>("XElementsSpinEdit")->findChild<QLineEdit*>(),
            Find<QAbstractSpinBox>("NBlocksSpinEdit")->findChild<QLineEdit*>()};
}

void TWindowTest::ChooseTargetFile(const QString& directory, const QString& name,
                                   const std::function<void()>& open) {
    TModalWatcher watcher([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return void(AnswerBox(modal));
        dialog->setDirectory(directory);
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->click();
    });
    open();
    QVERIFY(watcher.Seen());
}

void TWindowTest::WaitForTheSearch() {
    QElapsedTimer timer;
    timer.start();
    while (FForm->EvolveRunning() && timer.elapsed() < 120000)
        QTest::qWait(10);
    QVERIFY(!FForm->EvolveRunning());
}

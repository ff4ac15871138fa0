#include "modal_watcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>

namespace {
constexpr int PollMs = 5;
constexpr int GuardPollMs = 100;
constexpr int GuardTicks = 30; // three seconds
} // namespace

TModalWatcher::TModalWatcher(TAction action, QWidget* ignore)
    : FAction(std::move(action)), FIgnore(ignore) {
    connect(&FTimer, &QTimer::timeout, this, &TModalWatcher::Poll);
    FTimer.start(PollMs);
}

void TModalWatcher::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == FIgnore || !modal->isVisible()) return;
    FTimer.stop();
    FSeen = true;
    FAction(modal);
}

TBoxRecord AnswerBox(QWidget* modal, QMessageBox::StandardButton answer) {
    TBoxRecord record;
    record.ClassName = modal->metaObject()->className();
    record.Title = modal->windowTitle();
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        return record;
    }
    record.Text = box->text();
    record.Icon = box->icon();
    record.Standard = box->standardButtons();
    for (QAbstractButton* button : box->buttons())
        record.Buttons << button->text();
    if (QAbstractButton* button = box->button(answer))
        button->click();
    else
        box->reject();
    return record;
}

TModalGuard::TModalGuard() {
    connect(&FTimer, &QTimer::timeout, this, &TModalGuard::Poll);
    FTimer.start(GuardPollMs);
}

void TModalGuard::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != FCandidate) {
        FCandidate = modal;
        FTicks = 0;
        return;
    }
    if (!modal || ++FTicks < GuardTicks) return;
    const TBoxRecord record = AnswerBox(modal, QMessageBox::Cancel);
    FUnexpected << record.ClassName + ": " + record.Title + ": " + record.Text;
    FCandidate = nullptr;
}

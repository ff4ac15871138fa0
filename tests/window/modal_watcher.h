#pragma once
// Test support: answering the modal boxes and dialogs a click opens, so no test waits on them.

#include <functional>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

// Polls for the next active modal window other than Ignore and hands it to Action once. A click
// that opens a modal box returns only after the action has closed it.
class TModalWatcher : public QObject {
    Q_OBJECT

public:
    using TAction = std::function<void(QWidget*)>;
    explicit TModalWatcher(TAction action, QWidget* ignore = nullptr);

    bool Seen() const { return FSeen; }

private:
    void Poll();

    TAction FAction;
    QWidget* FIgnore;
    QTimer FTimer;
    bool FSeen = false;
};

// What a message box showed.
struct TBoxRecord {
    QString ClassName;
    QString Title;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QStringList Buttons;
    QMessageBox::StandardButtons Standard;
};

// Records a modal message box and presses its button Answer (or rejects any other modal window).
TBoxRecord AnswerBox(QWidget* modal, QMessageBox::StandardButton answer = QMessageBox::Ok);

// Closes any modal window left open for more than a few seconds, so an unexpected box fails the
// test that opened it instead of hanging the run; Unexpected() lists what it closed.
class TModalGuard : public QObject {
    Q_OBJECT

public:
    TModalGuard();
    const QStringList& Unexpected() const { return FUnexpected; }

private:
    void Poll();

    QTimer FTimer;
    QWidget* FCandidate = nullptr;
    int FTicks = 0;
    QStringList FUnexpected;
};

#pragma once
// What is kept of a session for the next one, and brought back. The search settings and the
// recent targets come back as the window opens: no field shows them, so the window still opens
// as designed. The last target, the history and the search curves of the last sessions come
// back only when "Restore Last Session" is chosen; "Forget Last Session" drops them.

#include <QObject>

#include "workbench/session.h"
#include "workbench/window/kept_history.h"
#include "workbench/window/kept_settings.h"

class QAction;
class QMenu;
class TSearchCurve;
class TTargetActions;

// Reads what was kept when the window opens and writes the session's part when it closes: the
// history and the curves of this session go after those of earlier sessions not restored.
class TSessionKeeper : public QObject {
    Q_OBJECT

public:
    // window: what a failure is reported over. The session's search settings are restored here.
    TSessionKeeper(vesk::TWorkbenchSession& session, TSearchCurve& curve, TTargetActions& targets,
                   QWidget* window);

    // Adds "Restore Last Session" and "Forget Last Session".
    void AddTo(QMenu* menu);

    // Keeps the search settings (as the Search Settings dialog has just taken them).
    void KeepSearchSettings();
    // The last sessions' target becomes the target, and their history and curves go before this
    // session's.
    void Restore();
    // Drops what the earlier sessions left: their history, curves and target.
    void Forget();
    // At the window's close: writes the history and the curves.
    void Keep();
    // While a search runs, its target is not replaced by the one kept: Restore waits.
    void SetSearching(bool searching);

signals:
    // The session's history and the search curve took in what was kept.
    void Restored();

private:
    void EnableActions();

    vesk::TWorkbenchSession& FSession;
    TSearchCurve& FCurve;
    TTargetActions& FTargets;
    QWidget* FWindow;
    // What the earlier sessions left and this one has not taken in.
    TKeptSession FEarlier;
    TKeptTarget FEarlierTarget;
    QAction* RestoreAction = nullptr;
    bool FSearching = false;
    QAction* ForgetAction = nullptr;
};

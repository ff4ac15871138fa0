#pragma once
// The window's command shortcuts take precedence over the text fields' own uses of their keys.

#include <QList>
#include <QObject>
#include <QPointer>

class QKeyEvent;
class QWidget;

// The text fields claim some Ctrl keys for their own editing (Ctrl+E, Ctrl+H, ...); a claim of
// a key that is one of the window's shortcuts is refused, so that the command runs wherever the
// focus is in the window. Only the widget with the focus (or its editor) is asked for its claim:
// the filter follows the focus from widget to widget in the window (the block panel's cell
// editors come and go).
class TCommandShortcuts : public QObject {
    Q_OBJECT

public:
    explicit TCommandShortcuts(QWidget* window);
    ~TCommandShortcuts() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FollowFocus(QObject* focus);
    // Whether a key event is the shortcut of one of the window's actions.
    bool IsCommandShortcut(const QKeyEvent& event) const;

    QWidget* FWindow;
    QList<QPointer<QWidget>> FWatched;
};

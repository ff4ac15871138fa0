#pragma once
// Test support: the window opened afresh for each test, its controls found by the names the
// designed window gives them, and a search waited for.

#include <functional>
#include <memory>
#include <QComboBox>
#include <QLabel>
#include <QObject>
#include <QToolButton>

#include "modal_watcher.h"
#include "workbench/window/home_form.h"

// The base of the window's test classes: init() opens the window, cleanup() closes it.
class TWindowTest : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<TVeskTestHomeForm> FForm;

    // A new window, shown (and waited for until it is active when active is set) with the
    // random source at its first seed, as the program opens the first time it runs (nothing
    // kept of earlier sessions); false when it did not show.
    bool OpenWindow(bool active = false);
    // Closes the window; the boxes nobody answered, which a test should not have left.
    QStringList CloseWindow();
    // Closes the window as a person does (what it keeps is kept) and opens a new one, as the
    // program opens when it runs again; false when a box was left open or it did not show.
    bool ReopenWindow();
    // A new window as the program opens when it runs again: what earlier windows kept stays.
    bool OpenWindowAsKept(bool active = false);

    template <typename T> T* Find(const char* name) const {
        T* child = FForm->findChild<T*>(name);
        if (!child) qWarning("no %s named %s", T::staticMetaObject.className(), name);
        return child;
    }
    QComboBox* Combo() const { return Find<QComboBox>("HexaComboBox"); }
    QToolButton* Button(const char* name) const { return Find<QToolButton>(name); }
    QString Caption(const char* label) const { return Find<QLabel>(label)->text(); }
    // The widget that takes the keys typed into each field: Hexa String, FS Elements, FS Blocks.
    QList<QWidget*> Fields() const;
    // Answers the file dialog that open brings up with the file of this name in directory
    // (a box that comes instead is answered OK).
    void ChooseTargetFile(const QString& directory, const QString& name,
                          const std::function<void()>& open);
    // Waits for a running search to end (two minutes at most).
    void WaitForTheSearch();

private:
    std::unique_ptr<TModalGuard> FGuard;
};

#pragma once
// Runs the pattern search on a thread of its own and reports to the window's thread: progress
// at most ten times a second (with every improvement of the best since the last one shown, the
// final ones included) and the result once at the end, each handed over by value in a queued
// signal.

#include <QObject>
#include <QThread>

#include <atomic>
#include <memory>

#include "search/pattern_search.h"

class TEvolveRunner : public QObject {
    Q_OBJECT

public:
    explicit TEvolveRunner(QObject* parent = nullptr);
    ~TEvolveRunner() override; // stops a search still running and waits for it

    bool Running() const { return FThread != nullptr; }
    // Starts the search; Running() until Finished has been emitted.
    void Start(vesk::TSearchSettings settings);
    // Asks the search to end at once; Finished follows with the best so far.
    void Stop() { FStop = true; }
    // Stops and waits for the search thread; Finished is not emitted.
    void StopAndWait();

signals:
    void Progressed(const vesk::TSearchProgress& progress);
    void Finished(const vesk::TSearchResult& result);

private:
    std::unique_ptr<QThread> FThread;
    std::atomic<bool> FStop{false};
    vesk::TSearchResult FResult; // the search thread's, read once it has ended
};

#pragma once
// Runs the pattern search on a thread of its own and reports to the window's thread: progress
// at most ten times a second, and the result once at the end.

#include <QObject>
#include <QThread>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

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

    // The newest progress (the window's thread reads it when Progressed arrives).
    vesk::TSearchProgress LatestProgress();

signals:
    void Progressed();
    void Finished(const vesk::TSearchResult& result);

private:
    std::unique_ptr<QThread> FThread;
    std::atomic<bool> FStop{false};
    std::mutex FLock; // guards FLatest, FResult
    vesk::TSearchProgress FLatest;
    std::optional<vesk::TSearchResult> FResult;
    double FLastShown = -1;
};

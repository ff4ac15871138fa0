#include "workbench/window/evolve_runner.h"

#include <exception>

TEvolveRunner::TEvolveRunner(QObject* parent) : QObject(parent) {
    qRegisterMetaType<vesk::TSearchResult>("vesk::TSearchResult");
}

TEvolveRunner::~TEvolveRunner() {
    StopAndWait();
}

void TEvolveRunner::Start(vesk::TSearchSettings settings) {
    if (Running()) return;
    FStop = false;
    FLastShown = -1;
    FResult.reset();
    FThread.reset(QThread::create([this, settings = std::move(settings)] {
        vesk::TSearchResult result;
        try {
            result = vesk::RunSearch(
                settings,
                [this](const vesk::TSearchProgress& progress) {
                    {
                        const std::lock_guard<std::mutex> lock(FLock);
                        FLatest = progress;
                    }
                    if (progress.Seconds - FLastShown < 0.1) return;
                    FLastShown = progress.Seconds;
                    QMetaObject::invokeMethod(this, &TEvolveRunner::Progressed,
                                              Qt::QueuedConnection);
                },
                &FStop);
        } catch (const std::exception&) {
            result.Stopped = vesk::TSearchEnd::Failed;
        }
        const std::lock_guard<std::mutex> lock(FLock);
        FResult = std::move(result);
    }));
    connect(
        FThread.get(), &QThread::finished, this,
        [this] {
            if (!FThread) return;
            FThread->wait();
            FThread.reset();
            std::optional<vesk::TSearchResult> result;
            {
                const std::lock_guard<std::mutex> lock(FLock);
                result.swap(FResult);
            }
            if (result) emit Finished(*result);
        },
        Qt::QueuedConnection);
    FThread->start();
}

void TEvolveRunner::StopAndWait() {
    if (!FThread) return;
    FStop = true;
    FThread->wait();
    FThread.reset();
}

vesk::TSearchProgress TEvolveRunner::LatestProgress() {
    const std::lock_guard<std::mutex> lock(FLock);
    return FLatest;
}

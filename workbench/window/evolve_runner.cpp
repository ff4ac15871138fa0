#include "workbench/window/evolve_runner.h"

#include <exception>

TEvolveRunner::TEvolveRunner(QObject* parent) : QObject(parent) {
    qRegisterMetaType<vesk::TSearchResult>("vesk::TSearchResult");
    qRegisterMetaType<vesk::TSearchProgress>("vesk::TSearchProgress");
}

TEvolveRunner::~TEvolveRunner() {
    StopAndWait();
}

void TEvolveRunner::Start(vesk::TSearchSettings settings) {
    if (Running()) return;
    FStop = false;
    FResult = {};
    FThread.reset(QThread::create([this, settings = std::move(settings)] {
        double lastShown = -1;
        vesk::TSearchResult result;
        try {
            result = vesk::RunSearch(
                settings,
                [this, &lastShown](const vesk::TSearchProgress& progress) {
                    if (progress.Seconds - lastShown < 0.1) return;
                    lastShown = progress.Seconds;
                    // A copy travels to the window's thread in the queued call.
                    QMetaObject::invokeMethod(
                        this, [this, progress] { emit Progressed(progress); },
                        Qt::QueuedConnection);
                },
                &FStop);
        } catch (const std::exception&) {
            result.Stopped = vesk::TSearchEnd::Failed;
        }
        FResult = std::move(result);
    }));
    connect(
        FThread.get(), &QThread::finished, this,
        [this] {
            if (!FThread) return;
            FThread->wait(); // after this the thread's result is ours to read
            FThread.reset();
            emit Finished(FResult);
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

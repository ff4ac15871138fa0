#include "workbench/window/evolve_runner.h"

#include <exception>
#include <utility>
#include <vector>

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
        // A report held back keeps its improvements for the next one shown.
        vesk::TSearchProgress held;
        const auto show = [this, &held] {
            // A copy travels to the window's thread in the queued call.
            QMetaObject::invokeMethod(
                this, [this, progress = std::exchange(held, {})] { emit Progressed(progress); },
                Qt::QueuedConnection);
        };
        vesk::TSearchResult result;
        try {
            result = vesk::RunSearch(
                settings,
                [&](const vesk::TSearchProgress& progress) {
                    std::vector<vesk::TImprovement> improvements = std::move(held.Improvements);
                    improvements.insert(improvements.end(), progress.Improvements.begin(),
                                        progress.Improvements.end());
                    held = progress;
                    held.Improvements = std::move(improvements);
                    if (progress.Seconds - lastShown < 0.1) return;
                    lastShown = progress.Seconds;
                    show();
                },
                &FStop);
            if (!held.Improvements.empty()) show();
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

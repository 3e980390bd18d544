#include "ui/QueuedCalls.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <atomic>
#include <thread>

namespace tavlin {
namespace {

struct Window : QObject {
    QThread* ranOn = nullptr;
    int calls = 0;
};

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "queued_calls_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

TEST(QueuedCalls, ACallFromAWorkerRunsLaterOnTheWindowsThread) {
    App();
    Window window;
    QueuedCalls<Window> calls(&window);

    std::thread worker([&] {
        calls.Post([](Window& w) {
            w.ranOn = QThread::currentThread();
            ++w.calls;
        });
    });
    worker.join();
    EXPECT_EQ(window.calls, 0) << "the worker must not touch the window itself";

    QCoreApplication::processEvents();
    EXPECT_EQ(window.calls, 1);
    EXPECT_EQ(window.ranOn, QThread::currentThread());
}

TEST(QueuedCalls, AWindowDestroyedWhileAWorkerKeepsPostingIsNeverTouchedAgain) {
    App();
    for (int round = 0; round < 50; ++round) {
        auto* window = new Window;
        QueuedCalls<Window> calls(window);
        std::atomic<bool> stop{false};
        std::atomic<int> posted{0};
        std::thread worker([&] {
            while (!stop) {
                calls.Post([](Window& w) { ++w.calls; });
                ++posted;
            }
        });
        while (posted < 20) {
            std::this_thread::yield();
        }
        // As a window's destructor does: detach first, then go away while the worker still posts.
        calls.Detach();
        delete window;
        const int postedAtDelete = posted;
        while (posted < postedAtDelete + 20) {
            std::this_thread::yield();
        }
        stop = true;
        worker.join();
        // Nothing queued for the deleted window may run (ASan reports a use after free if it did).
        QCoreApplication::processEvents();
    }
}

}  // namespace
}  // namespace tavlin

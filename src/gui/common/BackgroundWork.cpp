#include "gui/common/BackgroundWork.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <exception>
#include <memory>

namespace losfix {

void RunInBackground(const std::function<void()>& work) {
    std::exception_ptr failure;
    std::unique_ptr<QThread> thread(QThread::create([&work, &failure] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    // A thread that finished before the loop ran has already sent its signal.
    if (!thread->isFinished()) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    thread->wait();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

template <typename Answer>
Answer WindowThreadShell::onWindowThread(const std::function<Answer()>& request) {
    QObject* application = QCoreApplication::instance();
    if (application == nullptr || QThread::currentThread() == application->thread()) {
        return request();
    }
    Answer answer{};
    QMetaObject::invokeMethod(
        application, [&] { answer = request(); }, Qt::BlockingQueuedConnection);
    return answer;
}

bool WindowThreadShell::openFile(const std::string& path) {
    return onWindowThread<bool>([&] { return shell_.openFile(path); });
}

bool WindowThreadShell::openUrl(const std::string& url) {
    return onWindowThread<bool>([&] { return shell_.openUrl(url); });
}

bool WindowThreadShell::startDetached(const std::string& program,
                                      const std::vector<std::string>& arguments) {
    return onWindowThread<bool>([&] { return shell_.startDetached(program, arguments); });
}

bool WindowThreadShell::spreadsheetInstalled() {
    return onWindowThread<bool>([&] { return shell_.spreadsheetInstalled(); });
}

std::string WindowThreadShell::spreadsheetProgram() {
    return onWindowThread<std::string>([&] { return shell_.spreadsheetProgram(); });
}

}  // namespace losfix

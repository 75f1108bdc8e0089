#include "gui/common/RunPump.h"

#include <QApplication>

namespace losfix {

RunPump::Run::Run(RunPump& pump) : pump_(pump) {
    pump_.running_ = true;
    pump_.stop_ = false;
    pump_.calls_ = 0;
    pump_.clock_.start();
    // The first step processes events at once; the first progress line waits for its interval.
    pump_.lastPump_ = -kPumpIntervalMs;
    pump_.lastProgress_ = 0;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

RunPump::Run::~Run() {
    pump_.running_ = false;
    pump_.stop_ = false;
    QApplication::restoreOverrideCursor();
}

void RunPump::requestStop() {
    if (running_) {
        stop_ = true;
    }
}

void RunPump::processEvents() {
    QApplication::processEvents();
}

}  // namespace losfix

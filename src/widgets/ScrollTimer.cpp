#include "widgets/ScrollTimer.h"

#include <QCoreApplication>
#include <QThread>
#include <atomic>

namespace {
std::atomic<bool> gTimersRefused{false};
}

TScrollTimer::TScrollTimer(QObject* parent)
    : QObject(parent)
{
    timer_.setTimerType(Qt::PreciseTimer); // 10 ms ticks should stay 10 ms
    QObject::connect(&timer_, &QTimer::timeout, this, [this] {
        if (OnTick)
            OnTick();
    });
}

bool TScrollTimer::Start(int intervalMs)
{
    timer_.stop();
    if (gTimersRefused.load())
        return false;
    // Without an event dispatcher Qt only warns and the timer never runs.
    if (!QCoreApplication::instance() || !QThread::currentThread()->eventDispatcher())
        return false;
    timer_.start(intervalMs);
    return timer_.isActive();
}

void TScrollTimer::Stop()
{
    timer_.stop();
}

void TScrollTimer::SetTimersRefused(bool refused)
{
    gTimersRefused.store(refused);
}

bool TScrollTimer::TimersRefused()
{
    return gTimersRefused.load();
}

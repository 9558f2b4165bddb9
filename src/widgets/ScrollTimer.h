#pragma once
// The timer that drives a dot-matrix label's scrolling: a small object of the
// label's own that receives the ticks, stopped and released with the label.
//
// Qt refuses a timer when the thread has no event dispatcher (no application
// object, or a thread without an event loop); Start then reports false and the
// label raises its "no timer available" error. Tests make that happen on
// purpose with SetTimersRefused.

#include <QObject>
#include <QTimer>
#include <functional>

class TScrollTimer : public QObject {
public:
    explicit TScrollTimer(QObject* parent = nullptr);

    // Starts ticking every intervalMs; false when no timer could be had.
    bool Start(int intervalMs);
    void Stop();
    bool Active() const { return timer_.isActive(); }
    int Interval() const { return timer_.interval(); }

    std::function<void()> OnTick;

    // While set, every Start fails as when the system has no timer left.
    static void SetTimersRefused(bool refused);
    static bool TimersRefused();

private:
    QTimer timer_;
};

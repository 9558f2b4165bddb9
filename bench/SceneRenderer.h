#pragma once
// One way of drawing a benchmark scene: set up once, painted in full at
// every iteration. Our chart, raw QPainter and the peer libraries each
// provide one.

#include "ChartScenes.h"

#include <QElapsedTimer>
#include <functional>
#include <memory>

class SceneRenderer {
public:
    virtual ~SceneRenderer() = default;
    virtual void Paint() = 0;
};

// Setting a scene up may stop early when it takes too long (a slow peer with
// 10^6 items); the factory then answers null.
class SetupDeadline {
public:
    explicit SetupDeadline(double seconds) : limit_ms_(qint64(seconds * 1000)) { timer_.start(); }
    bool Passed() const { return timer_.elapsed() > limit_ms_; }
    double LimitSeconds() const { return limit_ms_ / 1000.0; }

private:
    QElapsedTimer timer_;
    qint64 limit_ms_;
};

using RendererFactory = std::function<std::unique_ptr<SceneRenderer>(const Scene&, const SetupDeadline&)>;

struct SceneVariant {
    const char* Name;
    RendererFactory Make;
    bool Peer; // a slow library: time-capped, measured once
};

// The peers, when their libraries were found at build time (else empty).
std::vector<SceneVariant> PeerVariants();

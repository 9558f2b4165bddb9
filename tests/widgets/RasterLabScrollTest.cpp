#include "support/Errors.h"
#include "widgets/DotScroll.h"
#include "widgets/RasterLab.h"
#include "widgets/ScrollTimer.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Runs ScrollTick n times with the restarts counted.
struct Ticker {
    TRasterLab& lab;
    int restarts = 0, timerEvents = 0;
    explicit Ticker(TRasterLab& l) : lab(l)
    {
        lab.OnScrollLoopRestart = [this](QObject*) { ++restarts; };
        lab.OnScrollTimer = [this](QObject*) { ++timerEvents; };
    }
    void Run(int n)
    {
        for (int i = 0; i < n; ++i)
            lab.ScrollTick();
    }
};

// Keeps timers refused for the duration of a test.
struct RefusedTimers {
    RefusedTimers() { TScrollTimer::SetTimersRefused(true); }
    ~RefusedTimers() { TScrollTimer::SetTimersRefused(false); }
};

void RunEventLoopFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

int FirstLitColumn(const TRasterLab& lab)
{
    for (int x = 0; x < lab.width(); ++x)
        for (int y = 0; y < lab.height(); ++y)
            if (lab.Picture().GetPixel(x, y) == lab.ColorDotOn())
                return x;
    return -1;
}

} // namespace

TEST(DotScroll, StepsAndRestartsInFourDirections)
{
    struct Row { TRDScrollMode mode; TScrollOffsets start, after; bool restarted; };
    // T = 50, G = 48, W = 100, H = 40, increment 3.
    const Row rows[] = {
        {rdsmLeft, {0, 0}, {-3, 0}, false},
        {rdsmLeft, {-47, 0}, {-50, 0}, false},  // -50 is not yet < -T
        {rdsmLeft, {-50, 0}, {100, 0}, true},
        {rdsmRight, {95, 0}, {98, 0}, false},
        {rdsmRight, {98, 0}, {-50, 0}, true},
        {rdsmDown, {0, 36}, {0, 39}, false},
        {rdsmDown, {0, 38}, {0, -48}, true},
        {rdsmUp, {0, -45}, {0, -48}, false},
        {rdsmUp, {0, -48}, {0, 40}, true},
        {rdsmOff, {-7, 9}, {0, 0}, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(int(r.mode));
        TScrollStepInput in{r.mode, 3, true, 50, 48, 100, 40};
        TScrollOffsets o = r.start;
        EXPECT_EQ(ScrollStep(in, o), r.restarted);
        EXPECT_EQ(o.X, r.after.X);
        EXPECT_EQ(o.Y, r.after.Y);
    }
    // Without the loop the text moves on and never restarts.
    TScrollStepInput in{rdsmLeft, 3, false, 50, 48, 100, 40};
    TScrollOffsets o{-50, 0};
    EXPECT_FALSE(ScrollStep(in, o));
    EXPECT_EQ(o.X, -53);
}

TEST(RasterLabScroll, LoopingLeftScrollReappearsAtTheRightEdgeOncePerRestart)
{
    TRasterLab lab;
    lab.resize(113, 49);
    lab.SetText(QStringLiteral("220.8"));
    lab.SetScrollIncrement(4);
    lab.SetScrollMode(rdsmLeft);
    Ticker t(lab);
    const int T = lab.TextPixelWidth(); // 105
    ASSERT_EQ(T, 105);
    // From sx = 0 the text has left when sx < -105: after 27 steps of 4.
    t.Run(26);
    EXPECT_EQ(lab.ScrollOffsets().X, -104);
    EXPECT_EQ(t.restarts, 0);
    EXPECT_EQ(FirstLitColumn(lab), -1) << "gone from sight before the restart";
    t.Run(1);
    EXPECT_EQ(t.restarts, 1);
    EXPECT_EQ(lab.ScrollOffsets().X, 113) << "starts again at the right edge";
    EXPECT_EQ(FirstLitColumn(lab), -1);
    // It comes in from the right: the first column of "2" lights up.
    t.Run(3);
    EXPECT_EQ(FirstLitColumn(lab), 1 + 101);
    // A full round from W to beyond -T takes (113 + 105) / 4 + 1 = 55 steps.
    t.Run(55 - 3);
    EXPECT_EQ(t.restarts, 2);
    t.Run(55 * 3);
    EXPECT_EQ(t.restarts, 5);
    EXPECT_EQ(t.timerEvents, 26 + 1 + 55 + 165);
}

TEST(RasterLabScroll, BackToOffRestoresThePositionAtOnce)
{
    TRasterLab lab;
    lab.resize(113, 49);
    lab.SetText(QStringLiteral("6.9"));
    const QImage before = lab.Picture().Image().copy();
    lab.SetScrollMode(rdsmDown);
    lab.ScrollTick();
    lab.ScrollTick();
    EXPECT_EQ(lab.ScrollOffsets().Y, 2);
    EXPECT_NE(lab.Picture().Image(), before);
    // The offsets survive a text and colour change.
    lab.SetText(QStringLiteral("7.0"));
    lab.SetColorDotOn(0x00FFFF);
    EXPECT_EQ(lab.ScrollOffsets().Y, 2);
    lab.SetText(QStringLiteral("6.9"));
    lab.SetColorDotOn(0x00FF00);
    lab.SetScrollMode(rdsmOff);
    EXPECT_EQ(lab.ScrollOffsets().Y, 0);
    EXPECT_EQ(lab.ScrollOffsets().X, 0);
    EXPECT_FALSE(lab.ScrollRunning());
    EXPECT_FALSE(lab.TimerActive());
    EXPECT_EQ(lab.Picture().Image(), before);
}

TEST(RasterLabScroll, TheTimerDrivesTheScrolling)
{
    TRasterLab lab;
    lab.SetScrollInterval(10);
    Ticker t(lab);
    lab.SetScrollMode(rdsmRight);
    EXPECT_TRUE(lab.ScrollRunning());
    EXPECT_TRUE(lab.TimerActive());
    QElapsedTimer clock;
    clock.start();
    while (t.timerEvents < 3 && clock.elapsed() < 5000)
        RunEventLoopFor(5);
    EXPECT_GE(t.timerEvents, 3);
    EXPECT_EQ(lab.ScrollOffsets().X, t.timerEvents);
    lab.SetScrollMode(rdsmOff);
    EXPECT_FALSE(lab.TimerActive());
}

TEST(RasterLabScroll, NoTimerRaisesTheComponentError)
{
    TRasterLab lab;
    lab.setObjectName(QStringLiteral("RLabMass"));
    RefusedTimers refused;
    try {
        lab.SetScrollMode(rdsmLeft);
        FAIL() << "no error";
    } catch (const EVexRasterLabError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Component \"RLabMass\": no timer available"));
    }
    EXPECT_FALSE(lab.ScrollRunning());
    EXPECT_FALSE(lab.TimerActive());
    // Changing the interval asks again for the timer only while running.
    EXPECT_NO_THROW(lab.SetScrollInterval(50));
}

TEST(RasterLabScroll, AFailingTickHandlerStopsTheTimerAndPropagates)
{
    TRasterLab lab;
    lab.SetScrollMode(rdsmUp);
    ASSERT_TRUE(lab.TimerActive());
    lab.OnScrollTimer = [](QObject*) { throw Exception(QStringLiteral("handler failed")); };
    EXPECT_THROW(lab.ScrollTick(), Exception);
    EXPECT_EQ(lab.ScrollOffsets().Y, -1) << "the step was done before the handler ran";
    EXPECT_FALSE(lab.TimerActive());
    lab.OnScrollTimer = nullptr;
    lab.SetScrollIncrement(2); // any scroll setting starts it again
    EXPECT_TRUE(lab.TimerActive());
}

TEST(RasterLabScroll, WithoutLoopTheTextLeavesForGood)
{
    TRasterLab lab;
    lab.resize(60, 30);
    lab.SetText(QStringLiteral("1"));
    lab.SetScrollLoop(false);
    lab.SetScrollIncrement(10);
    lab.SetScrollMode(rdsmLeft);
    Ticker t(lab);
    t.Run(20);
    EXPECT_EQ(t.restarts, 0);
    EXPECT_EQ(lab.ScrollOffsets().X, -200);
    EXPECT_EQ(FirstLitColumn(lab), -1);
}

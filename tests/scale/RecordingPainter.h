#pragma once
// A tick painter that writes down what a pass asks for, in order.

#include "scale/ScaleTypes.h"

#include <QString>
#include <vector>

struct RecordingPainter : TTickPainter {
    struct Call {
        char kind; // 'S' short tick, 'M' main tick, 'E' tick-drawn event, 'L' label, 'D' date line, 'X' message
        double value;
        QString text;
    };
    std::vector<Call> calls;

    void DrawTick(double v, bool mainTick) override { calls.push_back({mainTick ? 'M' : 'S', v, {}}); }
    void TickDrawn(double v) override { calls.push_back({'E', v, {}}); }
    void PlaceLabel(double v, const QString& t) override { calls.push_back({'L', v, t}); }
    void PlaceDateLine(double v, const QString& t) override { calls.push_back({'D', v, t}); }
    void PlaceMessage(double v, const QString& one, const QStringList&) override { calls.push_back({'X', v, one}); }

    std::vector<double> Values(char kind) const
    {
        std::vector<double> r;
        for (const Call& c : calls)
            if (c.kind == kind)
                r.push_back(c.value);
        return r;
    }
    QStringList Texts(char kind) const
    {
        QStringList r;
        for (const Call& c : calls)
            if (c.kind == kind)
                r << c.text;
        return r;
    }
};

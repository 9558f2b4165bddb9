#pragma once
// Linear tick spacing: the largest step of 1, 2 or 5 times a power of ten that
// fits MinTicks times into the range, and the first tick on a multiple of it.

struct TTickSpacing {
    double FirstTick = 0;
    double Distance = 0;  // signed: negative when high < low
    int SubIntervals = 1; // 4 for steps of 2, 5 for steps of 1 and 5
};

TTickSpacing CalcTickSpacing(int minTicks, long double low, long double high);

#pragma once
// Text widths and heights as the canvas measures them, remembered per font
// and text. Measuring through the canvas builds a font and its metrics for
// every call; a chart measures the same few texts (item texts, label lines)
// in the same few fonts at every paint.

#include "gfx/Canvas.h"

#include <QFontMetrics>
#include <QHash>
#include <QString>
#include <memory>
#include <vector>

class TTextExtents {
public:
    // Canvas::TextWidth(text) and Canvas::TextHeight for the canvas's font.
    int Width(const Canvas& canvas, const QString& text);
    int Height(const Canvas& canvas);

private:
    struct FontEntry {
        TFont Font;
        int DotsPerMeter = 0; // the picture's resolution: metrics follow it
        std::unique_ptr<QFontMetrics> Metrics;
        QHash<QString, int> Widths;
    };
    FontEntry& Entry(const Canvas& canvas);

    // A handful of fonts at most; the oldest goes when a new one comes.
    static constexpr size_t kMaxFonts = 8;
    static constexpr qsizetype kMaxTextsPerFont = 4096;
    std::vector<std::unique_ptr<FontEntry>> fonts_;
};

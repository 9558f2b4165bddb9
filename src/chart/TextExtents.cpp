#include "chart/TextExtents.h"

TTextExtents::FontEntry& TTextExtents::Entry(const Canvas& canvas)
{
    const QImage& image = canvas.Image();
    const int dpm = image.isNull() ? -1 : image.dotsPerMeterY();
    for (size_t i = 0; i < fonts_.size(); ++i) {
        FontEntry& e = *fonts_[i];
        if (e.DotsPerMeter == dpm && e.Font == canvas.Font) {
            if (i > 0) // the font in use stays in front
                std::swap(fonts_[0], fonts_[i]);
            return *fonts_[0];
        }
    }
    auto e = std::make_unique<FontEntry>();
    e->Font = canvas.Font;
    e->DotsPerMeter = dpm;
    // The same metrics the canvas builds for each measurement.
    e->Metrics = std::make_unique<QFontMetrics>(canvas.Font.ToQFont(), image.isNull() ? nullptr : &image);
    if (fonts_.size() >= kMaxFonts)
        fonts_.pop_back();
    fonts_.insert(fonts_.begin(), std::move(e));
    return *fonts_[0];
}

int TTextExtents::Width(const Canvas& canvas, const QString& text)
{
    FontEntry& e = Entry(canvas);
    const auto found = e.Widths.constFind(text);
    if (found != e.Widths.constEnd())
        return *found;
    if (e.Widths.size() >= kMaxTextsPerFont)
        e.Widths.clear();
    const int w = e.Metrics->horizontalAdvance(text);
    e.Widths.insert(text, w);
    return w;
}

int TTextExtents::Height(const Canvas& canvas)
{
    return Entry(canvas).Metrics->height();
}

#include "app/DemoWindow.h"

#include "app/CanvasDemo.h"
#include "chart/Scale.h"

#include <QGridLayout>

namespace {

TScale* MakeScale(QWidget* parent, TScaleType type, double low, double high, bool log,
                  const QString& caption)
{
    auto* s = new TScale(parent);
    s->SuspendPaint(true);
    s->SetScaleType(type);
    s->SetRangeLow(low);
    s->SetRangeHigh(high);
    s->SetLogarithmic(log);
    s->SetCaption(caption);
    if (IsVertical(type)) {
        s->SetCaptionAnchor(uaSclTopLft);
        s->SetCaptionPosY(-16);
        s->setFixedWidth(90);
        s->setMinimumHeight(130);
    } else {
        s->SetCaptionAnchor(uaSclCenter);
        s->SetCaptionPosY(type == sctXB ? 4 : 22);
        s->setFixedHeight(60);
        s->setMinimumWidth(420);
    }
    s->SuspendPaint(false);
    return s;
}

} // namespace

TDemoWindow::TDemoWindow(QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Ionpath"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new TCanvasDemo(this), 0, 0, 1, 2);
    grid->addWidget(MakeScale(this, sctXT, 0, 300, false, QStringLiteral("m/z")), 1, 0);
    grid->addWidget(MakeScale(this, sctXT, 1, 1e4, true, QStringLiteral("abundance")), 2, 0);
    grid->addWidget(MakeScale(this, sctYL, 0, 500, false, QStringLiteral("B / mT")), 1, 1, 2, 1);
}

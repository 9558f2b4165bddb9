#include "chart/RChart.h"

#include <gtest/gtest.h>

// Not a check: writes a picture of a typical chart for a person to look at
// when IONPATH_PICTURES names a folder.
TEST(ChartPicture, Typical)
{
    const QByteArray dir = qgetenv("IONPATH_PICTURES");
    if (dir.isEmpty())
        GTEST_SKIP() << "set IONPATH_PICTURES to a folder to write the picture";
    TRChart c;
    c.SetControlBounds(0, 0, 641, 217);
    c.Scale1X()->SetRangeLow(0);
    c.Scale1X()->SetRangeHigh(300);
    c.Scale1X()->SetCaption(QStringLiteral("m/z"));
    c.Scale1Y()->SetRangeLow(0);
    c.Scale1Y()->SetRangeHigh(100);
    c.Scale1Y()->SetCaption(QStringLiteral("abundance"));
    c.SetCaption(QStringLiteral("Spectrum"));
    c.SetGridStyle(gsDotLines);
    c.SetGridColor(0xC0C0C0);
    c.SetShadowWidth(5);
    c.SetShadowStyle(ssBox);
    c.show();
    for (int m = 10; m < 300; m += 17) {
        c.SetDataColor(MixColors(0xFFF0F0, 0x500000, m / 300.0));
        c.AddLine(m, 0, m, (m * 37) % 100);
    }
    c.SetDataColor(clRed);
    c.AddEllipse(150, 50, 40, 30);
    c.AddArrow(20, 90, 80, 60, 10);
    c.AddMark(200, 80, 17);
    c.TextLabel(1)->SetCaption(QStringLiteral("label\nsecond line"));
    c.TextLabel(1)->SetPosX(250);
    c.TextLabel(1)->SetPosY(90);
    c.TextLabel(1)->SetMode(tlShadow);
    c.TextLabel(1)->SetVisible(true);
    c.CrossHair1()->SetMode(chVert);
    c.CrossHair1()->SetPosX(120);
    c.CrossHair1()->SetColor(clBlue);
    c.ShowItems();
    c.Presented().save(QString::fromLocal8Bit(dir) + QStringLiteral("/chart.png"));
}

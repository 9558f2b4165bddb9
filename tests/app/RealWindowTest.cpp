// Drives the main window on a real X display (Xvfb) with real input events:
// keys to the field slider, clicks on Start and Stop, the keyboard in the
// substance selector; checks what the window shows in grabs of it.
#include "app/ErrorReport.h"
#include "app/MainWindow.h"
#include "chart/RChart.h"
#include "widgets/RasterLab.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace {

int CountColour(const QImage& img, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

} // namespace

TEST(RealWindow, SliderScanStopAndSubstance)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    TfrmExample w;
    w.SetLibraryPath(QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../data/ms_spec_sample.tra")));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTRY_COMPARE(w.RLabMass->Text(), QStringLiteral("0.0")); // the start-up steps ran

    const QRgb chartColour = ToQRgb(w.RChart1->ChartColor());
    auto pathPixels = [&] {
        const QImage d = w.grab().toImage().copy(w.RChart1->geometry());
        return d.width() * d.height() - CountColour(d, chartColour);
    };
    const int straight = pathPixels();

    // the field slider by keyboard: End goes to the maximum
    w.TBMagnetic->setFocus();
    QTest::keyClick(w.TBMagnetic, Qt::Key_End);
    EXPECT_EQ(w.TBMagnetic->value(), 5000);
    EXPECT_EQ(w.RLabMass->Text(), QStringLiteral("171.5")); // 5000 V, 500 mT
    // the deflection chart now shows circles instead of straight paths
    EXPECT_GT(pathPixels(), straight + 100);

    QTest::keyClick(w.TBMagnetic, Qt::Key_Home);
    EXPECT_EQ(w.TBMagnetic->value(), 1);

    // Start by a click, Stop by a click from inside the running scan
    int passes = 0;
    w.OnScanPass = [&](int pass) {
        passes = pass;
        if (pass == 230)
            QTest::mouseClick(w.ScStopBtn, Qt::LeftButton);
    };
    QTest::mouseClick(w.ScStartBtn, Qt::LeftButton);
    EXPECT_FALSE(w.Scanning());
    EXPECT_GE(passes, 230);
    EXPECT_LT(passes, 240);
    EXPECT_TRUE(w.TBMagnetic->isEnabled());
    const int field = w.TBMagnetic->value();
    EXPECT_GT(field, 2200);
    EXPECT_GT(w.RChart2->ItemCount(), 0); // the scan passed carbon monoxide's lines

    // the spectrum shows sticks in the grab of the window
    const QImage spectrum = w.grab().toImage().copy(w.RChart2->geometry());
    EXPECT_GT(CountColour(spectrum, qRgb(0, 0, 0)), 500);

    // a picture for people to look at, when asked for
    if (const QByteArray dir = qgetenv("IONPATH_PICTURES"); !dir.isEmpty())
        w.grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/main-window.png"));

    // another substance by the keyboard in the selector
    const QString first = w.spectrumbox->currentText();
    w.spectrumbox->setFocus();
    QTest::keyClick(w.spectrumbox, Qt::Key_Down);
    EXPECT_NE(w.spectrumbox->currentText(), first);
    EXPECT_EQ(w.TBMagnetic->value(), 1);
    EXPECT_EQ(w.RChart2->ItemCount(), 0);
    w.close();
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    TApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

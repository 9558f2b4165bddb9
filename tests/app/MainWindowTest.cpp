#include "app/ErrorReport.h"
#include "app/MainWindow.h"
#include "chart/RChart.h"
#include "support/Matrix.h"
#include "support/ScopedHook.h"
#include "widgets/NumLab.h"
#include "widgets/RasterLab.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString ShippedLibrary()
{
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../data/ms_spec_sample.tra"));
}

// A record of the library format: name line, three lines, 7-character columns.
QByteArray Record(const QByteArray& name, const QByteArray& columns)
{
    return "/NAME\r\n" + name + " (by courtesy of the test)\r\nline\r\nline\r\nline\r\n" + columns + "\r\n/PHYSP\r\n";
}

struct Window {
    TfrmExample w;
    explicit Window(const QString& library = ShippedLibrary())
    {
        w.SetLibraryPath(library);
        w.show();
        w.FormActivate();
    }
    int Field() const { return w.TBMagnetic->value(); }
    bool ScanControlsEnabled() const
    {
        return w.TBMagnetic->isEnabled() && w.Energy->isEnabled() && w.ScStartBtn->isEnabled()
               && w.spectrumbox->isEnabled();
    }
};

} // namespace

TEST(MainWindow, StartState)
{
    Window win;
    TfrmExample& w = win.w;
    EXPECT_EQ(w.MagnetNum->Value(), 0);
    EXPECT_EQ(w.EnergyNum->Value(), 5000);
    EXPECT_EQ(w.RLabMass->Text(), QStringLiteral("0.0"));
    EXPECT_EQ(w.spectrumbox->currentIndex(), 0);
    ASSERT_GT(w.LineCount(), 0);
    ASSERT_EQ(w.RChart1->ItemCount(), w.LineCount());
    for (int i = 0; i < w.RChart1->ItemCount(); ++i)
        EXPECT_EQ(w.RChart1->Item(i).Kind, ikLine); // every path straight at Bp = 1
    EXPECT_EQ(w.RChart2->ItemCount(), 0);
    EXPECT_TRUE(w.RChart1->TransparentFill());
    w.FormActivate(); // later activations run nothing
    EXPECT_EQ(w.RChart1->ItemCount(), w.LineCount());
}

TEST(MainWindow, FieldSliderMovesTheFocus)
{
    Window win;
    TfrmExample& w = win.w;
    w.TBMagnetic->setValue(1000);
    EXPECT_EQ(w.MagnetNum->Value(), 100);
    EXPECT_EQ(w.RLabMass->Text(), QStringLiteral("6.9"));
    EXPECT_NEAR(w.RChart2->CrossHair1()->PosX(), 6.860, 1e-3);
    // the paths are now circles, drawn faintest first
    EXPECT_EQ(w.RChart1->Item(0).Kind, ikEllipse);
    w.Energy->setValue(3000);
    w.TBMagnetic->setValue(5000);
    EXPECT_EQ(w.EnergyNum->Value(), 3000);
    EXPECT_EQ(w.RLabMass->Text(), QStringLiteral("285.9"));
}

TEST(MainWindow, AFullScanRecordsTheSpectrumAndEndsAtTheMinimum)
{
    Window win;
    TfrmExample& w = win.w;
    int passes = 0;
    w.OnScanPass = [&](int) {
        ++passes;
        EXPECT_FALSE(w.TBMagnetic->isEnabled() && w.Scanning());
    };
    w.ScStartBtnClick();
    EXPECT_EQ(passes, 500);
    EXPECT_EQ(win.Field(), 1);
    EXPECT_EQ(w.MagnetNum->Value(), 0);
    EXPECT_TRUE(win.ScanControlsEnabled());
    EXPECT_FALSE(w.Scanning());
    // every stick stands at one of the substance's masses
    ASSERT_GT(w.RChart2->ItemCount(), 0);
    for (int i = 0; i < w.RChart2->ItemCount(); ++i) {
        const TChartItem& it = w.RChart2->Item(i);
        bool known = false;
        for (int row = 1; row <= w.LineCount(); ++row)
            known |= w.MatData->Cell(1, row) == it.X1 && w.MatData->Cell(2, row) == it.Y2;
        EXPECT_TRUE(known) << it.X1;
    }
}

TEST(MainWindow, StopInTheMiddleAndStartAgain)
{
    Window win;
    TfrmExample& w = win.w;
    w.OnScanPass = [&](int pass) {
        if (pass == 5)
            w.ScStopBtnClick();
    };
    w.ScStartBtnClick();
    EXPECT_EQ(win.Field(), 51);
    EXPECT_TRUE(win.ScanControlsEnabled());
    int first = 0;
    w.OnScanPass = [&](int pass) {
        if (pass == 1)
            first = win.Field();
        if (pass == 3)
            w.ScStopBtnClick();
    };
    w.ScStartBtnClick();
    EXPECT_EQ(first, 61); // continues from where it stopped
    EXPECT_EQ(win.Field(), 81);
}

TEST(MainWindow, ClearDuringAScanAndSubstanceChange)
{
    Window win;
    TfrmExample& w = win.w;
    int afterClear = -1;
    w.OnScanPass = [&](int pass) {
        if (pass == 300) {
            w.ClearBtnClick();
            afterClear = w.RChart2->ItemCount();
        }
    };
    w.ScStartBtnClick();
    EXPECT_EQ(afterClear, 0);

    w.TBMagnetic->setValue(1500);
    const int before = w.LineCount();
    w.spectrumbox->setCurrentIndex(w.spectrumbox->count() - 1);
    w.spectrumboxChange();
    EXPECT_EQ(win.Field(), 1);
    EXPECT_EQ(w.MagnetNum->Value(), 0);
    EXPECT_EQ(w.RChart2->ItemCount(), 0);
    EXPECT_NE(w.LineCount(), 0);
    EXPECT_TRUE(before > 0);
}

TEST(MainWindow, ConversionErrorIsReportedAndTheWindowGoesOn)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lib.tra"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Record("Good", "   14.0  100.0   15.0   50.0"));
    f.write(Record("Bad", "   14.0  100.0   1x.0   50.0"));
    f.write(Record("Empty", ""));
    f.close();

    QStringList shown;
    TScopedHook presenter(TApplication::ErrorPresenter(), [&](const QString& m) { shown << m; });
    Window win(path);
    TfrmExample& w = win.w;
    EXPECT_EQ(w.LineCount(), 2);
    w.spectrumbox->setCurrentIndex(1);
    w.spectrumbox->activated(1); // as the user picks it
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(QStringLiteral("1x.0' is not a valid floating point value"))) << shown[0].toStdString();
    EXPECT_EQ(w.LineCount(), 1); // the pair before the error stays
    w.TBMagnetic->setValue(1000); // and the window still works
    EXPECT_EQ(w.RLabMass->Text(), QStringLiteral("6.9"));

    w.spectrumbox->setCurrentIndex(2); // a record without lines
    w.spectrumboxChange();
    EXPECT_EQ(w.LineCount(), 0);
    w.TBMagnetic->setValue(1000);
    EXPECT_EQ(w.RChart1->ItemCount(), 0);
    EXPECT_EQ(w.RLabMass->Text(), QStringLiteral("6.9"));
}

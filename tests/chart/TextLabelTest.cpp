#include "chart/TextLabel.h"

#include <gtest/gtest.h>

#include <QVariant>
#include <vector>

namespace {

struct Prop {
    const char* name;
    QVariant value;
};

} // namespace

TEST(TextLabel, NewLabelIsAVisibleSimpleCaptionAtPixel100And10)
{
    TTextLabel l;
    const std::vector<Prop> defaults = {
        {"PosX", 100.0},
        {"PosY", 10.0},
        {"Layer", 1},
        {"ShadowDx", 0},
        {"ShadowDy", 0},
        {"ColorShadow", 0x808080u},
        {"Alignment", int(taCenter)},
        {"VerticalAlignment", int(vaBottom)},
        {"AttachToData", int(tlamNone)},
        {"ColorBkg", 0xC0C0C0u},
        {"ColorBorder", 0u},
        {"Transparent", false},
        {"Caption", QString()},
        {"Mode", int(tlsimple)},
        {"Visible", true},
    };
    for (const Prop& p : defaults) {
        const QVariant v = l.property(p.name);
        ASSERT_TRUE(v.isValid()) << p.name << " is not published";
        EXPECT_EQ(v, p.value) << p.name;
    }
    EXPECT_EQ(l.Font(), TFont());
    EXPECT_TRUE(l.property("Font").isValid());
}

TEST(TextLabel, EverySetterNotifiesEvenWithoutAChange)
{
    TTextLabel l;
    int calls = 0;
    l.OnChange = [&] { ++calls; };
    const std::vector<Prop> writes = {
        {"PosX", 2.5},          {"PosX", 2.5},
        {"PosY", -7.25},        {"Layer", 16},
        {"Layer", 16},          {"ShadowDx", 3},
        {"ShadowDy", -2},       {"ColorShadow", 0x123456u},
        {"Alignment", int(taRightJustify)}, {"Alignment", int(taRightJustify)},
        {"VerticalAlignment", int(vaTop)}, {"AttachToData", int(tlamYOnly)},
        {"ColorBkg", 0xFFFFFFu}, {"ColorBorder", 0x0000FFu},
        {"Transparent", true},  {"Transparent", true},
        {"Caption", QStringLiteral("first\nsecond")}, {"Caption", QStringLiteral("first\nsecond")},
        {"Mode", int(tlShadow)}, {"Mode", int(tlOff)},
        {"Visible", false},     {"Visible", false},
    };
    for (const Prop& p : writes) {
        const int before = calls;
        ASSERT_TRUE(l.setProperty(p.name, p.value)) << p.name;
        EXPECT_EQ(calls, before + 1) << p.name;
        EXPECT_EQ(l.property(p.name), p.value) << p.name;
    }
    // The typed setters the chart uses notify the same way.
    const int before = calls;
    l.SetPosX(l.PosX());
    l.SetMode(l.Mode());
    l.SetFont(l.Font());
    EXPECT_EQ(calls, before + 3);
}

TEST(TextLabel, LayerOutside1To16IsIgnoredSilently)
{
    TTextLabel l;
    l.SetLayer(5);
    int calls = 0;
    l.OnChange = [&] { ++calls; };
    for (int bad : {0, 17, -1, 1000}) {
        l.SetLayer(bad);
        EXPECT_EQ(l.Layer(), 5) << bad;
        l.setProperty("Layer", bad);
        EXPECT_EQ(l.Layer(), 5) << bad;
    }
    EXPECT_EQ(calls, 0);
    for (int good : {1, 16}) {
        l.SetLayer(good);
        EXPECT_EQ(l.Layer(), good);
    }
    EXPECT_EQ(calls, 2);
}

TEST(TextLabel, EnumerationsOutOfRangeAreIgnored)
{
    TTextLabel l;
    int calls = 0;
    l.OnChange = [&] { ++calls; };
    for (const char* name : {"Alignment", "VerticalAlignment", "AttachToData", "Mode"}) {
        const QVariant before = l.property(name);
        l.setProperty(name, 99);
        l.setProperty(name, -1);
        EXPECT_EQ(l.property(name), before) << name;
    }
    EXPECT_EQ(calls, 0);
}

TEST(TextLabel, FontIsCopiedIntoTheLabelsOwn)
{
    TTextLabel l;
    int calls = 0;
    l.OnChange = [&] { ++calls; };
    TFont f;
    f.Name = QStringLiteral("Courier New");
    f.Height = -17;
    f.Color = clRed;
    f.Style = fsBold | fsItalic;
    l.SetFont(f);
    f.Name = QStringLiteral("Arial");
    f.Height = 30;
    EXPECT_EQ(l.Font().Name, QStringLiteral("Courier New"));
    EXPECT_EQ(l.Font().Height, -17);
    EXPECT_EQ(l.Font().Color, clRed);
    EXPECT_EQ(l.Font().Style, fsBold | fsItalic);
    EXPECT_EQ(calls, 1);

    // Through the meta-object system as well (form loading).
    l.setProperty("Font", QVariant::fromValue(f));
    EXPECT_EQ(l.Font().Name, QStringLiteral("Arial"));
    EXPECT_EQ(calls, 2);
}

TEST(TextLabel, PublishedClassDerivesFromTheSettings)
{
    TTextLabel l;
    EXPECT_STREQ(l.metaObject()->className(), "TTextLabel");
    EXPECT_TRUE(l.inherits("TCustomTextLabel"));
}

// What screen readers learn of the numeric label and the dot-matrix label,
// which paint their text as a picture.
#include "QStringPrinter.h"
#include "support/ScopedHook.h"
#include "widgets/NumLab.h"
#include "widgets/RasterLab.h"
#include "widgets/ReadOutAccessible.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct SaidEvent {
    QObject* object;
    QAccessible::Event type;
    QString value; // of a value change
    bool operator==(const SaidEvent&) const = default;
};

void PrintTo(const SaidEvent& e, std::ostream* os)
{
    *os << "{" << e.object->objectName().toStdString() << ", " << int(e.type) << ", \"" << e.value.toStdString()
        << "\"}";
}

// Collects what the read-outs tell assistive tools while it lives.
struct Listener {
    std::vector<SaidEvent> events;
    TScopedHook<void(QAccessibleEvent&)> sink{ReadOutEventSink(), [this](QAccessibleEvent& e) { Hear(e); }};
    void Hear(QAccessibleEvent& e)
    {
        QString value;
        if (e.type() == QAccessible::ValueChanged)
            value = static_cast<QAccessibleValueChangeEvent&>(e).value().toString();
        events.push_back({e.object(), e.type(), value});
    }
    std::vector<SaidEvent> Take() { return std::exchange(events, {}); }
};

QString Text(QObject* o, QAccessible::Text t)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(o);
    return iface ? iface->text(t) : QStringLiteral("(no interface)");
}

void Voltage(TNumLab& lab)
{
    lab.setObjectName(QStringLiteral("EnergyNum"));
    lab.SetDisplayType(dtFixP);
    lab.SetPrecision(0);
    lab.SetRightText(QStringLiteral("[V]"));
    lab.SetValue(5000);
}

} // namespace

TEST(ReadOutAccessible, NumericLabelSaysItsTextAndValue)
{
    TNumLab lab;
    Voltage(lab);
    lab.show();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&lab);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::StaticText);
    const struct {
        const char* name;
        std::function<void()> change;
        QString value, accessibleName;
    } cases[] = {
        {"number and unit", [] {}, QStringLiteral("5000 [V]"), QStringLiteral("5000 [V]")},
        {"left text", [&] { lab.SetLeftText(QStringLiteral("U =")); }, QStringLiteral("U = 5000 [V]"),
         QStringLiteral("U = 5000 [V]")},
        {"own name", [&] { lab.setAccessibleName(QStringLiteral("Acceleration voltage")); },
         QStringLiteral("U = 5000 [V]"), QStringLiteral("Acceleration voltage")},
        {"new value", [&] { lab.SetValue(3125.4); }, QStringLiteral("U = 3125 [V]"),
         QStringLiteral("Acceleration voltage")},
        {"empty", [&] { lab.SetEmpty(true); }, QStringLiteral("U = [V]"), QStringLiteral("Acceleration voltage")},
        // The box shows the overflow indicator; a listener hears the number.
        {"too wide for the box", [&] {
             lab.SetEmpty(false);
             lab.SetLabelWidth(20);
             lab.SetValue(987654321);
         },
         QStringLiteral("U = 987654321 [V]"), QStringLiteral("Acceleration voltage")},
    };
    for (const auto& c : cases) {
        c.change();
        EXPECT_EQ(iface->text(QAccessible::Value), c.value) << c.name;
        EXPECT_EQ(iface->text(QAccessible::Name), c.accessibleName) << c.name;
    }
    lab.setAccessibleDescription(QStringLiteral("The acceleration voltage set with the slider"));
    EXPECT_EQ(iface->text(QAccessible::Description), QStringLiteral("The acceleration voltage set with the slider"));

    QAccessibleValueInterface* value = iface->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toDouble(), 987654321.0);
    value->setCurrentValue(12); // a read-out is not set from outside
    EXPECT_EQ(lab.Value(), 987654321.0);
    lab.SetEmpty(true);
    EXPECT_FALSE(value->currentValue().isValid());
}

TEST(ReadOutAccessible, NumericLabelAnnouncesEveryChangeOfItsTextOnce)
{
    TNumLab lab;
    Voltage(lab);
    lab.show();
    Listener listener;
    lab.SetValue(5200);
    const auto valueChanged = [&](const char* text) {
        return SaidEvent{&lab, QAccessible::ValueChanged, QString::fromUtf8(text)};
    };
    const SaidEvent nameChanged{&lab, QAccessible::NameChanged, {}};
    EXPECT_EQ(listener.Take(), (std::vector<SaidEvent>{valueChanged("5200 [V]"), nameChanged}));
    lab.SetValue(5200.3); // shown the same: nothing to say
    lab.SetValue(5200);
    lab.update();
    EXPECT_EQ(listener.Take(), std::vector<SaidEvent>{});
    lab.SetRightText(QStringLiteral("[kV]"));
    EXPECT_EQ(listener.Take(), (std::vector<SaidEvent>{valueChanged("5200 [kV]"), nameChanged}));
    // With a name of its own the name stays; only the value changes.
    lab.setAccessibleName(QStringLiteral("Acceleration voltage in volts"));
    lab.SetValue(3000);
    EXPECT_EQ(listener.Take(), std::vector<SaidEvent>{valueChanged("3000 [kV]")});
}

TEST(ReadOutAccessible, DotMatrixLabelSaysAndAnnouncesItsText)
{
    TRasterLab lab;
    lab.setObjectName(QStringLiteral("RLabMass"));
    lab.SetText(QStringLiteral("220.8"));
    lab.show();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&lab)->role(), QAccessible::StaticText);
    EXPECT_EQ(Text(&lab, QAccessible::Value), QStringLiteral("220.8"));
    EXPECT_EQ(Text(&lab, QAccessible::Name), QStringLiteral("220.8"));

    Listener listener;
    lab.SetText(QStringLiteral("6.9"));
    lab.SetText(QStringLiteral("6.9"));
    EXPECT_EQ(Text(&lab, QAccessible::Value), QStringLiteral("6.9"));
    EXPECT_EQ(Text(&lab, QAccessible::Name), QStringLiteral("6.9"));
    EXPECT_EQ(listener.Take(), (std::vector<SaidEvent>{{&lab, QAccessible::ValueChanged, QStringLiteral("6.9")},
                                                        {&lab, QAccessible::NameChanged, {}}}));

    TRasterLab other;
    other.SetText(QStringLiteral("14.0"));
    listener.Take();
    lab.Assign(other);
    EXPECT_EQ(Text(&lab, QAccessible::Value), QStringLiteral("14.0"));
    lab.Assign(other); // the same text again: nothing new
    lab.setAccessibleName(QStringLiteral("Mass"));
    lab.SetText(QStringLiteral("28.0"));
    EXPECT_EQ(Text(&lab, QAccessible::Name), QStringLiteral("Mass"));
    EXPECT_EQ(listener.Take(), (std::vector<SaidEvent>{{&lab, QAccessible::ValueChanged, QStringLiteral("14.0")},
                                                        {&lab, QAccessible::NameChanged, {}},
                                                        {&lab, QAccessible::ValueChanged, QStringLiteral("28.0")}}));
}

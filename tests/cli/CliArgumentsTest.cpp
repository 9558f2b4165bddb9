// The voltage and field the tool takes, in the window's units.
#include "CliArguments.h"

#include <gtest/gtest.h>

namespace {

// The value, or -1 with the error's message.
int Value(const std::variant<int, TArgumentError>& v, QString* message = nullptr)
{
    if (const auto* e = std::get_if<TArgumentError>(&v)) {
        if (message)
            *message = e->Message;
        return -1;
    }
    return std::get<int>(v);
}

} // namespace

TEST(CliArguments, Voltages)
{
    struct Row {
        const char* text;
        int volts; // -1: refused
        const char* reason = "";
    };
    const Row rows[] = {
        {"5000", 5000},
        {"3000", 3000},
        {"8000", 8000},
        {" 5000V ", 5000},
        {"5000 v", 5000},
        {"5e3", 5000},
        {"6000.0", 6000},
        {"2999", -1, "outside 3000 to 8000 V"},
        {"8001", -1, "outside 3000 to 8000 V"},
        {"-5000", -1, "outside 3000 to 8000 V"},
        {"5000.5", -1, "not a whole number"},
        {"5,000", -1, "is not a voltage"},
        {"5 kV", -1, "is not a voltage"},
        {"5000 mT", -1, "is not a voltage"},
        {"abc", -1, "is not a voltage"},
        {"", -1, "is not a voltage"},
        {"V", -1, "is not a voltage"},
        {"nan", -1, "is not a voltage"},
        {"inf", -1, "is not a voltage"},
        {"1e400", -1, "is not a voltage"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        QString message;
        EXPECT_EQ(Value(ParseVoltage(QString::fromUtf8(r.text)), &message), r.volts);
        EXPECT_TRUE(message.contains(QString::fromUtf8(r.reason))) << message.toStdString();
    }
}

TEST(CliArguments, FieldsAreSliderPositionsInTenthsOfAMillitesla)
{
    struct Row {
        const char* text;
        int position; // -1: refused
        const char* reason = "";
    };
    const Row rows[] = {
        {"250", 2500},
        {"250mT", 2500},
        {"250 MT", 2500},
        {"0.25 T", 2500},
        {"0.25t", 2500},
        {"0.1", 1},
        {"0.3", 3}, // 0.3 * 10 is not exactly 3 in binary
        {"12.3", 123},
        {"500", 5000},
        {"0.5T", 5000},
        {"1e2", 1000},
        {"0", -1, "outside 0.1 to 500 mT"},
        {"500.1", -1, "outside 0.1 to 500 mT"},
        {"-100", -1, "outside 0.1 to 500 mT"},
        {"1e300", -1, "outside 0.1 to 500 mT"},
        {"0.05", -1, "not a multiple of 0.1 mT"},
        {"0.15", -1, "not a multiple of 0.1 mT"},
        {"250.04", -1, "not a multiple of 0.1 mT"},
        {"250 G", -1, "is not a magnetic field"},
        {"250 kg", -1, "is not a magnetic field"},
        {"250,5", -1, "is not a magnetic field"},
        {"mT", -1, "is not a magnetic field"},
        {"", -1, "is not a magnetic field"},
        {"nan", -1, "is not a magnetic field"},
        {"1e400", -1, "is not a magnetic field"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        QString message;
        EXPECT_EQ(Value(ParseField(QString::fromUtf8(r.text)), &message), r.position);
        EXPECT_TRUE(message.contains(QString::fromUtf8(r.reason))) << message.toStdString();
    }
}

TEST(CliArguments, Charges)
{
    struct Row {
        const char* text;
        int charge; // -1: refused
    };
    const Row rows[] = {
        {"1", 1}, {"2", 2}, {" 3 ", 3}, {"+2", 2}, {"0", -1}, {"4", -1}, {"-1", -1},
        {"1.5", -1}, {"2.0", -1}, {"", -1}, {"two", -1}, {"++2", -1}, {"12", -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        QString message;
        EXPECT_EQ(Value(ParseCharge(QString::fromUtf8(r.text)), &message), r.charge);
        if (r.charge < 0) {
            EXPECT_EQ(message, QStringLiteral("the charge \"%1\" is not 1, 2 or 3").arg(QString::fromUtf8(r.text)));
        }
    }
}

TEST(CliArguments, FieldText)
{
    EXPECT_EQ(FieldText(1), QStringLiteral("0.1 mT"));
    EXPECT_EQ(FieldText(10), QStringLiteral("1.0 mT"));
    EXPECT_EQ(FieldText(2505), QStringLiteral("250.5 mT"));
    EXPECT_EQ(FieldText(5000), QStringLiteral("500.0 mT"));
    // what FieldText writes, ParseField reads back
    for (int p : {1, 9, 10, 11, 999, 2505, 4991, 5000})
        EXPECT_EQ(Value(ParseField(FieldText(p))), p) << p;
}

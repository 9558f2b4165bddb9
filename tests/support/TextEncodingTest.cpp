#include "support/TextEncoding.h"

#include <gtest/gtest.h>

TEST(TextEncoding, ValidUtf8IsUtf8AndAnythingElseWindows1252)
{
    const std::pair<QByteArray, TTextEncoding> cases[] = {
        {"plain ASCII", TTextEncoding::Utf8},
        {"Benz\xC3\xA8ne \xE2\x82\xAC \xF0\x9F\x98\x80", TTextEncoding::Utf8},
        {"", TTextEncoding::Utf8},
        {"Benz\xE8ne", TTextEncoding::Windows1252},
        {"\xC0\xAF", TTextEncoding::Windows1252},          // overlong
        {"\xE2\x82", TTextEncoding::Windows1252},          // cut short
        {"\xED\xA0\x80", TTextEncoding::Windows1252},      // surrogate
        {"\xF4\x90\x80\x80", TTextEncoding::Windows1252},  // above U+10FFFF
    };
    for (const auto& [bytes, encoding] : cases)
        EXPECT_EQ(DetectTextEncoding(bytes), encoding) << bytes.toHex().constData();
}

TEST(TextEncoding, Windows1252RoundTrips)
{
    const QByteArray bytes("Benz\xE8ne \x80 \x9F \x81");
    const QString text = DecodeText(bytes, TTextEncoding::Windows1252);
    EXPECT_EQ(text, QStringLiteral("Benzène € Ÿ \u0081"));
    EXPECT_EQ(EncodeText(text, TTextEncoding::Windows1252), bytes);
    EXPECT_EQ(EncodeText(QStringLiteral("Ω"), TTextEncoding::Windows1252), QByteArray("?"));
    EXPECT_EQ(DecodeText(EncodeText(QStringLiteral("Ω €"), TTextEncoding::Utf8), TTextEncoding::Utf8), QStringLiteral("Ω €"));
}

// The bytes that travel between programs: entity records, link strings,
// parameter text, stamps and the transport's frame header. A fault here
// makes a client and a host misunderstand each other.

#include "host/MessageStream.h"
#include "host/Tutorix.h"
#include "host/WireFrame.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray Int32(qint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

std::unique_ptr<TTutorixMessageStream> StreamOf(const QByteArray& bytes)
{
    auto s = std::make_unique<TTutorixMessageStream>();
    s->Write(bytes);
    s->SetPosition(0);
    return s;
}

} // namespace

TEST(EntityRecord, IsHandleMutexAndTwoLinkStringsLittleEndian)
{
    TEntity entity;
    entity.Handle = 0x01020304;
    entity.MutexHandle = 0x0A0B0C0D;
    entity.SetExePath(QStringLiteral("/sim/ms"));
    entity.SetTitle(QStringLiteral("Ionpath \u00c4")); // two bytes in UTF-8
    TTutorixMessageStream stream;
    entity.WriteToStream(stream);

    const QByteArray expected = QByteArray::fromHex("04030201" "0d0c0b0a" "07000000") + "/sim/ms"
        + QByteArray::fromHex("0a000000") + "Ionpath \xc3\x84";
    EXPECT_EQ(stream.Data().toHex(), expected.toHex());

    stream.SetPosition(0);
    TEntity read;
    read.ReadFromStream(stream);
    EXPECT_EQ(read.Handle, entity.Handle);
    EXPECT_EQ(read.MutexHandle, entity.MutexHandle);
    EXPECT_EQ(read.StoredExePath(), entity.StoredExePath());
    EXPECT_EQ(read.StoredTitle(), entity.StoredTitle());
    EXPECT_EQ(stream.Remaining(), 0);
}

TEST(EntityRecord, TruncatedRecordRaisesAndChangesNothing)
{
    TEntity source;
    source.Handle = 7;
    source.SetExePath(QStringLiteral("/a/prog"));
    source.SetTitle(QStringLiteral("Title"));
    TTutorixMessageStream full;
    source.WriteToStream(full);
    for (qsizetype cut : {0, 3, 8, 12, 14, int(full.Size()) - 1}) {
        SCOPED_TRACE(cut);
        auto owned_stream = StreamOf(full.Data().left(cut));
        TTutorixMessageStream& stream = *owned_stream;
        TEntity target;
        target.Handle = 99;
        target.SetTitle(QStringLiteral("kept"));
        EXPECT_THROW(target.ReadFromStream(stream), EReadError);
        EXPECT_EQ(target.Handle, 99u);
        EXPECT_EQ(target.StoredTitle(), QStringLiteral("kept"));
        EXPECT_EQ(stream.Position(), 0);
    }
}

TEST(LinkString, LengthZeroOrLessIsEmptyAndNothingFollows)
{
    for (qint32 length : {0, -1, -1000, std::numeric_limits<qint32>::min()}) {
        SCOPED_TRACE(length);
        auto owned_stream = StreamOf(Int32(length) + Int32(42));
        TTutorixMessageStream& stream = *owned_stream;
        EXPECT_EQ(stream.ReadString(), QString());
        EXPECT_EQ(stream.ReadInt32(), 42);
    }
}

TEST(LinkString, LengthRunningPastTheStreamRaisesWithoutMoving)
{
    struct Case {
        qint32 length;
        QByteArray bytes;
    };
    const Case cases[] = {{5, "abc"}, {1, ""}, {std::numeric_limits<qint32>::max(), "abcdefgh"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        auto owned_stream = StreamOf(Int32(c.length) + c.bytes);
        TTutorixMessageStream& stream = *owned_stream;
        EXPECT_THROW(stream.ReadString(), EReadError);
        EXPECT_EQ(stream.Position(), 0);
    }
}

TEST(LinkString, TextIsUtf8AndOtherBytesAreWindows1252)
{
    TTutorixMessageStream written;
    written.WriteString(QStringLiteral("Gr\u00fc\u00dfe"));
    written.SetPosition(0);
    EXPECT_EQ(written.ReadString(), QStringLiteral("Gr\u00fc\u00dfe"));

    auto owned_legacy = StreamOf(Int32(3) + QByteArray("\xe4\x80x"));

    TTutorixMessageStream& legacy = *owned_legacy;
    EXPECT_EQ(legacy.ReadString(), QStringLiteral("\u00e4\u20acx"));
}

TEST(ParameterText, LinesEndInCrLfAndAnyLineBreakSplits)
{
    TTutorixMessageStream written;
    written.WriteLines({QStringLiteral("prog"), QStringLiteral("two words"), QString()});
    EXPECT_EQ(written.Data(), QByteArray("prog\r\ntwo words\r\n\r\n"));

    struct Case {
        QByteArray text;
        QStringList lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"\n", {""}},
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        auto owned_stream = StreamOf(c.text);
        TTutorixMessageStream& stream = *owned_stream;
        EXPECT_EQ(stream.ReadLines(), c.lines);
    }
}

TEST(TimeStamp, MillisecondsSinceMidnightAndDaysFromYearOnePlusOne)
{
    struct Case {
        QDateTime moment;
        qint32 time;
        qint32 date;
    };
    const Case cases[] = {
        {QDateTime(QDate(1, 1, 1), QTime(0, 0)), 0, 1},
        {QDateTime(QDate(1899, 12, 30), QTime(0, 0)), 0, 693594},
        {QDateTime(QDate(2000, 1, 1), QTime(12, 0, 0, 500)), 43200500, 730120},
        {QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999)), 86399999, 738945},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.moment.toString(Qt::ISODateWithMs).toStdString());
        const TTimeStamp stamp = DateTimeToTimeStamp(c.moment);
        EXPECT_EQ(stamp.Time, c.time);
        EXPECT_EQ(stamp.Date, c.date);
        EXPECT_EQ(TimeStampToDateTime(stamp), c.moment);
    }
}

TEST(MessageStream, AssignFromCopiesStampSenderCodeAndContentFromTheStart)
{
    TTutorixMessageStream source(nullptr, lmReply);
    source.Stamp = {1234, 730120};
    source.Entity.Handle = 0xBEEF;
    source.Entity.MutexHandle = 5;
    source.Entity.SetTitle(QStringLiteral("host"));
    source.WriteString(QStringLiteral("value"));
    // Position at the end: the copy must not depend on it.
    TTutorixMessageStream copy;
    copy.WriteString(QStringLiteral("old content that is longer"));
    copy.AssignFrom(source);
    EXPECT_EQ(copy.Stamp, source.Stamp);
    EXPECT_EQ(copy.MsgCode, lmReply);
    EXPECT_EQ(copy.Entity.Handle, 0xBEEFu);
    EXPECT_EQ(copy.Entity.MutexHandle, 5u);
    EXPECT_EQ(copy.Entity.StoredTitle(), QStringLiteral("host"));
    EXPECT_EQ(copy.Position(), 0);
    EXPECT_EQ(copy.ReadString(), QStringLiteral("value"));
    EXPECT_EQ(copy.Remaining(), 0);
}

TEST(FrameHeader, RoundTripsAndRefusesWhatIsNotOurs)
{
    TFrameHeader h;
    h.Type = TFrameType::Call;
    h.Sequence = 77;
    h.From = 0x12345678;
    h.Code = lmGetFile;
    h.Length = 1000;
    const QByteArray bytes = EncodeFrameHeader(h);
    ASSERT_EQ(bytes.size(), qsizetype(kFrameHeaderSize));
    TFrameHeader d;
    ASSERT_EQ(DecodeFrameHeader(bytes.constData(), bytes.size(), d), THeaderStatus::Valid);
    EXPECT_EQ(d.Sequence, 77u);
    EXPECT_EQ(d.From, 0x12345678u);
    EXPECT_EQ(d.Code, lmGetFile);
    EXPECT_EQ(d.Length, 1000u);
    EXPECT_EQ(DecodeFrameHeader(bytes.constData(), bytes.size() - 1, d), THeaderStatus::Incomplete);

    struct Case {
        const char* what;
        int offset;
        QByteArray value;
    };
    const Case cases[] = {
        {"magic", 0, QByteArray::fromHex("00000000")},
        {"version", 4, QByteArray::fromHex("0200")},
        {"type", 6, QByteArray::fromHex("0300")},
        {"length above the cap", 20, Int32(qint32(kMaxBlockSize + 1))},
        {"length far above the cap", 20, Int32(-1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray bad = bytes;
        bad.replace(c.offset, c.value.size(), c.value);
        EXPECT_EQ(DecodeFrameHeader(bad.constData(), bad.size(), d), THeaderStatus::Invalid);
    }
    TFrameHeader done = h;
    done.Type = TFrameType::Done; // a done frame carries no payload
    const QByteArray doneWithPayload = EncodeFrameHeader(done);
    EXPECT_EQ(DecodeFrameHeader(doneWithPayload.constData(), doneWithPayload.size(), d), THeaderStatus::Invalid);
    done.Length = 0;
    const QByteArray doneBytes = EncodeFrameHeader(done);
    EXPECT_EQ(DecodeFrameHeader(doneBytes.constData(), doneBytes.size(), d), THeaderStatus::Valid);
}

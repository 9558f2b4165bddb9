// The host link's receive path over any bytes: frame headers as they come
// off a connection, and blocks (stamp and content) with any code received
// by a client (the program's side) and by a host, both in this process, so
// that the host's answers reach the client through the transport.
//
// Rules checked: a frame header is valid only when it is ours and announces
// at most the block limit; a block shorter than its stamp or longer than the
// limit is refused without being read (the size passed may be far larger
// than the bytes behind the pointer) and is not dispatched; parameters are
// replaced by exactly the lines of the content; replies kept for nobody stay
// bounded; a document name never resolves outside the host's folder; only
// the link's own errors leave a dispatch. The host is never asked to start a
// program.
#include "FuzzApplication.h"

#include "ServerDemon.h"
#include "host/DemonClient.h"
#include "host/WireFrame.h"
#include "support/Registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <QtEndian>

namespace {

QTemporaryDir* gRoot = nullptr;

QString Docs()
{
    return gRoot->path() + QStringLiteral("/docs");
}

void CheckFrameHeader(const std::string& bytes)
{
    TFrameHeader header;
    const THeaderStatus status = DecodeFrameHeader(bytes.data(), bytes.size(), header);
    if (bytes.size() < kFrameHeaderSize) {
        FUZZ_CHECK(status != THeaderStatus::Valid, QString::number(bytes.size()));
        return;
    }
    if (status != THeaderStatus::Valid)
        return;
    FUZZ_CHECK(qFromLittleEndian<quint32>(bytes.data()) == kFrameMagic, QString());
    FUZZ_CHECK(header.Length <= kMaxBlockSize, QString::number(header.Length));
    FUZZ_CHECK(header.Type == TFrameType::Call || header.Type == TFrameType::Done, QString());
    // What is decoded encodes to the same header.
    FUZZ_CHECK(EncodeFrameHeader(header) == QByteArray(bytes.data(), qsizetype(kFrameHeaderSize)), QString());
}

qint32 ConsumeCode(FuzzedDataProvider& in)
{
    return in.ConsumeBool() ? in.ConsumeIntegralInRange<qint32>(lmQuit, lmGetVariable) : in.ConsumeIntegral<qint32>();
}

void Receive(TkdbCustomDemon& demon, quint32 from, qint32 code, const std::string& block)
{
    try {
        demon.ReceiveBlock(from, code, block.data(), block.size());
    } catch (const Exception&) {
        // The transport reports a handler's error and still answers the sender.
    }
}

QStringList Lines(const std::string& content)
{
    TTutorixMessageStream s;
    s.Write(QByteArrayView(content.data(), qsizetype(content.size())));
    s.SetPosition(0);
    return s.ReadLines();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartFuzzApplication(argc, argv);
    // Endpoints, locks and the registry of this run only: no host of the
    // machine is found and nothing of ours is left behind.
    gRoot = new QTemporaryDir;
    QDir().mkpath(gRoot->path() + QStringLiteral("/run"));
    QFile::setPermissions(gRoot->path() + QStringLiteral("/run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir().mkpath(Docs() + QStringLiteral("/sub"));
    QFile doc(Docs() + QStringLiteral("/sub/page.txt"));
    doc.open(QIODevice::WriteOnly);
    doc.write("a page");
    doc.close();
    QFile outside(gRoot->path() + QStringLiteral("/secret.txt"));
    outside.open(QIODevice::WriteOnly);
    outside.write("not for clients");
    outside.close();
    qputenv("XDG_RUNTIME_DIR", (gRoot->path() + QStringLiteral("/run")).toLocal8Bit());
    SetRegistryDirectory(gRoot->path() + QStringLiteral("/registry"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    CheckFrameHeader(in.ConsumeBytesAsString(in.ConsumeIntegralInRange<size_t>(0, 32)));

    THostSettings settings;
    settings.Suffix = QStringLiteral("fuzz");
    settings.Documents = Docs();
    settings.WorkArea = gRoot->path();
    settings.HomeDir = gRoot->path();
    settings.Variables.insert(QStringLiteral("Course"), QStringLiteral("Physics"));
    TkdbServerDemon host(settings, {QStringLiteral("/fuzz/host"), {QStringLiteral("host")}, QStringLiteral("host")});
    QWidget window;
    TkdbDemonClient client(&window, {QStringLiteral("/fuzz/prog"), {QStringLiteral("prog"), QStringLiteral("/serverhandle=fuzz")},
                                     QStringLiteral("prog")});
    client.SetSendTimeout(1000);
    client.OnQuitMsgReceived = [](TkdbCustomDemon&, bool, bool& allowQuit) { allowQuit = false; };
    FUZZ_CHECK(client.ServerEntity.Handle == host.OwnEntity.Handle, QString());

    for (int n = 0; n < 16 && in.remaining_bytes() > 0; ++n) {
        const bool toHost = in.ConsumeBool();
        qint32 code = ConsumeCode(in);
        const quint32 from = in.ConsumeBool() ? client.OwnEntity.Handle : in.ConsumeIntegral<quint32>();
        const std::string block = in.ConsumeRandomLengthString(512);
        const qsizetype rejectedBefore = toHost ? host.RejectedBlocks() : client.RejectedBlocks();

        if (in.ConsumeIntegralInRange<int>(0, 15) == 0) {
            // A size beyond the limit with only a few bytes behind it: refused
            // before anything is read (ASan sees every read past them).
            TkdbCustomDemon& demon = toHost ? static_cast<TkdbCustomDemon&>(host) : client;
            demon.ReceiveBlock(from, code, block.data(), kMaxBlockSize + 1 + in.ConsumeIntegralInRange<size_t>(0, 1u << 20));
            FUZZ_CHECK(demon.RejectedBlocks() == rejectedBefore + 1, QString());
            continue;
        }
        if (toHost) {
            if (code == lmExecute)
                code = lmGetFile; // starting programs is not for a fuzzer
            Receive(host, from, code, block);
        } else {
            Receive(client, from, code, block);
            if (code == lmParams && block.size() >= kStampSize)
                FUZZ_CHECK(client.Params() == Lines(block.substr(kStampSize)), QString());
        }
        if (block.size() < kStampSize) {
            const qsizetype after = toHost ? host.RejectedBlocks() : client.RejectedBlocks();
            FUZZ_CHECK(after == rejectedBefore + 1, QString::number(block.size()));
        }
        FUZZ_CHECK(client.PendingReplies().size() <= TkdbCustomDemon::kMaxPendingReplies, QString());
    }

    // Document names from the input never leave the host's folder.
    const QString name = QString::fromStdString(in.ConsumeRemainingBytesAsString());
    const QString resolved = host.ResolveDocument(name);
    const QString docs = QFileInfo(Docs()).canonicalFilePath() + u'/';
    FUZZ_CHECK(resolved.isEmpty() || resolved.startsWith(docs), name + QStringLiteral(" -> ") + resolved);
    const QString traversal = host.ResolveDocument(QStringLiteral("sub/../../secret.txt"));
    FUZZ_CHECK(traversal.isEmpty(), traversal);
    return 0;
}

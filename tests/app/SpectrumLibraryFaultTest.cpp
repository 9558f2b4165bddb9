// The spectrum library when the file system does not cooperate: a file the
// user may not read, a folder in its place, and a file that vanishes or
// changes after the substance list was built.
#include "app/MainWindow.h"
#include "app/SpectrumLibrary.h"
#include "support/Matrix.h"

#include "../faults/AsOtherUser.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Record(const QByteArray& name, const QByteArray& columns)
{
    return "/NAME\r\n" + name + " (by courtesy of the test)\r\nline\r\nline\r\nline\r\n" + columns + "\r\n/PHYSP\r\n";
}

const QByteArray kLibrary = Record("Methane", "   14.0  100.0   15.0   85.5   16.0   88.0") +
                            Record("Water", "   18.0  100.0   17.0   21.0");

void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

const QFile::Permissions kOpenFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                       QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;

} // namespace

TEST(SpectrumLibraryFault, AFileThatMayNotBeReadIsRefusedWithTheReason)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), kOpenFolder));
    const QString path = dir.filePath(QString::fromLatin1(TSpectrumLibrary::kFileName));
    Write(path, kLibrary);
    ASSERT_TRUE(QFile::setPermissions(path, QFile::Permissions::fromInt(0)));
    const TChildResult r = RunAsOtherUser([&] {
        TSpectrumLibrary library;
        QString error;
        const bool opened = library.Open(path, &error);
        return QStringLiteral("%1 %2 %3").arg(opened).arg(library.IsOpen()).arg(error);
    });
    ASSERT_TRUE(r.ran);
    EXPECT_TRUE(r.text.startsWith(QStringLiteral("0 0 The file \"%1\" cannot be read: ").arg(path))) << r.text.toStdString();
}

TEST(SpectrumLibraryFault, AFolderInPlaceOfTheFileIsRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(TSpectrumLibrary::kFileName));
    ASSERT_TRUE(QDir().mkdir(path));
    TSpectrumLibrary library;
    QString error;
    EXPECT_FALSE(library.Open(path, &error));
    EXPECT_FALSE(library.IsOpen());
    EXPECT_EQ(error, QStringLiteral("\"%1\" is not a file.").arg(path));
}

TEST(SpectrumLibraryFault, AFailedOpenKeepsTheLibraryReadBefore)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lib.tra"));
    Write(path, kLibrary);
    TSpectrumLibrary library;
    ASSERT_TRUE(library.Open(path));
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_FALSE(library.Open(path));
    EXPECT_EQ(library.SubstanceNames(), (QStringList{QStringLiteral("Methane"), QStringLiteral("Water")}));
}

TEST(SpectrumLibraryFault, TheWindowKeepsLoadingWhenTheFileVanishesOrChangesAfterTheList)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lib.tra"));
    Write(path, kLibrary);
    TfrmExample w(nullptr, TWindowTexts::Keys);
    w.SetLibraryPath(path);
    w.show();
    w.FormActivate();
    ASSERT_EQ(w.spectrumbox->count(), 2);
    ASSERT_EQ(w.LineCount(), 3);

    // Gone after the list was built: the window reads its copy of the file.
    ASSERT_TRUE(QFile::remove(path));
    w.spectrumbox->setCurrentIndex(1);
    w.spectrumboxChange();
    EXPECT_EQ(w.LineCount(), 2);
    EXPECT_EQ(w.MatData->Cell(1, 2), 18.0); // the most abundant line last

    // Replaced by another file: the list and the spectra stay those of the
    // file the list came from, so a name in the list always finds its record.
    Write(path, Record("Argon", "   40.0  100.0"));
    w.spectrumbox->setCurrentIndex(0);
    w.spectrumboxChange();
    EXPECT_EQ(w.LineCount(), 3);
    EXPECT_EQ(w.spectrumbox->itemText(0), QStringLiteral("Methane"));
}

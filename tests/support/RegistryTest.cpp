#include "support/Errors.h"
#include "support/Registry.h"

#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        old_ = RegistryDirectory();
        SetRegistryDirectory(dir_.path());
        QSettings machine(dir_.path() + "/HKEY_LOCAL_MACHINE.ini", QSettings::IniFormat);
        machine.setValue("Software/Quillon/meridor/demon/ViewerHandle", "0000012A");
        machine.setValue("Software/Quillon/meridor/demon/List", QStringList{"a", "b"});
        QSettings user(dir_.path() + "/HKEY_CURRENT_USER.ini", QSettings::IniFormat);
        user.setValue("Software/Ionpath/Language", "de");
    }
    void TearDown() override { SetRegistryDirectory(old_); }

    QTemporaryDir dir_;
    QString old_;
};

} // namespace

TEST_F(RegistryTest, ReadsAStringValueUnderAKey)
{
    const struct {
        quint32 root;
        const char* key;
        const char* value;
        const char* expected;
    } cases[] = {
        {rrLocalMachine, "\\Software\\Quillon\\meridor\\demon", "ViewerHandle", "0000012A"},
        {rrLocalMachine, "software/quillon/MERIDOR/demon/", "viewerhandle", "0000012A"}, // names ignore case
        {rrLocalMachine, "\\Software\\Quillon\\meridor\\demon", "Missing", ""},
        {rrLocalMachine, "\\Software\\Nobody", "ViewerHandle", ""},
        {rrDefault, "\\Software\\Ionpath", "Language", "de"},     // the default root is the user's
        {rrCurrentUser, "\\Software\\Ionpath", "Language", "de"},
        {rrUsers, "\\Software\\Ionpath", "Language", ""},         // no store for that root
        {0x12345u, "\\Software\\Ionpath", "Language", ""},        // no such root
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadRegistryString(c.root, QString::fromLatin1(c.key), QString::fromLatin1(c.value)),
                  QString::fromLatin1(c.expected))
            << c.key << " " << c.value;
}

TEST_F(RegistryTest, AValueThatIsNotTextIsAnError)
{
    try {
        ReadRegistryString(rrLocalMachine, "\\Software\\Quillon\\meridor\\demon", "List");
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid data type for 'List'"));
    }
}

// Finding the host: the suffix from the registry or "/serverhandle=", and
// the parameters a program keeps.

#include "HostTestEnvironment.h"
#include "host/DemonClient.h"
#include "host/MessageWindows.h"
#include "host/ServerLookup.h"

#include <QSettings>
#include <gtest/gtest.h>

TEST(ServerSuffix, RegistryFirstThenTheLastServerHandleParameterLowerCased)
{
    struct Case {
        QString registry;
        QStringList arguments;
        QString suffix;
    };
    const Case cases[] = {
        {"00000000", {"prog", "/ServerHandle=1A2B"}, "1a2b"},
        {"", {"prog"}, ""},
        {"00000000", {"prog"}, "00000000"},
        {"", {"prog", "/serverhandle=aa", "x", "/SERVERHANDLE=Bb"}, "bb"},
        {"0000012A", {"prog", "/serverhandle=ff"}, "0000012A"},
        // Parameter 0 is the program, never a suffix source.
        {"", {"/serverhandle=zz"}, ""},
        {"", {"prog", "/serverhandle"}, ""},
        {"", {"prog", "/serverhandle="}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.registry + u' ' + c.arguments.join(u' ')).toStdString());
        EXPECT_EQ(ServerSuffix(c.registry, c.arguments), c.suffix);
    }
}

TEST(ServerSuffix, ParamsHideOnlyTheExactLowerCaseServerHandle)
{
    EXPECT_EQ(ParamsFromCommandLine({"prog", "data.tra", "/serverhandle=00ab"}), QStringList({"prog", "data.tra"}));
    EXPECT_EQ(ParamsFromCommandLine({"prog", "/ServerHandle=00ab", "x"}), QStringList({"prog", "/ServerHandle=00ab", "x"}));
    EXPECT_EQ(ParamsFromCommandLine({"prog"}), QStringList({"prog"}));
}

// The client looks the host's window up by the suffixed class and name; the
// registry store is the INI file of the local machine's hive.
TEST(ServerSuffix, ClientFindsTheHostWindowThroughRegistryOrParameter)
{
    THostTestEnvironment env;
    struct Case {
        QString registry;
        QStringList arguments;
        QString suffix;
    };
    const Case cases[] = {
        {"00000000", {"/x/prog", "/ServerHandle=1A2B"}, "1a2b"},
        {"", {"/x/prog"}, ""},
        {"C0FFEE", {"/x/prog"}, "C0FFEE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.suffix.toStdString());
        QDir().mkpath(RegistryDirectory());
        {
            QSettings store(RegistryDirectory() + QStringLiteral("/HKEY_LOCAL_MACHINE.ini"), QSettings::IniFormat);
            store.setValue(QStringLiteral("Software/Quillon/meridor/demon/ViewerHandle"), c.registry);
        }
        const QString cls = ServerWindowClassName(c.suffix);
        ASSERT_TRUE(TMessageWindows::RegisterClass(cls));
        const TWindowHandle host = TMessageWindows::CreateWindow(cls, ServerWindowName(c.suffix), nullptr);
        ASSERT_NE(host, 0u);
        {
            QWidget owner;
            TkdbDemonClient client(&owner, {QStringLiteral("/x/prog"), c.arguments, QStringLiteral("prog")});
            EXPECT_EQ(client.ServerEntity.Handle, host);
        }
        TMessageWindows::DestroyWindow(host);
        TMessageWindows::UnregisterClass(cls);
    }
}

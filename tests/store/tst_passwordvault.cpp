#include "AppIdentity.h"
#include "CliRunner.h"
#include "RefServerProcess.h"
#include "ScriptedPrompt.h"
#include "TestEnvironment.h"
#include "protocol/SecurityConfirm.h"
#include "store/ProfileStore.h"
#include "store/VelmDatabase.h"

#include <QJsonArray>
#include <QNetworkAccessManager>
#include <QtTest>

namespace {

// "ready" inside the private session once its keyring daemon runs; otherwise why not.
const char* const s_session = "PICTARIUM_TEST_KEYRING";

// The password column (plain SQL) and the keyring entry (as another client reads it).
QStringList stored(const TestEnvironment& env, const QString& strName)
{
    const QList<QVariantList> lstRows =
        queryDatabase(env, QStringLiteral("SELECT password FROM ServerProfiles WHERE profname = ?"), {strName});
    QProcess lookup;
    lookup.start(QStringLiteral("secret-tool"), {"lookup", "server", "Pictarium Uploader", "user", strName});
    lookup.waitForFinished(30000);
    return {lstRows.isEmpty() ? QStringLiteral("<no row>") : lstRows.first().value(0).toString(),
            QString::fromUtf8(lookup.readAllStandardOutput())};
}

} // namespace

// Remembered passwords in a real keyring daemon of a private D-Bus session.
class TestPasswordVault : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (qgetenv(s_session) != "ready")
            QSKIP(qPrintable(QLatin1String("No private keyring: ") + qEnvironmentVariable(s_session)));
    }
    void passwordsMoveWithoutLoss();
};

void TestPasswordVault::passwordsMoveWithoutLoss()
{
    TestEnvironment env;
    QVERIFY(AppIdentity::ensureDataFolder() && VelmDatabase::open());
    VelmDatabase::ensureTable(VelmDatabase::ServerProfiles);
    RefServerProcess server(env.root() + QLatin1String("/server"));
    server.setAccounts({{"accounts", QJsonArray{QJsonObject{{"name", "ann"}, {"password", "pw"}}}}});
    QVERIFY(server.start());
    const QStringList lstInKeyring{"", "pw"}, lstInDatabase{"pw", ""};
    const QStringList lstAdd = QStringList{"add-profile", "--account", "ann", "--remember-password", "--host"} +
                               QStringList{server.host(), "--port", QString::number(server.port()), "--name"};
    ServerProfile profile;
    ProfileStore::fillRecord(profile, "home", server.host(), server.port(), false, "ann", "pw", true, QString(), false,
                             true, true, true, "RENAME", QString(), {});
    QVERIFY(ProfileStore::insertProfile(profile));
    QCOMPARE(stored(env, "home"), lstInKeyring);

    // The login reads it back and asks for nothing.
    QNetworkAccessManager nam;
    ScriptedPrompt prompt;
    ServerProfile loaded;
    QVERIFY(ProfileStore::loadProfile("home", loaded, prompt));
    QCOMPARE(SecurityConfirm::logInAndWait(&prompt, &nam, &loaded), SecurityConfirm::Outcome::Succeeded);
    QVERIFY(prompt.shown.isEmpty());

    // A password retyped at the login replaces the entry; a rename carries it, given or not.
    ProfileStore::setColumn("ServerProfiles", "home", "password", "new");
    QCOMPARE(stored(env, "home"), QStringList({"", "new"}));
    ProfileSummary summary = ProfileStore::listProfiles().value("home");
    QCOMPARE(summary.password, QStringLiteral("new"));
    summary.profname = QStringLiteral("house");
    ProfileStore::updateConnectionSettings("home", summary);
    summary.profname = QStringLiteral("cabin");
    summary.password.clear();
    ProfileStore::updateConnectionSettings("house", summary);
    QCOMPARE(stored(env, "home") + stored(env, "house"), QStringList({"<no row>", "", "<no row>", ""}));
    QCOMPARE(stored(env, "cabin"), QStringList({"", "new"}));
    summary.savepass = false;
    ProfileStore::updateConnectionSettings("cabin", summary);
    QCOMPARE(stored(env, "cabin"), QStringList({"", ""}));

    // Switched off, loading moves it back into the database; switched on, into the keyring.
    ProfileStore::setColumn("ServerProfiles", "cabin", "savepass", "1");
    ProfileStore::setColumn("ServerProfiles", "cabin", "password", "pw");
    QCOMPARE(stored(env, "cabin"), lstInKeyring);
    qputenv("PICTARIUM_KEYRING", "off");
    QVERIFY(ProfileStore::loadProfile("cabin", loaded, prompt));
    QCOMPARE(ProfileStore::listProfiles().value("cabin").password, QStringLiteral("pw"));
    QCOMPARE(loaded.password + stored(env, "cabin").join(','), QStringLiteral("pwpw,"));
    qunsetenv("PICTARIUM_KEYRING");
    QVERIFY(ProfileStore::loadProfile("cabin", loaded, prompt));
    QCOMPARE(stored(env, "cabin"), lstInKeyring);

    // The terminal front end: without a session bus the database keeps it and the login works
    // from there; with the bus, the entry moves in, serves the login and goes with the profile.
    QProcessEnvironment pe = cliEnvironment(env, QStringLiteral("pw"));
    pe.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    for (const QStringList& lstArgs : {lstAdd + QStringList{"cli"}, QStringList{"albums", "--profile", "cli"}}) {
        const CliRun run = runCli(pe, lstArgs);
        QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
        pe.remove(QStringLiteral("PICTARIUM_PASSWORD"));
    }
    QCOMPARE(stored(env, "cli"), lstInDatabase);
    pe = cliEnvironment(env);
    for (const QStringList& lstArgs : {QStringList{"albums", "--profile", "cli"}, QStringList{"profiles"}}) {
        const CliRun run = runCli(pe, lstArgs);
        QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
        QCOMPARE(stored(env, "cli"), lstInKeyring);
    }
    QVERIFY(runCli(pe, {"remove-profile", "cli"}).exitCode == 0);
    QCOMPARE(stored(env, "cli"), QStringList({"<no row>", ""}));
    QVERIFY(prompt.shown.isEmpty());
    VelmDatabase::close();
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // Runs again inside a private D-Bus session whose keyring daemon lives in a temporary home.
    for (const char* pszTool : {"dbus-run-session", "gnome-keyring-daemon", "secret-tool"}) {
        if (QStandardPaths::findExecutable(QLatin1String(pszTool)).isEmpty()) {
            qputenv(s_session, QByteArray(pszTool) + " is not installed");
            break;
        }
    }
    if (qEnvironmentVariableIsEmpty(s_session)) {
        QTemporaryDir home;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* pszName :
             {"DISPLAY", "WAYLAND_DISPLAY", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
              "KDE_SESSION_VERSION", "GNOME_DESKTOP_SESSION_ID", "PICTARIUM_KEYRING"})
            env.remove(QLatin1String(pszName));
        for (const char* pszName : {"HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            env.insert(QLatin1String(pszName), home.path());
        // A non-empty unlock password: with an empty one the daemon would want a prompt.
        const QString strScript = QStringLiteral(
            "printf unlock | gnome-keyring-daemon --unlock --components=secrets >/dev/null && S=ready || "
            "S='the keyring daemon did not start'; PICTARIUM_TEST_KEYRING=$S exec \"$@\"");
        QProcess session;
        session.setProcessEnvironment(env);
        session.setProcessChannelMode(QProcess::ForwardedChannels);
        session.start("dbus-run-session", QStringList{"--", "sh", "-c", strScript, "sh"} + app.arguments());
        session.waitForFinished(-1);
        return session.exitStatus() == QProcess::NormalExit ? session.exitCode() : 1;
    }
    TestPasswordVault test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_passwordvault.moc"

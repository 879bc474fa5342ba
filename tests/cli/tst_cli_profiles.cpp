#include "CliRunner.h"
#include "CliTestBase.h"
#include "MediaFixtures.h"
#include "TestEnvironment.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

// pictarium-cli: profiles, usage errors, help and version, and a database it cannot use.
class TestCliProfiles : public CliTestBase
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void addListRemoveProfiles();
    void addProfileRefused_data();
    void addProfileRefused();
    void passwordFromDescriptor();
    void usageErrors_data();
    void usageErrors();
    void profileNames_data();
    void profileNames();
    void databaseFailures_data();
    void databaseFailures();
    void helpAndVersion_data();
    void helpAndVersion();
};

void TestCliProfiles::initTestCase()
{
    initCase(false);
}

void TestCliProfiles::cleanup()
{
    cleanupServer();
}

void TestCliProfiles::addListRemoveProfiles()
{
    QVERIFY(startServer());
    TestEnvironment env;
    const QString strPort = QString::number(m_pServer->port());

    CliRun run = runCli(env, {"add-profile", "--name", "home", "--host", "127.0.0.1", "--port", strPort, "--account",
                              "ann", "--remember-password"},
                        QStringLiteral("pw"));
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QVERIFY2(run.out.contains(QLatin1String("Profile [home] added.")), qPrintable(run.describe()));
    // The login test ran against the server.
    QVERIFY(!m_pServer->journalFor(QStringLiteral("/blog/login.php")).isEmpty());

    run = runCli(env, {"add-profile", "--name", "work", "--host", "127.0.0.1", "--port", "8443", "--https",
                       "--account", "ann"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QVERIFY2(run.out.contains(QLatin1String("Profile [work] added.")), qPrintable(run.describe()));

    run = runCli(env, {"add-profile", "--name", "family", "--host", "localhost", "--port", "5000", "--account", "ann",
                       "--personal", "bob"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));

    run = runCli(env, {"profiles"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QStringList lstLines = lines(run.out);
    lstLines.sort();
    QCOMPARE(lstLines, (QStringList{"family\thttp://localhost:5000\tann",
                                    "home\thttp://127.0.0.1:" + strPort + "\tann",
                                    "work\thttps://127.0.0.1:8443\tann"}));

    run = runCli(env, {"profiles", "--json"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    const QJsonDocument document = QJsonDocument::fromJson(run.out.toUtf8());
    QVERIFY2(document.isArray(), qPrintable(run.out));
    QMap<QString, QJsonObject> mapProfiles;
    for (const QJsonValue& value : document.array())
        mapProfiles.insert(value.toObject().value("name").toString(), value.toObject());
    QCOMPARE(mapProfiles.keys(), (QStringList{"family", "home", "work"}));
    const QJsonObject home = mapProfiles.value("home");
    QCOMPARE(home.value("host").toString(), QStringLiteral("127.0.0.1"));
    QCOMPARE(home.value("port").toInt(), m_pServer->port());
    QCOMPARE(home.value("https").toBool(true), false);
    QCOMPARE(home.value("account").toString(), QStringLiteral("ann"));
    QCOMPARE(home.value("personal").toBool(true), false);
    QCOMPARE(home.value("remember_password").toBool(false), true);
    const QJsonObject work = mapProfiles.value("work");
    QCOMPARE(work.value("https").toBool(false), true);
    QCOMPARE(work.value("port").toInt(), 8443);
    QCOMPARE(work.value("remember_password").toBool(true), false);
    const QJsonObject family = mapProfiles.value("family");
    QCOMPARE(family.value("personal").toBool(false), true);
    QCOMPARE(family.value("owner").toString(), QStringLiteral("bob"));
    QCOMPARE(family.value("host").toString(), QStringLiteral("localhost"));
    for (const QJsonObject& profile : mapProfiles) {
        for (const char* pszKey : {"name", "host", "port", "https", "account", "personal", "owner", "remember_password"})
            QVERIFY2(profile.contains(QLatin1String(pszKey)), pszKey);
    }

    // The same database as the desktop program: the rows are there.
    QCOMPARE(queryDatabase(env, QStringLiteral("SELECT profname FROM ServerProfiles")).size(), 3);

    run = runCli(env, {"remove-profile", "work"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QVERIFY2(run.out.contains(QLatin1String("Profile [work] removed.")), qPrintable(run.describe()));
    run = runCli(env, {"remove-profile", "work"});
    QVERIFY2(run.exitCode == 2, qPrintable(run.describe()));
    QVERIFY2(run.err.contains(QLatin1String("No profile named [work].")), qPrintable(run.describe()));

    run = runCli(env, {"profiles"});
    lstLines = lines(run.out);
    lstLines.sort();
    QCOMPARE(lstLines, (QStringList{"family\thttp://localhost:5000\tann", "home\thttp://127.0.0.1:" + strPort + "\tann"}));
}

void TestCliProfiles::addProfileRefused_data()
{
    QTest::addColumn<QStringList>("changes"); // option, value pairs replacing the good ones
    QTest::addColumn<bool>("remember");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message");

    const QString strPort = QStringLiteral("The port number must be between 1 and 65535.");
    QTest::newRow("port 0") << QStringList{"--port", "0"} << false << QString() << strPort;
    QTest::newRow("port 65536") << QStringList{"--port", "65536"} << false << QString() << strPort;
    QTest::newRow("host not a name") << QStringList{"--host", "no such host!"} << false << QString()
                                  << QStringLiteral("Please enter a valid hostname or IP address.");
    QTest::newRow("name taken, other case") << QStringList{"--name", "HOME"} << false << QString()
                                            << QStringLiteral("Profile name [HOME] already exists.");
    QTest::newRow("account empty") << QStringList{"--account", ""} << false << QString()
                                   << QStringLiteral("Enter a Pictarium account");
    QTest::newRow("personal owner empty") << QStringList{"--personal", ""} << false << QString()
                                          << QStringLiteral("Please enter the name of a Personal Pictarium account.");
    QTest::newRow("wrong password") << QStringList{} << true << QStringLiteral("nope")
                                    << QStringLiteral("The account or password is invalid. Please try again.");
}

void TestCliProfiles::addProfileRefused()
{
    QFETCH(QStringList, changes);
    QFETCH(bool, remember);
    QFETCH(QString, password);
    QFETCH(QString, message);
    QVERIFY(startServer());
    TestEnvironment env;
    QVERIFY(addProfile(env, QStringLiteral("home"), false));

    QStringList lstArgs{"add-profile", "--name", "other", "--host", "127.0.0.1", "--port",
                        QString::number(m_pServer->port()), "--account", "ann"};
    for (int i = 0; i + 1 < changes.size(); i += 2) {
        const qsizetype iAt = lstArgs.indexOf(changes.at(i));
        if (iAt >= 0)
            lstArgs[iAt + 1] = changes.at(i + 1);
        else
            lstArgs << changes.at(i) << changes.at(i + 1);
    }
    if (remember)
        lstArgs << QStringLiteral("--remember-password");
    const CliRun run = runCli(env, lstArgs, password);
    QVERIFY2(run.finished, qPrintable(run.describe()));
    QVERIFY2(run.exitCode == 2, qPrintable(run.describe()));
    QVERIFY2(run.err.contains(message), qPrintable(run.describe()));

    // Nothing was stored.
    const CliRun list = runCli(env, {"profiles", "--json"});
    QCOMPARE(QJsonDocument::fromJson(list.out.toUtf8()).array().size(), 1);
}

void TestCliProfiles::passwordFromDescriptor()
{
    QVERIFY(startServer({QStringLiteral("2013")}));
    TestEnvironment env;
    int fds[2];
    QCOMPARE(::pipe(fds), 0);
    QCOMPARE(::write(fds[1], "pw", 2), ssize_t(2));
    ::close(fds[1]);
    ::fcntl(fds[0], F_SETFD, 0); // inherited by the child
    const CliRun run = runCli(cliEnvironment(env), {"add-profile", "--name", "fd", "--host", "127.0.0.1", "--port",
                                                     QString::number(m_pServer->port()), "--account", "ann",
                                                     "--remember-password", "--password-fd", QString::number(fds[0])});
    ::close(fds[0]);
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));

    // The remembered password logs in without any password given.
    const CliRun albums = runCli(env, {"albums", "--profile", "fd"});
    QVERIFY2(albums.exitCode == 0, qPrintable(albums.describe()));
    QCOMPARE(lines(albums.out), (QStringList{"photo", "  2013"}));
}

void TestCliProfiles::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("usage"); // the usage text is expected on stderr

    QTest::newRow("no command") << QStringList{} << true;
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << true;
    QTest::newRow("unknown option") << QStringList{"profiles", "--bogus"} << true;
    QTest::newRow("remove without name") << QStringList{"remove-profile"} << false;
    QTest::newRow("password on command line")
        << QStringList{"upload", "--profile", "home", "--password", "pw", "@FILE@"} << true;
    QTest::newRow("bad duplicates") << QStringList{"upload", "--profile", "home", "--duplicates", "maybe", "@FILE@"}
                                    << true;
    QTest::newRow("bad video quality")
        << QStringList{"upload", "--profile", "home", "--video-quality", "ultra", "@FILE@"} << true;
    QTest::newRow("unknown profile") << QStringList{"upload", "--profile", "nobody", "@FILE@"} << false;
    QTest::newRow("albums unknown profile") << QStringList{"albums", "--profile", "nobody"} << false;
}

void TestCliProfiles::usageErrors()
{
    QFETCH(QStringList, args);
    QFETCH(bool, usage);
    QVERIFY(startServer());
    TestEnvironment env;
    QVERIFY(addProfile(env, QStringLiteral("home")));
    const QString strFile = env.root() + QLatin1String("/local/a.jpg");
    QVERIFY(MediaFixtures::makeImage(strFile, 64, 48));
    args.replaceInStrings(QStringLiteral("@FILE@"), strFile);

    // With the right password in the environment, an accepted command would upload and end with 0.
    const CliRun run = runCli(env, args, QStringLiteral("pw"));
    QVERIFY2(run.finished, qPrintable(run.describe()));
    QVERIFY2(run.exitCode == 2, qPrintable(run.describe()));
    QVERIFY2(!run.err.trimmed().isEmpty(), qPrintable(run.describe()));
    if (usage)
        QVERIFY2(run.err.contains(QLatin1String("usage"), Qt::CaseInsensitive), qPrintable(run.describe()));
    QVERIFY(m_pServer->journalFor(QStringLiteral("rada_file_upload.php")).isEmpty());
}

void TestCliProfiles::profileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("line break") << QStringLiteral("ho\nme") << false;
    QTest::newRow("line break at the end") << QStringLiteral("home\n") << false;
    QTest::newRow("tab") << QStringLiteral("ho\tme") << false;
    QTest::newRow("escape sequence") << QStringLiteral("\x1b[31mhome") << false;
    QTest::newRow("C1 control") << (QStringLiteral("ho") + QChar(0x9b) + QStringLiteral("me")) << false;
    QTest::newRow("33 characters") << QString(33, QLatin1Char('n')) << false;
    QTest::newRow("32 characters") << QString(32, QLatin1Char('n')) << true;
    QTest::newRow("other scripts") << QStringLiteral("Fotos für Zoë 写真") << true;
}

void TestCliProfiles::profileNames()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    TestEnvironment env;
    const CliRun run =
        runCli(env, {"add-profile", "--name", name, "--host", "127.0.0.1", "--port", "5000", "--account", "ann"});
    const QJsonArray profiles = QJsonDocument::fromJson(runCli(env, {"profiles", "--json"}).out.toUtf8()).array();
    QVERIFY2(run.exitCode == (accepted ? 0 : 2) && !run.err.contains(s_rawControl), qPrintable(run.describe()));
    QCOMPARE(profiles.size(), accepted ? 1 : 0);
    if (accepted)
        QCOMPARE(profiles.at(0).toObject().value("name").toString(), name);
    else
        QVERIFY2(run.err.contains(QLatin1String("A profile name may not contain control characters")),
                 qPrintable(run.describe()));
}

void TestCliProfiles::databaseFailures_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QStringList>("args");
    const QStringList lstAdd{"add-profile", "--name", "work",      "--host", "127.0.0.1",
                             "--port",      "5000",   "--account", "ann"};
    const QStringList lstRemove{"remove-profile", "home"};
    const QStringList lstUpload{"upload", "--profile", "home", "@FILE@"};
    QTest::newRow("corrupt: profiles") << QStringLiteral("corrupt") << QStringList{"profiles"};
    QTest::newRow("corrupt: upload") << QStringLiteral("corrupt") << lstUpload;
    QTest::newRow("locked: profiles --json") << QStringLiteral("locked") << QStringList{"profiles", "--json"};
    QTest::newRow("no data folder: add-profile") << QStringLiteral("no folder") << lstAdd;
    QTest::newRow("unreadable table: profiles") << QStringLiteral("table") << QStringList{"profiles"};
    QTest::newRow("unreadable table: profiles --json") << QStringLiteral("table") << QStringList{"profiles", "--json"};
    QTest::newRow("unreadable table: add-profile") << QStringLiteral("table") << lstAdd;
    QTest::newRow("unreadable table: remove-profile") << QStringLiteral("table") << lstRemove;
    QTest::newRow("unreadable table: albums") << QStringLiteral("table") << QStringList{"albums", "--profile", "home"};
    QTest::newRow("unreadable table: upload") << QStringLiteral("table") << lstUpload;
    QTest::newRow("read-only: add-profile") << QStringLiteral("read-only") << lstAdd;
    QTest::newRow("read-only: remove-profile") << QStringLiteral("read-only") << lstRemove;
}

void TestCliProfiles::databaseFailures()
{
    QFETCH(QString, damage);
    QFETCH(QStringList, args);
    QVERIFY(startServer());
    TestEnvironment env;
    QVERIFY(addProfile(env, QStringLiteral("home"), false));
    const QString strFile = env.root() + QLatin1String("/local/a.jpg");
    QVERIFY(MediaFixtures::makeImage(strFile, 64, 48));
    args.replaceInStrings(QStringLiteral("@FILE@"), strFile);
    QProcessEnvironment pe = cliEnvironment(env, QStringLiteral("pw"));
    QStringList lstWrapper;
    // The test's own connection, for what the program never does: hold a lock, damage the schema.
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("tst_cli_damage"));
    db.setDatabaseName(dataFolder(env) + QLatin1String("/VOZDatabase"));
    auto exec = [&db](const char* pszSql) { return db.isOpen() && QSqlQuery(db).exec(QLatin1String(pszSql)); };
    if (damage == QLatin1String("corrupt")) {
        QVERIFY(TestFiles::writeBytes(db.databaseName(), QByteArray(8192, 'x')));
    } else if (damage == QLatin1String("no folder")) {
        QVERIFY(TestFiles::writeBytes(env.root() + QLatin1String("/file"), "a file, not a folder"));
        pe.insert(QStringLiteral("XDG_DATA_HOME"), env.root() + QLatin1String("/file"));
    } else if (damage == QLatin1String("read-only")) {
        lstWrapper = readOnlyWrapper(dataFolder(env));
        if (lstWrapper.isEmpty())
            QSKIP("A read-only bind mount (unshare -m) cannot be made here.");
    } else {
        QVERIFY(db.open());
        if (damage == QLatin1String("locked")) // held past the program's wait for a busy database
            QVERIFY(exec("BEGIN EXCLUSIVE"));
        else // the table is there, but every read of it fails
            QVERIFY(exec("DROP TABLE ServerProfiles") && exec("PRAGMA writable_schema = ON") &&
                    exec("INSERT INTO sqlite_master (type, name, tbl_name, rootpage, sql) VALUES ('table', "
                         "'ServerProfiles', 'ServerProfiles', 0, 'CREATE VIRTUAL TABLE ServerProfiles USING gone()')"));
    }
    const CliRun run = runCli(pe, args, lstWrapper);
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("tst_cli_damage"));

    // The reason, and nothing on stdout: no "added", no "removed", no empty list.
    QVERIFY2(run.exitCode == 2 && run.err.contains(QLatin1String("Database error (")) && run.out.isEmpty(),
             qPrintable(run.describe()));
    QVERIFY2(!run.err.contains(QLatin1String("No profile named")), qPrintable(run.describe()));
    if (damage == QLatin1String("read-only"))
        QVERIFY2(run.err.contains(QLatin1String(" was not ")), qPrintable(run.describe()));
    QVERIFY2(m_pServer->journal().isEmpty(), "the server was asked");
}

void TestCliProfiles::helpAndVersion_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("mentions"); // texts the output holds, separated by blanks
    QTest::addColumn<QString>("absent");
    const QString strUpload =
        QStringLiteral("--profile --album --duplicates --all-files --no-skip-uploaded "
                       "--no-date-rename --flatten --video-quality --dry-run --json --password-fd");
    const QString strAdd = QStringLiteral("--name --host --port --https --account --personal --remember-password");
    const QString strAll = QStringLiteral("profiles add-profile remove-profile albums upload --help --version ") +
                           strAdd + QLatin1Char(' ') + strUpload;
    QTest::newRow("--help") << QStringList{"--help"} << strAll << QString();
    QTest::newRow("-h") << QStringList{"-h"} << strAll << QString();
    QTest::newRow("--version") << QStringList{"--version"} << QStringLiteral("pictarium-cli " PICTARIUM_VERSION)
                               << QStringLiteral("--");
    QTest::newRow("profiles --help") << QStringList{"profiles", "--help"} << QStringLiteral("--json")
                                     << QStringLiteral("--album --name");
    QTest::newRow("add-profile -h") << QStringList{"add-profile", "-h"} << strAdd + QLatin1String(" --password-fd")
                                    << QStringLiteral("--album --json");
    QTest::newRow("remove-profile --help")
        << QStringList{"remove-profile", "--help"} << QStringLiteral("NAME") << QStringLiteral("--profile --json");
    QTest::newRow("albums --help") << QStringList{"albums", "--help"} << QStringLiteral("--profile --password-fd")
                                   << QStringLiteral("--album --json");
    QTest::newRow("upload --help") << QStringList{"upload", "--help"} << strUpload + QLatin1String(" PATH... not asked")
                                   << QStringLiteral("--name --host");
}

void TestCliProfiles::helpAndVersion()
{
    QFETCH(QStringList, args);
    QFETCH(QString, mentions);
    QFETCH(QString, absent);
    TestEnvironment env;
    const CliRun run = runCli(env, args);
    QVERIFY2(run.exitCode == 0 && run.err.isEmpty(), qPrintable(run.describe()));
    for (const QString& strText : mentions.split(QLatin1Char(' ')))
        QVERIFY2(run.out.contains(strText), qPrintable(strText + QLatin1String(" not in:\n") + run.out));
    for (const QString& strText : absent.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        QVERIFY2(!run.out.contains(strText), qPrintable(strText + QLatin1String(" in:\n") + run.out));
    // Help needs no database: the data folder was not even made.
    QVERIFY(!QFileInfo::exists(dataFolder(env)));
}

QTEST_GUILESS_MAIN(TestCliProfiles)
#include "tst_cli_profiles.moc"

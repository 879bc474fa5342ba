#include "CliRunner.h"
#include "MediaFixtures.h"
#include "RefServerProcess.h"
#include "TestEnvironment.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <signal.h>
#include <unistd.h>

namespace {

// C0 controls but the line break, DEL and C1 controls: none may reach the terminal.
const QRegularExpression s_rawControl(QStringLiteral("[\\x{0}-\\x{9}\\x{b}-\\x{1f}\\x{7f}-\\x{9f}]"));

} // namespace

// The terminal front end, run as a program with a private data folder against the reference server.
class TestCli : public QObject
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
    void albumTree();
    void wrongPassword_data();
    void wrongPassword();
    void uploadFolderTreeThenAgain();
    void allFilesFlattenNoDateRename();
    void videoQualityList();
    void refusedByServer_data();
    void refusedByServer();
    void interruptCancels();
    void albumChecked_data();
    void albumChecked();
    void profileNames_data();
    void profileNames();
    void controlCharactersEscaped();
    void databaseFailures_data();
    void databaseFailures();
    void helpAndVersion_data();
    void helpAndVersion();
    void dryRunPlan();
    void certificates();

private:
    // A fresh reference server with ann/pw (album "secret" forbidden) and the given albums.
    bool startServer(const QStringList& lstAlbums = {}, const QStringList& lstArgs = {});
    // add-profile NAME for the running server, password remembered; true on exit 0.
    bool addProfile(const TestEnvironment& env, const QString& strName, bool blRemember = true);

    std::unique_ptr<QTemporaryDir> m_pServerDir;
    std::unique_ptr<RefServerProcess> m_pServer;
    QString m_strVideo; // made once, copied where needed
    QTemporaryDir m_mediaDir;
};

void TestCli::initTestCase()
{
    QVERIFY2(!cliProgram().isEmpty(), "pictarium-cli is not part of the build");
    QVERIFY2(QFileInfo(cliProgram()).isExecutable(), qPrintable(cliProgram()));
    QVERIFY(m_mediaDir.isValid());
    m_strVideo = m_mediaDir.path() + QLatin1String("/clip.mp4");
    QVERIFY(makeVideo(m_strVideo));
}

void TestCli::cleanup()
{
    m_pServer.reset();
    m_pServerDir.reset();
}

bool TestCli::startServer(const QStringList& lstAlbums, const QStringList& lstArgs)
{
    m_pServer.reset();
    m_pServerDir = std::make_unique<QTemporaryDir>();
    const QString strRoot = m_pServerDir->path() + QLatin1String("/server");
    for (const QString& strAlbum : lstAlbums)
        QDir().mkpath(strRoot + QLatin1String("/photo/") + strAlbum);
    m_pServer = std::make_unique<RefServerProcess>(strRoot);
    m_pServer->setAccounts(QJsonObject{
        {"accounts", QJsonArray{QJsonObject{{"name", "ann"}, {"password", "pw"}, {"forbidden_albums", QJsonArray{"secret"}}}}}});
    return m_pServer->start(lstArgs);
}

bool TestCli::addProfile(const TestEnvironment& env, const QString& strName, bool blRemember)
{
    QStringList lstArgs{"add-profile", "--name", strName, "--host", m_pServer->host(), "--port",
                        QString::number(m_pServer->port()), "--account", "ann"};
    if (blRemember)
        lstArgs << QStringLiteral("--remember-password");
    const CliRun run = runCli(env, lstArgs, blRemember ? QStringLiteral("pw") : QString());
    if (run.exitCode != 0)
        qWarning("add-profile %s: %s", qPrintable(strName), qPrintable(run.describe()));
    return run.finished && run.exitCode == 0;
}

void TestCli::addListRemoveProfiles()
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

void TestCli::addProfileRefused_data()
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

void TestCli::addProfileRefused()
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

void TestCli::passwordFromDescriptor()
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

void TestCli::usageErrors_data()
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

void TestCli::usageErrors()
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

void TestCli::albumTree()
{
    QVERIFY(startServer({"2013/summer/beach", "2013/winter", "family", "secret/inner"}));
    TestEnvironment env;
    QVERIFY(addProfile(env, QStringLiteral("home")));
    const CliRun run = runCli(env, {"albums", "--profile", "home"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    // Depth first, names sorted; the forbidden album and its subtree are not offered.
    QCOMPARE(lines(run.out), (QStringList{"photo", "  2013", "    summer", "      beach", "    winter", "  family"}));
}

void TestCli::wrongPassword_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("upload") << QStringList{"upload", "--profile", "nopw", "--json", "@FILE@"};
    QTest::newRow("albums") << QStringList{"albums", "--profile", "nopw"};
}

void TestCli::wrongPassword()
{
    QFETCH(QStringList, args);
    QVERIFY(startServer());
    TestEnvironment env;
    QVERIFY(addProfile(env, QStringLiteral("nopw"), false));
    const QString strFile = env.root() + QLatin1String("/local/a.jpg");
    QVERIFY(MediaFixtures::makeImage(strFile, 64, 48));
    args.replaceInStrings(QStringLiteral("@FILE@"), strFile);

    const CliRun run = runCli(env, args, QStringLiteral("wrong"));
    QVERIFY2(run.finished, qPrintable(run.describe()));
    QVERIFY2(run.exitCode == 2, qPrintable(run.describe()));
    QVERIFY2(run.err.contains(QLatin1String("The account or password is invalid. Please try again.")),
             qPrintable(run.describe()));
    QVERIFY(!m_pServer->journalFor(QStringLiteral("/blog/login.php")).isEmpty());
    QVERIFY(m_pServer->journalFor(QStringLiteral("rada_file_upload.php")).isEmpty());
}

void TestCli::uploadFolderTreeThenAgain()
{
    QVERIFY(startServer({QStringLiteral("2013")}));
    TestEnvironment env;
    QVERIFY(addProfile(env, QStringLiteral("home")));

    const QString strTrip = env.root() + QLatin1String("/local/trip");
    QVERIFY(MediaFixtures::makeJpeg(strTrip + QLatin1String("/IMG_0001.JPG"), 800, 600, QStringLiteral("2010:05:01 14:03:07")));
    QVERIFY(MediaFixtures::makeDng(strTrip + QLatin1String("/raw/shot.dng"), 2000, 1400, 1616, 1080));
    const QString strVideo = strTrip + QLatin1String("/clip.mp4");
    QVERIFY(QFile::copy(m_strVideo, strVideo));
    QVERIFY(TestFiles::setModified(strVideo, QDateTime(QDate(2011, 6, 2), QTime(10, 20, 30))));
    QVERIFY(TestFiles::writeBytes(strTrip + QLatin1String("/notes.txt"), "not a picture"));

    const QStringList lstUpload{"upload", "--profile", "home", "--album", "/photo", "--duplicates", "skip", strTrip};
    CliRun run = runCli(env, lstUpload + QStringList{"--json"});
    QVERIFY2(run.finished, qPrintable(run.describe()));
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    // With --json, progress lines go to stderr: stdout holds the report alone.
    QVERIFY2(!lines(run.err).filter(QRegularExpression(QStringLiteral("^progress \\d+%"))).isEmpty(),
             qPrintable(run.describe()));
    QVERIFY2(lines(run.out).size() == 1, qPrintable(run.describe()));
    QJsonObject report = run.json();
    QVERIFY2(!report.isEmpty(), qPrintable(run.describe()));
    QStringList lstUploaded = toStrings(report.value("uploaded"));
    for (const auto& names : {QStringList{"IMG_0001.JPG", "IMG_20100501_140307.JPG"}, QStringList{"shot.dng"},
                              QStringList{"clip.mp4", "IMG_20110602_102030.mp4"}})
        QVERIFY2(listNames(lstUploaded, names.at(0)) || listNames(lstUploaded, names.value(1, names.at(0))),
                 qPrintable(names.join(QLatin1Char('|')) + QLatin1String(" not in ") + run.out));
    QVERIFY2(!listNames(lstUploaded, QStringLiteral("notes.txt")), qPrintable(run.out));
    QCOMPARE(report.value("succeeded").toInt(-1), int(lstUploaded.size()));
    QCOMPARE(report.value("failed_count").toInt(-1), 0);
    QCOMPARE(report.value("failed").toArray().size(), 0);
    QCOMPARE(report.value("refused").toArray().size(), 0);
    QCOMPARE(report.value("skipped").toArray().size(), 0);
    QCOMPARE(report.value("cancelled").toBool(true), false);

    // The server holds the sources in the folder tree, renamed by capture time, and their renditions.
    const QString strAlbum = m_pServer->root() + QLatin1String("/photo/trip");
    QCOMPARE(filesBelow(strAlbum, false),
             (QStringList{"IMG_20100501_140307.JPG", "IMG_20110602_102030.mp4", "raw/shot.dng"}));
    const QStringList lstThumbs{"THUM_B.jpg", "THUM_L.jpg", "THUM_M.jpg", "THUM_S.jpg", "THUM_XL.jpg"};
    QCOMPARE(entriesOf(strAlbum + QLatin1String("/.renditions/IMG_20100501_140307.JPG")), lstThumbs);
    QCOMPARE(entriesOf(strAlbum + QLatin1String("/raw/.renditions/shot.dng")), lstThumbs);
    QCOMPARE(entriesOf(strAlbum + QLatin1String("/.renditions/IMG_20110602_102030.mp4")),
             QStringList{QStringLiteral("MP4_MEDIUM.mp4")} + lstThumbs);
    QCOMPARE(TestFiles::readBytes(strAlbum + QLatin1String("/raw/shot.dng")),
             TestFiles::readBytes(strTrip + QLatin1String("/raw/shot.dng")));

    // The options of the run are stored with the profile and its counter went up.
    const QList<QVariantList> lstRows = queryDatabase(
        env, QStringLiteral("SELECT serverdst, duphandler, counter FROM ServerProfiles WHERE profname = 'home'"));
    QCOMPARE(lstRows.size(), 1);
    QCOMPARE(lstRows.at(0).at(0).toString(), QStringLiteral("/photo"));
    QCOMPARE(lstRows.at(0).at(1).toString(), QStringLiteral("SKIP"));
    QCOMPARE(lstRows.at(0).at(2).toInt(), 1);

    // Again: everything was uploaded before; no file is sent.
    const int iUploads = int(m_pServer->journalFor(QStringLiteral("rada_file_upload.php")).size());
    run = runCli(env, lstUpload + QStringList{"--json"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    report = run.json();
    QVERIFY2(!report.isEmpty(), qPrintable(run.describe()));
    QCOMPARE(report.value("uploaded").toArray().size(), 0);
    const QStringList lstSkipped = toStrings(report.value("skipped"));
    for (const char* pszName : {"IMG_0001.JPG", "shot.dng", "clip.mp4"})
        QVERIFY2(listNames(lstSkipped, QLatin1String(pszName)), qPrintable(pszName + (QLatin1String(" not in ") + run.out)));
    QCOMPARE(report.value("failed_count").toInt(-1), 0);
    QCOMPARE(int(m_pServer->journalFor(QStringLiteral("rada_file_upload.php")).size()), iUploads);

    // The same as a plain report.
    run = runCli(env, lstUpload);
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    const QStringList lstLines = lines(run.out);
    QVERIFY2(lstLines.contains(QLatin1String("Uploaded: 0")), qPrintable(run.describe()));
    QVERIFY2(lstLines.contains(QLatin1String("Refused by the server: 0")), qPrintable(run.describe()));
    QVERIFY2(lstLines.contains(QLatin1String("Failed: 0")), qPrintable(run.describe()));
    const QStringList lstSkipLine = lstLines.filter(QRegularExpression(QStringLiteral("^Skipped \\(already uploaded\\): \\d+$")));
    QVERIFY2(lstSkipLine.size() == 1, qPrintable(run.describe()));
    QCOMPARE(lstSkipLine.at(0).section(QLatin1Char(' '), -1).toInt(), int(lstSkipped.size()));
    QCOMPARE(int(m_pServer->journalFor(QStringLiteral("rada_file_upload.php")).size()), iUploads);
}

void TestCli::allFilesFlattenNoDateRename()
{
    QVERIFY(startServer({QStringLiteral("family")}));
    TestEnvironment env;
    QVERIFY(addProfile(env, QStringLiteral("home")));
    const QString strMisc = env.root() + QLatin1String("/local/misc");
    QVERIFY(MediaFixtures::makeJpeg(strMisc + QLatin1String("/sub/pic.jpg"), 160, 120, QStringLiteral("2012:01:02 03:04:05")));
    QVERIFY(TestFiles::writeBytes(strMisc + QLatin1String("/notes.txt"), "words"));

    const CliRun run = runCli(env, {"upload", "--profile", "home", "--album", "/photo/family", "--all-files",
                                    "--flatten", "--no-date-rename", "--json", strMisc});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    const QJsonObject report = run.json();
    QVERIFY2(listNames(toStrings(report.value("uploaded")), QStringLiteral("notes.txt")), qPrintable(run.out));
    QCOMPARE(filesBelow(m_pServer->root() + QLatin1String("/photo/family"), false),
             (QStringList{"notes.txt", "pic.jpg"}));
    QVERIFY(!QFileInfo::exists(m_pServer->root() + QLatin1String("/photo/family/misc")));
}

void TestCli::videoQualityList()
{
    QVERIFY(startServer({QStringLiteral("2013")}));
    TestEnvironment env;
    QVERIFY(addProfile(env, QStringLiteral("home")));
    const QString strVideo = env.root() + QLatin1String("/local/movie.mp4");
    QDir().mkpath(QFileInfo(strVideo).absolutePath());
    QVERIFY(QFile::copy(m_strVideo, strVideo));

    const CliRun run = runCli(env, {"upload", "--profile", "home", "--album", "/photo/2013", "--no-date-rename",
                                    "--video-quality", "low,mobile", "--json", strVideo});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QCOMPARE(entriesOf(m_pServer->root() + QLatin1String("/photo/2013/.renditions/movie.mp4")),
             (QStringList{"MP4_LOW.mp4", "MP4_MOBILE.mp4", "THUM_B.jpg", "THUM_L.jpg", "THUM_M.jpg", "THUM_S.jpg",
                          "THUM_XL.jpg"}));
}

void TestCli::refusedByServer_data()
{
    QTest::addColumn<bool>("json");
    QTest::newRow("plain") << false;
    QTest::newRow("json") << true;
}

void TestCli::refusedByServer()
{
    QFETCH(bool, json);
    QVERIFY(startServer({QStringLiteral("secret")}));
    TestEnvironment env;
    QVERIFY(addProfile(env, QStringLiteral("home")));
    const QString strFile = env.root() + QLatin1String("/local/a.jpg");
    QVERIFY(MediaFixtures::makeImage(strFile, 64, 48));

    QStringList lstArgs{"upload", "--profile", "home", "--album", "/photo/secret", strFile};
    if (json)
        lstArgs << QStringLiteral("--json");
    const CliRun run = runCli(env, lstArgs);
    QVERIFY2(run.finished, qPrintable(run.describe()));
    QVERIFY2(run.exitCode == 1, qPrintable(run.describe()));
    if (json) {
        const QJsonObject report = run.json();
        const QStringList lstRefused = toStrings(report.value("refused"));
        QVERIFY2(lstRefused.size() == 1 && namesFile(lstRefused.at(0), QStringLiteral("a.jpg")), qPrintable(run.out));
        QCOMPARE(report.value("uploaded").toArray().size(), 0);
        QCOMPARE(report.value("cancelled").toBool(true), false);
    } else {
        const QStringList lstLines = lines(run.out);
        const qsizetype iAt = lstLines.indexOf(QLatin1String("Refused by the server: 1"));
        QVERIFY2(iAt >= 0 && iAt + 1 < lstLines.size(), qPrintable(run.describe()));
        QVERIFY2(lstLines.at(iAt + 1).startsWith(QLatin1String("  ")) &&
                     namesFile(lstLines.at(iAt + 1).trimmed(), QStringLiteral("a.jpg")),
                 qPrintable(run.describe()));
        QVERIFY2(lstLines.contains(QLatin1String("Uploaded: 0")), qPrintable(run.describe()));
    }
    QVERIFY(!QFileInfo::exists(m_pServer->root() + QLatin1String("/photo/secret/a.jpg")));
    QVERIFY(m_pServer->journalFor(QStringLiteral("rada_file_upload.php")).isEmpty());
}

void TestCli::interruptCancels()
{
    QVERIFY(startServer({QStringLiteral("2013")}, {QStringLiteral("--delay-ms"), QStringLiteral("1500")}));
    TestEnvironment env;
    QVERIFY(addProfile(env, QStringLiteral("home")));
    QStringList lstFiles;
    for (const char* pszName : {"a.jpg", "b.jpg", "c.jpg"}) {
        lstFiles.append(env.root() + QLatin1String("/local/") + QLatin1String(pszName));
        QVERIFY(MediaFixtures::makeImage(lstFiles.last(), 64, 48));
    }
    const QStringList lstArgs =
        QStringList{"upload", "--profile", "home", "--album", "/photo/2013", "--no-date-rename", "--json"} + lstFiles;

    QProcess process;
    process.setProcessEnvironment(cliEnvironment(env));
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(cliProgram(), lstArgs);
    QVERIFY(process.waitForStarted(10000));
    // With --json the progress lines come on stderr.
    process.setReadChannel(QProcess::StandardError);
    QByteArray baErr;
    bool blProgress = false;
    QDeadlineTimer guard(60000);
    while (!blProgress && process.state() == QProcess::Running && !guard.hasExpired()) {
        process.waitForReadyRead(200);
        baErr += process.readAllStandardError();
        for (const QByteArray& baLine : baErr.split('\n'))
            blProgress = blProgress || baLine.startsWith("progress ");
    }
    QVERIFY2(blProgress, baErr.constData());
    QCOMPARE(::kill(pid_t(process.processId()), SIGINT), 0);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        QFAIL("pictarium-cli did not end after SIGINT");
    }
    CliRun run;
    run.finished = true;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(baErr + process.readAllStandardError());
    QVERIFY2(run.exitCode == 1, qPrintable(run.describe()));
    const QJsonObject report = run.json();
    QVERIFY2(!report.isEmpty(), qPrintable(run.describe()));
    QCOMPARE(report.value("cancelled").toBool(false), true);

    // What was uploaded is a leading part of the list; the file in flight and those after it are not.
    const QStringList lstUploaded = toStrings(report.value("uploaded"));
    QStringList lstDone;
    QStringList lstLeft;
    for (const QString& strFile : std::as_const(lstFiles)) {
        const QString strName = QFileInfo(strFile).fileName();
        (listNames(lstUploaded, strName) ? lstDone : lstLeft).append(strName);
    }
    QVERIFY2(!lstLeft.isEmpty(), qPrintable(run.describe()));
    QCOMPARE(lstDone, (QStringList{"a.jpg", "b.jpg", "c.jpg"}.mid(0, lstDone.size())));
    // Only the files the server accepted are in the history.
    QStringList lstHistory = historyNames(env, QStringLiteral("home"));
    lstHistory.sort();
    QCOMPARE(lstHistory, lstDone);
    for (const QString& strName : std::as_const(lstLeft))
        QVERIFY2(!QFileInfo::exists(m_pServer->root() + QLatin1String("/photo/2013/") + strName), qPrintable(strName));

    // A later run (the server without the delay) sends the rest and skips what was done.
    QVERIFY(m_pServer->start());
    queryDatabase(env, QStringLiteral("UPDATE ServerProfiles SET port = ? WHERE profname = 'home'"), {m_pServer->port()});
    QCOMPARE(queryDatabase(env, QStringLiteral("SELECT port FROM ServerProfiles WHERE profname = 'home'")).value(0).value(0).toInt(),
             m_pServer->port());
    const CliRun again = runCli(env, lstArgs);
    QVERIFY2(again.exitCode == 0, qPrintable(again.describe()));
    const QJsonObject second = again.json();
    for (const QString& strName : std::as_const(lstLeft))
        QVERIFY2(listNames(toStrings(second.value("uploaded")), strName), qPrintable(again.out));
    for (const QString& strName : std::as_const(lstDone))
        QVERIFY2(listNames(toStrings(second.value("skipped")), strName), qPrintable(again.out));
    QCOMPARE(second.value("cancelled").toBool(true), false);
    for (const QString& strFile : std::as_const(lstFiles))
        QVERIFY(QFileInfo::exists(m_pServer->root() + QLatin1String("/photo/2013/") + QFileInfo(strFile).fileName()));
}

void TestCli::albumChecked_data()
{
    QTest::addColumn<QString>("album");
    QTest::addColumn<bool>("stored");     // the profile's stored album, no --album
    QTest::addColumn<QString>("landsIn"); // empty: refused
    for (const char* pszAlbum : {"/photo/../escape", "/photo/2013/../../x", "/photo/..", "/photo/./x", "/other"})
        QTest::newRow(pszAlbum) << QString::fromLatin1(pszAlbum) << false << QString();
    QTest::newRow("stored /photo/../escape") << QStringLiteral("/photo/../escape") << true << QString();
    QTest::newRow("blanks trimmed") << QStringLiteral("/photo/2013 ") << false << QStringLiteral("/photo/2013");
    QTest::newRow("stored, blanks trimmed")
        << QStringLiteral(" /photo/ 2013 /") << true << QStringLiteral("/photo/2013");
}

void TestCli::albumChecked()
{
    QFETCH(QString, album);
    QFETCH(bool, stored);
    QFETCH(QString, landsIn);
    QVERIFY(startServer({QStringLiteral("2013")}));
    TestEnvironment env;
    QVERIFY(addProfile(env, QStringLiteral("home"), false)); // no login test: the journal starts empty
    const QString strFile = env.root() + QLatin1String("/local/a.jpg");
    QVERIFY(MediaFixtures::makeImage(strFile, 64, 48));
    QStringList lstArgs{"upload", "--profile", "home", "--no-date-rename", strFile};
    if (stored)
        queryDatabase(env, QStringLiteral("UPDATE ServerProfiles SET serverdst = ?"), {album});
    else
        lstArgs << QStringLiteral("--album") << album;

    const CliRun run = runCli(env, lstArgs, QStringLiteral("pw"));
    if (landsIn.isEmpty()) {
        QVERIFY2(run.exitCode == 2 && run.err.contains(QLatin1String("The destination folder ") + album +
                                                       QLatin1String(" cannot be used")),
                 qPrintable(run.describe()));
        QVERIFY2(m_pServer->journal().isEmpty(), "the server was asked");
        return;
    }
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QVERIFY(QFileInfo::exists(m_pServer->root() + landsIn + QLatin1String("/a.jpg")));
    // The plain form is what the profile keeps.
    QCOMPARE(queryDatabase(env, QStringLiteral("SELECT serverdst FROM ServerProfiles")).value(0).value(0).toString(),
             landsIn);
}

void TestCli::profileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("line break") << QStringLiteral("ho\nme") << false;
    QTest::newRow("line break at the end") << QStringLiteral("home\n") << false;
    QTest::newRow("tab") << QStringLiteral("ho\tme") << false;
    QTest::newRow("escape sequence") << QStringLiteral("\x1b[31mhome") << false;
    QTest::newRow("C1 control") << (QStringLiteral("ho") + QChar(0x9b) + QStringLiteral("me")) << false;
    QTest::newRow("101 characters") << QString(101, QLatin1Char('n')) << false;
    QTest::newRow("100 characters") << QString(100, QLatin1Char('n')) << true;
    QTest::newRow("other scripts") << QStringLiteral("Fotos für Zoë 写真") << true;
}

void TestCli::profileNames()
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

void TestCli::controlCharactersEscaped()
{
    QVERIFY(startServer({QStringLiteral("2013")}));
    TestEnvironment env;
    QVERIFY(addProfile(env, QStringLiteral("home")));
    // One file to send (so that the progress lines name it) and one left out.
    const QString strDir = env.root() + QLatin1String("/local");
    const QString strSent =
        QStringLiteral("\x1b[31mred") + QChar(0x9b) + QStringLiteral("2J") + QChar(0x7f) + QStringLiteral(".jpg");
    const QString strHidden = QStringLiteral(".\x1b]0;title\x07.jpg");
    for (const QString& strName : {strSent, strHidden}) {
        QVERIFY(MediaFixtures::makeImage(strDir + QLatin1String("/plain.jpg"), 64, 48));
        QVERIFY(QFile::rename(strDir + QLatin1String("/plain.jpg"), strDir + QLatin1Char('/') + strName));
    }
    const QRegularExpression progress(QStringLiteral("^progress .*\\\\x1b\\[31mred\\\\x9b2J\\\\x7f\\.jpg"),
                                      QRegularExpression::MultilineOption);
    const QStringList lstArgs{"upload",           "--profile", "home",         "--album",   "/photo/2013",
                              "--no-date-rename", "--flatten", "--duplicates", "overwrite", strDir};

    // --json: stdout is one line of plain JSON holding the real names; progress goes to stderr.
    CliRun run = runCli(env, lstArgs + QStringList{"--json"});
    QVERIFY2(run.exitCode == 0 && run.out.count(QLatin1Char('\n')) == 1 && run.out.endsWith(QLatin1Char('\n')),
             qPrintable(run.describe()));
    QJsonParseError error;
    const QJsonObject report = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QVERIFY2(listNames(toStrings(report.value("uploaded")), strSent), qPrintable(run.out));
    QVERIFY2(report.value("left_out").toArray().at(0).toObject().value("path").toString().endsWith(strHidden),
             qPrintable(run.out));
    QVERIFY2(run.out.contains(QLatin1String("\\u001b[31mred\\u009b2J\\u007f.jpg")) && run.err.contains(progress),
             qPrintable(run.describe()));
    QVERIFY2(!run.out.contains(s_rawControl) && !run.err.contains(s_rawControl), qPrintable(run.describe()));
    QVERIFY(QFileInfo::exists(m_pServer->root() + QLatin1String("/photo/2013/") + strSent));

    // Text: the progress lines and the report show the names escaped.
    run = runCli(env, lstArgs + QStringList{"--no-skip-uploaded"});
    QVERIFY2(run.exitCode == 0 && run.out.contains(progress), qPrintable(run.describe()));
    QVERIFY2(run.out.contains(QLatin1String("/.\\x1b]0;title\\x07.jpg: Left out: hidden file or folder\n")),
             qPrintable(run.describe()));
    QVERIFY2(!run.out.contains(s_rawControl) && !run.err.contains(s_rawControl), qPrintable(run.describe()));
}

void TestCli::databaseFailures_data()
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

void TestCli::databaseFailures()
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

void TestCli::helpAndVersion_data()
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

void TestCli::helpAndVersion()
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

void TestCli::dryRunPlan()
{
    QVERIFY(startServer({QStringLiteral("2013")}));
    TestEnvironment env;
    QVERIFY(addProfile(env, QStringLiteral("home")));
    const QString strTrip = env.root() + QLatin1String("/local/trip");
    for (const char* pszName : {"a.jpg", "b.jpg"}) // taken in the same second
        QVERIFY(MediaFixtures::makeJpeg(strTrip + '/' + pszName, 160, 120, QStringLiteral("2012:03:04 05:06:07")));
    QVERIFY(MediaFixtures::makeJpeg(strTrip + "/c.jpg", 160, 120, QStringLiteral("2011:01:01 00:00:00")));
    QVERIFY(MediaFixtures::makeImage(strTrip + "/.hidden.jpg", 64, 48));
    const CliRun first = runCli(env, {"upload", "--profile", "home", "--album", "/photo/2013", strTrip + "/c.jpg"});
    QVERIFY2(first.exitCode == 0, qPrintable(first.describe()));
    const qsizetype iRequests = m_pServer->journal().size();
    const QString strState =
        QStringLiteral("SELECT serverdst, counter, (SELECT count(*) FROM PhotoRecords) FROM ServerProfiles");
    const QList<QVariantList> lstState = queryDatabase(env, strState);

    const QString strTo = QStringLiteral(" -> /photo/2013/plans/trip");
    const QStringList lstPlan{strTrip + strTo, strTrip + "/a.jpg" + strTo + "/IMG_20120304_050607.jpg",
                              strTrip + "/b.jpg" + strTo + "/IMG_20120304_050607_1.jpg"};
    const QStringList lstArgs{"upload", "--profile", "home", "--album", "/photo/2013/plans", "--dry-run", strTrip};
    CliRun run = runCli(env, lstArgs);
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QCOMPARE(
        lines(run.out).mid(1),
        (QStringList{"Album: /photo/2013/plans", "To send: 3", "  " + lstPlan.at(0) + " (album)", "  " + lstPlan.at(1),
                     "  " + lstPlan.at(2), "Skipped (already uploaded): 1", "  " + strTrip + "/c.jpg", "Left out: 1",
                     "  " + strTrip + "/.hidden.jpg: Left out: hidden file or folder"}));

    run = runCli(env, lstArgs + QStringList{"--json"});
    const QJsonObject plan = run.json();
    QVERIFY2(run.exitCode == 0 && lines(run.out).size() == 1 && plan.value("dry_run").toBool(),
             qPrintable(run.describe()));
    QStringList lstSend;
    for (const QJsonValue& job : plan.value("send").toArray())
        lstSend << job["path"].toString() + " -> " + job["album"].toString() + '/' + job["name"].toString() +
                       (job["kind"] == QLatin1String("folder") ? "" : " file");
    QCOMPARE(lstSend, (QStringList{lstPlan.at(0), lstPlan.at(1) + " file", lstPlan.at(2) + " file"}));
    QCOMPARE(toStrings(plan.value("skipped")), QStringList{strTrip + "/c.jpg"});
    QCOMPARE(plan.value("left_out")[0]["reason"].toString(), QStringLiteral("Left out: hidden file or folder"));

    // Neither run asked the server or wrote anything: album, run counter and history as before.
    QCOMPARE(m_pServer->journal().size(), iRequests);
    QCOMPARE(queryDatabase(env, strState), lstState);
}

// HTTPS: the fingerprint given ahead is the only one accepted; another certificate stops every
// command before a byte of HTTP is sent (exit 2, both fingerprints); trust shows and pins it.
void TestCli::certificates()
{
    const QString strDir = m_mediaDir.path();
    QVERIFY(RefServerProcess::makeCertificate(strDir, QStringLiteral("a")));
    QVERIFY(RefServerProcess::makeCertificate(strDir, QStringLiteral("b")));
    const QByteArray baKeyA = RefServerProcess::publicKeySha256(strDir + QLatin1String("/a.pem"));
    const QByteArray baKeyB = RefServerProcess::publicKeySha256(strDir + QLatin1String("/b.pem"));
    QVERIFY(baKeyA.size() == 32 && baKeyB.size() == 32);
    const QString strA = QString::fromLatin1(baKeyA.toHex(':').toUpper());
    const QString strB = QString::fromLatin1(baKeyB.toHex(':').toUpper());
    const auto certificate = [&](const char* pszName) {
        return QStringList{QStringLiteral("--cert"), strDir + QLatin1Char('/') + QLatin1String(pszName) + ".pem",
                           QStringLiteral("--key"), strDir + QLatin1Char('/') + QLatin1String(pszName) + ".key"};
    };
    QVERIFY(startServer({QStringLiteral("family")}, certificate("a")));
    m_pServer->setPort(m_pServer->port());
    const QString strPort = QString::number(m_pServer->port());
    TestEnvironment env;
    const auto addHttps = [&](const QString& strName, const QStringList& lstMore) {
        return runCli(env,
                      QStringList{"add-profile", "--name", strName, "--host", "127.0.0.1", "--port", strPort,
                                  "--account", "ann", "--remember-password"} +
                          lstMore,
                      QStringLiteral("pw"));
    };
    const auto pinned = [&]() {
        const QList<QVariantList> rows = queryDatabase(
            env, QStringLiteral("select keysha256 from ServerCertificates where hostaddr = ? and port = ?"),
            {QStringLiteral("127.0.0.1"), m_pServer->port()});
        return rows.size() == 1 ? QByteArray::fromHex(rows.constFirst().value(0).toByteArray()) : QByteArray();
    };
    const auto requests = [&]() { return m_pServer->journal().size(); };

    CliRun run = addHttps(QStringLiteral("x"), {"--fingerprint", strA});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(QLatin1String("--https")), qPrintable(run.describe()));
    run = addHttps(QStringLiteral("x"), {"--https", "--fingerprint", strA.left(90)});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(QLatin1String("64 hexadecimal digits")), qPrintable(run.describe()));

    // The wrong key given ahead: the login test is refused and the profile not added.
    run = addHttps(QStringLiteral("wrong"), {"--https", "--fingerprint", strB});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.indexOf(strB) >= 0 && run.err.indexOf(strB) < run.err.indexOf(strA), qPrintable(run.describe()));
    QVERIFY2(run.err.contains(QLatin1String("127.0.0.1:") + strPort), qPrintable(run.describe()));
    QCOMPARE(requests(), 0);
    QVERIFY(!runCli(env, {"profiles"}).out.contains(QLatin1String("wrong")));

    // The right key, typed in lower case without colons.
    run = addHttps(QStringLiteral("home"), {"--https", "--fingerprint", QString::fromLatin1(baKeyA.toHex())});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QCOMPARE(requests(), 1);
    QCOMPARE(pinned(), baKeyA);

    // The server now shows certificate b: nothing is sent, the way out is named.
    QVERIFY(m_pServer->start(certificate("b")));
    const QString strPhoto = env.root() + QLatin1String("/local/pic.jpg");
    QVERIFY(MediaFixtures::makeJpeg(strPhoto, 160, 120, QStringLiteral("2012:01:02 03:04:05")));
    run = runCli(env, {"upload", "--profile", "home", "--album", "/photo/family", "--no-date-rename", strPhoto});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.indexOf(strA) >= 0 && run.err.indexOf(strA) < run.err.indexOf(strB), qPrintable(run.describe()));
    QVERIFY2(run.err.contains(QLatin1String("pictarium-cli trust --profile 'home'")), qPrintable(run.describe()));
    QCOMPARE(requests(), 0);

    // trust shows the new key; without a terminal or --yes it is not trusted.
    run = runCli(env, {"trust", "--profile", "home"});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.out.contains(QLatin1String("Fingerprint: ") + strB), qPrintable(run.describe()));
    QVERIFY2(run.out.contains(QLatin1String("Trusted now: ") + strA), qPrintable(run.describe()));
    QCOMPARE(pinned(), baKeyA);
    run = runCli(env, {"trust", "--profile", "home", "--yes"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QCOMPARE(pinned(), baKeyB);
    QCOMPARE(requests(), 0);
    run = runCli(env, {"upload", "--profile", "home", "--album", "/photo/family", "--no-date-rename", strPhoto});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QCOMPARE(TestFiles::readBytes(m_pServer->root() + QLatin1String("/photo/family/pic.jpg")),
             TestFiles::readBytes(strPhoto));
    run = runCli(env, {"trust", "--profile", "home", "--yes"});
    QVERIFY2(run.exitCode == 0 && run.out.contains(QLatin1String("trusted already")), qPrintable(run.describe()));

    // Plain HTTP: nothing is remembered, and there is nothing to trust.
    QVERIFY(startServer());
    QVERIFY(addProfile(env, QStringLiteral("plain")));
    QCOMPARE(queryDatabase(env, QStringLiteral("select * from ServerCertificates where port = ?"), {m_pServer->port()})
                 .size(),
             0);
    run = runCli(env, {"trust", "--profile", "plain"});
    QVERIFY2(run.exitCode == 2 && run.err.contains(QLatin1String("plain HTTP")), qPrintable(run.describe()));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"

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

#include <csignal>
#include <fcntl.h>
#include <memory>
#include <signal.h>
#include <unistd.h>

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
    // Progress lines go to stdout when it is not a terminal.
    QVERIFY2(!lines(run.out).filter(QRegularExpression(QStringLiteral("^progress \\d+%"))).isEmpty(),
             qPrintable(run.describe()));
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
    QByteArray baOut;
    bool blProgress = false;
    QDeadlineTimer guard(60000);
    while (!blProgress && process.state() == QProcess::Running && !guard.hasExpired()) {
        process.waitForReadyRead(200);
        baOut += process.readAllStandardOutput();
        for (const QByteArray& baLine : baOut.split('\n'))
            blProgress = blProgress || baLine.startsWith("progress ");
    }
    QVERIFY2(blProgress, baOut.constData());
    QCOMPARE(::kill(pid_t(process.processId()), SIGINT), 0);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        QFAIL("pictarium-cli did not end after SIGINT");
    }
    baOut += process.readAllStandardOutput();
    CliRun run;
    run.finished = true;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(baOut);
    run.err = QString::fromUtf8(process.readAllStandardError());
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

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"

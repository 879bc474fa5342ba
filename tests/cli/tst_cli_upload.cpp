#include "CliRunner.h"
#include "CliTestBase.h"
#include "MediaFixtures.h"
#include "TestEnvironment.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <csignal>
#include <signal.h>

// pictarium-cli: upload runs, their reports, an interrupted run and a dry run.
class TestCliUpload : public CliTestBase
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void uploadFolderTreeThenAgain();
    void allFilesFlattenNoDateRename();
    void videoQualityList();
    void refusedByServer_data();
    void refusedByServer();
    void interruptCancels();
    void controlCharactersEscaped();
    void dryRunPlan();
};

void TestCliUpload::initTestCase()
{
    initCase(true);
}

void TestCliUpload::cleanup()
{
    cleanupServer();
}

void TestCliUpload::uploadFolderTreeThenAgain()
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
    // With --json, progress lines go to stderr: stdout holds the report alone. The last one
    // counts the three files; the albums made for trip and raw are no files.
    const QStringList lstProgress = lines(run.err).filter(QRegularExpression(QStringLiteral("^progress \\d+%")));
    QVERIFY2(!lstProgress.isEmpty() && lstProgress.constLast().startsWith(QLatin1String("progress 100% 3/3 ")),
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

void TestCliUpload::allFilesFlattenNoDateRename()
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

void TestCliUpload::videoQualityList()
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

void TestCliUpload::refusedByServer_data()
{
    QTest::addColumn<bool>("json");
    QTest::newRow("plain") << false;
    QTest::newRow("json") << true;
}

void TestCliUpload::refusedByServer()
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

void TestCliUpload::interruptCancels()
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

void TestCliUpload::controlCharactersEscaped()
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

void TestCliUpload::dryRunPlan()
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

QTEST_GUILESS_MAIN(TestCliUpload)
#include "tst_cli_upload.moc"

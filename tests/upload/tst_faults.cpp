#include "CliRunner.h"
#include "MediaFixtures.h"
#include "RefServerProcess.h"
#include "TestEnvironment.h"
#include "upload/MediaCheck.h"
#include "store/VelmDatabase.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <functional>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Burst photos of one second go to the album under names of their own, in job order.
const QStringList kLocalFiles{"a1.jpg", "a2.jpg", "a3.jpg", "b.txt", "c.txt"};
const QStringList kServerNames{"IMG_20240501_140307.jpg", "IMG_20240501_140307_1.jpg", "IMG_20240501_140307_2.jpg",
                               "b.txt", "c.txt"};

QString serverNameOf(const QString& strLocal)
{
    return kServerNames.value(kLocalFiles.indexOf(strLocal));
}

// Processes other than this one whose command line mentions strText.
QStringList processesMentioning(const QString& strText)
{
    QStringList lstFound;
    const QByteArray baText = strText.toLocal8Bit();
    for (const QString& strPid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool blNumber = false;
        const qint64 llPid = strPid.toLongLong(&blNumber);
        if (!blNumber || llPid == QCoreApplication::applicationPid())
            continue;
        QByteArray baLine = TestFiles::readBytes(QLatin1String("/proc/") + strPid + QLatin1String("/cmdline"));
        // A process that has ended but is not yet reaped does not count.
        const QByteArray baStat = TestFiles::readBytes(QLatin1String("/proc/") + strPid + QLatin1String("/stat"));
        if (baStat.mid(baStat.lastIndexOf(')') + 2, 1) == "Z")
            continue;
        if (baLine.contains(baText))
            lstFound.append(strPid + QLatin1Char(' ') + QString::fromLocal8Bit(baLine.replace('\0', ' ')));
    }
    return lstFound;
}

// Names and texts of a report list of {"file": ..., key: ...}.
QStringList entries(const QJsonValue& value, const char* pszText = nullptr)
{
    QStringList lstEntries;
    for (const QJsonValue& item : value.toArray()) {
        const QJsonObject object = item.toObject();
        const QString strName = object.contains("file") ? object.value("file").toString() : object.value("path").toString();
        lstEntries.append(pszText ? strName + QLatin1Char('|') + object.value(QLatin1String(pszText)).toString()
                                  : strName);
    }
    return lstEntries;
}

// The value of a request header in a journal entry.
QString headerOf(const QJsonObject& entry, const QString& strName)
{
    for (const QJsonValue& header : entry.value("headers").toArray()) {
        if (header.toArray().at(0).toString().compare(strName, Qt::CaseInsensitive) == 0)
            return header.toArray().at(1).toString();
    }
    return QString();
}

QStringList sorted(QStringList lst)
{
    lst.sort();
    return lst;
}

} // namespace

// The upload run against a server that misbehaves, a full temporary folder, a second run at
// the same time, a database that cannot be written and signals, through the real program:
// every file arrives once or is reported, nothing hangs, nothing is left behind.
class TestFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void faultMatrix_data();
    void faultMatrix();
    void bothFrontEnds_data();
    void bothFrontEnds();
    void secondRunOfProfile();
    void historyNotWritable();
    void fullTemporaryFolder();
    void leftOutFilesAreListed();
    void unusableTemporaryFolder();
    void namesTheAlbumHolds();
    void fileChangesWhileSent_data();
    void fileChangesWhileSent();
    void keyringUnreadable_data();
    void keyringUnreadable();

private:
    bool startServer(const QStringList& lstArgs = {});
    // A profile "home" (password remembered) for the running server in a fresh environment.
    bool addProfile(bool blHttps = false);
    // Points the profile at the running server's port.
    void followServer();
    QStringList uploadArgs() const;
    // Nothing of the run is left: no file in the temporary folder, no tool running.
    void checkNothingLeft();
    QStringList storedOriginals() const;
    // Files stored, history rows and report rows ("file: text") of one run of the terminal or,
    // unattended, of the upload wizard, against a fresh server with serverArgs.
    QStringList runFrontEnd(bool blWizard, const QStringList& lstServerArgs,
                            const std::function<void(QProcessEnvironment&)>& fnSetUp = {});
    // File upload requests of one X-UPLOAD-TYPE the server has answered.
    int uploadsOf(const QString& strType) const;

    std::unique_ptr<TestEnvironment> m_pEnv;
    std::unique_ptr<QTemporaryDir> m_pServerDir;
    std::unique_ptr<RefServerProcess> m_pServer;
    QTemporaryDir m_media;
    QStringList m_lstFiles;
    QString m_strVideo; // 4 s of 1280x720: its High transcode is about 1 MB
};

void TestFaults::initTestCase()
{
    QVERIFY2(QFileInfo(cliProgram()).isExecutable(), qPrintable(cliProgram()));
    for (const QString& strName : kLocalFiles) {
        const QString strPath = m_media.path() + QLatin1Char('/') + strName;
        if (strName.endsWith(QLatin1String(".jpg")))
            QVERIFY(MediaFixtures::makeJpeg(strPath, 96, 64, QStringLiteral("2024:05:01 14:03:07")));
        else
            QVERIFY(TestFiles::writeBytes(strPath, QByteArray(3000, strName.at(0).toLatin1())));
        m_lstFiles.append(strPath);
    }
    m_strVideo = m_media.path() + QLatin1String("/clip.mp4");
    QCOMPARE(QProcess::execute(QStringLiteral("ffmpeg"),
                               {"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                "testsrc2=size=1280x720:rate=25:duration=4", "-f", "lavfi", "-i",
                                "sine=frequency=440:duration=4", "-c:v", "libx264", "-b:v", "3000k", "-c:a", "aac",
                                m_strVideo}),
             0);
}

void TestFaults::cleanup()
{
    m_pServer.reset();
    m_pServerDir.reset();
    m_pEnv.reset();
}

bool TestFaults::startServer(const QStringList& lstArgs)
{
    if (!m_pServerDir) {
        m_pServerDir = std::make_unique<QTemporaryDir>();
        QDir().mkpath(m_pServerDir->path() + QLatin1String("/photo/2024"));
    }
    m_pServer = std::make_unique<RefServerProcess>(m_pServerDir->path());
    m_pServer->setAccounts(QJsonObject{{"accounts", QJsonArray{QJsonObject{{"name", "ann"}, {"password", "pw"}}}}});
    return m_pServer->start(lstArgs);
}

bool TestFaults::addProfile(bool blHttps)
{
    m_pEnv = std::make_unique<TestEnvironment>();
    QStringList lstArgs{"add-profile", "--name", "home", "--host", "127.0.0.1", "--port",
                        QString::number(m_pServer->port()), "--account", "ann"};
    if (blHttps)
        lstArgs << QStringLiteral("--https");
    const CliRun run = runCli(*m_pEnv, lstArgs);
    if (run.exitCode != 0)
        qWarning("%s", qPrintable(run.describe()));
    // The password is remembered without a login test, so a faulty server can be added too.
    queryDatabase(*m_pEnv, QStringLiteral("UPDATE ServerProfiles SET password = 'pw', savepass = 1"));
    return run.exitCode == 0;
}

void TestFaults::followServer()
{
    queryDatabase(*m_pEnv, QStringLiteral("UPDATE ServerProfiles SET port = ? WHERE profname = 'home'"),
                  {m_pServer->port()});
}

QStringList TestFaults::uploadArgs() const
{
    return QStringList{"upload", "--profile", "home", "--album", "/photo/2024", "--all-files", "--json"} + m_lstFiles;
}

void TestFaults::checkNothingLeft()
{
    QStringList lstLeft;
    QDirIterator it(m_pEnv->tempDir(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        lstLeft.append(it.next());
    QVERIFY2(lstLeft.isEmpty(), qPrintable(lstLeft.join(QLatin1Char('\n'))));
    QDeadlineTimer deadline(3000);
    while (!processesMentioning(m_pEnv->root()).isEmpty() && !deadline.hasExpired())
        QTest::qWait(100);
    QVERIFY2(processesMentioning(m_pEnv->root()).isEmpty(),
             qPrintable(processesMentioning(m_pEnv->root()).join(QLatin1Char('\n'))));
}

int TestFaults::uploadsOf(const QString& strType) const
{
    int iCount = 0;
    for (const QJsonObject& entry : m_pServer->journalFor(QStringLiteral("rada_file_upload.php")))
        iCount += headerOf(entry, QStringLiteral("X-UPLOAD-TYPE")) == strType ? 1 : 0;
    return iCount;
}

QStringList TestFaults::storedOriginals() const
{
    return entriesOf(m_pServerDir->path() + QLatin1String("/photo/2024"));
}

void TestFaults::faultMatrix_data()
{
    QTest::addColumn<QStringList>("serverArgs");
    QTest::addColumn<bool>("https");
    QTest::addColumn<int>("signal");        // sent once the first source file is on the server
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("uploaded");
    QTest::addColumn<QStringList>("failed");   // "name|start of the error text"
    QTest::addColumn<QStringList>("notSent");
    QTest::addColumn<QStringList>("maybeStored"); // failed, but possibly stored: the server has them once
    QTest::addColumn<int>("maxUploadRequests");
    QTest::addColumn<QString>("message");  // on standard error
    QTest::addColumn<bool>("rerun");       // a later run against a sound server completes the set

    const QString strUpload = QStringLiteral("/photo/include/rada_file_upload.php");
    const QString strLost = QStringLiteral("The connection is lost.");
    const QString strStopped = QStringLiteral("The upload was stopped because three files in a row");
    const QStringList lstAll = kLocalFiles;
    const QStringList lstNone;

    QTest::newRow("sound server") << QStringList() << false << 0 << 0 << lstAll << lstNone << lstNone << lstNone << 27
                                  << QString() << false;
    QTest::newRow("session lost on a thumbnail")
        << QStringList{"--session-lost-after", "1"} << false << 0 << 1 << QStringList{"a1.jpg"} << lstNone
        << QStringList{"a2.jpg", "a3.jpg", "b.txt", "c.txt"} << lstNone << 7 << strLost << true;
    QTest::newRow("session lost on a source file")
        << QStringList{"--session-lost-after", "3"} << false << 0 << 1 << QStringList{"a1.jpg", "a2.jpg", "a3.jpg"}
        << QStringList{"b.txt|" + strLost} << QStringList{"c.txt"} << lstNone << 19 << strLost << true;
    QTest::newRow("login never answers")
        << QStringList{"--hang-on", "/blog/login.php"} << false << 0 << 2 << lstNone << lstNone << lstNone << lstNone
        << 0 << QStringLiteral("Connection error. (Error Code: TimeoutError)") << false;
    QTest::newRow("HTTPS profile on a plain HTTP port")
        << QStringList() << true << 0 << 2 << lstNone << lstNone << lstNone << lstNone << 0
        << QStringLiteral("The server does not speak HTTPS on this port.") << false;
    QTest::newRow("no reply after the first file is stored")
        << QStringList{"--hang-after-store", "1"} << false << 0 << 1 << QStringList{"a2.jpg", "a3.jpg", "b.txt", "c.txt"}
        << QStringList{"a1.jpg|The server did not confirm this file after it was sent; it may have been stored. "
                       "(Error Code: TimeoutError)"}
        << lstNone << QStringList{"a1.jpg"} << 27 << QString() << true;
    const QString strNoReply = QStringLiteral("The server did not confirm this file after it was sent; it may have "
                                              "been stored. (Error Code: TimeoutError)");
    QTest::newRow("no upload ever answered")
        << QStringList{"--hang-on", strUpload} << false << 0 << 1 << lstNone
        << QStringList{"a1.jpg|" + strNoReply, "a2.jpg|" + strNoReply, "a3.jpg|" + strNoReply}
        << QStringList{"b.txt", "c.txt"} << QStringList{"a1.jpg", "a2.jpg", "a3.jpg"} << 6 << strStopped << true;
    // An answer that never ends is cut off at the cap and not tried again; the source files may
    // be stored.
    const QString strTooLarge = QStringLiteral("The server's answer is larger than 16 MiB");
    QTest::newRow("endless answers to uploads")
        << QStringList{"--endless-reply", strUpload} << false << 0 << 1 << lstNone
        << QStringList{"a1.jpg|" + strTooLarge, "a2.jpg|" + strTooLarge, "a3.jpg|" + strTooLarge}
        << QStringList{"b.txt", "c.txt"} << QStringList{"a1.jpg", "a2.jpg", "a3.jpg"} << 6 << strStopped << true;
    QTest::newRow("endless answer to the upload start")
        << QStringList{"--endless-reply", "/photo/include/rada_upload_init.php"} << false << 0 << 1 << lstNone
        << lstNone << lstNone << lstNone << 0
        << QStringLiteral("The server did not take the list of files to upload: The server's answer is larger than "
                          "16 MiB")
        << true;
    QTest::newRow("endless answer to the login")
        << QStringList{"--endless-reply", "/blog/login.php"} << false << 0 << 2 << lstNone << lstNone << lstNone
        << lstNone << 0 << strTooLarge << false;
    // Five attempts for the first request only; after that one each, a file's renditions end
    // with its first failing one, and the run stops.
    QTest::newRow("every upload answered 500")
        << QStringList{"--status-on", strUpload + "=500"} << false << 0 << 1 << lstNone
        << QStringList{"a1.jpg|Connection error.", "a2.jpg|Connection error.", "a3.jpg|Connection error."}
        << QStringList{"b.txt", "c.txt"} << lstNone << 10 << strStopped << false;
    QTest::newRow("every upload answered 403")
        << QStringList{"--status-on", strUpload + "=403"} << false << 0 << 1 << lstNone
        << QStringList{"a1.jpg|Connection error. (Error Code: ContentAccessDenied)",
                       "a2.jpg|Connection error. (Error Code: ContentAccessDenied)",
                       "a3.jpg|Connection error. (Error Code: ContentAccessDenied)"}
        << QStringList{"b.txt", "c.txt"} << lstNone << 6 << strStopped << false;
    QTest::newRow("HTML instead of JSON on uploads")
        << QStringList{"--html-on", strUpload} << false << 0 << 1 << lstNone
        << QStringList{"a1.jpg|Unknown server error. (Error Code:ret_err)",
                       "a2.jpg|Unknown server error. (Error Code:ret_err)",
                       "a3.jpg|Unknown server error. (Error Code:ret_err)"}
        << QStringList{"b.txt", "c.txt"} << lstNone << 18 << strStopped << false;
    QTest::newRow("connection dropped in a body, once")
        << QStringList{"--drop-after", "1000:1"} << false << 0 << 0 << lstAll << lstNone << lstNone << lstNone << 29
        << QString() << false;
    QTest::newRow("Ctrl-C while a stored file awaits its reply")
        << QStringList{"--delay-ms", "1000"} << false << int(SIGINT) << 1 << QStringList{"a1.jpg"} << lstNone
        << QStringList{"a2.jpg", "a3.jpg", "b.txt", "c.txt"} << lstNone << 6
        << QStringLiteral("Stopping: waiting up to 5 s for the server to confirm a1.jpg.") << true;
    QTest::newRow("SIGHUP while a stored file awaits its reply")
        << QStringList{"--delay-ms", "1000"} << false << int(SIGHUP) << 1 << QStringList{"a1.jpg"} << lstNone
        << QStringList{"a2.jpg", "a3.jpg", "b.txt", "c.txt"} << lstNone << 6
        << QStringLiteral("Stopping: waiting up to 5 s for the server to confirm a1.jpg.") << true;
    // Killed: no report; the file it was sending is known to the next run all the same.
    QTest::newRow("SIGKILL while a stored file awaits its reply")
        << QStringList{"--delay-ms", "1000"} << false << int(SIGKILL) << -1 << lstNone << lstNone << lstNone
        << QStringList{"a1.jpg"} << 6 << QString() << true;
}

void TestFaults::faultMatrix()
{
    QFETCH(QStringList, serverArgs);
    QFETCH(bool, https);
    QFETCH(int, signal);
    QFETCH(int, exitCode);
    QFETCH(QStringList, uploaded);
    QFETCH(QStringList, failed);
    QFETCH(QStringList, notSent);
    QFETCH(QStringList, maybeStored);
    QFETCH(int, maxUploadRequests);
    QFETCH(QString, message);
    QFETCH(bool, rerun);

    QVERIFY(startServer(serverArgs));
    QVERIFY(addProfile(https));
    QProcessEnvironment pe = cliEnvironment(*m_pEnv);
    // A short wait for servers that never answer; the others get time enough on a busy machine.
    const bool blHangs = !serverArgs.filter(QRegularExpression(QStringLiteral("^--hang-"))).isEmpty();
    pe.insert(QStringLiteral("PICTARIUM_NETWORK_TIMEOUT"), QLatin1String(blHangs ? "2" : "10"));

    CliRun run;
    if (signal == 0) {
        run = runCli(pe, uploadArgs());
    } else {
        QProcess process;
        process.setProcessEnvironment(pe);
        process.start(cliProgram(), uploadArgs());
        QVERIFY(process.waitForStarted(10000));
        // The first source file's body is on the server, its reply a second away.
        QDeadlineTimer deadline(60000);
        auto sourceArrived = [this]() { return uploadsOf(QStringLiteral("ORIG_FILE")) > 0; };
        while (!sourceArrived() && !deadline.hasExpired() && process.state() == QProcess::Running)
            QTest::qWait(50);
        QVERIFY(!deadline.hasExpired());
        QCOMPARE(::kill(pid_t(process.processId()), signal), 0);
        run.finished = process.waitForFinished(60000);
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
    }
    QVERIFY2(run.finished, qPrintable(run.describe()));
    QVERIFY2(run.exitCode == exitCode, qPrintable(run.describe()));
    QVERIFY2(run.err.contains(message), qPrintable(run.describe()));

    // What the report says, the history holds and the server stored agree.
    const bool blKilled = signal == SIGKILL;
    const QJsonObject report = blKilled ? QJsonObject() : run.json();
    QCOMPARE(toStrings(report.value("uploaded")), uploaded);
    QStringList lstFailed;
    for (const QString& strEntry : entries(report.value("failed"), "error")) {
        const QString strExpected = failed.value(int(lstFailed.size()));
        lstFailed.append(strEntry.startsWith(strExpected) ? strExpected : strEntry);
    }
    QCOMPARE(lstFailed, failed);
    QCOMPARE(entries(report.value("not_sent")), notSent);
    QCOMPARE(report.value("cancelled").toBool(), signal != 0 && !blKilled);
    QVERIFY(report.value("incomplete").toArray().isEmpty());
    QCOMPARE(historyNames(*m_pEnv, QStringLiteral("home")), uploaded);
    // Each uploaded file is stored once; nothing else is, but for files reported as maybe stored.
    QStringList lstStored = storedOriginals();
    for (const QString& strLocal : std::as_const(uploaded))
        QVERIFY2(lstStored.removeOne(serverNameOf(strLocal)), qPrintable(strLocal));
    for (const QString& strLocal : std::as_const(maybeStored))
        lstStored.removeOne(serverNameOf(strLocal));
    QCOMPARE(lstStored, QStringList());
    // Each stored photo came with all its thumbnails.
    for (const QString& strLocal : std::as_const(uploaded)) {
        if (strLocal.endsWith(QLatin1String(".jpg")))
            QCOMPARE(entriesOf(m_pServerDir->path() + QLatin1String("/photo/2024/.renditions/") + serverNameOf(strLocal))
                         .size(),
                     5);
    }
    const qsizetype iRequests = m_pServer->journalFor(QStringLiteral("rada_file_upload.php")).size();
    QVERIFY2(iRequests <= maxUploadRequests, qPrintable(QString::number(iRequests)));
    // A killed run leaves its temporary files to the next one.
    if (!blKilled)
        checkNothingLeft();
    // Files that may have been stored and are: the next run finds them there.
    QStringList lstFoundStored;
    for (const QString& strLocal : std::as_const(maybeStored)) {
        if (storedOriginals().contains(serverNameOf(strLocal)))
            lstFoundStored.append(strLocal + QLatin1String("|An earlier run sent it but got no answer"));
    }

    // Whatever was not sent goes with the next run, and nothing twice.
    if (rerun) {
        QVERIFY(startServer());
        followServer();
        const CliRun again = runCli(pe, uploadArgs());
        QVERIFY2(again.exitCode == 0, qPrintable(again.describe()));
        QCOMPARE(sorted(toStrings(again.json().value("uploaded")) + toStrings(again.json().value("skipped"))),
                 sorted(kLocalFiles));
        QCOMPARE(toStrings(again.json().value("skipped")), uploaded);
        QStringList lstNotes;
        for (const QString& strEntry : entries(again.json().value("incomplete"), "missing"))
            lstNotes.append(strEntry.section(QLatin1Char(';'), 0, 0));
        QCOMPARE(lstNotes, lstFoundStored);
        QCOMPARE(storedOriginals(), sorted(kServerNames));
        QCOMPARE(sorted(historyNames(*m_pEnv, QStringLiteral("home"))), sorted(kLocalFiles));
        checkNothingLeft();
    }
}

QStringList TestFaults::runFrontEnd(bool blWizard, const QStringList& lstServerArgs,
                                    const std::function<void(QProcessEnvironment&)>& fnSetUp)
{
    cleanup();
    if (!startServer(lstServerArgs) || !addProfile())
        return {QStringLiteral("no server or profile")};
    QProcessEnvironment pe = cliEnvironment(*m_pEnv);
    pe.insert(QStringLiteral("PICTARIUM_NETWORK_TIMEOUT"), QStringLiteral("2"));
    if (fnSetUp)
        fnSetUp(pe);
    QStringList lstRows;
    if (blWizard) {
        // The terminal's options, stored with the profile; the files handed over as a file
        // manager does.
        queryDatabase(*m_pEnv, QStringLiteral("UPDATE ServerProfiles SET serverdst = '/photo/2024', idxonly = 0"));
        QByteArray baList = TestFiles::utf16le(QString::number(m_lstFiles.size()) + QLatin1Char('\n'));
        for (const QString& strPath : std::as_const(m_lstFiles))
            baList += TestFiles::utf16le(strPath + QLatin1Char('\n'));
        TestFiles::writeBytes(m_pEnv->dataHome() + QLatin1String("/Velmora/Pictarium Uploader/FileList"), baList);
        pe.insert(QStringLiteral("PICTARIUM_UNATTENDED"), QStringLiteral("1"));
        pe.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        const ProgramRun run = runProgram({QStringLiteral("2"), QStringLiteral("0")}, pe, 120000);
        if (!run.finished)
            return {QStringLiteral("the wizard did not end")};
        for (const QString& strLine : lines(run.standardError)) {
            if (strLine.startsWith(QLatin1String("[report] ")))
                lstRows.append(strLine.mid(9));
        }
    } else {
        const CliRun run = runCli(pe, uploadArgs());
        const QJsonObject report = run.json();
        for (const char* pszList : {"failed", "not_sent", "incomplete"}) {
            for (const QJsonValue& item : report.value(QLatin1String(pszList)).toArray()) {
                const QString strFile = item.toObject().value("file").toString();
                for (const QString& strKey : item.toObject().keys()) {
                    if (strKey != QLatin1String("file"))
                        lstRows.append(strFile + QLatin1String(": ") + item.toObject().value(strKey).toString());
                }
            }
        }
    }
    checkNothingLeft();
    return QStringList{QStringLiteral("stored ") + storedOriginals().join(QLatin1Char(' ')),
                       QStringLiteral("history ") + sorted(historyNames(*m_pEnv, QStringLiteral("home"))).join(
                                                        QLatin1Char(' '))} +
           lstRows;
}

void TestFaults::bothFrontEnds_data()
{
    QTest::addColumn<QStringList>("serverArgs");
    QTest::newRow("sound server") << QStringList();
    QTest::newRow("session lost on a source file") << QStringList{"--session-lost-after", "3"};
    QTest::newRow("no reply after the first file is stored") << QStringList{"--hang-after-store", "1"};
    QTest::newRow("every upload answered 500")
        << QStringList{"--status-on", "/photo/include/rada_file_upload.php=500"};
}

// The same fault gives the same outcome in the terminal and in the upload wizard: one run,
// whoever starts it.
void TestFaults::bothFrontEnds()
{
    QFETCH(QStringList, serverArgs);
    const QStringList lstTerminal = runFrontEnd(false, serverArgs);
    const QStringList lstWizard = runFrontEnd(true, serverArgs);
    QVERIFY2(lstWizard == lstTerminal, qPrintable(lstTerminal.join(QLatin1Char('\n')) + QLatin1String("\n---\n") +
                                                  lstWizard.join(QLatin1Char('\n'))));
    QVERIFY2(lstTerminal.value(0).startsWith(QLatin1String("stored")), qPrintable(lstTerminal.join(QLatin1Char('\n'))));
}

void TestFaults::secondRunOfProfile()
{
    QVERIFY(startServer());
    QVERIFY(addProfile());
    const QProcessEnvironment pe = cliEnvironment(*m_pEnv);
    // A RAW photo without a preview: the decoder tool works for seconds, writing nothing but its output.
    const QString strRaw = m_pEnv->root() + QLatin1String("/raw/DSC_0001.dng");
    QVERIFY(QDir().mkpath(QFileInfo(strRaw).absolutePath()));
    QVERIFY(MediaFixtures::makeDng(strRaw, 6000, 4000));
    QProcess first;
    QProcessEnvironment tools = pe;
    tools.insert(QStringLiteral("PICTARIUM_THUMBNAIL_ENGINE"), QStringLiteral("convert"));
    first.setProcessEnvironment(tools);
    first.start(cliProgram(), {"upload", "--profile", "home", "--json", strRaw});
    QVERIFY(first.waitForStarted(10000));
    // The first run is in a tool that works on the temporary folder.
    QDeadlineTimer deadline(60000);
    auto toolsAtWork = [this]() { return processesMentioning(m_pEnv->tempDir()); };
    // The decode itself (-w), not the short look for a preview (-e) before it.
    auto decoding = [&toolsAtWork]() {
        return !toolsAtWork().filter(QStringLiteral("WinRAWTemp")).filter(QStringLiteral(" -w ")).isEmpty();
    };
    while (!decoding() && !deadline.hasExpired() && first.state() == QProcess::Running)
        QTest::qWait(10);
    QVERIFY2(!toolsAtWork().isEmpty(), first.readAllStandardError().constData());

    // A second run of the profile is refused before it asks the server anything.
    const qsizetype iRequests = m_pServer->journal().size();
    const CliRun second = runCli(pe, uploadArgs());
    QVERIFY2(second.exitCode == 2, qPrintable(second.describe()));
    QVERIFY2(second.err.contains(QLatin1String("Another upload with the profile [home] is running.")),
             qPrintable(second.describe()));
    QCOMPARE(m_pServer->journal().size(), iRequests);

    // The first run is killed: its tool dies with it at once, and no lock is left behind.
    QVERIFY(!toolsAtWork().isEmpty());
    first.kill();
    QVERIFY(first.waitForFinished(10000));
    QTest::qWait(300);
    QVERIFY2(toolsAtWork().isEmpty(), qPrintable(toolsAtWork().join(QLatin1Char('\n'))));
    const CliRun third = runCli(pe, uploadArgs());
    QVERIFY2(third.exitCode == 0, qPrintable(third.describe()));
    QCOMPARE(toStrings(third.json().value("uploaded")), kLocalFiles);
    // ... and the third run cleaned up what the killed one had left in the temporary folder.
    checkNothingLeft();
}

void TestFaults::historyNotWritable()
{
    QVERIFY(startServer());
    QVERIFY(addProfile());
    // Every row the history would get is refused, as by a read-only database.
    queryDatabase(*m_pEnv, QLatin1String(VelmDatabase::creationStatement(VelmDatabase::PhotoRecords)));
    queryDatabase(*m_pEnv, QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON PhotoRecords "
                                          "BEGIN SELECT RAISE(ABORT, 'attempt to write a readonly database'); END"));
    const CliRun run = runCli(cliEnvironment(*m_pEnv), uploadArgs());
    QVERIFY2(run.exitCode == 2, qPrintable(run.describe()));
    QVERIFY2(run.err.contains(QLatin1String("The upload history cannot be written (attempt to write a readonly "
                                            "database")),
             qPrintable(run.describe()));
    // Nothing was sent, so nothing will be sent twice.
    QCOMPARE(m_pServer->journal().size(), 0);
    QVERIFY(storedOriginals().isEmpty());
}

void TestFaults::fullTemporaryFolder()
{
    // The temporary folder is a small file system of its own, in a mount namespace of the run.
    if (QProcess::execute(QStringLiteral("unshare"), {"-m", "sh", "-c", "mount -t tmpfs tmpfs /mnt"}) != 0)
        QSKIP("cannot mount a small file system in a mount namespace here (needs unshare and mount rights)");
    QVERIFY(startServer());
    QVERIFY(addProfile());
    QVERIFY(QDir().mkpath(m_pEnv->tempDir()));
    // Room for one High transcode of the clip, not for the second copy that moving its index needs.
    const QStringList lstWrapper{"unshare", "-m", "sh", "-c",
                                 "mount -t tmpfs -o size=1800k tmpfs \"$0\" && exec \"$@\"", m_pEnv->tempDir()};
    const CliRun run = runCli(cliEnvironment(*m_pEnv),
                              {"upload", "--profile", "home", "--video-quality", "high", "--json", m_strVideo},
                              lstWrapper);
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    const QJsonObject report = run.json();
    QCOMPARE(toStrings(report.value("uploaded")), QStringList{"clip.mp4"});
    QCOMPARE(entries(report.value("incomplete"), "missing"),
             QStringList{"clip.mp4|Uploaded without these video conversions: High (1080p HD, 2Mbp/s)"});
    QCOMPARE(historyNames(*m_pEnv, QStringLiteral("home")), QStringList{"clip.mp4"});
    // What the server got is whole: no transcode cut short, thumbnails complete.
    const QString strStored = m_pServerDir->path() + QLatin1String("/photo/");
    const QStringList lstOriginals = entriesOf(strStored);
    QCOMPARE(lstOriginals.size(), 1);
    QCOMPARE(TestFiles::readBytes(strStored + lstOriginals.at(0)), TestFiles::readBytes(m_strVideo));
    const QString strRenditions = strStored + QLatin1String(".renditions/") + lstOriginals.at(0) + QLatin1Char('/');
    QCOMPARE(entriesOf(strRenditions), QStringList({"THUM_B.jpg", "THUM_L.jpg", "THUM_M.jpg", "THUM_S.jpg", "THUM_XL.jpg"}));
    for (const QString& strName : entriesOf(strRenditions))
        QVERIFY2(MediaCheck::isCompleteJpegFile(strRenditions + strName), qPrintable(strName));
}

void TestFaults::leftOutFilesAreListed()
{
    QVERIFY(startServer());
    QVERIFY(addProfile());
    const QString strDir = m_pEnv->root() + QLatin1String("/pick");
    QVERIFY(QDir().mkpath(strDir + QLatin1String("/.cache")));
    QVERIFY(QFile::copy(m_lstFiles.at(0), strDir + QLatin1String("/ok.jpg")));
    QVERIFY(QFile::copy(m_lstFiles.at(1), strDir + QLatin1String("/.hidden.jpg")));
    QVERIFY(TestFiles::writeBytes(strDir + QLatin1String("/notes.txt"), "text"));
    QVERIFY(QFile::link(strDir + QLatin1String("/ok.jpg"), strDir + QLatin1String("/link.jpg")));
    QCOMPARE(::mkfifo(QFile::encodeName(strDir + QLatin1String("/pipe.jpg")).constData(), 0600), 0);
    // A name that is not UTF-8 (Latin-1 "é").
    const QByteArray baBadName = QFile::encodeName(strDir) + "/caf\xe9.jpg";
    const int iFd = ::open(baBadName.constData(), O_CREAT | O_WRONLY, 0600);
    QVERIFY(iFd >= 0);
    ::close(iFd);

    // Not a picture: the metadata library complains, into the debug log only.
    QVERIFY(TestFiles::writeBytes(strDir + QLatin1String("/garbage.jpg"), "not a picture"));

    const CliRun run = runCli(cliEnvironment(*m_pEnv), {"upload", "--profile", "home", "--flatten", "--json", strDir});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QCOMPARE(lines(run.out).size(), 1);
    QVERIFY2(!run.err.contains(QLatin1String("Exiv2")), qPrintable(run.err));
    const QJsonObject report = run.json();
    QCOMPARE(toStrings(report.value("uploaded")), QStringList({"garbage.jpg", "ok.jpg"}));
    const QString strPrefix = strDir + QLatin1Char('/');
    QCOMPARE(sorted(entries(report.value("left_out"), "reason")),
             sorted({strPrefix + ".cache|Left out: hidden file or folder",
                     strPrefix + ".hidden.jpg|Left out: hidden file or folder",
                     strPrefix + "notes.txt|Left out: not a supported photo or video file",
                     strPrefix + "link.jpg|Left out: symbolic link",
                     strPrefix + "pipe.jpg|Left out: not a regular file or folder",
                     strPrefix + QFile::decodeName(QByteArray("caf\xe9.jpg")) +
                         "|Left out: the name is not valid UTF-8 text. Rename the file to upload it."}));
    // The plain report counts and lists them too.
    const CliRun plain = runCli(cliEnvironment(*m_pEnv), {"upload", "--profile", "home", "--flatten", strDir});
    QVERIFY2(plain.out.contains(QLatin1String("Left out: 6\n")), qPrintable(plain.describe()));
    QVERIFY2(plain.out.contains(QLatin1String("  ") + strPrefix + QLatin1String("link.jpg: Left out: symbolic link")),
             qPrintable(plain.describe()));
}

void TestFaults::unusableTemporaryFolder()
{
    QVERIFY(startServer());
    QVERIFY(addProfile());
    // The temporary folder is a link to somewhere else: nothing is converted into it, the
    // photo goes without thumbnails, and the report says so.
    const QString strElsewhere = m_pEnv->root() + QLatin1String("/elsewhere");
    QVERIFY(QDir().mkpath(strElsewhere));
    QVERIFY(QDir().mkpath(m_pEnv->tempDir()));
    QVERIFY(QFile::link(strElsewhere, m_pEnv->tempDir() + QLatin1String("/VOZ_PHOTO_TEMP-") +
                                          QString::number(::getuid())));
    const CliRun run = runCli(cliEnvironment(*m_pEnv), {"upload", "--profile", "home", "--json", m_lstFiles.at(0)});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QCOMPARE(toStrings(run.json().value("uploaded")), QStringList{"a1.jpg"});
    QCOMPARE(entries(run.json().value("incomplete"), "missing"),
             QStringList{"a1.jpg|Uploaded without thumbnails: they could not be made or sent."});
    QCOMPARE(QDir(strElsewhere).entryList(QDir::Files), QStringList());
}

// Names the program makes never replace another photo in the album: a taken one moves on to
// the next free number, announced again. A later run sends each file under the name it got,
// and a file named three ways in one selection is sent once.
void TestFaults::namesTheAlbumHolds()
{
    QVERIFY(startServer());
    QVERIFY(addProfile());
    const QString strAlbum = m_pServerDir->path() + QLatin1String("/photo/2024/");
    const QByteArray baForeign("another camera's photo");
    for (const char* pszName : {"IMG_20240501_140307.jpg", "IMG_20240501_140307_3.jpg"})
        QVERIFY(TestFiles::writeBytes(strAlbum + QLatin1String(pszName), baForeign));
    const QString strFolder = QFileInfo(m_lstFiles.at(0)).absolutePath();
    const QString strFolderName = QFileInfo(strFolder).fileName();
    const QStringList lstArgs = uploadArgs() + QStringList{"--duplicates", "overwrite", "--no-skip-uploaded", strFolder + QLatin1String("/./a1.jpg"),
                                                           strFolder + QLatin1String("/../") + strFolderName +
                                                               QLatin1String("/a2.jpg")};
    const QStringList lstExpected{"IMG_20240501_140307.jpg", "IMG_20240501_140307_1.jpg",
                                  "IMG_20240501_140307_2.jpg", "IMG_20240501_140307_3.jpg",
                                  "IMG_20240501_140307_4.jpg", "b.txt", "c.txt"};
    for (int iRun = 1; iRun <= 2; ++iRun) {
        QVERIFY(startServer());
        followServer();
        const CliRun run = runCli(cliEnvironment(*m_pEnv), lstArgs);
        QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
        QVERIFY2(toStrings(run.json().value("uploaded")) == kLocalFiles, qPrintable(run.describe()));
        QCOMPARE(storedOriginals(), lstExpected);
        for (const char* pszName : {"IMG_20240501_140307.jpg", "IMG_20240501_140307_3.jpg"})
            QCOMPARE(TestFiles::readBytes(strAlbum + QLatin1String(pszName)), baForeign);
        const QStringList lstSent{"_4", "_1", "_2"};
        for (int i = 0; i < lstSent.size(); ++i)
            QCOMPARE(TestFiles::readBytes(strAlbum + QLatin1String("IMG_20240501_140307") + lstSent.at(i) +
                                          QLatin1String(".jpg")),
                     TestFiles::readBytes(m_lstFiles.at(i)));
        // Two moves (to _3, then _4) the first time; the names the files had the second.
        QCOMPARE(m_pServer->journalFor(QStringLiteral("rada_upload_init.php")).size(), iRun == 1 ? 3 : 1);
        QCOMPARE(uploadsOf(QStringLiteral("ORIG_FILE")), 5);
    }
}

void TestFaults::fileChangesWhileSent_data()
{
    QTest::addColumn<int>("changes"); // made while a body of the file is on its way
    QTest::newRow("changed once: sent again") << 1;
    QTest::newRow("changed on both sends: reported") << 2;
}

// A photo written to while its body is on the way is sent again once; the server's copy is what
// the file holds now, or the report says it may not match.
void TestFaults::fileChangesWhileSent()
{
    QFETCH(int, changes);
    // The server holds each body of the photo for 1.5 s once its first bytes are in.
    QVERIFY(startServer({"--pause-body", "IMG_20240501_140307.jpg=1500"}));
    QVERIFY(addProfile());
    const QString strPhoto = m_pEnv->root() + QLatin1String("/a1.jpg");
    QVERIFY(QFile::copy(m_lstFiles.at(0), strPhoto));
    QProcess process;
    process.setProcessEnvironment(cliEnvironment(*m_pEnv));
    process.start(cliProgram(), {"upload", "--profile", "home", "--album", "/photo/2024", "--json", strPhoto});
    QVERIFY(process.waitForStarted(10000));
    QByteArray baNow = TestFiles::readBytes(strPhoto);
    for (int iChange = 0; iChange < changes; ++iChange) {
        // The five thumbnails, then as many source bodies as changes before: the next is held.
        QDeadlineTimer deadline(60000);
        while (uploadsOf(QStringLiteral("ORIG_FILE")) < iChange ||
               m_pServer->journalFor(QStringLiteral("rada_file_upload.php")).size() < 5 + iChange) {
            QVERIFY2(!deadline.hasExpired() && process.state() == QProcess::Running,
                     process.readAllStandardError().constData());
            QTest::qWait(20);
        }
        QTest::qWait(300);
        // Same size, other bytes in the middle.
        baNow.replace(baNow.size() / 2, 16, QByteArray(16, char('A' + iChange)));
        QFile file(strPhoto);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(baNow.size() / 2));
        QCOMPARE(file.write(baNow.mid(baNow.size() / 2, 16)), qint64(16));
    }
    QVERIFY(process.waitForFinished(60000));
    CliRun run;
    run.finished = true;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    const QJsonObject report = run.json();
    QCOMPARE(uploadsOf(QStringLiteral("ORIG_FILE")), 2);
    const QByteArray baStored = TestFiles::readBytes(m_pServerDir->path() +
                                                     QLatin1String("/photo/2024/IMG_20240501_140307.jpg"));
    if (changes == 1) {
        QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
        QCOMPARE(toStrings(report.value("uploaded")), QStringList{"a1.jpg"});
        QCOMPARE(entries(report.value("incomplete"), "missing"),
                 QStringList{"a1.jpg|It changed while it was sent and was sent again."});
        QCOMPARE(historyNames(*m_pEnv, QStringLiteral("home")), QStringList{"a1.jpg"});
        QCOMPARE(baStored, baNow);
    } else {
        QVERIFY2(run.exitCode == 1, qPrintable(run.describe()));
        QCOMPARE(toStrings(report.value("uploaded")), QStringList());
        QCOMPARE(entries(report.value("failed"), "error"),
                 QStringList{"a1.jpg|The file changed while it was sent; the server's copy may not match it. "
                             "Upload it again once it no longer changes."});
        QCOMPARE(historyNames(*m_pEnv, QStringLiteral("home")), QStringList());
    }
    QCOMPARE(storedOriginals(), QStringList{"IMG_20240501_140307.jpg"});
    checkNothingLeft();
}

void TestFaults::keyringUnreadable_data()
{
    QTest::addColumn<bool>("wizard");
    QTest::addColumn<QString>("password"); // PICTARIUM_PASSWORD; "-" for unset
    QTest::addColumn<QString>("outcome");  // the first row of runFrontEnd
    const QString strAll = QStringLiteral("stored ") + sorted(kServerNames).join(QLatin1Char(' '));
    QTest::newRow("terminal, password in the environment") << false << "pw" << strAll;
    QTest::newRow("terminal, no password") << false << "-" << "stored ";
    QTest::newRow("terminal, wrong password") << false << "wrong" << "stored ";
    QTest::newRow("wizard, password in the environment") << true << "pw" << strAll;
    QTest::newRow("wizard, no password") << true << "-" << "stored ";
}

// The keyring could not give the remembered password: the one given for this run is used,
// and without one no login with an empty password is tried.
void TestFaults::keyringUnreadable()
{
    QFETCH(bool, wizard);
    QFETCH(QString, password);
    QFETCH(QString, outcome);
    QString strToolEnv;
    const QStringList lstRows = runFrontEnd(wizard, {}, [&](QProcessEnvironment& pe) {
        queryDatabase(*m_pEnv, QStringLiteral("UPDATE ServerProfiles SET password = ''"));
        if (password != QLatin1String("-"))
            pe.insert(QStringLiteral("PICTARIUM_PASSWORD"), password);
        // The thumbnail tool, first on the path, tells what environment it got.
        const QString strBin = m_pEnv->root() + QLatin1String("/bin");
        strToolEnv = m_pEnv->root() + QLatin1String("/convert.env");
        QDir().mkpath(strBin);
        TestFiles::writeBytes(strBin + QLatin1String("/convert"),
                              "#!/bin/sh\nenv > '" + strToolEnv.toUtf8() + "'\nexec /usr/bin/convert \"$@\"\n");
        QFile::setPermissions(strBin + QLatin1String("/convert"), QFile::ReadOwner | QFile::ExeOwner);
        pe.insert(QStringLiteral("PATH"), strBin + QLatin1Char(':') + pe.value(QStringLiteral("PATH")));
        pe.insert(QStringLiteral("PICTARIUM_THUMBNAIL_ENGINE"), QStringLiteral("convert"));
    });
    QCOMPARE(lstRows.value(0), outcome);
    if (lstRows.value(0) != QLatin1String("stored ")) {
        const QByteArray baToolEnv = TestFiles::readBytes(strToolEnv);
        QVERIFY(baToolEnv.contains("PICTARIUM_THUMBNAIL_ENGINE="));
        QVERIFY(!baToolEnv.contains("PICTARIUM_PASSWORD"));
    }
    const QList<QJsonObject> lstLogins = m_pServer->journalFor(QStringLiteral("/blog/login.php"));
    QCOMPARE(lstLogins.size(), password == QLatin1String("-") ? 0 : 1);
    for (const QJsonObject& entry : lstLogins) {
        const QString strBody = QString::fromUtf8(QByteArray::fromBase64(entry.value("body_base64").toString().toLatin1()));
        const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("passwd=([^&]*)")).match(strBody);
        QVERIFY2(match.hasMatch() && !match.captured(1).isEmpty(), qPrintable(strBody));
    }
}

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_faults.moc"

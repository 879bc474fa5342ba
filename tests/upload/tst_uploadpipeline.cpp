#include "AppIdentity.h"
#include "MediaFixtures.h"
#include "RefServerProcess.h"
#include "ServerLogin.h"
#include "DebugCapture.h"
#include "TestEnvironment.h"
#include "VelmLocale.h"
#include "upload/FileConverter.h"
#include "upload/FileUploader.h"
#include "TempFiles.h"
#include "upload/UploadQueue.h"
#include "store/ProfileStore.h"
#include "store/UploadHistory.h"
#include "store/VelmDatabase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

namespace {

// Header names and values of a journal entry, X- headers only, in order.
QList<QPair<QString, QString>> xHeaders(const QJsonObject& entry)
{
    QList<QPair<QString, QString>> lstHeaders;
    for (const QJsonValue& header : entry.value("headers").toArray()) {
        const QJsonArray pair = header.toArray();
        if (pair.at(0).toString().startsWith(QLatin1String("X-"), Qt::CaseInsensitive))
            lstHeaders.append({pair.at(0).toString().toUpper(), pair.at(1).toString()});
    }
    return lstHeaders;
}

QString xHeader(const QJsonObject& entry, const char* pszName)
{
    for (const auto& header : xHeaders(entry)) {
        if (header.first == QLatin1String(pszName))
            return header.second;
    }
    return QStringLiteral("<absent>");
}

QByteArray sha256(const QString& strPath)
{
    QFile file(strPath);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (file.open(QIODevice::ReadOnly))
        hash.addData(&file);
    return hash.result().toHex();
}

} // namespace

// The converter, the queue and the uploader together, sending to the reference server.
class TestUploadPipeline : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void photoRecordsAndProgress();
    void folderVideoAndDateName();
    void sessionLostOnSecondFile();
    void cancelAwaitingReply_data();
    void cancelAwaitingReply();
    void droppedConnections_data();
    void droppedConnections();
    void vanishedFileFailsWithoutRequest();
    void cameraModeHistory();
    void eventLoopRunsWhileWaiting();
    void realThumbnailsAndDateName();

private:
    struct Run
    {
        QList<int> next;
        QList<int> complete;
        int sessionLost = 0;
        QStringList waitedFor;
        bool finished = false;
    };

    bool startServer(const QStringList& lstArgs = {});
    QString makeFile(const QString& strRelative, const QByteArray& baData = "photo bytes");
    void makeJpeg(const QString& strPath);
    Run runPipeline(const UploadJobList& lstJobs, RunMode mode = RunMode::UploadHandOver, const FileUploader::CameraDetails* pDetails = nullptr,
                    int iCancelAfterMs = -1, int iCancels = 1, int iGraceMs = FileUploader::DefaultReplyGraceMs);
    QList<QJsonObject> uploads() const { return m_pServer->journalFor(QStringLiteral("rada_file_upload.php")); }

    std::unique_ptr<TestEnvironment> m_pEnv;
    std::unique_ptr<RefServerProcess> m_pServer;
    std::unique_ptr<QNetworkAccessManager> m_pNam;
    std::unique_ptr<UploadQueue> m_pQueue;
    ServerProfile m_profile;
    QByteArray m_baJpeg;
};

void TestUploadPipeline::initTestCase()
{
    VelmLocale::fillMessageTable();
    QTemporaryDir dir;
    const QString strJpeg = dir.path() + QLatin1String("/t.jpg");
    QCOMPARE(QProcess::execute(QStringLiteral("convert"), {"-size", "16x12", "xc:#3366aa", strJpeg}), 0);
    m_baJpeg = TestFiles::readBytes(strJpeg);
    QVERIFY(m_baJpeg.startsWith("\xFF\xD8"));
}

void TestUploadPipeline::init()
{
    m_pEnv = std::make_unique<TestEnvironment>();
    QVERIFY(AppIdentity::ensureDataFolder());
    QVERIFY(VelmDatabase::open());
    VelmDatabase::ensureTable(VelmDatabase::ServerProfiles);
    m_pNam = std::make_unique<QNetworkAccessManager>();
    m_pQueue = std::make_unique<UploadQueue>();
}

void TestUploadPipeline::cleanup()
{
    m_pQueue.reset();
    m_pNam.reset();
    m_pServer.reset();
    VelmDatabase::close();
    m_pEnv.reset();
}

bool TestUploadPipeline::startServer(const QStringList& lstArgs)
{
    const QString strRoot = m_pEnv->root() + QLatin1String("/server");
    QDir().mkpath(strRoot + QLatin1String("/photo/2013/trip"));
    m_pServer = std::make_unique<RefServerProcess>(strRoot);
    m_pServer->setAccounts(QJsonObject{{"accounts", QJsonArray{QJsonObject{{"name", "ann"}, {"password", "pw"}}}}});
    if (!m_pServer->start(lstArgs))
        return false;
    ProfileStore::fillRecord(m_profile, QStringLiteral("home"), m_pServer->host(), m_pServer->port(), false,
                             QStringLiteral("ann"), QStringLiteral("pw"), true, QString(), false, true, true, false,
                             QStringLiteral("RENAME"), QString(), {});
    return logIn(m_pNam.get(), &m_profile);
}

QString TestUploadPipeline::makeFile(const QString& strRelative, const QByteArray& baData)
{
    const QString strPath = m_pEnv->root() + QLatin1String("/local/") + strRelative;
    TestFiles::writeBytes(strPath, baData);
    return strPath;
}

void TestUploadPipeline::makeJpeg(const QString& strPath)
{
    QVERIFY(TempFiles::ensureFolder());
    QVERIFY(TestFiles::writeBytes(strPath, m_baJpeg));
}

TestUploadPipeline::Run TestUploadPipeline::runPipeline(const UploadJobList& lstJobs, RunMode mode,
                                                        const FileUploader::CameraDetails* pDetails,
                                                        int iCancelAfterMs, int iCancels, int iGraceMs)
{
    Run run;
    m_pQueue->total = int(lstJobs.size());
    FileConverter converter(m_pQueue.get(), &lstJobs, m_profile);
    FileUploader uploader(m_pQueue.get(), m_pNam.get(), &m_profile, mode, pDetails);
    uploader.setRetryDelayMs(20);
    uploader.setReplyGraceMs(iGraceMs);
    connect(&converter, &FileConverter::signalNextProgressChanged, this, [&run](int i) { run.next.append(i); });
    connect(&converter, &FileConverter::signalCompleteProgressChanged, this, [&run](int i) { run.complete.append(i); });
    connect(&uploader, &FileUploader::signalNextProgressChanged, this, [&run](int i) { run.next.append(i); });
    connect(&uploader, &FileUploader::signalCompleteProgressChanged, this, [&run](int i) { run.complete.append(i); });
    connect(&uploader, &FileUploader::signalConnectionSessionLost, this, [&run]() { ++run.sessionLost; });
    connect(&uploader, &FileUploader::signalWaitingForReply, this, [&run](const QString& strFile) {
        run.waitedFor.append(strFile);
    });
    QSignalSpy finished(&uploader, &FileUploader::signalUploadFinished);

    converter.start(QThread::InheritPriority);
    uploader.start(QThread::InheritPriority);
    // Each cancel comes 300 ms after the one before, as a user pressing Cancel again would.
    for (int i = 0; iCancelAfterMs >= 0 && i < iCancels; ++i) {
        QTimer::singleShot(iCancelAfterMs + i * 300, &uploader, [&]() {
            converter.requestStop();
            uploader.cancel();
        });
    }
    run.finished = finished.count() > 0 || finished.wait(60000);
    converter.wait();
    uploader.wait();
    QCoreApplication::processEvents();
    return run;
}

void TestUploadPipeline::photoRecordsAndProgress()
{
    QVERIFY(startServer());
    const QString strPhoto = makeFile(QStringLiteral("IMG_0001.JPG"), m_baJpeg);
    const QString strPrefix = TempFiles::tempFilePrefix(TempFiles::lastConversionId() + 1);
    for (const char* pszName : {"THUMB_B.jpg", "THUMB_L.jpg", "THUMB_M.jpg", "THUMB_S.jpg", "THUMB_XL.jpg"})
        makeJpeg(strPrefix + QLatin1String(pszName));

    const Run run = runPipeline({{{JobLocalPath, strPhoto}, {JobDestination, QStringLiteral("2013/trip")}}});
    QVERIFY(run.finished);
    QCOMPARE(run.next, QList<int>({79, 99, 100}));
    QCOMPARE(run.complete, QList<int>({80, 100, 100}));
    QCOMPARE(m_pQueue->succeeded, 1);
    QCOMPARE(m_pQueue->failed, 0);

    const QList<QJsonObject> lstUploads = uploads();
    QCOMPARE(lstUploads.size(), 6);
    const QStringList lstTypes{"THUM_B", "THUM_L", "THUM_M", "THUM_S", "THUM_XL", "ORIG_FILE"};
    for (int i = 0; i < 6; ++i) {
        const QJsonObject& entry = lstUploads.at(i);
        QCOMPARE(entry.value("method").toString(), QStringLiteral("PUT"));
        QCOMPARE(xHeader(entry, "X-UPLOAD-TYPE"), lstTypes.at(i));
        QStringList lstNames;
        for (const auto& header : xHeaders(entry))
            lstNames.append(header.first);
        QStringList lstExpected{"X-PATH", "X-DUPLICATE", "X-ORIG-FNAME", "X-UPLOAD-TYPE"};
        if (i == 0)
            lstExpected.append(QStringLiteral("X-IS-BATCH-FIRST-FILE"));
        if (i == 5)
            lstExpected << QStringLiteral("X-IS-BATCH-LAST-FILE") << QStringLiteral("X-LAST-MODIFIED-TIME");
        QCOMPARE(lstNames, lstExpected);
        QCOMPARE(xHeader(entry, "X-PATH"), QStringLiteral(" 2013%2Ftrip"));
        QCOMPARE(xHeader(entry, "X-ORIG-FNAME"), QStringLiteral(" IMG_0001.JPG"));
        QCOMPARE(xHeader(entry, "X-DUPLICATE"), QStringLiteral("RENAME"));
    }
    QCOMPARE(lstUploads.at(5).value("body_size").toInteger(), qint64(m_baJpeg.size()));
    QCOMPARE(xHeader(lstUploads.at(5), "X-LAST-MODIFIED-TIME"), UploadHistory::modifiedText(strPhoto));

    const QString strStored = m_pServer->root() + QLatin1String("/photo/2013/trip/");
    QCOMPARE(TestFiles::readBytes(strStored + QLatin1String("IMG_0001.JPG")), m_baJpeg);
    QVERIFY(QFile::exists(strStored + QLatin1String(".renditions/IMG_0001.JPG/THUM_XL.jpg")));
    // Renditions are gone from the temporary folder; the source stays.
    QVERIFY(!QFile::exists(strPrefix + QLatin1String("THUMB_B.jpg")));
    QVERIFY(QFile::exists(strPhoto));

    // The history knows the file for this profile only, until it is touched or renamed.
    QVERIFY(UploadHistory::isUploaded(strPhoto, QStringLiteral("home")));
    QVERIFY(!UploadHistory::isUploaded(strPhoto, QStringLiteral("other")));
    const QString strRenamed = makeFile(QStringLiteral("IMG_0002.JPG"), m_baJpeg);
    QVERIFY(TestFiles::setModified(strRenamed, QFileInfo(strPhoto).lastModified()));
    QVERIFY(!UploadHistory::isUploaded(strRenamed, QStringLiteral("home")));
    QVERIFY(TestFiles::setModified(strPhoto, QFileInfo(strPhoto).lastModified().addSecs(60)));
    QVERIFY(!UploadHistory::isUploaded(strPhoto, QStringLiteral("home")));
}

void TestUploadPipeline::folderVideoAndDateName()
{
    QVERIFY(startServer());
    m_profile.daterename = true;
    m_profile.qualities = {2, 0};
    const QString strFolder = m_pEnv->root() + QLatin1String("/local/party");
    QDir().mkpath(strFolder);
    const QString strVideo = makeFile(QStringLiteral("clip.MP4"), QByteArray(5000, 'v'));
    const QDateTime taken(QDate(2024, 5, 1), QTime(9, 30, 5));
    QVERIFY(TestFiles::setModified(strVideo, taken));

    const quint32 uVideoId = TempFiles::lastConversionId() + 2;
    QVERIFY(TempFiles::ensureFolder());
    for (const char* pszName : {"FILM_L.mp4", "FILM_H.mp4", "FILM_M.mp4"})
        QVERIFY(TestFiles::writeBytes(TempFiles::tempFilePrefix(uVideoId) + QLatin1String(pszName), "mp4 bytes"));
    // A thumbnail cut short by a failed tool is not sent.
    QVERIFY(TestFiles::writeBytes(TempFiles::tempFilePrefix(uVideoId) + QLatin1String("THUMB_B.jpg"),
                                  m_baJpeg.left(m_baJpeg.size() / 2)));

    const Run run = runPipeline({{{JobLocalPath, strFolder}, {JobDestination, QStringLiteral("2013")}},
                                 {{JobLocalPath, strVideo}, {JobDestination, QStringLiteral("2013/party")}}});
    QVERIFY(run.finished);
    // The album made for the folder is not a file.
    QCOMPARE(m_pQueue->succeeded, 1);
    QCOMPARE(m_pQueue->successes, QStringList{QStringLiteral("clip.MP4")});
    const QList<QJsonObject> lstUploads = uploads();
    QStringList lstTypes;
    for (const QJsonObject& entry : lstUploads)
        lstTypes.append(xHeader(entry, "X-UPLOAD-TYPE"));
    QCOMPARE(lstTypes, QStringList({"FOLDER", "MP4_LOW", "MP4_HIGH", "ORIG_FILE"}));

    const QJsonObject folder = lstUploads.at(0);
    QCOMPARE(folder.value("body_size").toInteger(), qint64(0));
    QCOMPARE(xHeader(folder, "X-ORIG-FNAME"), QStringLiteral(" party"));
    QCOMPARE(xHeader(folder, "X-IS-BATCH-LAST-FILE"), QStringLiteral("1"));
    QCOMPARE(xHeader(folder, "X-LAST-MODIFIED-TIME"), QStringLiteral("<absent>"));
    QCOMPARE(xHeader(lstUploads.at(1), "X-IS-BATCH-FIRST-FILE"), QStringLiteral("<absent>"));
    QCOMPARE(xHeader(lstUploads.at(3), "X-ORIG-FNAME"), QStringLiteral(" IMG_20240501_093005.MP4"));
    QVERIFY(QFile::exists(m_pServer->root() + QLatin1String("/photo/2013/party/IMG_20240501_093005.MP4")));
    // A file without thumbnails never adds its upload share to "next"; the last record sets 100.
    QCOMPARE(run.next, QList<int>({39, 79, 100}));
    // The unchosen medium transcode is left for the temporary folder's cleaning.
    QVERIFY(QFile::exists(TempFiles::tempFilePrefix(uVideoId) + QLatin1String("FILM_M.mp4")));
    TempFiles::emptyFolder();
    QVERIFY(!QFile::exists(TempFiles::tempFilePrefix(uVideoId) + QLatin1String("FILM_M.mp4")));
}

void TestUploadPipeline::sessionLostOnSecondFile()
{
    QVERIFY(startServer({QStringLiteral("--session-lost-after"), QStringLiteral("1")}));
    const UploadJobList lstJobs{{{JobLocalPath, makeFile(QStringLiteral("a.jpg"))}, {JobDestination, QString()}},
                                {{JobLocalPath, makeFile(QStringLiteral("b.jpg"))}, {JobDestination, QString()}},
                                {{JobLocalPath, makeFile(QStringLiteral("c.jpg"))}, {JobDestination, QString()}}};
    const Run run = runPipeline(lstJobs);
    QVERIFY(run.finished);
    QCOMPARE(run.sessionLost, 1);
    QCOMPARE(m_pQueue->succeeded, 1);
    QCOMPARE(m_pQueue->failed, 1);
    QCOMPARE(m_pQueue->failures.at(0),
             qMakePair(QStringLiteral("b.jpg"),
                       QStringLiteral("The connection is lost. Please log in to Kestrabox Manager again.")));
    QCOMPARE(uploads().size(), 2);
    // Only the accepted file is in the history.
    QSqlQuery query(VelmDatabase::database());
    QVERIFY(query.exec(QStringLiteral("SELECT name FROM PhotoRecords")));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toString(), QStringLiteral("a.jpg"));
    QVERIFY(!query.next());
}

void TestUploadPipeline::cancelAwaitingReply_data()
{
    QTest::addColumn<int>("replyDelayMs");
    QTest::addColumn<int>("graceMs");
    QTest::addColumn<int>("cancels");
    QTest::addColumn<bool>("uploaded");
    // The file is on the server when Cancel comes: its reply is awaited, so that it is counted
    // and recorded instead of being sent again by the next run.
    QTest::newRow("reply within the wait") << 1500 << 5000 << 1 << true;
    QTest::newRow("no reply within the wait") << 3000 << 500 << 1 << false;
    QTest::newRow("second cancel ends the wait") << 3000 << 5000 << 2 << false;
}

void TestUploadPipeline::cancelAwaitingReply()
{
    QFETCH(int, replyDelayMs);
    QFETCH(int, graceMs);
    QFETCH(int, cancels);
    QFETCH(bool, uploaded);
    QVERIFY(startServer({QStringLiteral("--delay-ms"), QString::number(replyDelayMs)}));
    const UploadJobList lstJobs{{{JobLocalPath, makeFile(QStringLiteral("slow.txt"))}, {JobDestination, QString()}},
                                {{JobLocalPath, makeFile(QStringLiteral("next.txt"))}, {JobDestination, QString()}}};
    QElapsedTimer timer;
    timer.start();
    const Run run = runPipeline(lstJobs, RunMode::UploadHandOver, nullptr, 500, cancels, graceMs);
    QVERIFY(run.finished);
    QCOMPARE(run.waitedFor, QStringList{"slow.txt"});
    QVERIFY2(timer.elapsed() < 500 + qMin(replyDelayMs, graceMs + 300 * (cancels - 1)) + 1500,
             qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(m_pQueue->succeeded, uploaded ? 1 : 0);
    QCOMPARE(m_pQueue->failed, uploaded ? 0 : 1);
    if (!uploaded)
        QCOMPARE(m_pQueue->failures.at(0),
                 qMakePair(QStringLiteral("slow.txt"),
                           QStringLiteral("The server did not confirm this file after it was sent; it may have been "
                                          "stored. (Error Code: OperationCanceledError)")));
    QCOMPARE(UploadHistory::isUploaded(lstJobs.at(0).value(JobLocalPath), QStringLiteral("home")), uploaded);
    // The next file was never started, and the run ends without it.
    QCOMPARE(uploads().size(), 1);
    m_pQueue->collectNotSent(lstJobs, QStringLiteral("not sent"));
    QCOMPARE(m_pQueue->notSent, (QList<QPair<QString, QString>>{{"next.txt", "not sent"}}));
}

void TestUploadPipeline::droppedConnections_data()
{
    QTest::addColumn<int>("drops");
    QTest::addColumn<int>("succeeded");
    QTest::addColumn<int>("attempts");
    QTest::newRow("dropped once, arrives whole") << 1 << 1 << -1; // by Qt's own re-send or ours
    QTest::newRow("keeps dropping: five attempts") << 20 << 0 << 5;
}

void TestUploadPipeline::droppedConnections()
{
    QFETCH(int, drops);
    QFETCH(int, succeeded);
    QFETCH(int, attempts);

    QVERIFY(startServer({QStringLiteral("--drop-after"), QStringLiteral("65536:%1").arg(drops)}));
    QByteArray baData(3 * 1024 * 1024, '\0');
    for (int i = 0; i < baData.size(); ++i)
        baData[i] = char((quint32(i) * 7919u) >> 3);
    const QString strFile = makeFile(QStringLiteral("big.jpg"), baData);

    QStringList lstLines;
    Run run;
    {
        DebugCapture capture;
        run = runPipeline({{{JobLocalPath, strFile}, {JobDestination, QString()}}});
        lstLines = capture.lines();
    }
    QVERIFY(run.finished);
    QCOMPARE(m_pQueue->succeeded, succeeded);
    QCOMPARE(m_pQueue->failed, 1 - succeeded);
    // The uploader's own attempts (the network layer may add one silent re-send of its own).
    const int iRetries = int(lstLines.filter(QRegularExpression(QStringLiteral("^FileUploader: attempt \\d failed"))).size());
    if (attempts > 0)
        QCOMPARE(iRetries + 1, attempts);
    QCOMPARE(lstLines.filter(QStringLiteral("giving up after 5 attempts")).size(), succeeded ? 0 : 1);
    if (succeeded) {
        QCOMPARE(sha256(m_pServer->root() + QLatin1String("/photo/big.jpg")), sha256(strFile));
    } else {
        QCOMPARE(m_pQueue->failures.at(0).first, QStringLiteral("big.jpg"));
        QVERIFY2(m_pQueue->failures.at(0).second.startsWith(QLatin1String("Connection error. (Error Code: ")),
                 qPrintable(m_pQueue->failures.at(0).second));
        QVERIFY(!QFile::exists(m_pServer->root() + QLatin1String("/photo/big.jpg")));
    }
}

void TestUploadPipeline::vanishedFileFailsWithoutRequest()
{
    QVERIFY(startServer());
    const QString strGone = makeFile(QStringLiteral("gone.jpg"));
    const QString strKept = makeFile(QStringLiteral("kept.jpg"));
    UploadJobList lstJobs{{{JobLocalPath, strGone}, {JobDestination, QString()}},
                          {{JobLocalPath, strKept}, {JobDestination, QString()}}};
    QFile::remove(strGone);
    const Run run = runPipeline(lstJobs);
    QVERIFY(run.finished);
    QCOMPARE(m_pQueue->succeeded, 1);
    QCOMPARE(m_pQueue->failures,
             (QList<QPair<QString, QString>>{
                 {"gone.jpg", "The file could not be read: it has been moved or deleted, or it may not be read."}}));
    QCOMPARE(uploads().size(), 1);
}

void TestUploadPipeline::cameraModeHistory()
{
    QVERIFY(startServer());
    const QString strA = makeFile(QStringLiteral("DSC_1.JPG"));
    const QString strB = makeFile(QStringLiteral("DSC_2.JPG"));
    const FileUploader::CameraDetails details{{"DSC_1.JPG", {"123", "2024:05:01 10:00:00", "cam-7"}}};
    const Run run = runPipeline({{{JobLocalPath, strA}, {JobDestination, QString()}},
                                 {{JobLocalPath, strB}, {JobDestination, QString()}}},
                                RunMode::Camera, &details);
    QVERIFY(run.finished);
    QVERIFY(!VelmDatabase::tableExists(VelmDatabase::PhotoRecords));
    QVERIFY(UploadHistory::isCameraItemUploaded("DSC_1.JPG", "home", "123", "2024:05:01 10:00:00", "cam-7"));
    QVERIFY(!UploadHistory::isCameraItemUploaded("DSC_1.JPG", "home", "124", "2024:05:01 10:00:00", "cam-7"));
    QVERIFY(UploadHistory::isCameraItemUploaded("DSC_2.JPG", "home", "", "", ""));
}

void TestUploadPipeline::eventLoopRunsWhileWaiting()
{
    QVERIFY(startServer());
    m_pQueue->total = 1;
    FileUploader uploader(m_pQueue.get(), m_pNam.get(), &m_profile, RunMode::UploadHandOver);
    QSignalSpy finished(&uploader, &FileUploader::signalUploadFinished);
    int iTicks = 0;
    int iTicksAtCancel = -1;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&iTicks]() { ++iTicks; });
    ticker.start(100);
    // The uploader's loop runs on this thread while it waits; the check and the cancel
    // come from the event loop it keeps running, as a click on Cancel would.
    QTimer::singleShot(1000, this, [&]() {
        iTicksAtCancel = iTicks;
        uploader.cancel();
    });
    uploader.start();
    QVERIFY(finished.wait(10000));
    ticker.stop();
    QVERIFY2(iTicksAtCancel >= 7, qPrintable(QString::number(iTicksAtCancel)));
    QCOMPARE(m_pQueue->succeeded + m_pQueue->failed, 0);
}

void TestUploadPipeline::realThumbnailsAndDateName()
{
    QVERIFY(startServer());
    m_profile.daterename = true;
    const QString strPhoto = m_pEnv->root() + QLatin1String("/local/DSC_0042.JPG");
    QDir().mkpath(QFileInfo(strPhoto).absolutePath());
    QVERIFY(MediaFixtures::makeJpeg(strPhoto, 1600, 1200, QStringLiteral("2010:05:01 14:03:07")));

    const Run run = runPipeline({{{JobLocalPath, strPhoto}, {JobDestination, QStringLiteral("2013")}}});
    QVERIFY(run.finished);
    QCOMPARE(m_pQueue->succeeded, 1);
    const QString strStored = m_pServer->root() + QLatin1String("/photo/2013/");
    QCOMPARE(TestFiles::readBytes(strStored + QLatin1String("IMG_20100501_140307.JPG")), TestFiles::readBytes(strPhoto));
    const QStringList lstRenditions =
        QDir(strStored + QLatin1String(".renditions/IMG_20100501_140307.JPG")).entryList(QDir::Files, QDir::Name);
    QCOMPARE(lstRenditions, QStringList({"THUM_B.jpg", "THUM_L.jpg", "THUM_M.jpg", "THUM_S.jpg", "THUM_XL.jpg"}));
    QCOMPARE(MediaFixtures::imageSize(strStored + QLatin1String(".renditions/IMG_20100501_140307.JPG/THUM_XL.jpg")),
             QSize(1280, 960));
}

QTEST_GUILESS_MAIN(TestUploadPipeline)
#include "tst_uploadpipeline.moc"

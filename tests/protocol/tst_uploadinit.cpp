#include "RefServerProcess.h"
#include "ServerLogin.h"
#include "DebugCapture.h"
#include "TestEnvironment.h"
#include "VelmLocale.h"
#include "protocol/ServerReply.h"
#include "protocol/ServerRequest.h"
#include "protocol/UploadInitRequest.h"
#include "store/ProfileStore.h"

#include <QDir>
#include <QJsonArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

QString headerValue(const QJsonObject& entry, const char* pszName)
{
    for (const QJsonValue& header : entry.value("headers").toArray()) {
        const QJsonArray pair = header.toArray();
        if (pair.at(0).toString().compare(QLatin1String(pszName), Qt::CaseInsensitive) == 0)
            return pair.at(1).toString();
    }
    return QString();
}

} // namespace

// The upload announcement: its bytes on the wire, the reply, and the filtering of the jobs.
class TestUploadInit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void serverPaths_data();
    void serverPaths();
    void bodyOnTheWire();
    void filtering();
    void everythingForbidden();
    void failuresChangeNothing_data();
    void failuresChangeNothing();
    void zeroFileMessages();
    void transportFailureNames_data();
    void transportFailureNames();

private:
    bool startAndLogin(const QStringList& lstArgs = {}, bool blHttps = false);
    QString makeFile(const QString& strRelative);
    UploadJob job(const QString& strLocal, const QString& strDestination);

    std::unique_ptr<TestEnvironment> m_pEnv;
    std::unique_ptr<RefServerProcess> m_pServer;
    std::unique_ptr<QNetworkAccessManager> m_pNam;
    ServerProfile m_profile;
};

void TestUploadInit::initTestCase()
{
    VelmLocale::fillMessageTable();
}

void TestUploadInit::init()
{
    m_pEnv = std::make_unique<TestEnvironment>();
    m_pNam = std::make_unique<QNetworkAccessManager>();
}

void TestUploadInit::cleanup()
{
    m_pNam.reset();
    m_pServer.reset();
    m_pEnv.reset();
}

bool TestUploadInit::startAndLogin(const QStringList& lstArgs, bool blHttps)
{
    const QString strRoot = m_pEnv->root() + QLatin1String("/server");
    QDir().mkpath(strRoot + QLatin1String("/photo/2013/trip"));
    QDir().mkpath(strRoot + QLatin1String("/photo/secret"));
    TestFiles::writeBytes(strRoot + QLatin1String("/photo/2013/old.jpg"), "x");
    m_pServer = std::make_unique<RefServerProcess>(strRoot);
    m_pServer->setAccounts(QJsonObject{
        {"accounts", QJsonArray{QJsonObject{{"name", "ann"}, {"password", "pw"}, {"forbidden_albums", QJsonArray{"secret"}}}}}});
    if (!m_pServer->start(lstArgs, blHttps))
        return false;

    ProfileStore::fillRecord(m_profile, QStringLiteral("p"), m_pServer->host(), m_pServer->port(), blHttps,
                             QStringLiteral("ann"), QStringLiteral("pw"), true, QString(), false, true, true, true,
                             QStringLiteral("RENAME"), QString(), {});
    return logIn(m_pNam.get(), &m_profile);
}

QString TestUploadInit::makeFile(const QString& strRelative)
{
    const QString strPath = m_pEnv->root() + QLatin1String("/local/") + strRelative;
    TestFiles::writeBytes(strPath, "data");
    return strPath;
}

UploadJob TestUploadInit::job(const QString& strLocal, const QString& strDestination)
{
    return UploadJob{{JobLocalPath, strLocal}, {JobDestination, strDestination}};
}

void TestUploadInit::serverPaths_data()
{
    QTest::addColumn<QString>("local");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("serverPath");
    QTest::newRow("root") << "/home/a/IMG_0001.JPG" << "" << "//IMG_0001.JPG";
    QTest::newRow("album") << "/home/a/IMG_0001.JPG" << "2013/trip" << "/2013/trip/IMG_0001.JPG";
    QTest::newRow("folder") << "/home/a/trip" << "2013" << "/2013/trip";
    QTest::newRow("folder with slash") << "/home/a/trip/" << "2013" << "/2013/trip";
}

void TestUploadInit::serverPaths()
{
    QFETCH(QString, local);
    QFETCH(QString, destination);
    QFETCH(QString, serverPath);
    QCOMPARE(UploadInitRequest::serverPath(job(local, destination)), serverPath);
}

void TestUploadInit::bodyOnTheWire()
{
    QVERIFY(startAndLogin());
    const QString strUmlaut = QString::fromUtf8("\xc3\x84pfel \xe6\x97\xa5.jpg");
    const UploadJobList lstJobs{job(makeFile(QStringLiteral("a.jpg")), QStringLiteral("2013/trip")),
                                job(makeFile(QStringLiteral("gone.jpg")), QStringLiteral("2013")),
                                job(makeFile(strUmlaut), QString())};
    QFile::remove(lstJobs.at(1).value(JobLocalPath));

    UploadInitRequest init;
    init.send(m_pNam.get(), m_profile.baseUrl, lstJobs);

    const QJsonObject entry = m_pServer->journalFor(QStringLiteral("/photo/include/rada_upload_init.php")).last();
    QCOMPARE(entry.value("method").toString(), QStringLiteral("POST"));
    const QString strType = headerValue(entry, "Content-Type");
    const QRegularExpressionMatch match = QRegularExpression(
        QStringLiteral("^multipart/form-data, boundary=(updbdry--\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d-{18})$"))
                                              .match(strType);
    QVERIFY2(match.hasMatch(), qPrintable(strType));
    const QByteArray baBoundary = match.captured(1).toLatin1();

    const QByteArray baList = "/2013/trip/a.jpg/FolderDelimiter///" + strUmlaut.toUtf8();
    const QByteArray baExpected = "--" + baBoundary + "\r\ncontent-disposition: form-data; name=\"filelist\"\r\n\r\n" +
                                  baList + "\r\n--" + baBoundary + "\r\n";
    QCOMPARE(QByteArray::fromBase64(entry.value("body_base64").toString().toLatin1()), baExpected);
    QCOMPARE(entry.value("body_size").toInteger(), qint64(baExpected.size()));

    // One job: its path alone.
    UploadInitRequest single;
    single.send(m_pNam.get(), m_profile.baseUrl, {lstJobs.at(0)});
    const QByteArray baSingle =
        QByteArray::fromBase64(m_pServer->journalFor(QStringLiteral("/photo/include/rada_upload_init.php"))
                                   .last()
                                   .value("body_base64")
                                   .toString()
                                   .toLatin1());
    QVERIFY(baSingle.contains("\r\n\r\n/2013/trip/a.jpg\r\n--updbdry--"));
    QVERIFY(!baSingle.contains("FolderDelimiter"));
}

void TestUploadInit::filtering()
{
    QVERIFY(startAndLogin({}, true));
    const QString strTrip = m_pEnv->root() + QLatin1String("/local/trip");
    QDir().mkpath(strTrip);
    UploadJobList lstJobs{job(strTrip, QStringLiteral("2013")),                                  // folder exists
                          job(makeFile(QStringLiteral("trip/in.jpg")), QStringLiteral("2013/trip")), // kept
                          job(makeFile(QStringLiteral("old.jpg")), QStringLiteral("2013")),     // file exists: kept
                          job(makeFile(QStringLiteral("s.jpg")), QStringLiteral("secret")),     // forbidden
                          job(makeFile(QStringLiteral("new.jpg")), QStringLiteral("2013"))};    // new
    const UploadJobList lstSent = lstJobs;

    UploadInitRequest init;
    init.send(m_pNam.get(), m_profile.baseUrl, lstJobs);
    QCOMPARE(init.duplicatedPaths(), QSet<QString>({"/2013/trip", "/2013/old.jpg"}));
    QCOMPARE(init.noPrivilegePaths(), QSet<QString>({"/secret/s.jpg"}));

    init.filterJobs(lstJobs);
    QCOMPARE(lstJobs, UploadJobList({lstSent.at(1), lstSent.at(2), lstSent.at(4)}));
    QVERIFY(init.skippedUploaded());
    QVERIFY(init.skippedNoPrivilege());
}

void TestUploadInit::everythingForbidden()
{
    QVERIFY(startAndLogin());
    UploadJobList lstJobs{job(makeFile(QStringLiteral("a.jpg")), QStringLiteral("secret")),
                          job(makeFile(QStringLiteral("b.jpg")), QStringLiteral("secret/deeper"))};
    UploadInitRequest init;
    init.send(m_pNam.get(), m_profile.baseUrl, lstJobs);
    init.filterJobs(lstJobs);
    QVERIFY(lstJobs.isEmpty());
    QCOMPARE(init.zeroFileMessage(),
             QStringLiteral("Your account does not have permission to upload the selected items to Pictarium."));
}

void TestUploadInit::failuresChangeNothing_data()
{
    QTest::addColumn<QStringList>("serverArgs");
    QTest::addColumn<bool>("loggedIn");
    QTest::addColumn<QString>("logLine"); // a regular expression

    QTest::newRow("html page") << QStringList{"--html-on", "/photo/include/rada_upload_init.php"} << true
                               << "^init upload error:server unknown errror$";
    QTest::newRow("session lost") << QStringList() << false << "^init upload error:session_lost$";
    QTest::newRow("http 500") << QStringList{"--status-on", "/photo/include/rada_upload_init.php=500"} << true
                              << "^init upload error:.+";
    QTest::newRow("dropped") << QStringList{"--close-immediately", "/photo/include/rada_upload_init.php"} << true
                             << "^init upload error:.+";
}

void TestUploadInit::failuresChangeNothing()
{
    QFETCH(QStringList, serverArgs);
    QFETCH(bool, loggedIn);
    QFETCH(QString, logLine);

    QVERIFY(startAndLogin(serverArgs));
    if (!loggedIn)
        m_pNam = std::make_unique<QNetworkAccessManager>(); // no cookie
    UploadJobList lstJobs{job(makeFile(QStringLiteral("s.jpg")), QStringLiteral("secret")),
                          job(makeFile(QStringLiteral("old.jpg")), QStringLiteral("2013"))};
    const UploadJobList lstSent = lstJobs;

    UploadInitRequest init;
    QStringList lstErrors;
    {
        DebugCapture capture;
        init.send(m_pNam.get(), m_profile.baseUrl, lstJobs);
        lstErrors = capture.filter(QStringLiteral("init upload error:"));
    }

    QVERIFY(init.duplicatedPaths().isEmpty());
    QVERIFY(init.noPrivilegePaths().isEmpty());
    init.filterJobs(lstJobs);
    QCOMPARE(lstJobs, lstSent);
    QCOMPARE(lstErrors.size(), 1);
    QVERIFY2(QRegularExpression(logLine).match(lstErrors.first()).hasMatch(), qPrintable(lstErrors.first()));
}

void TestUploadInit::zeroFileMessages()
{
    const QString strBoth = VelmLocale::message("upload_zero_file");
    UploadInitRequest none;
    QCOMPARE(none.zeroFileMessage(), strBoth);
    UploadInitRequest uploaded;
    uploaded.setSkippedUploaded();
    QCOMPARE(uploaded.zeroFileMessage(),
             QStringLiteral("The selected items have already been uploaded to the destination folder in Pictarium. No "
                            "file is available for upload."));
}

void TestUploadInit::transportFailureNames_data()
{
    QTest::addColumn<QStringList>("serverArgs");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");

    QTest::newRow("404 on albums") << QStringList{"--status-on", "/photo/include/rada_get_uploadable_album.php=404"}
                                   << "albums" << "This function is not supported by the connected server.";
    QTest::newRow("404 on upload") << QStringList{"--status-on", "/photo/include/rada_file_upload.php=404"}
                                   << "upload" << "Connection error. (Error Code: ContentNotFoundError)";
    QTest::newRow("dropped upload") << QStringList{"--close-immediately", "/photo/include/rada_file_upload.php"}
                                    << "upload" << "Connection error. (Error Code: RemoteHostClosedError)";
    QTest::newRow("html upload") << QStringList{"--html-on", "/photo/include/rada_file_upload.php"} << "upload"
                                 << "Unknown server error. (Error Code:ret_err)";
}

void TestUploadInit::transportFailureNames()
{
    QFETCH(QStringList, serverArgs);
    QFETCH(QString, path);
    QFETCH(QString, message);

    QVERIFY(startAndLogin(serverArgs));
    const bool blAlbums = path == QLatin1String("albums");
    QNetworkReply* pReply =
        blAlbums ? ServerRequest::post(m_pNam.get(),
                                       ServerRequest::buildForm(m_profile.baseUrl, ServerRequest::AlbumListPath),
                                       QByteArrayLiteral("action=get_uploadable_album_list"))
                 : ServerRequest::put(m_pNam.get(), ServerRequest::build(m_profile.baseUrl, ServerRequest::FileUploadPath),
                                      nullptr);
    QSignalSpy finished(pReply, &QNetworkReply::finished);
    QVERIFY(finished.wait(15000));
    const ServerReply reply = ServerReply::classify(pReply);
    delete pReply;
    QCOMPARE(blAlbums ? ReplyMessages::albumList(reply) : ReplyMessages::fileUpload(reply), message);
}

QTEST_GUILESS_MAIN(TestUploadInit)
#include "tst_uploadinit.moc"

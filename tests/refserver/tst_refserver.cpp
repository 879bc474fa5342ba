#include "RefServerProcess.h"
#include "TestEnvironment.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTcpSocket>
#include <QtTest>

#include <csignal>

using Tree = QMap<QString, QByteArray>;
using Header = QPair<QByteArray, QByteArray>;

namespace {

const QString kLogin = QStringLiteral("/blog/login.php");
const QString kAlbums = QStringLiteral("/photo/include/rada_get_uploadable_album.php");
const QString kInit = QStringLiteral("/photo/include/rada_upload_init.php");
const QString kUpload = QStringLiteral("/photo/include/rada_file_upload.php");
const QByteArray kBoundary = "updbdry--2024-05-01T09:30:00------------------";

QByteArray pct(const QString& strText)
{
    return QUrl::toPercentEncoding(strText);
}

QJsonObject json(const QByteArray& baText)
{
    return QJsonDocument::fromJson(baText).object();
}

QJsonObject account(const QString& strName, const QJsonObject& extra = {})
{
    QJsonObject object = extra;
    object.insert(QStringLiteral("name"), strName);
    object.insert(QStringLiteral("password"), QStringLiteral("pw"));
    return object;
}

// admin (admin/pw), ann (2013/secret forbidden, personal Pictarium on), cat (root forbidden),
// and one account for each refusal.
QJsonObject standardAccounts(const QJsonObject& top = {})
{
    QJsonObject object = top;
    object.insert(
        QStringLiteral("accounts"),
        QJsonArray{account(QStringLiteral("admin"), {{QStringLiteral("admin"), true}}),
                   account(QStringLiteral("ann"),
                           {{QStringLiteral("forbidden_albums"), QJsonArray{QStringLiteral("2013/secret")}},
                            {QStringLiteral("personal_enabled"), true}}),
                   account(QStringLiteral("cat"), {{QStringLiteral("forbidden_albums"), QJsonArray{QString()}}}),
                   account(QStringLiteral("dan"), {{QStringLiteral("disabled"), true}}),
                   account(QStringLiteral("eve"), {{QStringLiteral("photo_user"), false}}),
                   account(QStringLiteral("fay"), {{QStringLiteral("login_privilege"), false}}),
                   account(QStringLiteral("bob"), {{QStringLiteral("personal_enabled"), false}})});
    return object;
}

// The multipart file list as the uploader sends it: comma before the boundary, no closing "--".
QByteArray initBody(const QByteArray& baList, const QByteArray& baBoundary = kBoundary, bool blClosing = false)
{
    return "--" + baBoundary + "\r\ncontent-disposition: form-data; name=\"filelist\"\r\n\r\n" + baList + "\r\n--" +
           baBoundary + (blClosing ? "--\r\n" : "\r\n");
}

// Every file below strDir, hidden ones included, with its contents.
Tree treeOf(const QString& strDir)
{
    Tree tree;
    QDirIterator it(strDir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString strPath = it.next();
        tree.insert(QDir(strDir).relativeFilePath(strPath), TestFiles::readBytes(strPath));
    }
    return tree;
}

struct Reply
{
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    int iStatus = 0;
    QByteArray baBody;
    QByteArray baContentType;
    QByteArray baLocation;
    QByteArray baSetCookie;
    QSslCertificate peerCertificate;
    QJsonObject json() const { return ::json(baBody); }
};

// A client with its own cookie jar, talking through Qt's access manager like the uploader does.
class Client
{
public:
    explicit Client(const QString& strBase) : m_strBase(strBase)
    {
        m_manager.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    }

    Reply send(const QByteArray& baVerb, const QString& strPath, const QList<Header>& lstHeaders,
               const QByteArray& baBody, QIODevice* pDevice = nullptr)
    {
        QNetworkRequest request(QUrl(m_strBase + strPath));
        for (const auto& header : lstHeaders)
            request.setRawHeader(header.first, header.second);
        QNetworkReply* pReply = pDevice ? m_manager.sendCustomRequest(request, baVerb, pDevice)
                                        : m_manager.sendCustomRequest(request, baVerb, baBody);
        QObject::connect(pReply, &QNetworkReply::sslErrors, pReply, [pReply] { pReply->ignoreSslErrors(); });
        QEventLoop loop;
        QObject::connect(pReply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(180000, &loop, &QEventLoop::quit); // only against a hang
        loop.exec();
        Reply reply;
        reply.error = pReply->error();
        reply.iStatus = pReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        reply.baBody = pReply->readAll();
        reply.baContentType = pReply->rawHeader("Content-Type");
        reply.baLocation = pReply->rawHeader("Location");
        reply.baSetCookie = pReply->rawHeader("Set-Cookie");
        reply.peerCertificate = pReply->sslConfiguration().peerCertificate();
        delete pReply;
        return reply;
    }

    Reply postForm(const QString& strPath, const QByteArray& baForm)
    {
        return send("POST", strPath, {{"Content-Type", "application/x-www-form-urlencoded"}}, baForm);
    }

    Reply login(const QString& strUser, const QString& strPassword, const QString& strPrefix = QString())
    {
        return postForm(strPrefix + kLogin, "action=login&username=" + pct(strUser) + "&passwd=" + pct(strPassword));
    }

    Reply albumList(const QString& strPrefix = QString())
    {
        return postForm(strPrefix + kAlbums, "action=get_uploadable_album_list");
    }

    Reply init(const QByteArray& baBody, const QByteArray& baContentType = "multipart/form-data, boundary=" + kBoundary)
    {
        return send("POST", kInit, {{"Content-Type", baContentType}}, baBody);
    }

    // A file-upload request with the headers in the uploader's order.
    Reply upload(const QString& strAlbum, const QString& strName, const QByteArray& baType, const QByteArray& baBody,
                 const QByteArray& baDuplicate = "OVERWRITE", const QString& strPrefix = QString(),
                 const QList<Header>& lstExtra = {}, QIODevice* pDevice = nullptr)
    {
        QList<Header> lstHeaders = {{"X-PATH", ' ' + pct(strAlbum)},
                                    {"X-DUPLICATE", baDuplicate},
                                    {"X-ORIG-FNAME", ' ' + pct(strName)},
                                    {"X-UPLOAD-TYPE", baType}};
        lstHeaders << lstExtra;
        return send("PUT", strPrefix + kUpload, lstHeaders, baBody, pDevice);
    }

private:
    QString m_strBase;
    QNetworkAccessManager m_manager;
};

// A plain socket for bytes the access manager would never send.
class RawConnection
{
public:
    bool open(int iPort)
    {
        m_socket.connectToHost(QHostAddress::LocalHost, quint16(iPort));
        return m_socket.waitForConnected(10000);
    }

    // Writes the bytes and reads one response; empty when the server closed without one.
    QByteArray exchange(const QByteArray& baRequest)
    {
        m_socket.write(baRequest);
        m_socket.waitForBytesWritten(10000);
        return readResponse();
    }

    QByteArray readResponse()
    {
        QByteArray baIn;
        for (;;) {
            const qsizetype iHeadEnd = baIn.indexOf("\r\n\r\n");
            if (iHeadEnd >= 0) {
                const QRegularExpressionMatch match =
                    QRegularExpression(QStringLiteral("(?i)\r\ncontent-length: *(\\d+)"))
                        .match(QString::fromLatin1(baIn.left(iHeadEnd)));
                const qsizetype iLength = match.hasMatch() ? match.captured(1).toLongLong() : 0;
                if (baIn.size() >= iHeadEnd + 4 + iLength)
                    return baIn;
            }
            if (m_socket.bytesAvailable() == 0 && !m_socket.waitForReadyRead(15000))
                return baIn;
            baIn += m_socket.readAll();
        }
    }

    QTcpSocket& socket() { return m_socket; }

private:
    QTcpSocket m_socket;
};

int statusOf(const QByteArray& baResponse)
{
    return baResponse.startsWith("HTTP/1.1 ") ? baResponse.mid(9, 3).toInt() : 0;
}

QByteArray bodyOf(const QByteArray& baResponse)
{
    const qsizetype iHeadEnd = baResponse.indexOf("\r\n\r\n");
    return iHeadEnd < 0 ? QByteArray() : baResponse.mid(iHeadEnd + 4);
}

// Logs in over a raw connection and returns the "PICSESSID=..." pair.
QByteArray rawLogin(RawConnection& connection, const QByteArray& baUser = "admin")
{
    const QByteArray baForm = "action=login&username=" + baUser + "&passwd=pw";
    const QByteArray baResponse = connection.exchange(
        "POST /blog/login.php HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/x-www-form-urlencoded\r\n"
        "Content-Length: " +
        QByteArray::number(baForm.size()) + "\r\n\r\n" + baForm);
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Set-Cookie: (PICSESSID=[0-9a-f]+)")).match(QString::fromLatin1(baResponse));
    return match.captured(1).toLatin1();
}

QByteArray rawUploadHead(const QByteArray& baCookie, const QByteArray& baName, qint64 iLength)
{
    return "PUT /photo/include/rada_file_upload.php HTTP/1.1\r\nHost: 127.0.0.1\r\nCookie: " + baCookie +
           "\r\nX-PATH:  2013%2Ftrip\r\nX-DUPLICATE: OVERWRITE\r\nX-ORIG-FNAME:  " + baName +
           "\r\nX-UPLOAD-TYPE: ORIG_FILE\r\nContent-Length: " + QByteArray::number(iLength) + "\r\n\r\n";
}

} // namespace

class TestRefServer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startupLineAndExit_data();
    void startupLineAndExit();
    void login_data();
    void login();
    void sessionRequired_data();
    void sessionRequired();
    void albumLists_data();
    void albumLists();
    void uploadInit_data();
    void uploadInit();
    void duplicatePolicies_data();
    void duplicatePolicies();
    void folderCreation_data();
    void folderCreation();
    void pathTraversalRejected_data();
    void pathTraversalRejected();
    void personalPictariumStoresApart();
    void journalHeaderValues_data();
    void journalHeaderValues();
    void journalRecordsQtRequests();
    void faultOptions_data();
    void faultOptions();
    void delayedReply();
    void sessionLostAfterN();
    void droppedBodyLeavesNoFile_data();
    void droppedBodyLeavesNoFile();
    void malformedRequests_data();
    void malformedRequests();
    void keepAliveServesSeveralRequests();
    void httpsWithSelfSignedCertificate();
    void largeUploadKeepsServerMemorySmall();

private:
    // A started server with the standard accounts and the album 2013/trip (when it made the photo folder),
    // or null.
    static std::unique_ptr<RefServerProcess> startServer(const TestEnvironment& env, const QStringList& lstArgs = {},
                                                         const QJsonObject& accounts = standardAccounts());
};

std::unique_ptr<RefServerProcess> TestRefServer::startServer(const TestEnvironment& env, const QStringList& lstArgs,
                                                             const QJsonObject& accounts)
{
    auto pServer = std::make_unique<RefServerProcess>(env.root() + QLatin1String("/srv"));
    pServer->setAccounts(accounts);
    if (!pServer->start(lstArgs)) {
        qWarning("server did not start: %s", qPrintable(pServer->standardError()));
        return nullptr;
    }
    if (QDir(pServer->root() + QLatin1String("/photo")).exists())
        QDir().mkpath(pServer->root() + QLatin1String("/photo/2013/trip"));
    return pServer;
}

void TestRefServer::startupLineAndExit_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("accountsFile");
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stderrPart");

    const QStringList lstRoot = {QStringLiteral("--root"), QStringLiteral("{ROOT}")};
    QTest::newRow("SIGTERM") << lstRoot << QByteArray() << int(SIGTERM) << 0 << QString();
    QTest::newRow("SIGINT") << lstRoot << QByteArray() << int(SIGINT) << 0 << QString();
    QTest::newRow("unknown option") << lstRoot + QStringList{QStringLiteral("--bogus")} << QByteArray() << 0 << 2
                                    << QStringLiteral("Usage:");
    QTest::newRow("no root") << QStringList() << QByteArray() << 0 << 2 << QStringLiteral("--root");
    QTest::newRow("port out of range") << lstRoot + QStringList{QStringLiteral("--port"), QStringLiteral("70000")}
                                       << QByteArray() << 0 << 2 << QStringLiteral("--port");
    QTest::newRow("drop-after without count")
        << lstRoot + QStringList{QStringLiteral("--drop-after"), QStringLiteral("100")} << QByteArray() << 0 << 2
        << QStringLiteral("--drop-after");
    QTest::newRow("bad fail-upload regex")
        << lstRoot + QStringList{QStringLiteral("--fail-upload"), QStringLiteral("([=x")} << QByteArray() << 0 << 2
        << QStringLiteral("--fail-upload");
    QTest::newRow("accounts not JSON") << lstRoot << QByteArray("{\"accounts\": [") << 0 << 2
                                       << QStringLiteral("accounts.json");
    QTest::newRow("accounts value of wrong type")
        << lstRoot << QByteArray("{\"photo_running\": \"yes\"}") << 0 << 2 << QStringLiteral("photo_running");
    QTest::newRow("accounts file missing")
        << lstRoot + QStringList{QStringLiteral("--accounts"), QStringLiteral("{ROOT}/none.json")} << QByteArray() << 0
        << 2 << QStringLiteral("none.json");
}

void TestRefServer::startupLineAndExit()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, accountsFile);
    QFETCH(int, signal);
    QFETCH(int, exitCode);
    QFETCH(QString, stderrPart);

    TestEnvironment env;
    const QString strRoot = env.root() + QLatin1String("/srv");
    args.replaceInStrings(QStringLiteral("{ROOT}"), strRoot);
    if (!accountsFile.isEmpty()) {
        QVERIFY(TestFiles::writeBytes(env.root() + QLatin1String("/accounts.json"), accountsFile));
        args << QStringLiteral("--accounts") << env.root() + QLatin1String("/accounts.json");
    }
    args << QStringLiteral("--journal") << env.root() + QLatin1String("/journal.jsonl");

    QProcess process;
    process.start(QStringLiteral(PICTARIUM_REFSERVER_BIN), args);
    QVERIFY(process.waitForStarted(10000));
    if (signal != 0) {
        QVERIFY(QTest::qWaitFor([&process] { return process.canReadLine(); }, 15000));
        const QString strLine = QString::fromLatin1(process.readLine());
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^http://127\\.0\\.0\\.1:(\\d+)\n$")).match(strLine);
        QVERIFY2(match.hasMatch(), qPrintable(strLine));
        RawConnection connection;
        QVERIFY(connection.open(match.captured(1).toInt()));
        QCOMPARE(statusOf(connection.exchange("GET /nowhere HTTP/1.1\r\nHost: x\r\n\r\n")), 404);
        QVERIFY(QDir(strRoot + QLatin1String("/photo")).exists());
        ::kill(pid_t(process.processId()), signal);
    }
    QVERIFY(process.waitForFinished(15000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    const QString strError = QString::fromLocal8Bit(process.readAllStandardError());
    QVERIFY2(strError.contains(stderrPart), qPrintable(strError));
    if (signal != 0) {
        QCOMPARE(TestFiles::readBytes(env.root() + QLatin1String("/journal.jsonl")).count('\n'), 1);
        QVERIFY(!QDir(strRoot + QLatin1String("/.staging")).exists());
    } else {
        QCOMPARE(process.readAllStandardOutput(), QByteArray());
    }
}

void TestRefServer::login_data()
{
    QTest::addColumn<QJsonObject>("accounts");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("status");
    QTest::addColumn<QJsonObject>("reply");
    QTest::addColumn<QByteArray>("location");
    QTest::addColumn<QByteArray>("bodyPart");

    const QJsonObject accounts = standardAccounts();
    const QJsonObject ok = {{"success", true}, {"run_photo", true}, {"has_photo_root_path", true}};
    const QJsonObject refused = {{"success", false}, {"run_photo", true}};
    QTest::newRow("success") << accounts << QString() << "admin"
                             << "pw" << 200 << ok << QByteArray() << QByteArray();
    QTest::newRow("name in other case") << accounts << QString() << "ADMIN"
                                        << "pw" << 200 << ok << QByteArray() << QByteArray();
    QTest::newRow("wrong password") << accounts << QString() << "admin"
                                    << "PW" << 200 << refused << QByteArray() << QByteArray();
    QTest::newRow("unknown user") << accounts << QString() << "zed"
                                  << "pw" << 200 << refused << QByteArray() << QByteArray();
    QTest::newRow("disabled") << accounts << QString() << "dan"
                              << "pw" << 200 << QJsonObject{{"success", "disable_account"}, {"run_photo", true}}
                              << QByteArray() << QByteArray();
    QTest::newRow("not a photo user") << accounts << QString() << "eve"
                                      << "pw" << 200
                                      << QJsonObject{{"success", false}, {"run_photo", true}, {"not_photo_user", true}}
                                      << QByteArray() << QByteArray();
    QTest::newRow("no login privilege") << accounts << QString() << "fay"
                                        << "pw" << 200
                                        << QJsonObject{{"success", "login_noprivilege"}, {"run_photo", true}}
                                        << QByteArray() << QByteArray();
    QTest::newRow("not running") << standardAccounts({{"photo_running", false}}) << QString() << "ann"
                                 << "pw" << 200
                                 << QJsonObject{{"success", true}, {"run_photo", false}, {"has_photo_root_path", true}}
                                 << QByteArray() << QByteArray();
    QTest::newRow("no photo root") << standardAccounts({{"photo_root", false}}) << QString() << "ann"
                                   << "pw" << 200
                                   << QJsonObject{{"success", true},
                                                  {"run_photo", true},
                                                  {"has_photo_root_path", false}}
                                   << QByteArray() << QByteArray();
    QTest::newRow("not installed") << standardAccounts({{"photo_installed", false}}) << QString() << "ann"
                                   << "pw" << 404 << QJsonObject() << QByteArray() << QByteArray();
    QTest::newRow("service disabled, redirect")
        << standardAccounts({{"service_disabled", "redirect"}}) << QString() << "ann"
        << "pw" << 302 << QJsonObject() << QByteArray("/index.php?err=photo_str_service_disabled") << QByteArray();
    QTest::newRow("service disabled, page")
        << standardAccounts({{"service_disabled", "html"}}) << QString() << "ann"
        << "pw" << 200 << QJsonObject() << QByteArray() << QByteArray("service_not_available");
    QTest::newRow("personal") << accounts << "/~ann"
                              << "ann"
                              << "pw" << 200 << ok << QByteArray() << QByteArray();
    QTest::newRow("personal, owner in other case") << accounts << "/~Ann"
                                                   << "admin"
                                                   << "pw" << 200 << ok << QByteArray() << QByteArray();
    QTest::newRow("personal Pictarium off")
        << accounts << "/~bob"
        << "bob"
        << "pw" << 200 << QJsonObject{{"success", true}, {"run_photo", false}, {"has_photo_root_path", true}}
        << QByteArray() << QByteArray();
    QTest::newRow("personal, wrong password")
        << accounts << "/~bob"
        << "bob"
        << "x" << 200 << QJsonObject{{"success", false}, {"run_photo", false}} << QByteArray() << QByteArray();
    QJsonObject special = standardAccounts();
    QJsonArray lstAccounts = special.value("accounts").toArray();
    lstAccounts.append(QJsonObject{{"name", QStringLiteral("Jürgen & Co")}, {"password", QStringLiteral("p&w=d +é")}});
    special.insert("accounts", lstAccounts);
    QTest::newRow("encoded name and password")
        << special << QString() << QStringLiteral("jürgen & co") << QStringLiteral("p&w=d +é") << 200 << ok
        << QByteArray() << QByteArray();
}

void TestRefServer::login()
{
    QFETCH(QJsonObject, accounts);
    QFETCH(QString, prefix);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(int, status);
    QFETCH(QJsonObject, reply);
    QFETCH(QByteArray, location);
    QFETCH(QByteArray, bodyPart);

    TestEnvironment env;
    const auto pServer = startServer(env, {}, accounts);
    QVERIFY(pServer);
    QCOMPARE(QDir(pServer->root() + QLatin1String("/photo")).exists(), accounts.value("photo_root").toBool(true));
    Client client(pServer->baseUrl());
    const Reply result = client.login(user, password, prefix);
    QCOMPARE(result.iStatus, status);
    QCOMPARE(result.baLocation, location);
    if (!bodyPart.isEmpty())
        QVERIFY2(result.baBody.contains(bodyPart), result.baBody.constData());
    if (!reply.isEmpty()) {
        QCOMPARE(result.baContentType, QByteArray("application/json"));
        QCOMPARE(result.json(), reply);
    }

    // Only a plain success opens a session, and the cookie then works for that area.
    const bool blSession = reply.value("success") == QJsonValue(true);
    QCOMPARE(result.baSetCookie.startsWith("PICSESSID="), blSession);
    if (blSession) {
        QVERIFY(result.baSetCookie.contains("; path=/"));
        QVERIFY(result.baSetCookie.contains("HttpOnly"));
        QCOMPARE(client.albumList(prefix).json().value("success"), QJsonValue(true));
    }
}

void TestRefServer::sessionRequired_data()
{
    QTest::addColumn<QString>("loginPrefix"); // null: no login
    QTest::addColumn<QString>("requestPrefix");
    QTest::addColumn<QString>("endpoint");
    QTest::addColumn<QByteArray>("cookie"); // set by hand instead of the jar's
    QTest::addColumn<bool>("lost");

    for (const QString& strEndpoint : {kAlbums, kInit, kUpload}) {
        const QByteArray baName = strEndpoint.section(QLatin1Char('/'), -1).toLatin1();
        QTest::newRow(QByteArray("no login: " + baName).constData())
            << QString() << QString() << strEndpoint << QByteArray() << true;
        QTest::newRow(QByteArray("made-up cookie: " + baName).constData())
            << QString() << QString() << strEndpoint << QByteArray("PICSESSID=00112233445566778899aabbccddeeff")
            << true;
        QTest::newRow(QByteArray("personal session on the shared area: " + baName).constData())
            << "/~ann" << QString() << strEndpoint << QByteArray() << true;
        QTest::newRow(QByteArray("shared session on a personal area: " + baName).constData())
            << ""
            << "/~ann" << strEndpoint << QByteArray() << true;
        QTest::newRow(QByteArray("valid session: " + baName).constData())
            << "" << QString() << strEndpoint << QByteArray() << false;
    }
}

void TestRefServer::sessionRequired()
{
    QFETCH(QString, loginPrefix);
    QFETCH(QString, requestPrefix);
    QFETCH(QString, endpoint);
    QFETCH(QByteArray, cookie);
    QFETCH(bool, lost);

    TestEnvironment env;
    const auto pServer = startServer(env);
    QVERIFY(pServer);
    QDir().mkpath(pServer->root() + QLatin1String("/personal/ann/photo/2013/trip"));
    Client client(pServer->baseUrl());
    if (!loginPrefix.isNull())
        QCOMPARE(client.login(QStringLiteral("ann"), QStringLiteral("pw"), loginPrefix).json().value("success"),
                 QJsonValue(true));

    QList<Header> lstHeaders;
    if (!cookie.isEmpty())
        lstHeaders.append(Header("Cookie", cookie));
    QByteArray baBody;
    if (endpoint == kAlbums) {
        lstHeaders.append(Header("Content-Type", "application/x-www-form-urlencoded"));
        baBody = "action=get_uploadable_album_list";
    } else if (endpoint == kInit) {
        lstHeaders.append(Header("Content-Type", "multipart/form-data, boundary=" + kBoundary));
        baBody = initBody("/2013/trip/a.jpg");
    } else {
        lstHeaders << Header("X-PATH", " 2013%2Ftrip") << Header("X-DUPLICATE", "OVERWRITE")
                   << Header("X-ORIG-FNAME", " a.jpg") << Header("X-UPLOAD-TYPE", "ORIG_FILE");
        baBody = "data";
    }
    const Reply reply = client.send(endpoint == kUpload ? "PUT" : "POST", requestPrefix + endpoint, lstHeaders, baBody);
    QCOMPARE(reply.iStatus, 200);
    if (lost)
        QCOMPARE(reply.json(), (QJsonObject{{"success", false}, {"err_msg", "session_lost"}}));
    else
        QCOMPARE(reply.json().value("success"), QJsonValue(true));
    const QString strStored = pServer->root() + QLatin1String("/photo/2013/trip/a.jpg");
    QCOMPARE(QFile::exists(strStored), !lost && endpoint == kUpload);
}

void TestRefServer::albumLists_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QByteArray>("form");
    QTest::addColumn<QJsonObject>("reply");

    const QJsonObject allAlbums = {
        {"success", true},
        {"is_admin", true},
        {"uploadable_albums", QJsonArray{"2013", "2013/party", "2013/secret", "2013/secret/deep", "2013/trip", "misc",
                                         QStringLiteral("Ärger"), QStringLiteral("Ärger/x")}}};
    QTest::newRow("admin sees every album") << "admin" << QByteArray("action=get_uploadable_album_list") << allAlbums;
    QTest::newRow("forbidden subtree left out")
        << "ann" << QByteArray("action=get_uploadable_album_list")
        << QJsonObject{{"success", true},
                       {"is_admin", false},
                       {"uploadable_albums", QJsonArray{"2013", "2013/party", "2013/trip", "misc",
                                                        QStringLiteral("Ärger"), QStringLiteral("Ärger/x")}}};
    QTest::newRow("children of 2013") << "ann" << QByteArray("action=get_all_subalbum_list&path=2013")
                                      << QJsonObject{{"success", true},
                                                     {"sub_albums", QJsonArray{"party", "secret", "trip"}}};
    QTest::newRow("children of the root")
        << "ann" << QByteArray("action=get_all_subalbum_list&path=")
        << QJsonObject{{"success", true}, {"sub_albums", QJsonArray{"2013", "misc", QStringLiteral("Ärger")}}};
    QTest::newRow("children of a non-ASCII album")
        << "ann"
        << "action=get_all_subalbum_list&path=" + pct(QStringLiteral("Ärger"))
        << QJsonObject{{"success", true}, {"sub_albums", QJsonArray{"x"}}};
    QTest::newRow("missing album") << "ann" << QByteArray("action=get_all_subalbum_list&path=2013%2Fnope")
                                   << QJsonObject{{"success", false},
                                                  {"err_msg", "target_folder_not_found_/2013/nope"}};
    QTest::newRow("climbing out") << "ann" << QByteArray("action=get_all_subalbum_list&path=..%2F..")
                                  << QJsonObject{{"success", false}, {"err_msg", "target_folder_not_found_/../.."}};
}

void TestRefServer::albumLists()
{
    QFETCH(QString, user);
    QFETCH(QByteArray, form);
    QFETCH(QJsonObject, reply);

    TestEnvironment env;
    const auto pServer = startServer(env);
    QVERIFY(pServer);
    const QString strPhoto = pServer->root() + QLatin1String("/photo/");
    const QStringList lstDirs = {"2013/party", "2013/secret/deep", "2013/.hidden", "misc", "Ärger/x", ".renditions/a"};
    for (const QString& strDir : lstDirs)
        QVERIFY(QDir().mkpath(strPhoto + strDir));
    QVERIFY(TestFiles::writeBytes(strPhoto + QLatin1String("2013/a_file.jpg"), "x"));

    Client client(pServer->baseUrl());
    QCOMPARE(client.login(user, QStringLiteral("pw")).json().value("success"), QJsonValue(true));
    QCOMPARE(client.postForm(kAlbums, form).json(), reply);
}

void TestRefServer::uploadInit_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QJsonObject>("reply");

    const QString strUmlaut = QStringLiteral("/2013/trip/Ölfeld 💡.jpg");
    const QStringList lstEntries = {QStringLiteral("/2013/trip/IMG_1.JPG"),
                                    strUmlaut,
                                    QStringLiteral("/2013/trip/NEW.JPG"),
                                    QStringLiteral("/2013/secret/a.jpg"),
                                    QStringLiteral("/2013/secret/deeper/b.jpg"),
                                    QStringLiteral("//IMG_9.JPG"),
                                    QStringLiteral("//2013")};
    const QByteArray baList = lstEntries.join(QStringLiteral("/FolderDelimiter/")).toUtf8();
    const QByteArray baComma = "multipart/form-data, boundary=" + kBoundary;

    const QJsonObject annReply = {
        {"success", true},
        {"duplicated_files", QJsonArray{"/2013/trip/IMG_1.JPG", strUmlaut, "//2013"}},
        {"no_privilege_files", QJsonArray{"/2013/secret/a.jpg", "/2013/secret/deeper/b.jpg"}}};
    QTest::newRow("uploader's body") << "ann" << baComma << initBody(baList) << annReply;
    QTest::newRow("semicolon and closing delimiter")
        << "ann" << QByteArray("multipart/form-data; boundary=\"" + kBoundary + '"')
        << initBody(baList, kBoundary, true) << annReply;
    QTest::newRow("root forbidden") << "cat" << baComma << initBody(baList)
                                    << QJsonObject{{"success", true},
                                                   {"duplicated_files", annReply.value("duplicated_files")},
                                                   {"no_privilege_files", QJsonArray{"//IMG_9.JPG", "//2013"}}};
    QTest::newRow("single entry") << "ann" << baComma << initBody(strUmlaut.toUtf8())
                                  << QJsonObject{{"success", true},
                                                 {"duplicated_files", QJsonArray{strUmlaut}},
                                                 {"no_privilege_files", QJsonArray()}};
    const QJsonObject bad = {{"success", false}, {"err_msg", "bad_request"}};
    QTest::newRow("other boundary in the body") << "ann" << baComma << initBody(baList, "other") << bad;
    QTest::newRow("no boundary") << "ann" << QByteArray("multipart/form-data") << initBody(baList) << bad;
    QTest::newRow("no final delimiter") << "ann" << baComma << initBody(baList).chopped(kBoundary.size() + 4) << bad;
    QTest::newRow("form instead of multipart")
        << "ann" << QByteArray("application/x-www-form-urlencoded") << QByteArray("filelist=x") << bad;
}

void TestRefServer::uploadInit()
{
    QFETCH(QString, user);
    QFETCH(QByteArray, contentType);
    QFETCH(QByteArray, body);
    QFETCH(QJsonObject, reply);

    TestEnvironment env;
    const auto pServer = startServer(env);
    QVERIFY(pServer);
    const QString strTrip = pServer->root() + QLatin1String("/photo/2013/trip/");
    QVERIFY(TestFiles::writeBytes(strTrip + QLatin1String("IMG_1.JPG"), "1"));
    QVERIFY(TestFiles::writeBytes(strTrip + QStringLiteral("Ölfeld 💡.jpg"), "2"));
    QVERIFY(QDir().mkpath(pServer->root() + QLatin1String("/photo/2013/secret")));

    Client client(pServer->baseUrl());
    QCOMPARE(client.login(user, QStringLiteral("pw")).json().value("success"), QJsonValue(true));
    const Reply result = client.init(body, contentType);
    QCOMPARE(result.json(), reply);
    // Entries travel back as the same UTF-8 bytes, not escaped.
    if (reply.value("duplicated_files").toArray().contains(QStringLiteral("/2013/trip/Ölfeld 💡.jpg")))
        QVERIFY(result.baBody.contains(QStringLiteral("Ölfeld 💡.jpg").toUtf8()));
}

void TestRefServer::duplicatePolicies_data()
{
    QTest::addColumn<QByteArray>("policy");
    QTest::addColumn<Tree>("before"); // files in 2013/trip before the upload
    QTest::addColumn<QJsonObject>("reply");
    QTest::addColumn<Tree>("after");

    const QJsonObject ok = {{"success", true}};
    const Tree two = {{"IMG_1.JPG", "old"}, {"IMG_1_1.JPG", "older"}};
    auto stored = [](const QString& strName, const Tree& others = {}) {
        Tree tree = others;
        tree.insert(strName, "new source");
        tree.insert(".renditions/" + strName + "/THUM_S.jpg", "small 2");
        tree.insert(".renditions/" + strName + "/MP4_LOW.mp4", "clip");
        return tree;
    };
    QTest::newRow("OVERWRITE") << QByteArray("OVERWRITE") << two << ok
                               << stored(QStringLiteral("IMG_1.JPG"), {{"IMG_1_1.JPG", "older"}});
    QTest::newRow("RENAME, first suffix") << QByteArray("RENAME") << Tree{{"IMG_1.JPG", "old"}} << ok
                                          << stored(QStringLiteral("IMG_1_1.JPG"), {{"IMG_1.JPG", "old"}});
    QTest::newRow("RENAME, first free suffix")
        << QByteArray("RENAME") << two << ok << stored(QStringLiteral("IMG_1_2.JPG"), two);
    QTest::newRow("SKIP") << QByteArray("SKIP") << two
                          << QJsonObject{{"success", false}, {"err_msg", "duplicated_file"}} << two;
    QTest::newRow("SKIP, name free") << QByteArray("SKIP") << Tree() << ok << stored(QStringLiteral("IMG_1.JPG"));
    QTest::newRow("RENAME, name free") << QByteArray("RENAME") << Tree() << ok << stored(QStringLiteral("IMG_1.JPG"));
}

void TestRefServer::duplicatePolicies()
{
    QFETCH(QByteArray, policy);
    QFETCH(Tree, before);
    QFETCH(QJsonObject, reply);
    QFETCH(Tree, after);

    TestEnvironment env;
    const auto pServer = startServer(env);
    QVERIFY(pServer);
    const QString strTrip = pServer->root() + QLatin1String("/photo/2013/trip");
    for (auto it = before.constBegin(); it != before.constEnd(); ++it)
        QVERIFY(TestFiles::writeBytes(strTrip + QLatin1Char('/') + it.key(), it.value()));
    Client client(pServer->baseUrl());
    QCOMPARE(client.login(QStringLiteral("ann"), QStringLiteral("pw")).json().value("success"), QJsonValue(true));
    const QString strAlbum = QStringLiteral("2013/trip");
    const QString strName = QStringLiteral("IMG_1.JPG");
    const QJsonObject ok = {{"success", true}};
    QCOMPARE(client.upload(strAlbum, strName, "THUM_S", "small 1", policy, {}, {{"X-IS-BATCH-FIRST-FILE", "1"}}).json(),
             ok);
    QCOMPARE(client.upload(strAlbum, strName, "THUM_S", "small 2", policy).json(), ok); // replaces the first
    QCOMPARE(client.upload(strAlbum, strName, "MP4_LOW", "clip", policy).json(), ok);
    // A rendition of another file stays pending and is not stored with this one.
    QCOMPARE(client.upload(strAlbum, QStringLiteral("OTHER.JPG"), "THUM_S", "other", policy).json(), ok);
    const Reply result = client.upload(strAlbum, strName, "ORIG_FILE", "new source", policy, {},
                                       {{"X-IS-BATCH-LAST-FILE", "1"}, {"X-LAST-MODIFIED-TIME", "1700000000"}});
    QCOMPARE(result.json(), reply);
    QCOMPARE(treeOf(strTrip), after);
    if (reply.value("success").toBool()) {
        const QString strStored = after.key("new source");
        QCOMPARE(QFileInfo(strTrip + QLatin1Char('/') + strStored).lastModified().toSecsSinceEpoch(), 1700000000);
    }
}

void TestRefServer::folderCreation_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("album");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QJsonObject>("reply");
    QTest::addColumn<QString>("made"); // album that exists afterwards; empty: nothing new

    const QJsonObject ok = {{"success", true}};
    QTest::newRow("PUT new") << QByteArray("PUT") << "ann"
                             << "2013"
                             << "party" << ok << "2013/party";
    QTest::newRow("PUT existing") << QByteArray("PUT") << "ann"
                                  << "2013"
                                  << "trip" << ok << "2013/trip";
    QTest::newRow("PUT non-ASCII into the root")
        << QByteArray("PUT") << "ann"
        << "" << QStringLiteral("Été 2014") << ok << QStringLiteral("Été 2014");
    QTest::newRow("POST new") << QByteArray("POST") << "ann"
                              << "2013/trip"
                              << "day 1" << QJsonObject{{"success", true}, {"duplicate_folder", false}}
                              << "2013/trip/day 1";
    QTest::newRow("POST existing") << QByteArray("POST") << "ann"
                                   << "2013"
                                   << "trip" << QJsonObject{{"success", true}, {"duplicate_folder", true}}
                                   << "2013/trip";
    QTest::newRow("album missing") << QByteArray("PUT") << "ann"
                                   << "2013/nope"
                                   << "x"
                                   << QJsonObject{{"success", false}, {"err_msg", "target_folder_not_found_/2013/nope"}}
                                   << "";
    QTest::newRow("root missing for a name")
        << QByteArray("POST") << "ann"
        << "nope"
        << "x" << QJsonObject{{"success", false}, {"err_msg", "target_folder_not_found_/nope"}} << "";
    QTest::newRow("forbidden album") << QByteArray("PUT") << "ann"
                                     << "2013/secret"
                                     << "x" << QJsonObject{{"success", false}, {"err_msg", "no_privilege"}} << "";
    QTest::newRow("forbidden new album") << QByteArray("POST") << "ann"
                                         << "2013"
                                         << "secret" << QJsonObject{{"success", false}, {"err_msg", "no_privilege"}}
                                         << "";
    QTest::newRow("forbidden root") << QByteArray("POST") << "cat"
                                    << ""
                                    << "x" << QJsonObject{{"success", false}, {"err_msg", "no_privilege"}} << "";
    QTest::newRow("hidden name") << QByteArray("PUT") << "ann"
                                 << "2013"
                                 << ".x" << QJsonObject{{"success", false}, {"err_msg", "bad_dir_name_.x"}} << "";
    QTest::newRow("slash in name") << QByteArray("POST") << "ann"
                                   << "2013"
                                   << "a/b" << QJsonObject{{"success", false}, {"err_msg", "bad_dir_name_a/b"}} << "";
}

void TestRefServer::folderCreation()
{
    QFETCH(QByteArray, method);
    QFETCH(QString, user);
    QFETCH(QString, album);
    QFETCH(QString, name);
    QFETCH(QJsonObject, reply);
    QFETCH(QString, made);

    TestEnvironment env;
    const auto pServer = startServer(env);
    QVERIFY(pServer);
    const QString strPhoto = pServer->root() + QLatin1String("/photo");
    QVERIFY(QDir().mkpath(strPhoto + QLatin1String("/2013/secret")));
    Client client(pServer->baseUrl());
    QCOMPARE(client.login(user, QStringLiteral("pw")).json().value("success"), QJsonValue(true));
    const QList<Header> lstHeaders = {{"X-PATH", ' ' + pct(album)},
                                      {"X-DUPLICATE", "SKIP"},
                                      {"X-ORIG-FNAME", ' ' + pct(name)},
                                      {"X-UPLOAD-TYPE", "FOLDER"}};
    QCOMPARE(client.send(method, kUpload, lstHeaders, QByteArray()).json(), reply);

    QStringList lstAlbums;
    QDirIterator it(strPhoto, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        lstAlbums.append(QDir(strPhoto).relativeFilePath(it.next()));
    QStringList lstExpected = {QStringLiteral("2013"), QStringLiteral("2013/secret"), QStringLiteral("2013/trip")};
    if (!made.isEmpty() && !lstExpected.contains(made))
        lstExpected.append(made);
    lstAlbums.sort();
    lstExpected.sort();
    QCOMPARE(lstAlbums, lstExpected);
}

void TestRefServer::pathTraversalRejected_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("xPath");
    QTest::addColumn<QByteArray>("xName");
    QTest::addColumn<QString>("errMsg");

    const QString strBadFile = QStringLiteral("bad_file_name");
    QTest::newRow("album ..") << QByteArray("ORIG_FILE") << QByteArray(" ..%2F..") << QByteArray(" evil.jpg")
                              << strBadFile;
    QTest::newRow("album climbs after a real one")
        << QByteArray("ORIG_FILE") << QByteArray(" 2013%2F..%2F..%2F..") << QByteArray(" evil.jpg") << strBadFile;
    QTest::newRow("absolute album") << QByteArray("ORIG_FILE") << QByteArray(" %2F..%2Fetc") << QByteArray(" evil.jpg")
                                    << strBadFile;
    QTest::newRow("name with ../") << QByteArray("ORIG_FILE") << QByteArray(" 2013") << QByteArray(" ..%2Fevil.jpg")
                                   << strBadFile;
    QTest::newRow("name with backslash") << QByteArray("ORIG_FILE") << QByteArray(" 2013")
                                         << QByteArray(" ..%5C..%5Cevil.jpg") << strBadFile;
    QTest::newRow("name ..") << QByteArray("ORIG_FILE") << QByteArray(" 2013") << QByteArray(" ..") << strBadFile;
    QTest::newRow("hidden name") << QByteArray("ORIG_FILE") << QByteArray(" 2013") << QByteArray(" .evil")
                                 << strBadFile;
    QTest::newRow("NUL in name") << QByteArray("ORIG_FILE") << QByteArray(" 2013") << QByteArray(" evil%00.jpg")
                                 << strBadFile;
    QTest::newRow("empty name") << QByteArray("ORIG_FILE") << QByteArray(" 2013") << QByteArray(" ") << strBadFile;
    QTest::newRow("into the renditions folder")
        << QByteArray("ORIG_FILE") << QByteArray(" .renditions") << QByteArray(" evil.jpg") << strBadFile;
    QTest::newRow("rendition climbing") << QByteArray("THUM_S") << QByteArray(" %2E%2E") << QByteArray(" evil.jpg")
                                        << strBadFile;
    QTest::newRow("folder ..") << QByteArray("FOLDER") << QByteArray(" 2013") << QByteArray(" ..")
                               << QStringLiteral("bad_dir_name_..");
    QTest::newRow("folder below ..") << QByteArray("FOLDER") << QByteArray(" ..%2F..") << QByteArray(" evil")
                                     << QStringLiteral("bad_dir_name_evil");
}

void TestRefServer::pathTraversalRejected()
{
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, xPath);
    QFETCH(QByteArray, xName);
    QFETCH(QString, errMsg);

    TestEnvironment env;
    const auto pServer = startServer(env);
    QVERIFY(pServer);
    QVERIFY(QDir().mkpath(pServer->root() + QLatin1String("/photo/.renditions")));
    Client client(pServer->baseUrl());
    QCOMPARE(client.login(QStringLiteral("admin"), QStringLiteral("pw")).json().value("success"), QJsonValue(true));
    const Reply reply =
        client.send("PUT", kUpload,
                    {{"X-PATH", xPath}, {"X-DUPLICATE", "OVERWRITE"}, {"X-ORIG-FNAME", xName}, {"X-UPLOAD-TYPE", type}},
                    "EVIL BODY");
    QCOMPARE(reply.json(), (QJsonObject{{"success", false}, {"err_msg", errMsg}}));
    // A following source upload of the same name must not pick up a rendition either.
    QDirIterator it(env.root(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString strPath = it.next();
        QVERIFY2(!strPath.contains(QLatin1String("evil")), qPrintable(strPath));
        if (QFileInfo(strPath).isFile())
            QVERIFY2(TestFiles::readBytes(strPath) != "EVIL BODY", qPrintable(strPath));
    }
}

void TestRefServer::personalPictariumStoresApart()
{
    TestEnvironment env;
    const auto pServer = startServer(env);
    QVERIFY(pServer);
    const QString strPersonal = pServer->root() + QLatin1String("/personal/ann/photo");
    QVERIFY(QDir(strPersonal).exists());
    QVERIFY(QDir().mkpath(strPersonal + QLatin1String("/holiday")));

    Client client(pServer->baseUrl());
    QCOMPARE(client.login(QStringLiteral("ann"), QStringLiteral("pw"), QStringLiteral("/~ann")).json().value("success"),
             QJsonValue(true));
    QCOMPARE(client.albumList(QStringLiteral("/~ann")).json().value("uploadable_albums"),
             QJsonValue(QJsonArray{"holiday"}));
    QCOMPARE(
        client
            .upload(QStringLiteral("holiday"), QStringLiteral("P.JPG"), "THUM_M", "m", "SKIP", QStringLiteral("/~ann"))
            .json()
            .value("success"),
        QJsonValue(true));
    QCOMPARE(client
                 .upload(QStringLiteral("holiday"), QStringLiteral("P.JPG"), "ORIG_FILE", "p", "SKIP",
                         QStringLiteral("/~ann"))
                 .json()
                 .value("success"),
             QJsonValue(true));
    QCOMPARE(treeOf(pServer->root() + QLatin1String("/personal")),
             (Tree{{"ann/photo/holiday/P.JPG", "p"}, {"ann/photo/holiday/.renditions/P.JPG/THUM_M.jpg", "m"}}));
    QCOMPARE(treeOf(pServer->root() + QLatin1String("/photo")), Tree());
}

void TestRefServer::journalHeaderValues_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");

    QTest::newRow("separator and leading blank") << QByteArray("X-PATH:  2013%2Ftrip") << "X-PATH"
                                                 << " 2013%2Ftrip";
    QTest::newRow("no separator") << QByteArray("X-PATH:2013") << "X-PATH"
                                  << "2013";
    QTest::newRow("three blanks") << QByteArray("X-ORIG-FNAME:   a.jpg") << "X-ORIG-FNAME"
                                  << "  a.jpg";
    QTest::newRow("tab kept") << QByteArray("X-Note:\tv") << "X-Note"
                              << "\tv";
    QTest::newRow("trailing blanks kept") << QByteArray("X-Note: v  ") << "X-Note"
                                          << "v  ";
    QTest::newRow("name as written") << QByteArray("x-Orig-FNAME: b") << "x-Orig-FNAME"
                                     << "b";
    QTest::newRow("empty value") << QByteArray("X-PATH: ") << "X-PATH"
                                 << "";
    QTest::newRow("UTF-8 value") << QStringLiteral("X-Note: Ölfeld").toUtf8() << "X-Note" << QStringLiteral("Ölfeld");
}

void TestRefServer::journalHeaderValues()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, name);
    QFETCH(QString, value);

    TestEnvironment env;
    const auto pServer = startServer(env);
    QVERIFY(pServer);
    RawConnection connection;
    QVERIFY(connection.open(pServer->port()));
    const QByteArray baResponse =
        connection.exchange("PUT /photo/include/rada_file_upload.php HTTP/1.1\r\nHost: 127.0.0.1\r\n" + line +
                            "\r\nContent-Length: 3\r\n\r\nabc");
    QCOMPARE(statusOf(baResponse), 200);
    const QList<QJsonObject> lstLines = pServer->journalFor(kUpload);
    QCOMPARE(lstLines.size(), 1);
    const QJsonArray headers = lstLines.constFirst().value("headers").toArray();
    QCOMPARE(headers.size(), 3);
    QCOMPARE(headers.at(0), QJsonValue(QJsonArray{"Host", "127.0.0.1"}));
    QCOMPARE(headers.at(1), QJsonValue(QJsonArray{name, value}));
    QCOMPARE(headers.at(2), QJsonValue(QJsonArray{"Content-Length", "3"}));
}

void TestRefServer::journalRecordsQtRequests()
{
    TestEnvironment env;
    const auto pServer = startServer(env);
    QVERIFY(pServer);
    Client client(pServer->baseUrl());
    const Reply login = client.login(QStringLiteral("ann"), QStringLiteral("p w&"));
    QCOMPARE(client.login(QStringLiteral("ann"), QStringLiteral("pw")).json().value("success"), QJsonValue(true));
    const Reply upload =
        client.upload(QStringLiteral("2013/trip"), QStringLiteral("IMG 1.JPG"), "ORIG_FILE", "0123456789");

    QList<QJsonObject> lstLines = pServer->journal();
    QCOMPARE(lstLines.size(), 3);
    for (int i = 0; i < lstLines.size(); ++i)
        QCOMPARE(lstLines.at(i).value("seq").toInt(), i + 1);
    lstLines.removeAt(1);

    const QJsonObject loginLine = lstLines.at(0);
    QCOMPARE(loginLine.value("method").toString(), QStringLiteral("POST"));
    QCOMPARE(loginLine.value("path").toString(), kLogin);
    const QByteArray baForm = "action=login&username=ann&passwd=p%20w%26";
    QCOMPARE(QByteArray::fromBase64(loginLine.value("body_base64").toString().toLatin1()), baForm);
    QCOMPARE(loginLine.value("body_size").toInt(), baForm.size());
    QCOMPARE(loginLine.value("reply").toString().toUtf8(), login.baBody);
    QCOMPARE(loginLine.value("status").toInt(), 200);

    const QJsonObject uploadLine = lstLines.at(1);
    QCOMPARE(uploadLine.value("method").toString(), QStringLiteral("PUT"));
    QCOMPARE(uploadLine.value("body_size").toInt(), 10);
    QCOMPARE(uploadLine.value("body_sha256").toString().toLatin1(),
             QCryptographicHash::hash("0123456789", QCryptographicHash::Sha256).toHex());
    QVERIFY(!uploadLine.contains("body_base64"));
    QCOMPARE(uploadLine.value("reply").toString().toUtf8(), upload.baBody);
    QCOMPARE(uploadLine.value("dropped"), QJsonValue(false));
    QStringList lstNames;
    QMap<QString, QString> mapValues;
    for (const QJsonValue& header : uploadLine.value("headers").toArray()) {
        lstNames.append(header.toArray().at(0).toString());
        mapValues.insert(header.toArray().at(0).toString(), header.toArray().at(1).toString());
    }
    // Qt writes these raw headers in the order they were set, each value with its own leading blank.
    QVERIFY(lstNames.indexOf("X-PATH") < lstNames.indexOf("X-DUPLICATE"));
    QVERIFY(lstNames.indexOf("X-DUPLICATE") < lstNames.indexOf("X-ORIG-FNAME"));
    QVERIFY(lstNames.indexOf("X-ORIG-FNAME") < lstNames.indexOf("X-UPLOAD-TYPE"));
    QCOMPARE(mapValues.value("X-PATH"), QStringLiteral(" 2013%2Ftrip"));
    QCOMPARE(mapValues.value("X-ORIG-FNAME"), QStringLiteral(" IMG%201.JPG"));
    QCOMPARE(mapValues.value("X-DUPLICATE"), QStringLiteral("OVERWRITE"));
    QVERIFY(mapValues.value("Cookie").startsWith(QLatin1String("PICSESSID=")));
}

void TestRefServer::faultOptions_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("request"); // "login", "init" or "upload" (IMG_2.JPG into 2013/trip)
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("error");
    QTest::addColumn<QByteArray>("body"); // the whole reply body
    QTest::addColumn<bool>("stored");

    const QByteArray baHtml = "<html><body>Internal error</body></html>";
    QTest::newRow("html-on upload") << QStringList{"--html-on", kUpload} << "upload" << 200
                                    << int(QNetworkReply::NoError) << baHtml << false;
    QTest::newRow("html-on login") << QStringList{"--html-on", kLogin} << "login" << 200 << int(QNetworkReply::NoError)
                                   << baHtml << false;
    QTest::newRow("html-on another path") << QStringList{"--html-on", kInit} << "upload" << 200
                                          << int(QNetworkReply::NoError) << QByteArray("{\"success\":true}") << true;
    QTest::newRow("status-on init") << QStringList{"--status-on", kInit + "=500"} << "init" << 500
                                    << int(QNetworkReply::InternalServerError) << QByteArray() << false;
    QTest::newRow("status-on login") << QStringList{"--status-on", kLogin + "=404"} << "login" << 404
                                     << int(QNetworkReply::ContentNotFoundError) << QByteArray() << false;
    QTest::newRow("status-on upload") << QStringList{"--status-on", kUpload + "=503"} << "upload" << 503
                                      << int(QNetworkReply::ServiceUnavailableError) << QByteArray() << false;
    QTest::newRow("fail-upload matching")
        << QStringList{"--fail-upload", "^2013/trip/IMG_2\\.JPG$=demo_site_disable"} << "upload" << 200
        << int(QNetworkReply::NoError) << QByteArray("{\"success\":false,\"err_msg\":\"demo_site_disable\"}") << false;
    QTest::newRow("fail-upload, later rule")
        << QStringList{"--fail-upload", "IMG_9=no_privilege", "--fail-upload", "trip/=target_folder_not_found_/x"}
        << "upload" << 200 << int(QNetworkReply::NoError)
        << QByteArray("{\"success\":false,\"err_msg\":\"target_folder_not_found_/x\"}") << false;
    QTest::newRow("fail-upload not matching")
        << QStringList{"--fail-upload", "IMG_9=no_privilege"} << "upload" << 200 << int(QNetworkReply::NoError)
        << QByteArray("{\"success\":true}") << true;
    QTest::newRow("close-immediately login") << QStringList{"--close-immediately", kLogin} << "login" << 0
                                             << int(QNetworkReply::RemoteHostClosedError) << QByteArray() << false;
    QTest::newRow("close-immediately upload") << QStringList{"--close-immediately", kUpload} << "upload" << 0
                                              << int(QNetworkReply::RemoteHostClosedError) << QByteArray() << false;
    QTest::newRow("delay-ms") << QStringList{"--delay-ms", "200"} << "upload" << 200 << int(QNetworkReply::NoError)
                              << QByteArray("{\"success\":true}") << true;
}

void TestRefServer::faultOptions()
{
    QFETCH(QStringList, args);
    QFETCH(QString, request);
    QFETCH(int, status);
    QFETCH(int, error);
    QFETCH(QByteArray, body);
    QFETCH(bool, stored);

    TestEnvironment env;
    const auto pServer = startServer(env, args);
    QVERIFY(pServer);
    Client client(pServer->baseUrl());
    Reply reply;
    if (request == QLatin1String("login")) {
        reply = client.login(QStringLiteral("ann"), QStringLiteral("pw"));
    } else {
        QCOMPARE(client.login(QStringLiteral("ann"), QStringLiteral("pw")).json().value("success"), QJsonValue(true));
        reply = request == QLatin1String("init")
                    ? client.init(initBody("/2013/trip/IMG_2.JPG"))
                    : client.upload(QStringLiteral("2013/trip"), QStringLiteral("IMG_2.JPG"), "ORIG_FILE", "two");
    }
    QCOMPARE(int(reply.error), error);
    QCOMPARE(reply.iStatus, status);
    if (!body.isEmpty())
        QCOMPARE(reply.baBody, body);
    if (status >= 400)
        QVERIFY(reply.baContentType.startsWith("text/html"));
    QCOMPARE(QFile::exists(pServer->root() + QLatin1String("/photo/2013/trip/IMG_2.JPG")), stored);

    const QList<QJsonObject> lstLines = pServer->journalFor(request == QLatin1String("login")  ? kLogin
                                                            : request == QLatin1String("init") ? kInit
                                                                                               : kUpload);
    QVERIFY(!lstLines.isEmpty());
    QCOMPARE(lstLines.constLast().value("status").toInt(), status);
    QCOMPARE(lstLines.constLast().value("dropped").toBool(), status == 0);
}

void TestRefServer::delayedReply()
{
    TestEnvironment env;
    const auto pServer = startServer(env, {QStringLiteral("--delay-ms"), QStringLiteral("400")});
    QVERIFY(pServer);
    Client client(pServer->baseUrl());
    QElapsedTimer timer;
    timer.start();
    const Reply reply = client.login(QStringLiteral("ann"), QStringLiteral("pw"));
    // A lower bound only: the injected delay, never a speed.
    QVERIFY2(timer.elapsed() >= 400, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(reply.json().value("success"), QJsonValue(true));
}

void TestRefServer::sessionLostAfterN()
{
    TestEnvironment env;
    const auto pServer = startServer(env, {QStringLiteral("--session-lost-after"), QStringLiteral("2")});
    QVERIFY(pServer);
    Client client(pServer->baseUrl());
    QCOMPARE(client.login(QStringLiteral("ann"), QStringLiteral("pw")).json().value("success"), QJsonValue(true));
    const QString strAlbum = QStringLiteral("2013/trip");
    const QJsonObject ok = {{"success", true}};
    const QJsonObject lost = {{"success", false}, {"err_msg", "session_lost"}};
    QCOMPARE(client.upload(strAlbum, QStringLiteral("1.JPG"), "THUM_S", "t").json(), ok); // renditions do not count
    QCOMPARE(client.upload(strAlbum, QStringLiteral("1.JPG"), "ORIG_FILE", "1").json(), ok);
    QCOMPARE(client.upload(strAlbum, QStringLiteral("2.JPG"), "ORIG_FILE", "2").json(), ok);
    QCOMPARE(client.upload(strAlbum, QStringLiteral("3.JPG"), "ORIG_FILE", "3").json(), lost);
    QCOMPARE(client.albumList().json(), lost);
    // A new login is of no help for uploads.
    QCOMPARE(client.login(QStringLiteral("ann"), QStringLiteral("pw")).json().value("success"), QJsonValue(true));
    QCOMPARE(client.albumList().json().value("success"), QJsonValue(true));
    QCOMPARE(client.upload(strAlbum, QStringLiteral("4.JPG"), "FOLDER", QByteArray()).json(), lost);
    QCOMPARE(
        QDir(pServer->root() + QLatin1String("/photo/2013/trip")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        (QStringList{"1.JPG", "2.JPG"}));
}

void TestRefServer::droppedBodyLeavesNoFile_data()
{
    QTest::addColumn<bool>("serverDrops");
    QTest::newRow("server drops after 100 bytes") << true;
    QTest::newRow("client goes away after 400 bytes") << false;
}

void TestRefServer::droppedBodyLeavesNoFile()
{
    QFETCH(bool, serverDrops);

    TestEnvironment env;
    QStringList lstArgs;
    if (serverDrops)
        lstArgs << QStringLiteral("--drop-after") << QStringLiteral("100:1");
    const auto pServer = startServer(env, lstArgs);
    QVERIFY(pServer);
    RawConnection loginConnection;
    QVERIFY(loginConnection.open(pServer->port()));
    const QByteArray baCookie = rawLogin(loginConnection, "ann");
    QVERIFY(!baCookie.isEmpty());

    const QByteArray baBody(1000, 'b');
    {
        RawConnection connection;
        QVERIFY(connection.open(pServer->port()));
        connection.socket().write(rawUploadHead(baCookie, "DROP.JPG", baBody.size()));
        if (serverDrops) {
            connection.socket().write(baBody);
            QCOMPARE(connection.readResponse(), QByteArray());
        } else {
            // A plain close, so that the server still reads every byte sent before it.
            connection.socket().write(baBody.left(400));
            connection.socket().disconnectFromHost();
            QVERIFY(connection.socket().state() == QAbstractSocket::UnconnectedState ||
                    connection.socket().waitForDisconnected(10000));
        }
    }
    QVERIFY(QTest::qWaitFor([&pServer] { return !pServer->journalFor(kUpload).isEmpty(); }, 15000));
    const QJsonObject line = pServer->journalFor(kUpload).constFirst();
    QCOMPARE(line.value("dropped"), QJsonValue(true));
    QCOMPARE(line.value("status").toInt(), 0);
    QCOMPARE(line.value("body_size").toInt(), serverDrops ? 100 : 400);
    const QString strTrip = pServer->root() + QLatin1String("/photo/2013/trip");
    QCOMPARE(treeOf(strTrip), Tree());

    // The drop counted once: the same upload now goes through.
    RawConnection again;
    QVERIFY(again.open(pServer->port()));
    const QByteArray baResponse = again.exchange(rawUploadHead(baCookie, "DROP.JPG", baBody.size()) + baBody);
    QCOMPARE(bodyOf(baResponse), QByteArray("{\"success\":true}"));
    QCOMPARE(treeOf(strTrip), (Tree{{"DROP.JPG", baBody}}));
}

void TestRefServer::malformedRequests_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");

    QTest::newRow("not HTTP") << QByteArray("HELLO THERE\r\n\r\n") << 400;
    QTest::newRow("unknown version") << QByteArray("GET / HTTP/9.9\r\n\r\n") << 400;
    QTest::newRow("relative target") << QByteArray("GET blog HTTP/1.1\r\n\r\n") << 400;
    QTest::newRow("header without colon") << QByteArray("POST /blog/login.php HTTP/1.1\r\nHost 1\r\n\r\n") << 400;
    QTest::newRow("folded header") << QByteArray("GET / HTTP/1.1\r\nX-A: 1\r\n  more\r\n\r\n") << 400;
    QTest::newRow("blank in header name") << QByteArray("GET / HTTP/1.1\r\nX A: 1\r\n\r\n") << 400;
    QTest::newRow("header block over 64 KiB")
        << QByteArray("GET / HTTP/1.1\r\nX-Big: " + QByteArray(70000, 'a') + "\r\n\r\n") << 400;
    QTest::newRow("header block never ends") << QByteArray("GET / HTTP/1.1\r\nX-Big: " + QByteArray(70000, 'a')) << 400;
    QTest::newRow("chunked body")
        << QByteArray("POST /blog/login.php HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n")
        << 411;
    QTest::newRow("negative length") << QByteArray("POST /blog/login.php HTTP/1.1\r\nContent-Length: -5\r\n\r\n")
                                     << 400;
    QTest::newRow("two lengths")
        << QByteArray("POST /blog/login.php HTTP/1.1\r\nContent-Length: 3\r\nContent-Length: 4\r\n\r\nabcd") << 400;
    QTest::newRow("binary") << QByteArray("\x00\x01\xff\xfe\r\n\x80:\x00\r\n\r\n", 13) << 400;
    QTest::newRow("unknown path") << QByteArray("GET /nowhere.php HTTP/1.1\r\n\r\n") << 404;
    QTest::newRow("login by GET") << QByteArray("GET /blog/login.php HTTP/1.1\r\n\r\n") << 405;
}

void TestRefServer::malformedRequests()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);

    TestEnvironment env;
    const auto pServer = startServer(env);
    QVERIFY(pServer);
    {
        RawConnection connection;
        QVERIFY(connection.open(pServer->port()));
        const QByteArray baResponse = connection.exchange(bytes);
        QCOMPARE(statusOf(baResponse), status);
        QVERIFY(baResponse.contains("Content-Type: text/html"));
    }
    // Still serving.
    Client client(pServer->baseUrl());
    QCOMPARE(client.login(QStringLiteral("ann"), QStringLiteral("pw")).json().value("success"), QJsonValue(true));
}

void TestRefServer::keepAliveServesSeveralRequests()
{
    TestEnvironment env;
    const auto pServer = startServer(env);
    QVERIFY(pServer);
    RawConnection connection;
    QVERIFY(connection.open(pServer->port()));
    const QByteArray baCookie = rawLogin(connection, "ann");
    QVERIFY(!baCookie.isEmpty());
    const QByteArray baForm = "action=get_all_subalbum_list&path=2013";
    QByteArray baResponse = connection.exchange(
        "POST /photo/include/rada_get_uploadable_album.php HTTP/1.1\r\nCookie: " + baCookie +
        "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: " + QByteArray::number(baForm.size()) +
        "\r\n\r\n" + baForm);
    QCOMPARE(bodyOf(baResponse), QByteArray("{\"success\":true,\"sub_albums\":[\"trip\"]}"));
    // A body that arrives in the same segment as its header block, then the next request right behind it.
    baResponse = connection.exchange(rawUploadHead(baCookie, "K.JPG", 3) + "abc");
    QCOMPARE(bodyOf(baResponse), QByteArray("{\"success\":true}"));
    QVERIFY(baResponse.contains("Connection: keep-alive"));
    QCOMPARE(connection.socket().state(), QAbstractSocket::ConnectedState);
    QCOMPARE(TestFiles::readBytes(pServer->root() + QLatin1String("/photo/2013/trip/K.JPG")), QByteArray("abc"));
    baResponse = connection.exchange("GET /x HTTP/1.1\r\nConnection: close\r\n\r\n");
    QCOMPARE(statusOf(baResponse), 404);
    QVERIFY(connection.socket().state() == QAbstractSocket::UnconnectedState ||
            connection.socket().waitForDisconnected(10000));
}

void TestRefServer::httpsWithSelfSignedCertificate()
{
    TestEnvironment env;
    RefServerProcess server(env.root() + QLatin1String("/srv"));
    server.setAccounts(standardAccounts());
    QVERIFY2(server.start({}, true), qPrintable(server.standardError()));
    QVERIFY(server.baseUrl().startsWith(QLatin1String("https://127.0.0.1:")));
    QVERIFY(QDir().mkpath(server.root() + QLatin1String("/photo/2013/trip")));

    Client client(server.baseUrl());
    const Reply login = client.login(QStringLiteral("ann"), QStringLiteral("pw"));
    QCOMPARE(login.json().value("success"), QJsonValue(true));
    QCOMPARE(login.peerCertificate.subjectInfo(QSslCertificate::CommonName), QStringList{"127.0.0.1"});
    QCOMPARE(client.upload(QStringLiteral("2013/trip"), QStringLiteral("S.JPG"), "ORIG_FILE", "secure").json(),
             (QJsonObject{{"success", true}}));
    QCOMPARE(TestFiles::readBytes(server.root() + QLatin1String("/photo/2013/trip/S.JPG")), QByteArray("secure"));
}

void TestRefServer::largeUploadKeepsServerMemorySmall()
{
    constexpr qint64 kBlock = 1 << 20;
    constexpr int kBlocks = 1024;
    TestEnvironment env;
    const auto pServer = startServer(env);
    QVERIFY(pServer);
    const QString strSource = env.tempDir() + QLatin1String("/big.bin");
    const QString strStored = pServer->root() + QLatin1String("/photo/big.bin");
    const auto cleanup = qScopeGuard([&] {
        QFile::remove(strSource);
        QFile::remove(strStored);
    });

    // 1 GiB from one random block, each copy stamped with its number, hashed as it is written.
    QByteArray baBlock(kBlock, Qt::Uninitialized);
    QRandomGenerator generator(20240501);
    generator.fillRange(reinterpret_cast<quint32*>(baBlock.data()), kBlock / 4);
    QCryptographicHash sourceHash(QCryptographicHash::Sha256);
    {
        QFile source(strSource);
        QVERIFY(source.open(QIODevice::WriteOnly));
        for (int i = 0; i < kBlocks; ++i) {
            std::memcpy(baBlock.data(), &i, sizeof(i));
            QCOMPARE(source.write(baBlock), kBlock);
            sourceHash.addData(baBlock);
        }
    }

    Client client(pServer->baseUrl());
    QCOMPARE(client.login(QStringLiteral("admin"), QStringLiteral("pw")).json().value("success"), QJsonValue(true));
    QFile source(strSource);
    QVERIFY(source.open(QIODevice::ReadOnly));
    const Reply reply =
        client.upload(QString(), QStringLiteral("big.bin"), "ORIG_FILE", QByteArray(), "OVERWRITE", {}, {}, &source);
    QCOMPARE(reply.json(), (QJsonObject{{"success", true}}));

    QFile status(QStringLiteral("/proc/%1/status").arg(pServer->pid()));
    QVERIFY(status.open(QIODevice::ReadOnly));
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("VmHWM:\\s+(\\d+) kB")).match(QString::fromLatin1(status.readAll()));
    QVERIFY(match.hasMatch());
    const qint64 iPeakKiB = match.captured(1).toLongLong();
    qInfo("server peak resident memory: %lld KiB", iPeakKiB);
    QVERIFY2(iPeakKiB < 100 * 1000, qPrintable(QString::number(iPeakKiB)));

    QCOMPARE(QFileInfo(strStored).size(), kBlock * kBlocks);
    QFile stored(strStored);
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QCryptographicHash storedHash(QCryptographicHash::Sha256);
    QVERIFY(storedHash.addData(&stored));
    QCOMPARE(storedHash.result().toHex(), sourceHash.result().toHex());
    QCOMPARE(pServer->journalFor(kUpload).constLast().value("body_sha256").toString().toLatin1(),
             sourceHash.result().toHex());
}

QTEST_GUILESS_MAIN(TestRefServer)
#include "tst_refserver.moc"

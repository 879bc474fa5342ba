#include "RefServerTestBase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QRandomGenerator>
#include <QSslSocket>
#include <QtTest>

// The reference server: its journal, the faults it injects on request and requests it must refuse.
class TestRefServerFaults : public RefServerTestBase
{
    Q_OBJECT

private Q_SLOTS:
    void journalHeaderValues_data();
    void journalHeaderValues();
    void journalRecordsQtRequests();
    void faultOptions_data();
    void faultOptions();
    void delayedReply();
    void pausedBody_data();
    void pausedBody();
    void endlessReplies_data();
    void endlessReplies();
    void sessionLostAfterN();
    void droppedBodyLeavesNoFile_data();
    void droppedBodyLeavesNoFile();
    void malformedRequests_data();
    void malformedRequests();
    void keepAliveServesSeveralRequests();
};

void TestRefServerFaults::journalHeaderValues_data()
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

void TestRefServerFaults::journalHeaderValues()
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

void TestRefServerFaults::journalRecordsQtRequests()
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

void TestRefServerFaults::faultOptions_data()
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

void TestRefServerFaults::faultOptions()
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

void TestRefServerFaults::delayedReply()
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

void TestRefServerFaults::pausedBody_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs"); // 0: no upper bound

    QTest::newRow("named upload waits") << QStringList{"--pause-body", "PAUSE.JPG=800"} << "PAUSE.JPG" << 800 << 0;
    QTest::newRow("name as sent, second rule")
        << QStringList{"--pause-body", "X.JPG=60000", "--pause-body", "P%201.JPG=800"} << "P 1.JPG" << 800 << 0;
    QTest::newRow("name percent-decoded") << QStringList{"--pause-body", "P 1.JPG=800"} << "P 1.JPG" << 800 << 0;
    QTest::newRow("another name does not wait")
        << QStringList{"--pause-body", "PAUSE.JPG=60000"} << "OTHER.JPG" << 0 << 30000;
}

void TestRefServerFaults::pausedBody()
{
    QFETCH(QStringList, args);
    QFETCH(QString, name);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);

    QByteArray baBody(4 << 20, Qt::Uninitialized);
    QRandomGenerator(20240501).fillRange(reinterpret_cast<quint32*>(baBody.data()), baBody.size() / 4);
    TestEnvironment env;
    const auto pServer = startServer(env, args);
    QVERIFY(pServer);
    Client client(pServer->baseUrl());
    QCOMPARE(client.login(QStringLiteral("ann"), QStringLiteral("pw")).json().value("success"), QJsonValue(true));
    QElapsedTimer timer;
    timer.start();
    const Reply reply = client.upload(QStringLiteral("2013/trip"), name, "ORIG_FILE", baBody);
    const qint64 iElapsedMs = timer.elapsed();
    QCOMPARE(reply.json(), (QJsonObject{{"success", true}}));
    QVERIFY2(iElapsedMs >= minMs && (maxMs == 0 || iElapsedMs < maxMs), qPrintable(QString::number(iElapsedMs)));
    QCOMPARE(TestFiles::readBytes(pServer->root() + QLatin1String("/photo/2013/trip/") + name), baBody);
}

void TestRefServerFaults::endlessReplies_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("upload"); // else a login
    QTest::addColumn<bool>("https");
    QTest::addColumn<QByteArray>("header");

    const QByteArray baChunked = "\r\nTransfer-Encoding: chunked\r\n";
    QTest::newRow("endless-reply login") << QStringList{"--endless-reply", kLogin} << false << false << baChunked;
    QTest::newRow("endless-reply login, HTTPS") << QStringList{"--endless-reply", kLogin} << false << true << baChunked;
    QTest::newRow("oversized-reply upload") << QStringList{"--oversized-reply", kUpload} << true << false
                                            << QByteArray("\r\nContent-Length: 2147483648\r\n");
}

void TestRefServerFaults::endlessReplies()
{
    QFETCH(QStringList, args);
    QFETCH(bool, upload);
    QFETCH(bool, https);
    QFETCH(QByteArray, header);

    constexpr qint64 kCap = 2 << 20;
    TestEnvironment env;
    const auto pServer = startServer(env, args, standardAccounts(), https);
    QVERIFY(pServer);
    QByteArray baRequest = "POST /blog/login.php HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 0\r\n\r\n";
    if (upload) {
        RawConnection loginConnection;
        QVERIFY(loginConnection.open(pServer->port()));
        const QByteArray baCookie = rawLogin(loginConnection, "ann");
        QVERIFY(!baCookie.isEmpty());
        baRequest = rawUploadHead(baCookie, "BIG.JPG", 3) + "abc";
    }
    {
        RawConnection connection;
        QSslSocket sslSocket;
        if (https) {
            sslSocket.setPeerVerifyMode(QSslSocket::VerifyNone);
            sslSocket.connectToHostEncrypted(pServer->host(), quint16(pServer->port()));
            QVERIFY(sslSocket.waitForEncrypted(10000));
        } else {
            QVERIFY(connection.open(pServer->port()));
        }
        QTcpSocket& socket = https ? sslSocket : connection.socket();
        socket.setReadBufferSize(64 * 1024);
        socket.write(baRequest);
        QByteArray baHead;
        qint64 iReceived = 0;
        while (iReceived <= kCap && (socket.bytesAvailable() > 0 || socket.waitForReadyRead(15000))) {
            const QByteArray baIn = socket.readAll();
            if (baHead.size() < 1024)
                baHead += baIn.left(1024);
            iReceived += baIn.size();
        }
        QVERIFY2(iReceived > kCap, qPrintable(QString::number(iReceived)));
        QCOMPARE(statusOf(baHead), 200);
        QVERIFY2(baHead.left(baHead.indexOf("\r\n\r\n") + 2).contains(header), baHead.left(300).constData());
        // The client reads nothing for a while: the server must wait rather than buffer.
        QTest::qWait(500);
        const qint64 iResidentKiB = procStatusKiB(pServer->pid(), "VmRSS");
        QVERIFY2(iResidentKiB > 0 && iResidentKiB < 200 * 1000, qPrintable(QString::number(iResidentKiB)));
    }
    QCOMPARE(Client(pServer->baseUrl()).albumList().iStatus, 200);
    const QJsonObject line = pServer->journalFor(upload ? kUpload : kLogin).constLast();
    QCOMPARE(line.value("status").toInt(), 200);
    QCOMPARE(line.value("dropped"), QJsonValue(false));
    if (upload)
        QCOMPARE(TestFiles::readBytes(pServer->root() + QLatin1String("/photo/2013/trip/BIG.JPG")), QByteArray("abc"));
}

void TestRefServerFaults::sessionLostAfterN()
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

void TestRefServerFaults::droppedBodyLeavesNoFile_data()
{
    QTest::addColumn<bool>("serverDrops");
    QTest::newRow("server drops after 100 bytes") << true;
    QTest::newRow("client goes away after 400 bytes") << false;
}

void TestRefServerFaults::droppedBodyLeavesNoFile()
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

void TestRefServerFaults::malformedRequests_data()
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

void TestRefServerFaults::malformedRequests()
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

void TestRefServerFaults::keepAliveServesSeveralRequests()
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

QTEST_GUILESS_MAIN(TestRefServerFaults)
#include "tst_refserver_faults.moc"

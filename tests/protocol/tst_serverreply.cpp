#include "RefServerProcess.h"
#include "VelmLocale.h"
#include "store/ServerAddress.h"
#include "protocol/AlbumRequests.h"
#include "protocol/ServerReply.h"
#include "protocol/ServerRequest.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QtTest>

// Reply classification, member reading, error names and the endpoint message tables.
class TestServerReply : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { VelmLocale::fillMessageTable(); }
    void baseUrl_data();
    void baseUrl();
    void errorNames_data();
    void errorNames();
    void classification_data();
    void classification();
    void messages_data();
    void messages();
    void httpStatuses_data();
    void httpStatuses();
    void albumLists_data();
    void albumLists();
};

void TestServerReply::baseUrl_data()
{
    QTest::addColumn<bool>("https");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("personal");
    QTest::addColumn<QString>("usrname");
    QTest::addColumn<QString>("url");

    QTest::newRow("https 5001") << true << "nas" << 5001 << false << "ann" << "https://nas:5001";
    QTest::newRow("personal with blank") << true << "nas" << 5001 << true << "a b" << "https://nas:5001/~a%20b";
    QTest::newRow("default port written") << false << "10.0.0.2" << 80 << true << "ann" << "http://10.0.0.2:80/~ann";
    QTest::newRow("unreserved kept") << false << "h" << 1 << true << "A-z.0_9~" << "http://h:1/~A-z.0_9~";
    QTest::newRow("reserved encoded") << false << "h" << 1 << true << "a/b&c=d%" << "http://h:1/~a%2Fb%26c%3Dd%25";
    QTest::newRow("utf-8") << false << "h" << 1 << true << QString::fromUtf8("J\xc3\xb6rg") << "http://h:1/~J%C3%B6rg";
    QTest::newRow("ends at NUL") << false << "h" << 1 << true << QString("ab") + QChar(0) + "cd" << "http://h:1/~ab";
    QTest::newRow("marker in host") << false << "h%2" << 7 << false << "" << "http://h%2:7";
}

void TestServerReply::baseUrl()
{
    QFETCH(bool, https);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(bool, personal);
    QFETCH(QString, usrname);
    QFETCH(QString, url);
    QCOMPARE(ServerAddress::baseUrl(https, host, port, personal, usrname), url);
}

void TestServerReply::errorNames_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("name");
    const QList<QPair<int, const char*>> lstNames = {
        {0, "NoError"},
        {1, "ConnectionRefusedError"},
        {2, "RemoteHostClosedError"},
        {3, "HostNotFoundError"},
        {4, "TimeoutError"},
        {5, "OperationCanceledError"},
        {6, "SslHandshakeFailedError"},
        {7, "reply_err_7"},
        {8, "reply_err_8"},
        {9, "reply_err_9"},
        {10, "reply_err_10"},
        {11, "reply_err_11"},
        {99, "UnknownNetworkError"},
        {101, "ProxyConnectionRefusedError"},
        {102, "ProxyConnectionClosedError"},
        {103, "ProxyNotFoundError"},
        {104, "ProxyTimeoutError"},
        {105, "ProxyAuthenticationRequiredError"},
        {199, "UnknownProxyError"},
        {201, "ContentAccessDenied"},
        {202, "ContentOperationNotPermittedError"},
        {203, "ContentNotFoundError"},
        {204, "AuthenticationRequiredError"},
        {205, "UnknownContentError"},
        {206, "UnknownContentError"},
        {207, "UnknownContentError"},
        {299, "UnknownContentError"},
        {301, "ProtocolUnknownError"},
        {302, "ProtocolInvalidOperationError"},
        {399, "ProtocolFailure"},
        {401, "UnknownContentError"},
        {402, "UnknownContentError"},
        {403, "UnknownContentError"},
        {499, "UnknownContentError"},
        {400, "reply_err_400"},
        {500, "reply_err_500"},
        {-1, "reply_err_-1"},
    };
    for (const auto& entry : lstNames)
        QTest::newRow(entry.second) << entry.first << QString::fromLatin1(entry.second);
}

void TestServerReply::errorNames()
{
    QFETCH(int, code);
    QFETCH(QString, name);
    QCOMPARE(networkErrorName(code), name);
}

void TestServerReply::classification_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("success");
    QTest::addColumn<QString>("errMsg");

    QTest::newRow("success") << QByteArray("{\"success\":true}") << int(ServerReply::Json) << true << "";
    QTest::newRow("failure") << QByteArray("{\"success\":false,\"err_msg\":\"no_privilege\"}") << int(ServerReply::Json)
                             << false << "no_privilege";
    QTest::newRow("blank before brace") << QByteArray(" {\"success\":true}") << int(ServerReply::NotJson) << false
                                        << "";
    QTest::newRow("html") << QByteArray("<html>{}</html>") << int(ServerReply::NotJson) << false << "";
    QTest::newRow("empty") << QByteArray() << int(ServerReply::NotJson) << false << "";
    QTest::newRow("broken json has no members") << QByteArray("{\"success\":true,") << int(ServerReply::Json)
                                                << false << "";
    QTest::newRow("script is data") << QByteArray("{\"success\":(function(){return true})()}")
                                    << int(ServerReply::Json) << false << "";
    QTest::newRow("number success") << QByteArray("{\"success\":1,\"err_msg\":42}") << int(ServerReply::Json) << true
                                    << "42";
    QTest::newRow("zero success") << QByteArray("{\"success\":0}") << int(ServerReply::Json) << false << "";
    QTest::newRow("text success") << QByteArray("{\"success\":\"disable_account\"}") << int(ServerReply::Json)
                                  << true << "";
    QTest::newRow("null err_msg") << QByteArray("{\"err_msg\":null}") << int(ServerReply::Json) << false << "null";
    QTest::newRow("bool err_msg") << QByteArray("{\"err_msg\":false}") << int(ServerReply::Json) << false << "false";
    QTest::newRow("utf-8 text") << QByteArray("{\"err_msg\":\"Gr\xc3\xb6\xc3\x9f" "e\"}") << int(ServerReply::Json)
                                << false << QString::fromUtf8("Gr\xc3\xb6\xc3\x9f" "e");
}

void TestServerReply::classification()
{
    QFETCH(QByteArray, body);
    QFETCH(int, kind);
    QFETCH(bool, success);
    QFETCH(QString, errMsg);

    const ServerReply reply = ServerReply::fromBody(body);
    QCOMPARE(int(reply.kind), kind);
    QCOMPARE(reply.flag("success"), success);
    QCOMPARE(reply.text("err_msg"), errMsg);
    QVERIFY(!reply.flag("missing"));
    QVERIFY(reply.text("missing").isEmpty());
    QVERIFY(reply.texts("missing").isEmpty());
}

void TestServerReply::messages_data()
{
    QTest::addColumn<QString>("endpoint");
    QTest::addColumn<int>("transportCode"); // 0: use the body
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("sessionLost");

    const QByteArray lost("{\"success\":false,\"err_msg\":\"session_lost\"}");
    const QString strLost = QStringLiteral("The connection is lost. Please log in to Kestrabox Manager again.");
    auto fail = [](const char* pszErr) -> QByteArray { return QByteArray("{\"success\":false,\"err_msg\":\"") + pszErr + "\"}"; };

    QTest::newRow("albums ok") << "albums" << 0 << QByteArray("{\"success\":true}") << "" << false;
    QTest::newRow("albums 404") << "albums" << 203 << QByteArray() << "This function is not supported by the connected server." << false;
    QTest::newRow("subalbums 404") << "subalbums" << 203 << QByteArray()
                                   << "Connection error. (Error Code: ContentNotFoundError)" << false;
    QTest::newRow("albums refused") << "albums" << 1 << QByteArray()
                                    << "Connection error. (Error Code: ConnectionRefusedError)" << false;
    QTest::newRow("albums lost") << "albums" << 0 << lost << strLost << true;
    QTest::newRow("albums other") << "albums" << 0 << fail("weird") << "Unknown server error. (Error Code:weird)" << false;
    QTest::newRow("albums html") << "albums" << 0 << QByteArray("<html/>") << "Unknown server error. (Error Code:ret_err)" << false;
    QTest::newRow("albums no members") << "albums" << 0 << QByteArray("{}") << "Unknown server error. (Error Code:)" << false;

    QTest::newRow("create ok") << "create" << 0 << QByteArray("{\"success\":true,\"duplicate_folder\":false}") << "" << false;
    QTest::newRow("create duplicate") << "create" << 0 << QByteArray("{\"success\":true,\"duplicate_folder\":true}")
                                      << "The folder name already exists. Please use another name." << false;
    QTest::newRow("create bad name") << "create" << 0 << fail("bad_dir_name_a?bad_dir_name_b") << "Invalid folder name: a?b" << false;
    QTest::newRow("create no privilege") << "create" << 0 << fail("no_privilege")
                                         << "You have no privileges to either create new albums or upload files." << false;
    QTest::newRow("create duplicated file") << "create" << 0 << fail("duplicated_file") << "Skip duplicate file" << false;
    QTest::newRow("create lost") << "create" << 0 << lost << strLost << true;
    QTest::newRow("create demo") << "create" << 0 << fail("demo_site_disable")
                                 << "This function is not available in the demo mode." << false;
    QTest::newRow("create 404") << "create" << 203 << QByteArray()
                                << "Connection error. (Error Code: ContentNotFoundError)" << false;

    QTest::newRow("upload ok") << "upload" << 0 << QByteArray("{\"success\":true}") << "" << false;
    QTest::newRow("upload html 200") << "upload" << 0 << QByteArray("<html><body>oops</body></html>")
                                     << "Unknown server error. (Error Code:ret_err)" << false;
    QTest::newRow("upload 404") << "upload" << 203 << QByteArray()
                                << "Connection error. (Error Code: ContentNotFoundError)" << false;
    QTest::newRow("upload target") << "upload" << 0 << fail("target_folder_not_found_/2013/trip")
                                   << "The destination folder is not found:  /photo/2013/trip" << false;
    QTest::newRow("upload lost") << "upload" << 0 << lost << strLost << true;
    QTest::newRow("upload duplicate") << "upload" << 0 << fail("duplicated_file") << "Skip duplicate file" << false;
    QTest::newRow("upload disk full") << "upload" << 0 << fail("error_no_space")
                                      << "The server's disk is full: the file could not be stored." << false;
    QTest::newRow("upload bad name") << "upload" << 0 << fail("bad_dir_name_x")
                                     << "Unknown server error. (Error Code:bad_dir_name_x)" << false;
}

void TestServerReply::messages()
{
    QFETCH(QString, endpoint);
    QFETCH(int, transportCode);
    QFETCH(QByteArray, body);
    QFETCH(QString, message);
    QFETCH(bool, sessionLost);

    ServerReply reply = ServerReply::fromBody(body);
    if (transportCode) {
        reply.kind = ServerReply::TransportFailure;
        reply.errorCode = transportCode;
    }
    bool blLost = !sessionLost;
    QString strMessage;
    if (endpoint == QLatin1String("albums"))
        strMessage = ReplyMessages::albumList(reply, &blLost);
    else if (endpoint == QLatin1String("subalbums"))
        strMessage = ReplyMessages::subAlbumList(reply, &blLost);
    else if (endpoint == QLatin1String("create"))
        strMessage = ReplyMessages::albumCreation(reply, &blLost);
    else
        strMessage = ReplyMessages::fileUpload(reply, &blLost);
    QCOMPARE(strMessage, message);
    QCOMPARE(blLost, sessionLost);
}

void TestServerReply::httpStatuses_data()
{
    // Every HTTP error status reads as a content error; where the name does not tell the
    // status, the text does.
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    const QString strPrefix = QStringLiteral("Connection error. (Error Code: ");
    QTest::newRow("403") << 403 << strPrefix + "ContentAccessDenied)";
    QTest::newRow("404") << 404 << strPrefix + "ContentNotFoundError)";
    QTest::newRow("405") << 405 << strPrefix + "ContentOperationNotPermittedError)";
    QTest::newRow("409") << 409 << strPrefix + "UnknownContentError (HTTP 409))";
    QTest::newRow("500") << 500 << strPrefix + "UnknownContentError (HTTP 500))";
    QTest::newRow("501") << 501 << strPrefix + "UnknownContentError (HTTP 501))";
    QTest::newRow("502") << 502 << strPrefix + "UnknownContentError (HTTP 502))";
    QTest::newRow("503") << 503 << strPrefix + "UnknownContentError (HTTP 503))";
}

void TestServerReply::httpStatuses()
{
    QFETCH(int, status);
    QFETCH(QString, message);
    QTemporaryDir dir;
    RefServerProcess server(dir.path());
    const QString strPath = QStringLiteral("/status/%1").arg(status);
    QVERIFY(server.start({QStringLiteral("--status-on"), strPath + QLatin1Char('=') + QString::number(status)}));
    QNetworkAccessManager nam;
    QNetworkReply* pReply = nam.put(ServerRequest::build(server.baseUrl(), strPath.toLatin1().constData()),
                                    QByteArray("body"));
    QSignalSpy finished(pReply, &QNetworkReply::finished);
    QVERIFY(finished.wait(10000));
    const ServerReply reply = ServerReply::classify(pReply);
    delete pReply;
    QCOMPARE(reply.kind, ServerReply::TransportFailure);
    QCOMPARE(reply.httpStatus, status);
    QCOMPARE(ReplyMessages::fileUpload(reply), message);
}

void TestServerReply::albumLists_data()
{
    // Body; the tree as "top:second,second|top:"; the sub-album names joined by "|".
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("names");
    QTest::newRow("two levels, deeper ones and repeats folded")
        << QByteArray(R"({"uploadable_albums":["A","A/B","A/B/C","A/B","B/X","A/C"]})") << "A:B,C|B:X" << "";
    QTest::newRow("empty parts skipped")
        << QByteArray(R"({"uploadable_albums":["","/","//C//D/","/A"]})") << "C:D|A:" << "";
    QTest::newRow("not texts") << QByteArray(R"({"uploadable_albums":"A","sub_albums":{"a":1}})") << "" << "";
    QTest::newRow("names that leave the album are dropped")
        << QByteArray(R"({"sub_albums":["x","","." ,"..","a/b","/","..\\y","\u00e9t\u00e9"]})") << ""
        << QString::fromUtf8("x|..\\y|\xc3\xa9t\xc3\xa9");
    QTest::newRow("numbers and null as written") << QByteArray(R"({"sub_albums":[7,null,true]})") << "" << "7|null|true";
}

void TestServerReply::albumLists()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, tree);
    QFETCH(QString, names);
    const ServerReply reply = ServerReply::fromBody(body);
    QStringList lstTree;
    for (const AlbumRequests::TopAlbum& top : AlbumRequests::uploadableTree(reply))
        lstTree.append(top.name + QLatin1Char(':') + top.children.join(QLatin1Char(',')));
    QCOMPARE(lstTree.join(QLatin1Char('|')), tree);
    QCOMPARE(AlbumRequests::subAlbumNames(reply).join(QLatin1Char('|')), names);
}

QTEST_GUILESS_MAIN(TestServerReply)
#include "tst_serverreply.moc"

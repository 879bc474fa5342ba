#include "RefServerTestBase.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <csignal>

// The reference server: start-up and exit, login and the session every other request needs.
class TestRefServerSession : public RefServerTestBase
{
    Q_OBJECT

private Q_SLOTS:
    void startupLineAndExit_data();
    void startupLineAndExit();
    void login_data();
    void login();
    void sessionRequired_data();
    void sessionRequired();
};

void TestRefServerSession::startupLineAndExit_data()
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
    QTest::newRow("pause-body without MS")
        << lstRoot + QStringList{QStringLiteral("--pause-body"), QStringLiteral("A.JPG")} << QByteArray() << 0 << 2
        << QStringLiteral("--pause-body");
    QTest::newRow("endless-reply without a path")
        << lstRoot + QStringList{QStringLiteral("--endless-reply"), QStringLiteral("login.php")} << QByteArray() << 0
        << 2 << QStringLiteral("--endless-reply");
    QTest::newRow("accounts not JSON") << lstRoot << QByteArray("{\"accounts\": [") << 0 << 2
                                       << QStringLiteral("accounts.json");
    QTest::newRow("accounts value of wrong type")
        << lstRoot << QByteArray("{\"photo_running\": \"yes\"}") << 0 << 2 << QStringLiteral("photo_running");
    QTest::newRow("accounts file missing")
        << lstRoot + QStringList{QStringLiteral("--accounts"), QStringLiteral("{ROOT}/none.json")} << QByteArray() << 0
        << 2 << QStringLiteral("none.json");
}

void TestRefServerSession::startupLineAndExit()
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

void TestRefServerSession::login_data()
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

void TestRefServerSession::login()
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

void TestRefServerSession::sessionRequired_data()
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

void TestRefServerSession::sessionRequired()
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

QTEST_GUILESS_MAIN(TestRefServerSession)
#include "tst_refserver_session.moc"

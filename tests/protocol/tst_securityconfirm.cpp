#include "AppIdentity.h"
#include "RefServerProcess.h"
#include "ScriptedPrompt.h"
#include "DebugCapture.h"
#include "TestEnvironment.h"
#include "VelmLocale.h"
#include "protocol/SecurityConfirm.h"
#include "protocol/ServerReply.h"
#include "protocol/ServerRequest.h"
#include "store/CertificatePins.h"
#include "store/ProfileStore.h"
#include "store/VelmDatabase.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTcpServer>
#include <QtTest>

#include <memory>

namespace {

QJsonObject account(const QString& strName, const QString& strPassword, const QJsonObject& extra = {})
{
    QJsonObject object{{"name", strName}, {"password", strPassword}};
    for (auto it = extra.begin(); it != extra.end(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

QJsonObject standardAccounts(const QJsonObject& state = {})
{
    QJsonObject accounts = state;
    accounts.insert("accounts",
                    QJsonArray{account("admin", "adminpw", {{"admin", true}}), account("ann", "pw"),
                               account("dis", "pw", {{"disabled", true}}), account("bob", "pw", {{"photo_user", false}}),
                               account("blocked", "pw", {{"login_privilege", false}}),
                               account("pers", "pw", {{"personal_enabled", true}}),
                               account("a&b=c d", QString::fromUtf8("p&w=\xc3\xb6"))});
    return accounts;
}

} // namespace

// Logging in against the reference server, over HTTP and HTTPS.
class TestSecurityConfirm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void outcomes_data();
    void outcomes();
    void bodyAndCookie();
    void supersededReplyIgnored();
    void refusedPasswordReprompts();
    void cancelledPrompts();
    void secretsStayOutOfLog();
    void certificateTrust();
    void fingerprintInput_data();
    void fingerprintInput();

private:
    ServerProfile makeProfile(const QString& strAccount, const QString& strPassword, bool blHttps = false,
                              bool blPersonal = false, const QString& strOwner = QString());
    bool startServer(const QJsonObject& accounts, const QStringList& lstArgs = {}, bool blHttps = false);

    std::unique_ptr<TestEnvironment> m_pEnv;
    std::unique_ptr<RefServerProcess> m_pServer;
    std::unique_ptr<QNetworkAccessManager> m_pNam;
};

void TestSecurityConfirm::initTestCase()
{
    VelmLocale::fillMessageTable();
}

void TestSecurityConfirm::init()
{
    m_pEnv = std::make_unique<TestEnvironment>();
    QVERIFY(AppIdentity::ensureDataFolder());
    QVERIFY(VelmDatabase::open());
    VelmDatabase::ensureTable(VelmDatabase::ServerProfiles);
    m_pNam = std::make_unique<QNetworkAccessManager>();
}

void TestSecurityConfirm::cleanup()
{
    m_pNam.reset();
    m_pServer.reset();
    VelmDatabase::close();
    m_pEnv.reset();
}

bool TestSecurityConfirm::startServer(const QJsonObject& accounts, const QStringList& lstArgs, bool blHttps)
{
    m_pServer = std::make_unique<RefServerProcess>(m_pEnv->root() + QLatin1String("/server"));
    m_pServer->setAccounts(accounts);
    return m_pServer->start(lstArgs, blHttps);
}

ServerProfile TestSecurityConfirm::makeProfile(const QString& strAccount, const QString& strPassword, bool blHttps,
                                               bool blPersonal, const QString& strOwner)
{
    ServerProfile profile;
    ProfileStore::fillRecord(profile, QStringLiteral("home"), QStringLiteral("127.0.0.1"),
                             m_pServer ? m_pServer->port() : 1, blHttps, strAccount, strPassword, true, strOwner,
                             blPersonal, true, true, true, QStringLiteral("RENAME"), QString(), {});
    return profile;
}

void TestSecurityConfirm::outcomes_data()
{
    QTest::addColumn<QJsonObject>("state");
    QTest::addColumn<QStringList>("serverArgs");
    QTest::addColumn<bool>("https");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("owner"); // personal Pictarium owner, empty for the shared one
    QTest::addColumn<QString>("message"); // empty: success

    const QString strDisabled = QStringLiteral(
        "Pictarium is disabled. Please log in to KBM as admin (or a user belonging to the administrators group) to "
        "enable Pictarium.");
    const QString strPersonalDisabled =
        QStringLiteral("Requested Personal Pictarium is disabled. Please log in to KBM to enable the Personal Pictarium.");
    const QJsonObject photoOff{{"photo_running", false}};
    const QStringList none;

    QTest::newRow("ok") << QJsonObject() << none << false << "ann" << "pw" << "" << "";
    QTest::newRow("ok https") << QJsonObject() << none << true << "ann" << "pw" << "" << "";
    QTest::newRow("wrong password") << QJsonObject() << none << false << "ann" << "nope" << ""
                                    << "The account or password is invalid. Please try again.";
    QTest::newRow("unknown user https") << QJsonObject() << none << true << "zed" << "pw" << ""
                                        << "The account or password is invalid. Please try again.";
    QTest::newRow("disabled") << QJsonObject() << none << false << "dis" << "pw" << ""
                              << "The user account has been disabled.";
    QTest::newRow("not a photo user") << QJsonObject() << none << false << "bob" << "pw" << ""
                                      << "bob is not a valid Pictarium user account.";
    QTest::newRow("no login privilege") << QJsonObject() << none << false << "blocked" << "pw" << ""
                                        << "You are not authorized to use this service.";
    QTest::newRow("photo off, user") << photoOff << none << false << "ann" << "pw" << "" << strDisabled;
    QTest::newRow("photo off, Admin") << photoOff << none << false << "Admin" << "adminpw" << "" << "";
    QTest::newRow("photo off, admin wrong password") << photoOff << none << false << "ADMIN" << "x" << ""
                                                     << "The account or password is invalid. Please try again.";
    QTest::newRow("photo off, personal") << photoOff << none << false << "pers" << "pw" << "pers"
                                         << strPersonalDisabled;
    QTest::newRow("personal ok") << QJsonObject() << none << false << "pers" << "pw" << "pers" << "";
    QTest::newRow("personal not enabled") << QJsonObject() << none << false << "ann" << "pw" << "ann"
                                          << strPersonalDisabled;
    QTest::newRow("no photo root") << QJsonObject{{"photo_root", false}} << none << false << "ann" << "pw" << ""
                                   << "The photo shared folder is not found. Please make sure the photo shared folder "
                                      "exists before uploading.";
    QTest::newRow("not installed") << QJsonObject{{"photo_installed", false}} << none << false << "ann" << "pw" << ""
                                   << "Pictarium is not installed. Please install the package at Parcelry to upload "
                                      "photos.";
    QTest::newRow("service redirect") << QJsonObject{{"service_disabled", "redirect"}} << none << false << "ann"
                                      << "pw" << "" << strDisabled;
    QTest::newRow("service page, personal") << QJsonObject{{"service_disabled", "html"}} << none << false << "pers"
                                            << "pw" << "pers" << strPersonalDisabled;
    QTest::newRow("other html") << QJsonObject() << QStringList{"--html-on", "/blog/login.php"} << false << "ann"
                                << "pw" << ""
                                << "Failed to establish the connection. Please check the hostname/IP address or make "
                                   "sure Pictarium is working properly, and then try again.";
    QTest::newRow("server error 500") << QJsonObject() << QStringList{"--status-on", "/blog/login.php=500"} << false
                                      << "ann" << "pw" << "" << "Connection error. (Error Code: UnknownContentError (HTTP 500))";
    QTest::newRow("dropped") << QJsonObject() << QStringList{"--close-immediately", "/blog/login.php"} << false
                             << "ann" << "pw" << "" << "Connection error. (Error Code: RemoteHostClosedError)";
    QTest::newRow("refused") << QJsonObject() << QStringList{"REFUSED"} << false << "ann" << "pw" << ""
                             << "Connection error. (Error Code: ConnectionRefusedError)";
}

void TestSecurityConfirm::outcomes()
{
    QFETCH(QJsonObject, state);
    QFETCH(QStringList, serverArgs);
    QFETCH(bool, https);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, owner);
    QFETCH(QString, message);

    const bool blRefused = serverArgs == QStringList{"REFUSED"};
    QVERIFY(startServer(standardAccounts(state), blRefused ? QStringList() : serverArgs, https));
    ServerProfile profile = makeProfile(user, password, https, !owner.isEmpty(), owner);
    if (blRefused) {
        // A port nobody listens on: take a free one and close it again.
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        profile.port = probe.serverPort();
        probe.close();
        profile.updateBaseUrl();
    }

    ScriptedPrompt prompt;
    SecurityConfirm login(&prompt);
    QSignalSpy spy(&login, &SecurityConfirm::signalLoginFinish);
    QVERIFY(login.prepareLogin(m_pNam.get(), &profile, false, false));
    login.launch();
    QVERIFY(spy.wait(15000));
    QTest::qWait(50);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), message.isEmpty());
    QCOMPARE(login.succeeded(), message.isEmpty());

    if (message.isEmpty()) {
        QVERIFY(prompt.shown.isEmpty());
    } else {
        QCOMPARE(prompt.shown.size(), 1);
        QCOMPARE(prompt.shown.at(0).kind, QStringLiteral("warning"));
        QCOMPARE(prompt.shown.at(0).title, QStringLiteral("Error"));
        QCOMPARE(prompt.shown.at(0).text, message);
    }
    if (!blRefused && !owner.isEmpty()) {
        const QList<QJsonObject> lstLogins = m_pServer->journalFor(QStringLiteral("/blog/login.php"));
        QVERIFY(!lstLogins.isEmpty());
        QCOMPARE(lstLogins.last().value("path").toString(), QLatin1String("/~") + owner + QLatin1String("/blog/login.php"));
    }
}

void TestSecurityConfirm::bodyAndCookie()
{
    QVERIFY(startServer(standardAccounts()));
    ServerProfile profile = makeProfile(QStringLiteral("a&b=c d"), QString::fromUtf8("p&w=\xc3\xb6"));
    ScriptedPrompt prompt;
    SecurityConfirm login(&prompt);
    QSignalSpy spy(&login, &SecurityConfirm::signalLoginFinish);
    QVERIFY(login.prepareLogin(m_pNam.get(), &profile, true, false));
    login.launch();
    QVERIFY(spy.wait(15000));
    QCOMPARE(spy.at(0).at(0).toBool(), true);

    const QJsonObject entry = m_pServer->journalFor(QStringLiteral("/blog/login.php")).last();
    QCOMPARE(entry.value("method").toString(), QStringLiteral("POST"));
    QCOMPARE(QByteArray::fromBase64(entry.value("body_base64").toString().toLatin1()),
             QByteArray("action=login&username=a%26b%3Dc%20d&passwd=p%26w%3D%C3%B6"));
    bool blFormType = false;
    for (const QJsonValue& header : entry.value("headers").toArray()) {
        const QJsonArray pair = header.toArray();
        if (pair.at(0).toString().compare(QLatin1String("Content-Type"), Qt::CaseInsensitive) == 0)
            blFormType = pair.at(1).toString() == QLatin1String("application/x-www-form-urlencoded");
    }
    QVERIFY(blFormType);

    // The next request through the same manager carries the session cookie.
    QNetworkReply* pReply = ServerRequest::post(
        m_pNam.get(), ServerRequest::buildForm(profile.baseUrl, ServerRequest::AlbumListPath),
        QByteArrayLiteral("action=get_uploadable_album_list"));
    QSignalSpy finished(pReply, &QNetworkReply::finished);
    QVERIFY(finished.wait(15000));
    const ServerReply reply = ServerReply::classify(pReply);
    delete pReply;
    QVERIFY2(reply.flag("success"), reply.body.constData());

    const QJsonObject albums = m_pServer->journalFor(QStringLiteral("rada_get_uploadable_album.php")).last();
    QString strCookie;
    for (const QJsonValue& header : albums.value("headers").toArray()) {
        const QJsonArray pair = header.toArray();
        if (pair.at(0).toString().compare(QLatin1String("Cookie"), Qt::CaseInsensitive) == 0)
            strCookie = pair.at(1).toString();
    }
    QVERIFY2(strCookie.contains(QLatin1String("PICSESSID=")), qPrintable(strCookie));
}

void TestSecurityConfirm::supersededReplyIgnored()
{
    QVERIFY(startServer(standardAccounts(), {QStringLiteral("--delay-ms"), QStringLiteral("400")}));
    ServerProfile profile = makeProfile(QStringLiteral("ann"), QStringLiteral("wrong"));
    ScriptedPrompt prompt;
    SecurityConfirm login(&prompt);
    QSignalSpy spy(&login, &SecurityConfirm::signalLoginFinish);

    QVERIFY(login.prepareLogin(m_pNam.get(), &profile, true, false));
    login.launch();
    // The first reply is held back by the server while the second attempt starts.
    QTest::qWait(100);
    profile.password = QStringLiteral("pw");
    QVERIFY(login.prepareLogin(m_pNam.get(), &profile, true, false));
    login.launch();

    QVERIFY(spy.wait(15000));
    QTest::qWait(600);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), true);
    QVERIFY(prompt.shown.isEmpty()); // the stale failure showed nothing
    QCOMPARE(m_pServer->journalFor(QStringLiteral("/blog/login.php")).size(), 2);
}

void TestSecurityConfirm::refusedPasswordReprompts()
{
    QVERIFY(startServer(standardAccounts()));
    ServerProfile profile = makeProfile(QStringLiteral("ann"), QString());
    profile.savepass = false;
    QVERIFY(ProfileStore::insertProfile(profile));

    ScriptedPrompt prompt;
    prompt.textAnswers = {QStringLiteral("typo"), QStringLiteral("pw")};
    SecurityConfirm login(&prompt);
    QSignalSpy spy(&login, &SecurityConfirm::signalLoginFinish);
    QVERIFY(login.prepareLogin(m_pNam.get(), &profile, true, false));
    login.launch();
    QVERIFY(spy.wait(15000));
    QTest::qWait(50);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), true);

    QStringList lstShown;
    for (const ScriptedPrompt::Shown& item : std::as_const(prompt.shown))
        lstShown.append(item.kind + QLatin1Char('|') + item.title + QLatin1Char('|') + item.text);
    QCOMPARE(lstShown, QStringList({"text|Velmora Pictarium Uploader|Please enter the ann's password.",
                                    "warning|Error|The account or password is invalid. Please try again.",
                                    "text|Velmora Pictarium Uploader|Please enter the ann's password."}));
    ServerProfile stored;
    QVERIFY(ProfileStore::loadProfile(QStringLiteral("home"), stored, prompt));
    QCOMPARE(stored.password, QStringLiteral("pw"));
    QCOMPARE(profile.password, QStringLiteral("pw"));
}

void TestSecurityConfirm::cancelledPrompts()
{
    QVERIFY(startServer(standardAccounts()));
    ServerProfile profile = makeProfile(QStringLiteral("ann"), QString());
    profile.savepass = false;

    // Cancelling the first prompt: nothing is sent, nothing is signalled.
    ScriptedPrompt prompt;
    SecurityConfirm login(&prompt);
    QSignalSpy spy(&login, &SecurityConfirm::signalLoginFinish);
    QVERIFY(!login.prepareLogin(m_pNam.get(), &profile, true, false));
    QTest::qWait(200);
    QCOMPARE(spy.count(), 0);
    QVERIFY(m_pServer->journalFor(QStringLiteral("/blog/login.php")).isEmpty());

    // Cancelling the prompt that follows a refusal ends the attempt as failed.
    prompt.textAnswers = {QStringLiteral("typo")};
    QVERIFY(login.prepareLogin(m_pNam.get(), &profile, true, false));
    login.launch();
    QVERIFY(spy.wait(15000));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), false);
    QCOMPARE(m_pServer->journalFor(QStringLiteral("/blog/login.php")).size(), 1);
}

void TestSecurityConfirm::secretsStayOutOfLog()
{
    QVERIFY(startServer(standardAccounts()));
    ServerProfile profile = makeProfile(QStringLiteral("ann"), QStringLiteral("pw"));
    profile.password = QStringLiteral("pw");
    ScriptedPrompt prompt;
    SecurityConfirm login(&prompt);
    QSignalSpy spy(&login, &SecurityConfirm::signalLoginFinish);

    QStringList lstLines;
    bool blFinished = false;
    {
        DebugCapture capture;
        QVERIFY(login.prepareLogin(m_pNam.get(), &profile, false, false));
        login.launch();
        blFinished = spy.wait(15000);
        lstLines = capture.lines();
    }
    QVERIFY(blFinished);
    QCOMPARE(spy.at(0).at(0).toBool(), true);

    const QString strLog = lstLines.join(QLatin1Char('\n'));
    QVERIFY(!lstLines.isEmpty());
    QVERIFY2(!strLog.contains(QLatin1String("passwd")), qPrintable(strLog));
    QVERIFY2(!strLog.contains(QLatin1String("PICSESSID")), qPrintable(strLog));
}

// Trusted on first use: the key is remembered; another certificate on the same server is
// refused before a byte of the request goes out, also on a connection manager that has
// reached the server before; trusting it sends the same login again.
void TestSecurityConfirm::certificateTrust()
{
    const QString strDir = m_pEnv->root();
    QVERIFY(RefServerProcess::makeCertificate(strDir, QStringLiteral("a")));
    QVERIFY(RefServerProcess::makeCertificate(strDir, QStringLiteral("b")));
    const QByteArray baKeyA = RefServerProcess::publicKeySha256(strDir + QLatin1String("/a.pem"));
    const QByteArray baKeyB = RefServerProcess::publicKeySha256(strDir + QLatin1String("/b.pem"));
    QCOMPARE(baKeyA.size(), 32);
    QVERIFY(baKeyB.size() == 32 && baKeyA != baKeyB);
    const auto certificate = [&](const char* pszName) {
        return QStringList{QStringLiteral("--cert"), strDir + QLatin1Char('/') + QLatin1String(pszName) + ".pem",
                           QStringLiteral("--key"), strDir + QLatin1Char('/') + QLatin1String(pszName) + ".key"};
    };
    QVERIFY(startServer(standardAccounts(), certificate("a")));
    const int iPort = m_pServer->port();
    m_pServer->setPort(iPort);
    const QString strHost = QStringLiteral("127.0.0.1");
    ServerProfile profile = makeProfile(QStringLiteral("ann"), QStringLiteral("pw"), true);
    QVERIFY(!VelmDatabase::tableExists(VelmDatabase::ServerCertificates));

    ScriptedPrompt prompt;
    QCOMPARE(SecurityConfirm::logInAndWait(&prompt, m_pNam.get(), &profile), SecurityConfirm::Outcome::Succeeded);
    QCOMPARE(CertificatePins::pinFor(strHost, iPort).keyHash, baKeyA);
    QCOMPARE(CertificatePins::pinFor(QStringLiteral("127.0.0.1"), iPort + 1).keyHash, QByteArray());
    QNetworkAccessManager freshNam;
    QCOMPARE(SecurityConfirm::logInAndWait(&prompt, &freshNam, &profile), SecurityConfirm::Outcome::Succeeded);
    QVERIFY(prompt.shown.isEmpty());
    const auto logins = [this]() { return m_pServer->journalFor(QLatin1String(ServerRequest::LoginPath)).size(); };
    QCOMPARE(logins(), 2);

    // The same port now shows certificate b (a new journal). The desktop flow (retry allowed)
    // asks; Cancel ends the attempt without a password prompt, and nothing reached the server.
    QVERIFY(m_pServer->start(certificate("b")));
    QCOMPARE(m_pServer->port(), iPort);
    SecurityConfirm login(&prompt);
    QSignalSpy spy(&login, &SecurityConfirm::signalLoginFinish);
    prompt.trustAnswers = {false};
    QVERIFY(login.prepareLogin(m_pNam.get(), &profile, true, false));
    login.launch();
    QVERIFY(spy.wait(15000));
    QCOMPARE(spy.at(0).at(0).toBool(), false);
    QCOMPARE(prompt.shown.size(), 1);
    const ScriptedPrompt::Shown shown = prompt.shown.constFirst();
    QCOMPARE(shown.kind, QStringLiteral("certificate"));
    QCOMPARE(shown.title, QStringLiteral("Warning"));
    const QString strFingerprintA = CertificatePins::fingerprintText(baKeyA);
    const QString strFingerprintB = CertificatePins::fingerprintText(baKeyB);
    QVERIFY(QRegularExpression(QStringLiteral("^([0-9A-F]{2}:){31}[0-9A-F]{2}$")).match(strFingerprintA).hasMatch());
    QCOMPARE(shown.text, VelmLocale::message("err_cert_changed")
                             .arg(QStringLiteral("127.0.0.1:%1").arg(iPort), strFingerprintA, strFingerprintB));
    QVERIFY(shown.text.indexOf(strFingerprintA) < shown.text.indexOf(strFingerprintB));
    QCOMPARE(login.certificateRefusal().offeredKey, baKeyB);
    QCOMPARE(logins(), 0);
    QCOMPARE(CertificatePins::pinFor(strHost, iPort).keyHash, baKeyA);
    QCOMPARE(SecurityConfirm::logInAndWait(&prompt, &freshNam, &profile),
             SecurityConfirm::Outcome::CertificateRefused);
    QCOMPARE(logins(), 0);

    // Any other request is refused the same way, with the same message.
    QNetworkReply* pReply = ServerRequest::post(
        m_pNam.get(), ServerRequest::buildForm(profile.baseUrl, ServerRequest::AlbumListPath), "action=x");
    QSignalSpy finished(pReply, &QNetworkReply::finished);
    QVERIFY(finished.wait(15000));
    const ServerReply reply = ServerReply::classify(pReply);
    delete pReply;
    QCOMPARE(reply.errorCode, int(QNetworkReply::SslHandshakeFailedError));
    QCOMPARE(ReplyMessages::albumList(reply), shown.text);
    QCOMPARE(m_pServer->journal().size(), 0);

    // Trusting the new certificate replaces the key and sends the login again, once.
    prompt.shown.clear();
    prompt.trustAnswers = {true};
    QVERIFY(login.prepareLogin(m_pNam.get(), &profile, true, false));
    login.launch();
    QVERIFY(spy.wait(15000));
    QCOMPARE(spy.last().at(0).toBool(), true);
    QCOMPARE(prompt.shown.size(), 1);
    QCOMPARE(CertificatePins::pinFor(strHost, iPort).keyHash, baKeyB);
    QCOMPARE(logins(), 1);
    QVERIFY(login.certificateRefusal().isNull());

    // Plain HTTP never looks at the table.
    QVERIFY(startServer(standardAccounts()));
    ServerProfile plain = makeProfile(QStringLiteral("ann"), QStringLiteral("pw"));
    QCOMPARE(SecurityConfirm::logInAndWait(&prompt, m_pNam.get(), &plain), SecurityConfirm::Outcome::Succeeded);
    QCOMPARE(CertificatePins::pinFor(strHost, m_pServer->port()).keyHash, QByteArray());
}

void TestSecurityConfirm::fingerprintInput_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("valid");
    const QString strHex = QStringLiteral("00112233445566778899aabbccddeeff00112233445566778899AABBCCDDEEFF");
    QTest::newRow("plain") << strHex << true;
    QTest::newRow("colons") << CertificatePins::fingerprintText(QByteArray::fromHex(strHex.toLatin1())) << true;
    QTest::newRow("blanks") << (QStringLiteral("  ") + strHex.left(32) + QStringLiteral(" \t") + strHex.mid(32)) << true;
    QTest::newRow("short") << strHex.left(62) << false;
    QTest::newRow("long") << (strHex + QStringLiteral("00")) << false;
    QTest::newRow("not hex") << (strHex.left(63) + QStringLiteral("g")) << false;
    QTest::newRow("wide digit") << (strHex.left(63) + QString(QChar(0xff11))) << false;
    QTest::newRow("empty") << QString() << false;
}

void TestSecurityConfirm::fingerprintInput()
{
    QFETCH(QString, input);
    QFETCH(bool, valid);
    const QByteArray baHash = CertificatePins::parseFingerprint(input);
    QCOMPARE(baHash.size(), valid ? 32 : 0);
    if (valid)
        QCOMPARE(baHash.toHex(), QByteArray("00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff"));
}

QTEST_GUILESS_MAIN(TestSecurityConfirm)
#include "tst_securityconfirm.moc"

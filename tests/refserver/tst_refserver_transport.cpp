#include "RefServerTestBase.h"

#include <QDir>
#include <QSslCertificate>
#include <QtTest>

// The reference server over HTTPS.
class TestRefServerTransport : public RefServerTestBase
{
    Q_OBJECT

private Q_SLOTS:
    void httpsWithSelfSignedCertificate();
};

void TestRefServerTransport::httpsWithSelfSignedCertificate()
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

QTEST_GUILESS_MAIN(TestRefServerTransport)
#include "tst_refserver_transport.moc"

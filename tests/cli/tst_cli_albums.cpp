#include "CliRunner.h"
#include "CliTestBase.h"
#include "MediaFixtures.h"
#include "TestEnvironment.h"

#include <QFileInfo>
#include <QtTest>

// pictarium-cli: the album tree, a wrong password, the album checked before an upload, and certificates.
class TestCliAlbums : public CliTestBase
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void albumTree();
    void wrongPassword_data();
    void wrongPassword();
    void albumChecked_data();
    void albumChecked();
    void certificates();
};

void TestCliAlbums::initTestCase()
{
    initCase(false);
}

void TestCliAlbums::cleanup()
{
    cleanupServer();
}

void TestCliAlbums::albumTree()
{
    QVERIFY(startServer({"2013/summer/beach", "2013/winter", "family", "secret/inner"}));
    TestEnvironment env;
    QVERIFY(addProfile(env, QStringLiteral("home")));
    const CliRun run = runCli(env, {"albums", "--profile", "home"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    // Depth first, names sorted; the forbidden album and its subtree are not offered.
    QCOMPARE(lines(run.out), (QStringList{"photo", "  2013", "    summer", "      beach", "    winter", "  family"}));
}

void TestCliAlbums::wrongPassword_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("upload") << QStringList{"upload", "--profile", "nopw", "--json", "@FILE@"};
    QTest::newRow("albums") << QStringList{"albums", "--profile", "nopw"};
}

void TestCliAlbums::wrongPassword()
{
    QFETCH(QStringList, args);
    QVERIFY(startServer());
    TestEnvironment env;
    QVERIFY(addProfile(env, QStringLiteral("nopw"), false));
    const QString strFile = env.root() + QLatin1String("/local/a.jpg");
    QVERIFY(MediaFixtures::makeImage(strFile, 64, 48));
    args.replaceInStrings(QStringLiteral("@FILE@"), strFile);

    const CliRun run = runCli(env, args, QStringLiteral("wrong"));
    QVERIFY2(run.finished, qPrintable(run.describe()));
    QVERIFY2(run.exitCode == 2, qPrintable(run.describe()));
    QVERIFY2(run.err.contains(QLatin1String("The account or password is invalid. Please try again.")),
             qPrintable(run.describe()));
    QVERIFY(!m_pServer->journalFor(QStringLiteral("/blog/login.php")).isEmpty());
    QVERIFY(m_pServer->journalFor(QStringLiteral("rada_file_upload.php")).isEmpty());
}

void TestCliAlbums::albumChecked_data()
{
    QTest::addColumn<QString>("album");
    QTest::addColumn<bool>("stored");     // the profile's stored album, no --album
    QTest::addColumn<QString>("landsIn"); // empty: refused
    for (const char* pszAlbum : {"/photo/../escape", "/photo/2013/../../x", "/photo/..", "/photo/./x", "/other"})
        QTest::newRow(pszAlbum) << QString::fromLatin1(pszAlbum) << false << QString();
    QTest::newRow("stored /photo/../escape") << QStringLiteral("/photo/../escape") << true << QString();
    QTest::newRow("a control character") << QStringLiteral("/photo/20\u001b[2J13") << false << QString();
    QTest::newRow("blanks trimmed") << QStringLiteral("/photo/2013 ") << false << QStringLiteral("/photo/2013");
    QTest::newRow("stored, blanks trimmed")
        << QStringLiteral(" /photo/ 2013 /") << true << QStringLiteral("/photo/2013");
}

void TestCliAlbums::albumChecked()
{
    QFETCH(QString, album);
    QFETCH(bool, stored);
    QFETCH(QString, landsIn);
    QVERIFY(startServer({QStringLiteral("2013")}));
    TestEnvironment env;
    QVERIFY(addProfile(env, QStringLiteral("home"), false)); // no login test: the journal starts empty
    const QString strFile = env.root() + QLatin1String("/local/a.jpg");
    QVERIFY(MediaFixtures::makeImage(strFile, 64, 48));
    QStringList lstArgs{"upload", "--profile", "home", "--no-date-rename", strFile};
    if (stored)
        queryDatabase(env, QStringLiteral("UPDATE ServerProfiles SET serverdst = ?"), {album});
    else
        lstArgs << QStringLiteral("--album") << album;

    const CliRun run = runCli(env, lstArgs, QStringLiteral("pw"));
    if (landsIn.isEmpty()) {
        // A control character is shown escaped, and named as the reason.
        const bool blControl = album.contains(QChar(0x1b));
        QVERIFY2(run.exitCode == 2 && run.err.contains(blControl ? QStringLiteral("a folder name may not contain control "
                                                                                  "characters")
                                                                 : QLatin1String("The destination folder ") + album +
                                                                       QLatin1String(" cannot be used")),
                 qPrintable(run.describe()));
        QVERIFY2(m_pServer->journal().isEmpty(), "the server was asked");
        return;
    }
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QVERIFY(QFileInfo::exists(m_pServer->root() + landsIn + QLatin1String("/a.jpg")));
    // The plain form is what the profile keeps.
    QCOMPARE(queryDatabase(env, QStringLiteral("SELECT serverdst FROM ServerProfiles")).value(0).value(0).toString(),
             landsIn);
}

// HTTPS: the fingerprint given ahead is the only one accepted; another certificate stops every
// command before a byte of HTTP is sent (exit 2, both fingerprints); trust shows and pins it.
void TestCliAlbums::certificates()
{
    const QString strDir = m_mediaDir.path();
    QVERIFY(RefServerProcess::makeCertificate(strDir, QStringLiteral("a")));
    QVERIFY(RefServerProcess::makeCertificate(strDir, QStringLiteral("b")));
    const QByteArray baKeyA = RefServerProcess::publicKeySha256(strDir + QLatin1String("/a.pem"));
    const QByteArray baKeyB = RefServerProcess::publicKeySha256(strDir + QLatin1String("/b.pem"));
    QVERIFY(baKeyA.size() == 32 && baKeyB.size() == 32);
    const QString strA = QString::fromLatin1(baKeyA.toHex(':').toUpper());
    const QString strB = QString::fromLatin1(baKeyB.toHex(':').toUpper());
    const auto certificate = [&](const char* pszName) {
        return QStringList{QStringLiteral("--cert"), strDir + QLatin1Char('/') + QLatin1String(pszName) + ".pem",
                           QStringLiteral("--key"), strDir + QLatin1Char('/') + QLatin1String(pszName) + ".key"};
    };
    QVERIFY(startServer({QStringLiteral("family")}, certificate("a")));
    m_pServer->setPort(m_pServer->port());
    const QString strPort = QString::number(m_pServer->port());
    TestEnvironment env;
    const auto addHttps = [&](const QString& strName, const QStringList& lstMore) {
        return runCli(env,
                      QStringList{"add-profile", "--name", strName, "--host", "127.0.0.1", "--port", strPort,
                                  "--account", "ann", "--remember-password"} +
                          lstMore,
                      QStringLiteral("pw"));
    };
    const auto pinned = [&]() {
        const QList<QVariantList> rows = queryDatabase(
            env, QStringLiteral("select keysha256 from ServerCertificates where hostaddr = ? and port = ?"),
            {QStringLiteral("127.0.0.1"), m_pServer->port()});
        return rows.size() == 1 ? QByteArray::fromHex(rows.constFirst().value(0).toByteArray()) : QByteArray();
    };
    const auto requests = [&]() { return m_pServer->journal().size(); };

    CliRun run = addHttps(QStringLiteral("x"), {"--fingerprint", strA});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(QLatin1String("--https")), qPrintable(run.describe()));
    run = addHttps(QStringLiteral("x"), {"--https", "--fingerprint", strA.left(90)});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(QLatin1String("64 hexadecimal digits")), qPrintable(run.describe()));

    // The wrong key given ahead: the login test is refused and the profile not added.
    run = addHttps(QStringLiteral("wrong"), {"--https", "--fingerprint", strB});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.indexOf(strB) >= 0 && run.err.indexOf(strB) < run.err.indexOf(strA), qPrintable(run.describe()));
    QVERIFY2(run.err.contains(QLatin1String("127.0.0.1:") + strPort), qPrintable(run.describe()));
    QCOMPARE(requests(), 0);
    QVERIFY(!runCli(env, {"profiles"}).out.contains(QLatin1String("wrong")));

    // The right key, typed in lower case without colons.
    run = addHttps(QStringLiteral("home"), {"--https", "--fingerprint", QString::fromLatin1(baKeyA.toHex())});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QCOMPARE(requests(), 1);
    QCOMPARE(pinned(), baKeyA);

    // The server now shows certificate b: nothing is sent, the way out is named.
    QVERIFY(m_pServer->start(certificate("b")));
    const QString strPhoto = env.root() + QLatin1String("/local/pic.jpg");
    QVERIFY(MediaFixtures::makeJpeg(strPhoto, 160, 120, QStringLiteral("2012:01:02 03:04:05")));
    run = runCli(env, {"upload", "--profile", "home", "--album", "/photo/family", "--no-date-rename", strPhoto});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.indexOf(strA) >= 0 && run.err.indexOf(strA) < run.err.indexOf(strB), qPrintable(run.describe()));
    QVERIFY2(run.err.contains(QLatin1String("pictarium-cli trust --profile 'home'")), qPrintable(run.describe()));
    QCOMPARE(requests(), 0);

    // trust shows the new key; without a terminal or --yes it is not trusted.
    run = runCli(env, {"trust", "--profile", "home"});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.out.contains(QLatin1String("Fingerprint: ") + strB), qPrintable(run.describe()));
    QVERIFY2(run.out.contains(QLatin1String("Trusted now: ") + strA), qPrintable(run.describe()));
    QCOMPARE(pinned(), baKeyA);
    run = runCli(env, {"trust", "--profile", "home", "--yes"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QCOMPARE(pinned(), baKeyB);
    QCOMPARE(requests(), 0);
    run = runCli(env, {"upload", "--profile", "home", "--album", "/photo/family", "--no-date-rename", strPhoto});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QCOMPARE(TestFiles::readBytes(m_pServer->root() + QLatin1String("/photo/family/pic.jpg")),
             TestFiles::readBytes(strPhoto));
    run = runCli(env, {"trust", "--profile", "home", "--yes"});
    QVERIFY2(run.exitCode == 0 && run.out.contains(QLatin1String("trusted already")), qPrintable(run.describe()));

    // Plain HTTP: nothing is remembered, and there is nothing to trust.
    QVERIFY(startServer());
    QVERIFY(addProfile(env, QStringLiteral("plain")));
    QCOMPARE(queryDatabase(env, QStringLiteral("select * from ServerCertificates where port = ?"), {m_pServer->port()})
                 .size(),
             0);
    run = runCli(env, {"trust", "--profile", "plain"});
    QVERIFY2(run.exitCode == 2 && run.err.contains(QLatin1String("plain HTTP")), qPrintable(run.describe()));
}

QTEST_GUILESS_MAIN(TestCliAlbums)
#include "tst_cli_albums.moc"

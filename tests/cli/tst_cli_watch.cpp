#include "CliRunner.h"
#include "CliTestBase.h"
#include "MediaFixtures.h"
#include "TestEnvironment.h"
#include "WaitUntil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include <signal.h>

// pictarium-cli watch: a watcher run as a program against the reference server, through catch-up,
// bursts, slow writes, a server that goes away and a stop in the middle of a batch.
class TestCliWatch : public CliTestBase
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { initCase(false); }
    void cleanup() { cleanupServer(); }
    void watchScenario();
};

namespace {

QStringList stored(const RefServerProcess& server)
{
    return filesBelow(server.root() + QLatin1String("/photo"), false);
}

QByteArray readAll(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void TestCliWatch::watchScenario()
{
    QVERIFY(startServer());
    TestEnvironment env;
    QVERIFY(addProfile(env, QStringLiteral("home")));
    const QString strInbox = env.root() + QLatin1String("/inbox");
    QStringList lstExpected;
    auto addPhoto = [&](const QString& strRelative, int iWidth) {
        const QString strPath = strInbox + QLatin1Char('/') + strRelative;
        QDir().mkpath(QFileInfo(strPath).path());
        // Made aside and moved in, as a copy that ends with a rename.
        const QString strTemp = env.tempDir() + QLatin1Char('/') + QFileInfo(strPath).fileName();
        QDir().mkpath(env.tempDir());
        const bool blMade = MediaFixtures::makeJpeg(strTemp, iWidth, iWidth * 3 / 4) && QFile::rename(strTemp, strPath);
        lstExpected.append(QLatin1String("inbox/") + strRelative);
        lstExpected.sort();
        return blMade;
    };
    for (int i = 0; i < 3; ++i)
        QVERIFY(addPhoto(QStringLiteral("a%1.jpg").arg(i), 64));

    QProcess watcher;
    watcher.setProcessEnvironment(cliEnvironment(env));
    watcher.setStandardInputFile(QProcess::nullDevice());
    const QStringList lstArgs{"watch", "--profile", "home", "--no-date-rename", "--settle", "1", "--json", strInbox};
    watcher.start(cliProgram(), lstArgs);
    QVERIFY(watcher.waitForStarted(10000));
    auto describe = [&]() -> QString {
        return QString::fromUtf8(watcher.readAllStandardError()) + QLatin1String("\nstored: ") +
               stored(*m_pServer).join(QLatin1Char(' '));
    };

    // Catch-up at start.
    QVERIFY2(waitUntil([&]() { return stored(*m_pServer) == lstExpected; }, 60000), qPrintable(describe()));

    // A second watcher of the profile is refused.
    const CliRun second = runCli(env, lstArgs);
    QCOMPARE(second.exitCode, 2);
    QVERIFY2(second.err.contains(QLatin1String("watched already")), qPrintable(second.describe()));

    // A burst of 20 into a new subfolder, and a file written in pieces over 5 s.
    for (int i = 0; i < 20; ++i)
        QVERIFY(addPhoto(QStringLiteral("burst/b%1.jpg").arg(i, 2, 10, QLatin1Char('0')), 64));
    QVERIFY(MediaFixtures::makeJpeg(env.tempDir() + QLatin1String("/slow.jpg"), 800, 600));
    const QByteArray baSlow = readAll(env.tempDir() + QLatin1String("/slow.jpg"));
    {
        QFile slow(strInbox + QLatin1String("/slow.jpg"));
        QVERIFY(slow.open(QIODevice::WriteOnly));
        const int iPieces = 12;
        for (int i = 0; i < iPieces; ++i) {
            const qsizetype iFrom = baSlow.size() * i / iPieces;
            slow.write(baSlow.mid(iFrom, baSlow.size() * (i + 1) / iPieces - iFrom));
            slow.flush();
            QTest::qWait(420);
        }
    }
    lstExpected.append(QStringLiteral("inbox/slow.jpg"));
    lstExpected.sort();
    QVERIFY2(waitUntil([&]() { return stored(*m_pServer) == lstExpected; }, 90000), qPrintable(describe()));
    QCOMPARE(readAll(m_pServer->root() + QLatin1String("/photo/inbox/slow.jpg")), baSlow);

    // Files added while the server is away arrive after it returns (slower now, to stop mid-batch next).
    const int iPort = m_pServer->port();
    m_pServer->stop();
    for (int i = 0; i < 3; ++i)
        QVERIFY(addPhoto(QStringLiteral("c%1.jpg").arg(i), 64));
    QTest::qWait(4000);
    QVERIFY(watcher.state() == QProcess::Running);
    m_pServer->setPort(iPort);
    QVERIFY(m_pServer->start({QStringLiteral("--delay-ms"), QStringLiteral("600")}));
    QVERIFY2(waitUntil([&]() { return stored(*m_pServer) == lstExpected; }, 120000), qPrintable(describe()));

    // SIGTERM while a batch sends: exit 0, and a later run completes the set with nothing twice.
    for (int i = 0; i < 6; ++i)
        QVERIFY(addPhoto(QStringLiteral("d%1.jpg").arg(i), 64));
    QVERIFY2(waitUntil(
                 [&]() {
                     return stored(*m_pServer).filter(QRegularExpression(QStringLiteral("^inbox/d"))).size() >= 1;
                 },
                 60000),
             qPrintable(describe()));
    QCOMPARE(::kill(pid_t(watcher.processId()), SIGTERM), 0);
    QVERIFY(watcher.waitForFinished(60000));
    QCOMPARE(watcher.exitStatus(), QProcess::NormalExit);
    QCOMPARE(watcher.exitCode(), 0);
    const QStringList lstStopped = stored(*m_pServer);
    QVERIFY2(lstStopped != lstExpected, "the stop came after the batch: nothing was in flight");
    const CliRun once = runCli(env, QStringList{"watch", "--profile", "home", "--no-date-rename", "--once", "--json",
                                                strInbox});
    QVERIFY2(once.exitCode == 0, qPrintable(once.describe()));
    QVERIFY2(stored(*m_pServer) == lstExpected, qPrintable(once.describe() + describe()));
    for (const QString& strFile : std::as_const(lstExpected))
        QCOMPARE(readAll(m_pServer->root() + QLatin1String("/photo/") + strFile),
                 readAll(env.root() + QLatin1Char('/') + strFile));

    // One JSON line per batch; the last one is in the history of batches.
    int iBatches = 0;
    for (const QString& strLine : lines(QString::fromUtf8(watcher.readAllStandardOutput()))) {
        const QJsonObject batch = QJsonDocument::fromJson(strLine.toUtf8()).object();
        QVERIFY2(batch.contains(QLatin1String("sent")) && batch.contains(QLatin1String("failed")), qPrintable(strLine));
        ++iBatches;
    }
    QVERIFY(iBatches >= 3);
    QVERIFY(once.json().value(QLatin1String("skipped")).toInt() > 0);
    const QList<QVariantList> lstHome =
        queryDatabase(env, QStringLiteral("SELECT sent, skipped, error FROM WatchStates WHERE profname = 'home'"));
    QVERIFY(!lstHome.isEmpty());
    QCOMPARE(lstHome.first().value(2).toString(), QString());

    // A password the server refuses stops the watcher with status 2, and the reason is kept.
    // It is told on a private session bus, as a recorder there sees it.
    QVERIFY(addProfile(env, QStringLiteral("other"), false));
    QProcess bus;
    bus.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
    QVERIFY2(bus.waitForStarted(10000) && bus.waitForReadyRead(10000), "dbus-daemon did not start");
    const QString strBus = QString::fromUtf8(bus.readLine()).trimmed();
    QProcess recorder;
    recorder.start(QStringLiteral("dbus-monitor"),
                   {"--address", strBus, "interface='org.freedesktop.Notifications'"});
    QVERIFY(recorder.waitForStarted(10000) && recorder.waitForReadyRead(10000));
    QProcessEnvironment pe = cliEnvironment(env, QStringLiteral("bad"));
    pe.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), strBus);
    const CliRun refused = runCli(pe, {"watch", "--profile", "other", "--settle", "1", strInbox});
    QVERIFY2(refused.exitCode == 2, qPrintable(refused.describe()));
    QByteArray baRecorded;
    QVERIFY(waitUntil(
        [&]() {
            baRecorded += recorder.readAll();
            return baRecorded.contains("Automatic upload stopped");
        },
        10000));
    QVERIFY2(baRecorded.contains("\"Pictarium Uploader\"") && baRecorded.contains("member=Notify"),
             baRecorded.constData());
    recorder.kill();
    bus.kill();
    recorder.waitForFinished(5000);
    bus.waitForFinished(5000);
    const QList<QVariantList> lstOther =
        queryDatabase(env, QStringLiteral("SELECT error FROM WatchStates WHERE profname = 'other'"));
    QVERIFY(!lstOther.isEmpty() && !lstOther.first().value(0).toString().isEmpty());
    // Without folders given or stored: a usage error.
    const CliRun none = runCli(env, {"watch", "--profile", "other"}, QStringLiteral("bad"));
    QVERIFY2(none.exitCode == 2 && none.err.contains(QLatin1String("Name the folders")), qPrintable(none.describe()));
}

QTEST_GUILESS_MAIN(TestCliWatch)
#include "tst_cli_watch.moc"

// pictarium-cli discover inside a private network: this process lives in a network namespace of its own,
// joined by a veth pair to a peer namespace where reference servers answer the query. Where namespaces
// cannot be made, every test is skipped; nothing here ever runs on the real network.

#include "CliRunner.h"
#include "RefServerProcess.h"
#include "TestEnvironment.h"
#include "TestNetwork.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

// Each server listens and answers on an address of its own in the peer namespace.
const QString kPeerAddress = QStringLiteral("10.99.1.2");
const QStringList kServerAddresses{kPeerAddress, QStringLiteral("10.99.1.3"), QStringLiteral("10.99.1.4")};
const QString kSearching = QStringLiteral("Searching the local network");

} // namespace

class TestCliDiscover : public QObject
{
    Q_OBJECT

public:
    TestCliDiscover(bool blPrivate, const QString& strWhy) : m_blPrivate(blPrivate), m_strWhy(strWhy) {}

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void listThenAddProfileByName();
    void noServerAnswers();
    void commandLine_data();
    void commandLine();

private:
    // A reference server in the peer namespace on strAddress, answering queries as strName with strMac.
    RefServerProcess* startServer(const QString& strName, const QString& strMac, const QString& strAddress,
                                  const QStringList& lstExtra);
    int discoveryQueries() const;

    bool m_blPrivate;
    QString m_strWhy;
    TestNetwork m_network;
    QTemporaryDir m_dir;
    std::vector<std::unique_ptr<RefServerProcess>> m_lstServers;
};

void TestCliDiscover::initTestCase()
{
    if (!m_blPrivate)
        QSKIP(qPrintable(QStringLiteral("discover tests skipped: no private network namespace can be made here (%1); "
                                        "they never run on the real network")
                             .arg(m_strWhy)));
    QString strWhy;
    if (!m_network.createPeer(&strWhy))
        QSKIP(qPrintable(QStringLiteral("discover tests skipped: no peer namespace (%1)").arg(strWhy)));
    QVERIFY2(QFileInfo(cliProgram()).isExecutable(), qPrintable(cliProgram()));
    QVERIFY2(m_network.addLink(QStringLiteral("vA1"), QStringLiteral("02:aa:00:00:01:01"),
                               QStringLiteral("10.99.1.1/24"), QStringLiteral("vB1"), kPeerAddress + "/24", {},
                               &strWhy),
             qPrintable(strWhy));
    QVERIFY2(m_network.ip({"route", "add", "default", "via", kPeerAddress, "dev", "vA1"}, &strWhy), qPrintable(strWhy));
    for (const QString& strAddress : kServerAddresses.mid(1))
        QVERIFY2(m_network.peerIp({"addr", "add", strAddress + "/24", "dev", "vB1"}, &strWhy), qPrintable(strWhy));
    QVERIFY(m_dir.isValid());
}

void TestCliDiscover::cleanup()
{
    m_lstServers.clear();
}

RefServerProcess* TestCliDiscover::startServer(const QString& strName, const QString& strMac, const QString& strAddress,
                                               const QStringList& lstExtra)
{
    auto pServer = std::make_unique<RefServerProcess>(m_dir.filePath(strName));
    pServer->setLauncher(m_network.peerLauncher());
    if (!pServer->start(QStringList{"--listen", strAddress, "--discovery", "0.0.0.0", "--discovery-name", strName,
                                    "--discovery-mac", strMac} +
                        lstExtra))
        return nullptr;
    m_lstServers.push_back(std::move(pServer));
    return m_lstServers.back().get();
}

int TestCliDiscover::discoveryQueries() const
{
    int iCount = 0;
    for (const auto& pServer : m_lstServers)
        for (const QJsonObject& entry : pServer->journal())
            iCount += entry.value(QLatin1String("path")).toString() == QLatin1String("discovery");
    return iCount;
}

// Four servers, one for each verdict; the list in both forms, then add-profile by a listed name.
void TestCliDiscover::listThenAddProfileByName()
{
    struct Server
    {
        QString name, address;
        int build;
        QStringList args;
        QString status, reason;
        bool reachable;
        int port = 0;
    };
    std::vector<Server> servers = {
        {"Atrium", kServerAddresses[0], 1100, {}, "FHOSTQC_DONE", "", true},
        {"Bastion", kServerAddresses[1], 1100, {"--discovery-status", "2"}, "FHOSTQC_NOTINSTALL", "not ready", false},
        {"Citadel", kServerAddresses[2], 1240, {"--discovery-caps", ""}, "FHOSTQC_DONE", "not supported", true},
        // Announces an address nobody has: the HTTP test cannot pass.
        {"Donjon", "10.99.1.77", 1100, {}, "8", "not reachable", false},
    };
    QStringList lstExpected;
    for (size_t i = 0; i < servers.size(); ++i) {
        Server& server = servers[i];
        const QString strListen = i < 3 ? server.address : kPeerAddress;
        const RefServerProcess* pServer =
            startServer(server.name, QStringLiteral("02:bb:00:00:00:0%1").arg(i + 1), strListen,
                        server.args + QStringList{"--discovery-ip", server.address, "--discovery-build",
                                                  QString::number(server.build)});
        QVERIFY2(pServer, qPrintable(server.name));
        server.port = pServer->port();
        lstExpected.append(QStringList{server.name, server.address, QString::number(server.port), server.status,
                                       server.reason.isEmpty() ? QStringLiteral("offered") : server.reason}
                               .join('\t'));
    }

    TestEnvironment env;
    CliRun run = runCli(env, {"discover", "--seconds", "3"});
    QVERIFY2(run.exitCode == 0 && run.err.contains(kSearching), qPrintable(run.describe()));
    QCOMPARE(lines(run.out), lstExpected);

    run = runCli(env, {"discover", "--seconds", "3", "--json"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QCOMPARE(lines(run.out).size(), 1);
    const QJsonArray array = QJsonDocument::fromJson(run.out.toUtf8()).array();
    QCOMPARE(array.size(), int(servers.size()));
    for (size_t i = 0; i < servers.size(); ++i) {
        const Server& server = servers[i];
        const QJsonObject expected{{"name", server.name},
                                   {"address", server.address},
                                   {"mac", QStringLiteral("02:bb:00:00:00:0%1").arg(i + 1)},
                                   {"http_port", server.port},
                                   {"status", server.status},
                                   {"build", server.build},
                                   {"reachable", server.reachable},
                                   {"offered", server.reason.isEmpty()},
                                   {"reason", server.reason}};
        QCOMPARE(array.at(int(i)).toObject(), expected);
    }

    // A listed name stands for its address (and HTTP port without --port), in any case, without a query.
    const int iQueries = discoveryQueries();
    run = runCli(env, {"add-profile", "--name", "home", "--host", "atrium", "--account", "ann"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QCOMPARE(lines(run.out), (QStringList{"Profile [home] added.",
                                          QStringLiteral("Server [atrium] is at %1, port %2, as discover found it.")
                                              .arg(kPeerAddress)
                                              .arg(servers[0].port)}));
    run = runCli(env, {"add-profile", "--name", "other", "--host", "CITADEL", "--port", "8080", "--account", "ann"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    run = runCli(env, {"profiles"});
    QCOMPARE(lines(run.out),
             (QStringList{QStringLiteral("home\thttp://%1:%2\tann").arg(kPeerAddress).arg(servers[0].port),
                          QStringLiteral("other\thttp://%1:8080\tann").arg(kServerAddresses[2])}));
    QCOMPARE(discoveryQueries(), iQueries);
}

void TestCliDiscover::noServerAnswers()
{
    TestEnvironment env;
    const CliRun run = runCli(env, {"discover", "--seconds", "2", "--json"});
    QVERIFY2(run.exitCode == 1, qPrintable(run.describe()));
    QCOMPARE(run.out.trimmed(), QStringLiteral("[]"));
    QVERIFY2(run.err.contains(QLatin1String("No server answered within 2 s.")), qPrintable(run.describe()));
}

void TestCliDiscover::commandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("mentions"); // on stdout for help, on stderr otherwise; separated by blanks

    const QString strRange = QStringLiteral("--seconds 1 600 Usage:");
    QTest::newRow("zero seconds") << QStringList{"discover", "--seconds", "0"} << 2 << strRange;
    QTest::newRow("too many seconds") << QStringList{"discover", "--seconds", "601"} << 2 << strRange;
    QTest::newRow("seconds not a number") << QStringList{"discover", "--seconds", "2.5"} << 2 << strRange;
    QTest::newRow("unknown option") << QStringList{"discover", "--bogus"} << 2 << QStringLiteral("bogus Usage:");
    QTest::newRow("option of another command")
        << QStringList{"discover", "--profile", "home"} << 2 << QStringLiteral("discover Usage:");
    QTest::newRow("argument") << QStringList{"discover", "now"} << 2 << QStringLiteral("now Usage:");
    QTest::newRow("help") << QStringList{"discover", "--help"} << 0
                          << QStringLiteral("--seconds --json broadcasts offered add-profile");
    QTest::newRow("program help") << QStringList{"--help"} << 0 << QStringLiteral("discover [--seconds N] [--json]");
    QTest::newRow("add-profile help") << QStringList{"add-profile", "--help"} << 0 << QStringLiteral("discover --port");
}

void TestCliDiscover::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, mentions);
    TestEnvironment env;
    const CliRun run = runCli(env, args);
    QVERIFY2(run.exitCode == exitCode && !run.err.contains(kSearching), qPrintable(run.describe()));
    const QString& strText = exitCode == 0 ? run.out : run.err;
    for (const QString& strWord : mentions.split(' '))
        QVERIFY2(strText.contains(strWord), qPrintable(strWord + QLatin1String(" not in:\n") + run.describe()));
}

int main(int argc, char* argv[])
{
    // Before any thread exists, so that the programs this test starts live in the private namespace too.
    QString strWhy;
    const bool blPrivate = TestNetwork::enterPrivateNetwork(&strWhy);
    QCoreApplication app(argc, argv);
    TestCliDiscover test(blPrivate, strWhy);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_cli_discover.moc"

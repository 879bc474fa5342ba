// Discovery over real UDP sockets inside a private network: this process lives in a network namespace
// of its own, joined by veth pairs to a peer namespace where the reference server answers queries.
// Where namespaces cannot be made, every test is skipped; nothing here ever runs on the real network.

#include "CFindHostUDP.h"
#include "DebugCapture.h"
#include "RefServerProcess.h"
#include "TestNetwork.h"
#include "WaitUntil.h"
#include "iface.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <memory>

namespace {

const QString kMacA1 = QStringLiteral("02:aa:00:00:01:01");
const QString kMacA2 = QStringLiteral("02:aa:00:00:02:01");
const QString kServerMac = QStringLiteral("02:bb:00:00:00:01");

QString dotted(uint32_t iAddress)
{
    char sz[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &iAddress, sz, sizeof(sz));
    return QString::fromLatin1(sz);
}

QByteArray queryBytes(const QString& strMac)
{
    return QByteArray::fromHex("1234567856454c4d"
                               "a40400000201" "a60478000000" "010401000000"
                               "b008c001000000000000" "b1080000000000000000"
                               "b808c001000000000000" "b9080000000000000000"
                               "7c11") +
           strMac.toLatin1();
}

// Records delivered through a queued connection, as the found-server list receives them.
struct Received : QObject
{
    QList<NASINFO> lstInfos;
    int count(int iType) const
    {
        return int(std::count_if(lstInfos.cbegin(), lstInfos.cend(),
                                 [iType](const NASINFO& info) { return info.packetType == iType; }));
    }
    void listen(CFindHostUDP& service)
    {
        QObject::connect(&service, &CFindHostUDP::signalRecvPkt, this,
                         [this](NASINFO info) { lstInfos.append(info); }, Qt::QueuedConnection);
    }
};

} // namespace

class TstFindHost : public QObject
{
    Q_OBJECT

public:
    TstFindHost(bool blPrivate, const QString& strWhy) : m_blPrivate(blPrivate), m_strWhy(strWhy) {}

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void interfaces();
    void queryLeavesEveryInterface();
    void answerReachesService();
    void typeFilter();
    void malformedDatagrams();
    void oneLoopAtATime();
    void receiveLoopWithQuery();

private:
    bool startResponder(const QStringList& lstExtra = {});
    QList<QJsonObject> discoveryEntries() const;
    void startService(CFindHostUDP& service);

    bool m_blPrivate;
    QString m_strWhy;
    TestNetwork m_network;
    QTemporaryDir m_dir;
    std::unique_ptr<RefServerProcess> m_pServer;
    QStringList m_lstChannel2;
};

void TstFindHost::initTestCase()
{
    if (!m_blPrivate)
        QSKIP(qPrintable(QStringLiteral("discovery tests skipped: no private network namespace can be made here (%1); "
                                        "they never run on the real network")
                             .arg(m_strWhy)));
    QString strWhy;
    if (!m_network.createPeer(&strWhy))
        QSKIP(qPrintable(QStringLiteral("discovery tests skipped: no peer namespace (%1)").arg(strWhy)));
    // Two addressed links, the second with an address of limited lifetime, and one without an address.
    QVERIFY2(m_network.addLink(QStringLiteral("vA1"), kMacA1, QStringLiteral("10.99.1.1/24"), QStringLiteral("vB1"),
                               QStringLiteral("10.99.1.2/24"), {}, &strWhy),
             qPrintable(strWhy));
    QVERIFY2(m_network.addLink(QStringLiteral("vA2"), kMacA2, QStringLiteral("10.99.2.1/24"), QStringLiteral("vB2"),
                               QStringLiteral("10.99.2.2/24"),
                               {QStringLiteral("valid_lft"), QStringLiteral("600"), QStringLiteral("preferred_lft"),
                                QStringLiteral("600")},
                               &strWhy),
             qPrintable(strWhy));
    QVERIFY2(m_network.addLink(QStringLiteral("vA3"), QStringLiteral("02:aa:00:00:03:01"), QString(),
                               QStringLiteral("vB3"), QString(), {}, &strWhy),
             qPrintable(strWhy));
    QVERIFY2(m_network.ip({QStringLiteral("route"), QStringLiteral("add"), QStringLiteral("default"),
                           QStringLiteral("via"), QStringLiteral("10.99.1.2"), QStringLiteral("dev"),
                           QStringLiteral("vA1")},
                          &strWhy),
             qPrintable(strWhy));
    QVERIFY(m_dir.isValid());
    CFindHostUDP::logger().setCallback(
        2, [this](const char* psz) { m_lstChannel2.append(QString::fromLatin1(psz)); });
}

void TstFindHost::init()
{
    CFindHostUDP::clearAcceptedTypes();
    m_lstChannel2.clear();
}

void TstFindHost::cleanup()
{
    m_pServer.reset();
}

bool TstFindHost::startResponder(const QStringList& lstExtra)
{
    m_pServer.reset();
    m_pServer = std::make_unique<RefServerProcess>(m_dir.filePath(QStringLiteral("server")));
    m_pServer->setLauncher(m_network.peerLauncher());
    return m_pServer->start(QStringList{QStringLiteral("--discovery"), QStringLiteral("0.0.0.0"),
                                        QStringLiteral("--discovery-ip"), QStringLiteral("10.99.1.2"),
                                        QStringLiteral("--discovery-mac"), kServerMac,
                                        QStringLiteral("--discovery-caps"), QStringLiteral("3,70")} +
                            lstExtra);
}

QList<QJsonObject> TstFindHost::discoveryEntries() const
{
    QList<QJsonObject> lstEntries;
    for (const QJsonObject& entry : m_pServer->journal())
        if (entry.value(QLatin1String("path")).toString() == QLatin1String("discovery"))
            lstEntries.append(entry);
    return lstEntries;
}

void TstFindHost::startService(CFindHostUDP& service)
{
    service.start();
    // A query sent before the loop has bound its socket would find no listener.
    QVERIFY(waitUntil([&service] { return service.isListening(); }, 3000));
}

void TstFindHost::interfaces()
{
    FHostLogger logger;
    QStringList lstLog;
    logger.setCallback(2, [&lstLog](const char* psz) { lstLog.append(QString::fromLatin1(psz).section(QLatin1Char(' '), 1)); });
    FHostIface aIfaces[kFHostMaxIfaces];
    QCOMPARE(FHOSTIfaceInit(&logger, aIfaces, kFHostMaxIfaces), 2);

    struct Expected
    {
        const char* pszName;
        QString strMac;
        const char* pszIp;
        const char* pszBroadcast;
        const char* pszGateway;
        int isStatic;
    };
    const Expected expected[] = {
        {"vA1", kMacA1, "10.99.1.1", "10.99.1.255", "10.99.1.2", 1},
        {"vA2", kMacA2, "10.99.2.1", "10.99.2.255", "0.0.0.0", 0},
    };
    for (int i = 0; i < 2; ++i) {
        const FHostIface& iface = aIfaces[i];
        QCOMPARE(QString::fromLatin1(iface.szName), QString::fromLatin1(expected[i].pszName));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(iface.aHwAddr), 6).toHex(':'),
                 expected[i].strMac.toLatin1());
        QCOMPARE(dotted(iface.ip), QString::fromLatin1(expected[i].pszIp));
        QCOMPARE(dotted(iface.mask), QStringLiteral("255.255.255.0"));
        QCOMPARE(dotted(iface.broadcast), QString::fromLatin1(expected[i].pszBroadcast));
        QCOMPARE(dotted(iface.gateway), QString::fromLatin1(expected[i].pszGateway));
        QCOMPARE(iface.isStatic, expected[i].isStatic);
        QCOMPARE(iface.active, 1);
    }
    // Loopback is not an Ethernet-type adapter; vA3 has no IPv4 address.
    QCOMPARE(lstLog, QStringList({QStringLiteral("GetAdaptersInfo() failed with error adapter-type: 0x304\n"),
                                  QStringLiteral("ulAddr: 0x0\n")}));
    QCOMPARE(FHOSTIfaceInit(nullptr, aIfaces, 1), 1);
}

void TstFindHost::queryLeavesEveryInterface()
{
    QVERIFY(startResponder());
    CFindHostUDP service(nullptr, -1, fhost::kDiscoveryPort, "0.0.0.0");
    QElapsedTimer timer;
    timer.start();
    service.slotSendPktBroadCast(0);
    QVERIFY(timer.elapsed() < 200);

    service.slotSendPktBroadCast(1);
    QVERIFY(timer.elapsed() >= 1000); // one round, then a second's pause
    QVERIFY2(waitUntil([this] { return discoveryEntries().size() >= 3; }, 5000),
             qPrintable(QString::number(discoveryEntries().size())));
    QTest::qWait(300);
    const QList<QJsonObject> lstEntries = discoveryEntries();
    QCOMPARE(lstEntries.size(), 3);

    // From each interface's own address and port 1234 with its own MAC, then once more unbound (through
    // the default route, vA1), identical to the last bound one.
    QByteArray abBodies[3];
    for (int i = 0; i < 3; ++i) {
        const QJsonObject details = lstEntries.at(i).value(QLatin1String("discovery")).toObject();
        abBodies[i] = QByteArray::fromBase64(lstEntries.at(i).value(QLatin1String("body_base64")).toString().toLatin1());
        QCOMPARE(details.value(QLatin1String("items")).toString(), QStringLiteral("a4 a6 01 b0 b1 b8 b9 7c"));
        QCOMPARE(details.value(QLatin1String("packet_type")).toInt(), 1);
        QCOMPARE(details.value(QLatin1String("source")).toString(),
                 i == 1 ? QStringLiteral("10.99.2.1") : QStringLiteral("10.99.1.1"));
        if (i < 2)
            QCOMPARE(details.value(QLatin1String("source_port")).toInt(), 1234);
        else
            QVERIFY(details.value(QLatin1String("source_port")).toInt() != 1234);
    }
    QCOMPARE(abBodies[0].toHex(' '), queryBytes(kMacA1).toHex(' '));
    QCOMPARE(abBodies[1].toHex(' '), queryBytes(kMacA2).toHex(' '));
    QCOMPARE(abBodies[2], abBodies[1]);
}

void TstFindHost::answerReachesService()
{
    QVERIFY(startResponder({QStringLiteral("--discovery-name"), QStringLiteral("Kestrabox"),
                            QStringLiteral("--discovery-build"), QStringLiteral("172"),
                            QStringLiteral("--discovery-service-flag"), QStringLiteral("1")}));
    CFindHostUDP::addAcceptedType(fhost::PacketAnswer);
    CFindHostUDP service(nullptr, -1, fhost::kDiscoveryPort, "0.0.0.0");
    Received received;
    received.listen(service);
    startService(service);

    service.slotSendPktBroadCast(1);
    QVERIFY2(waitUntil([&received] { return received.count(2) >= 3; }, 5000),
             qPrintable(QString::number(received.lstInfos.size())));
    QTest::qWait(300);
    // One answer per query datagram; our own broadcast queries (type 1) are not let through.
    QCOMPARE(received.lstInfos.size(), 3);
    const NASINFO& info = received.lstInfos.constFirst();
    QCOMPARE(QString::fromUtf8(info.serverName), QStringLiteral("Kestrabox"));
    QCOMPARE(QString::fromLatin1(info.macAddress), kServerMac);
    QCOMPARE(dotted(info.ipAddress), QStringLiteral("10.99.1.2"));
    QCOMPARE(info.status, int(fhost::StatusDone));
    QCOMPARE(info.buildNumber, 172);
    QCOMPARE(info.serviceFlag, 1);
    QCOMPARE(info.httpPort, m_pServer->port());
    QVERIFY(fhost::maskTest(info.capabilityMask, 3) && fhost::maskTest(info.capabilityMask, 70));
    QVERIFY(!fhost::maskTest(info.capabilityMask, 4));
    QStringList lstRemote;
    for (const NASINFO& each : received.lstInfos)
        lstRemote.append(dotted(each.remoteIp));
    lstRemote.sort();
    QCOMPARE(lstRemote, QStringList({QStringLiteral("10.99.1.1"), QStringLiteral("10.99.1.1"),
                                     QStringLiteral("10.99.2.1")}));
    const QStringList lstLines = m_lstChannel2.filter(QStringLiteral("BResponse"));
    QCOMPARE(lstLines.size(), 3);
    QVERIFY2(lstLines.constFirst().startsWith(QStringLiteral("src\\CFindHostUDP:")), qPrintable(lstLines.constFirst()));
    QVERIFY2(lstLines.constFirst().endsWith(
                 QStringLiteral(" BResponse from Kestrabox, con=0, IP=10.99.1.2, mac=02:bb:00:00:00:01, conf=1, RemoteIP=10.99.1.1")),
             qPrintable(lstLines.constFirst()));

    // Stopping takes at most the loop's 2-second wait, and nothing arrives afterwards.
    QElapsedTimer timer;
    timer.start();
    service.terminate();
    QVERIFY2(timer.elapsed() < 2600, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(service.isFinished());
    QCOMPARE(service.result(), 0);
    received.lstInfos.clear();
    service.slotSendPktBroadCast(1);
    QTest::qWait(1000);
    QCOMPARE(received.lstInfos.size(), 0);
    QCOMPARE(discoveryEntries().size(), 6); // the server did get and answer the second query
}

void TstFindHost::typeFilter()
{
    QVERIFY(startResponder({QStringLiteral("--discovery-type"), QStringLiteral("6")}));
    CFindHostUDP::addAcceptedType(fhost::PacketAnswer);
    CFindHostUDP service(nullptr, -1, fhost::kDiscoveryPort, "0.0.0.0");
    Received received;
    received.listen(service);
    startService(service);

    service.slotSendPktBroadCast(1);
    QTest::qWait(1500);
    QCOMPARE(discoveryEntries().size(), 3);
    QCOMPARE(received.lstInfos.size(), 0); // the type-6 answers are refused

    CFindHostUDP::addAcceptedType(fhost::PacketAnyType);
    CFindHostUDP::addAcceptedType(fhost::PacketAnyType);
    service.slotSendPktBroadCast(1);
    QVERIFY(waitUntil([&received] { return received.count(6) >= 3; }, 5000));
    QVERIFY(received.count(1) >= 1); // with 17 our own queries come back too
    QCOMPARE(m_lstChannel2.filter(QStringLiteral(" JResponse from Kestrabox, con=0, IP=10.99.1.2")).size(), 3);
    service.terminate();
}

void TstFindHost::malformedDatagrams()
{
    QVERIFY(startResponder({QStringLiteral("--discovery-noise"), QStringLiteral("200")}));
    CFindHostUDP::addAcceptedType(fhost::PacketAnswer);
    CFindHostUDP service(nullptr, -1, fhost::kDiscoveryPort, "0.0.0.0");
    Received received;
    received.listen(service);
    DebugCapture capture;
    startService(service);

    service.slotSendPktBroadCast(1);
    QVERIFY(waitUntil([&received] { return received.count(2) >= 3; }, 8000));
    QTest::qWait(300);
    QCOMPARE(received.lstInfos.size(), 3);
    QCOMPARE(QString::fromUtf8(received.lstInfos.constFirst().serverName), QStringLiteral("Kestrabox"));
    QCOMPARE(capture.filter(QStringLiteral("PacketRead Error! ret=[0]")).size(), 200);
    QVERIFY(service.isRunning());
    service.terminate();
    QCOMPARE(service.result(), 0);
}

void TstFindHost::oneLoopAtATime()
{
    QVERIFY(startResponder());
    CFindHostUDP::addAcceptedType(fhost::PacketAnswer);
    CFindHostUDP first(nullptr, -1, fhost::kDiscoveryPort, "0.0.0.0");
    CFindHostUDP second(nullptr, -1, fhost::kDiscoveryPort, "0.0.0.0");
    Received toFirst;
    Received toSecond;
    toFirst.listen(first);
    toSecond.listen(second);
    startService(first);
    second.start(); // waits for the first loop to end
    QTest::qWait(300);
    QVERIFY(second.isRunning() && !second.isListening());

    first.slotSendPktBroadCast(1);
    QVERIFY(waitUntil([&toFirst] { return toFirst.lstInfos.size() >= 3; }, 5000));
    QCOMPARE(toSecond.lstInfos.size(), 0);

    first.terminate();
    QVERIFY(waitUntil([&second] { return second.isListening(); }, 3000));
    second.slotSendPktBroadCast(1);
    QVERIFY(waitUntil([&toSecond] { return toSecond.lstInfos.size() >= 3; }, 5000));
    QCOMPARE(toFirst.lstInfos.size(), 3);

    // Stopping a service that waits for the loop of another returns at once.
    CFindHostUDP waiting(nullptr, -1, fhost::kDiscoveryPort, "0.0.0.0");
    waiting.start();
    QTest::qWait(200);
    QElapsedTimer timer;
    timer.start();
    waiting.terminate();
    QVERIFY(timer.elapsed() < 1000);
    QVERIFY(second.isRunning());
    second.terminate();

    // A loop that cannot bind ends at once with a failure.
    DebugCapture capture;
    CFindHostUDP broken(nullptr, -1, fhost::kDiscoveryPort, "300.0.0.1");
    broken.start();
    QVERIFY(broken.wait(3000));
    QCOMPARE(broken.result(), -1);
    QCOMPARE(capture.filter(QStringLiteral("fail to translate IP addr")).size(), 1);
    QCOMPARE(capture.filter(QStringLiteral("Server run error!")).size(), 1);
}

// The bare loop: a limited duration, one query on the first round, and every callback.
void TstFindHost::receiveLoopWithQuery()
{
    QVERIFY(startResponder());
    auto pItems = std::make_unique<PacketItems>();
    pItems->info.packetType = fhost::PacketQuery;
    pItems->info.protocolVersion = 0x01020000;
    const uint8_t aRun[] = {0x01, 0xa4, 0};
    pItems->appendRun(aRun);
    FHostSendTarget target;
    target.iInterval = -1;
    FHostRecvSettings settings;
    settings.iDuration = 2;
    QList<int> lstLocks;
    QList<int> lstFiltered;
    QList<QByteArray> lstDelivered;
    QList<int> lstProgress;
    FHostRecvCallbacks callbacks;
    callbacks.fnLock = [&lstLocks](int iOn) { lstLocks.append(iOn); };
    callbacks.fnFilter = [&lstFiltered](const NASINFO& info) {
        lstFiltered.append(info.packetType);
        return info.packetType == fhost::PacketAnswer ? 1 : 0;
    };
    callbacks.fnDeliver = [&lstDelivered](const NASINFO& info) { lstDelivered.append(info.serverName); };
    callbacks.fnProgress = [&lstProgress](int iDuration, int iElapsed, int iZero) {
        QCOMPARE(iDuration, 2);
        QCOMPARE(iZero, 0);
        lstProgress.append(iElapsed);
    };
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(FHostRecvLoop(settings, callbacks, &target, pItems.get()), 0);
    QVERIFY2(timer.elapsed() >= 2000 && timer.elapsed() < 5500, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(discoveryEntries().size(), 3); // one query, from two interfaces and unbound
    QCOMPARE(lstFiltered.count(fhost::PacketAnswer), 3);
    QCOMPARE(lstFiltered.count(fhost::PacketQuery), 3); // our own broadcasts come back and are filtered out
    QCOMPARE(lstDelivered, QList<QByteArray>(3, "Kestrabox"));
    QCOMPARE(lstLocks, QList<int>({1, 0, 1, 0, 1, 0}));
    QVERIFY(!lstProgress.isEmpty() && lstProgress.constFirst() == 0 && lstProgress.constLast() <= 2);
}

int main(int argc, char* argv[])
{
    // Before any thread exists, so that every socket of this process lives in the private namespace.
    QString strWhy;
    const bool blPrivate = TestNetwork::enterPrivateNetwork(&strWhy);
    QCoreApplication app(argc, argv);
    TstFindHost test(blPrivate, strWhy);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_findhost.moc"

#include "TestNetwork.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <unistd.h>

namespace {

bool s_blPrivate = false;
const QString kPeerPrefix = QStringLiteral("pictarium-test-");

bool runIp(const QStringList& lstArgs, QString* pstrWhy)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("ip"), lstArgs);
    if (!process.waitForStarted(5000)) {
        if (pstrWhy)
            *pstrWhy = QStringLiteral("cannot run ip (iproute2): %1").arg(process.errorString());
        return false;
    }
    process.waitForFinished(15000);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        if (pstrWhy)
            *pstrWhy = QStringLiteral("ip %1: %2")
                           .arg(lstArgs.join(QLatin1Char(' ')), QString::fromLocal8Bit(process.readAll()).trimmed());
        return false;
    }
    return true;
}

} // namespace

bool TestNetwork::enterPrivateNetwork(QString* pstrWhy)
{
    if (::unshare(CLONE_NEWNET) != 0) {
        if (pstrWhy)
            *pstrWhy = QStringLiteral("unshare(CLONE_NEWNET) failed: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    s_blPrivate = true;
    return true;
}

bool TestNetwork::isPrivate()
{
    return s_blPrivate;
}

TestNetwork::TestNetwork() = default;

TestNetwork::~TestNetwork()
{
    if (!m_strPeer.isEmpty())
        runIp({QStringLiteral("netns"), QStringLiteral("delete"), m_strPeer}, nullptr);
}

// Peers of test processes that died without cleaning up.
void TestNetwork::removeStalePeers()
{
    for (const QString& strDir : {QStringLiteral("/run/netns"), QStringLiteral("/var/run/netns")}) {
        const QStringList lstNames = QDir(strDir).entryList({kPeerPrefix + QLatin1Char('*')}, QDir::Files | QDir::System);
        for (const QString& strName : lstNames) {
            const QString strPid = strName.mid(kPeerPrefix.size()).section(QLatin1Char('-'), 0, 0);
            if (!strPid.isEmpty() && !QFileInfo::exists(QStringLiteral("/proc/") + strPid))
                runIp({QStringLiteral("netns"), QStringLiteral("delete"), strName}, nullptr);
        }
    }
}

bool TestNetwork::bringUpLoopback(QString* pstrWhy)
{
    if (!s_blPrivate) {
        if (pstrWhy)
            *pstrWhy = QStringLiteral("the test process is not in a network namespace of its own");
        return false;
    }
    return runIp({QStringLiteral("link"), QStringLiteral("set"), QStringLiteral("lo"), QStringLiteral("up")}, pstrWhy);
}

bool TestNetwork::createPeer(QString* pstrWhy)
{
    if (!s_blPrivate) {
        if (pstrWhy)
            *pstrWhy = QStringLiteral("the test process is not in a network namespace of its own");
        return false;
    }
    removeStalePeers();
    if (!bringUpLoopback(pstrWhy))
        return false;
    const QString strName = kPeerPrefix + QString::number(QCoreApplication::applicationPid());
    if (!runIp({QStringLiteral("netns"), QStringLiteral("add"), strName}, pstrWhy))
        return false;
    m_strPeer = strName;
    return peerIp({QStringLiteral("link"), QStringLiteral("set"), QStringLiteral("lo"), QStringLiteral("up")}, pstrWhy);
}

bool TestNetwork::addLink(const QString& strLocal, const QString& strMac, const QString& strLocalCidr,
                          const QString& strPeer, const QString& strPeerCidr, const QStringList& lstAddrExtra,
                          QString* pstrWhy)
{
    if (!ip({QStringLiteral("link"), QStringLiteral("add"), strLocal, QStringLiteral("address"), strMac,
             QStringLiteral("type"), QStringLiteral("veth"), QStringLiteral("peer"), QStringLiteral("name"), strPeer,
             QStringLiteral("netns"), m_strPeer},
            pstrWhy))
        return false;
    if (!strLocalCidr.isEmpty() &&
        !ip(QStringList{QStringLiteral("addr"), QStringLiteral("add"), strLocalCidr, QStringLiteral("dev"), strLocal} +
                lstAddrExtra,
            pstrWhy))
        return false;
    if (!strPeerCidr.isEmpty() &&
        !peerIp({QStringLiteral("addr"), QStringLiteral("add"), strPeerCidr, QStringLiteral("dev"), strPeer}, pstrWhy))
        return false;
    return ip({QStringLiteral("link"), QStringLiteral("set"), strLocal, QStringLiteral("up")}, pstrWhy) &&
           peerIp({QStringLiteral("link"), QStringLiteral("set"), strPeer, QStringLiteral("up")}, pstrWhy);
}

bool TestNetwork::ip(const QStringList& lstArgs, QString* pstrWhy)
{
    if (!s_blPrivate)
        return false; // never touch the machine's own interfaces
    return runIp(lstArgs, pstrWhy);
}

bool TestNetwork::peerIp(const QStringList& lstArgs, QString* pstrWhy)
{
    return !m_strPeer.isEmpty() && runIp(QStringList{QStringLiteral("-n"), m_strPeer} + lstArgs, pstrWhy);
}

QStringList TestNetwork::peerLauncher() const
{
    return {QStringLiteral("ip"), QStringLiteral("netns"), QStringLiteral("exec"), m_strPeer};
}

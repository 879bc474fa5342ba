#include "CFindHostUDP.h"

#include <QDebug>
#include <QMutex>
#include <QMutexLocker>
#include <QVector>

#include <arpa/inet.h>
#include <cstring>
#include <memory>
#include <mutex>

#define FHOST_SOURCE "src\\CFindHostUDP"

namespace {

std::atomic<CFindHostUDP*> s_pInstance{nullptr}; // the instance whose receive loop runs
std::timed_mutex s_runMutex;                    // held by a running receive loop
QMutex s_typesMutex;
QVector<int> s_lstAcceptedTypes;

QByteArray dotted(uint32_t iAddress)
{
    char sz[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &iAddress, sz, sizeof(sz));
    return QByteArray(sz);
}

int acceptedType(const NASINFO& info)
{
    QMutexLocker locker(&s_typesMutex);
    return s_lstAcceptedTypes.contains(fhost::PacketAnyType) || s_lstAcceptedTypes.contains(info.packetType) ? 1 : 0;
}

} // namespace

FHostLogger& CFindHostUDP::logger()
{
    static FHostLogger s_logger;
    return s_logger;
}

void CFindHostUDP::registerMetaType()
{
    qRegisterMetaType<NASINFO>("NASINFO");
}

CFindHostUDP::CFindHostUDP(QObject* pParent, int iDuration, quint16 iPort, const char* pszBindAddress)
    : QThread(pParent), m_iDuration(iDuration), m_iPort(iPort)
{
    std::snprintf(m_szBindAddress, sizeof(m_szBindAddress), "%s", pszBindAddress ? pszBindAddress : "0.0.0.0");
    registerMetaType();
    logger().setCallback(1, [](const char* pszMessage) { qDebug().noquote() << QByteArray(pszMessage).trimmed(); });
}

CFindHostUDP::~CFindHostUDP()
{
    terminate();
}

void CFindHostUDP::addAcceptedType(int iType)
{
    QMutexLocker locker(&s_typesMutex);
    if (!s_lstAcceptedTypes.contains(iType))
        s_lstAcceptedTypes.append(iType);
}

void CFindHostUDP::clearAcceptedTypes()
{
    QMutexLocker locker(&s_typesMutex);
    s_lstAcceptedTypes.clear();
}

int CFindHostUDP::cancelled() const
{
    return m_blStop.load() || s_pInstance.load() != this ? 1 : 0;
}

void CFindHostUDP::run()
{
    // Wait for another loop to end, unless this one is stopped first.
    while (!s_runMutex.try_lock_for(std::chrono::milliseconds(100))) {
        if (m_blStop.load())
            return;
    }
    std::lock_guard<std::timed_mutex> runLock(s_runMutex, std::adopt_lock);
    if (m_blStop.load())
        return;

    FHostRecvSettings settings;
    std::snprintf(settings.szBindAddress, sizeof(settings.szBindAddress), "%.15s", m_szBindAddress);
    settings.port = m_iPort;
    settings.iDuration = m_iDuration;
    settings.pLogger = &logger();
    settings.fnCancel = [this] { return cancelled(); };
    s_pInstance.store(this);

    FHostRecvCallbacks callbacks;
    callbacks.fnFilter = acceptedType;
    callbacks.fnProgress = [this](int, int, int) { m_blListening.store(true); };
    callbacks.fnDeliver = [this](const NASINFO& info) {
        if (s_pInstance.load() != this) {
            FHOST_LOG(&logger(), 1, "%s:%d There is no CFindHostInstance\n");
            return;
        }
        slotRecvPkt(info);
    };

    const int iResult = FHostRecvLoop(settings, callbacks);
    m_blListening.store(false);
    if (iResult == -1)
        FHOST_LOG(&logger(), 1, "%s:%d Server run error!\n");
    CFindHostUDP* pSelf = this;
    s_pInstance.compare_exchange_strong(pSelf, nullptr);
    m_iResult.store(iResult == -1 ? -1 : 0);
}

void CFindHostUDP::slotRecvPkt(NASINFO nasInfo)
{
    FHostLogger& log = logger();
    if (log.hasCallback(2)) {
        const QByteArray baIp = dotted(nasInfo.ipAddress);
        const QByteArray baRemote = dotted(nasInfo.remoteIp);
        const long iReachable = nasInfo.reachable;
        const long iStatus = nasInfo.status;
        const long iError = nasInfo.errorCode;
        switch (nasInfo.packetType) {
        case fhost::PacketAnswer:
            FHOST_LOG(&log, 2, "%s:%d BResponse from %s, con=%ld, IP=%s, mac=%s, conf=%ld, RemoteIP=%s",
                      nasInfo.serverName, iReachable, baIp.constData(), nasInfo.macAddress, iStatus,
                      baRemote.constData());
            break;
        case fhost::PacketAnswer2:
            FHOST_LOG(&log, 2, "%s:%d JResponse from %s, con=%ld, IP=%s, mac=%s, conf=%ld, RemoteIP=%s",
                      nasInfo.serverName, iReachable, baIp.constData(), nasInfo.macAddress, iStatus,
                      baRemote.constData());
            break;
        case fhost::PacketQuickConfig:
            FHOST_LOG(&log, 2, "%s:%d QCF from %s, con=%ld, IP=%s, mac=%s, conf=%ld, err=%ld, RemoteIP=%s",
                      nasInfo.serverName, iReachable, baIp.constData(), nasInfo.macAddress, iStatus, iError,
                      baRemote.constData());
            break;
        case fhost::PacketNetSetting:
            FHOST_LOG(&log, 2, "%s:%d NSET from %s, con=%ld, IP=%s, mac=%s, conf=%ld, err=%ld, RemoteIP=%s",
                      nasInfo.serverName, iReachable, baIp.constData(), nasInfo.macAddress, iStatus, iError,
                      baRemote.constData());
            break;
        default:
            break;
        }
    }
    Q_EMIT signalRecvPkt(nasInfo);
}

void CFindHostUDP::slotSendPktBroadCast(int nSendTimes)
{
    if (nSendTimes < 1)
        return;
    auto pItems = std::make_unique<PacketItems>();
    pItems->info.protocolVersion = 0x01020000;
    pItems->info.itemA6 = 120;
    pItems->info.packetType = fhost::PacketQuery;
    static const uint8_t aRun[] = {0xa4, 0xa6, 0x01, 0};
    pItems->appendRun(aRun);
    fhost::maskClear(pItems->info.capabilityMask);
    fhost::maskClear(pItems->info.requestMask);
    for (int iBit : {6, 7, 8}) {
        fhost::maskSet(pItems->info.capabilityMask, iBit);
        fhost::maskSet(pItems->info.requestMask, iBit);
    }
    pItems->addMasks(true, true);

    FHostSendTarget target;
    std::snprintf(target.szAddress, sizeof(target.szAddress), "%s", fhost::kBroadcastAddress);
    target.port = fhost::kDiscoveryPort;
    target.pLogger = &logger();
    for (int i = 0; i < nSendTimes; ++i) {
        UDPSend(target, *pItems);
        QThread::sleep(1);
    }
}

void CFindHostUDP::slotSendPktBroadCast()
{
    slotSendPktBroadCast(1);
}

void CFindHostUDP::terminate()
{
    m_blStop.store(true);
    CFindHostUDP* pSelf = this;
    s_pInstance.compare_exchange_strong(pSelf, nullptr);
    // The loop looks at its cancel check at least every 2 seconds; a forced stop could leave the run
    // mutex held for good, so wait for it instead.
    wait();
}

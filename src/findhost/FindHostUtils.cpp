#include "FindHostUtils.h"

#include "protocol/ServerRequest.h"

#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QUrl>
#include <QtEndian>

#include <cstring>

#define FHOST_SOURCE "src\\FindHostUtils"

namespace FoundServers {

const NASINFO* findByName(const FoundServerList& list, const QString& strName)
{
    for (const auto& entry : list)
        if (QString::fromUtf8(entry.second->serverName).compare(strName, Qt::CaseInsensitive) == 0)
            return entry.second.get();
    return nullptr;
}

const NASINFO* findByAddress(const FoundServerList& list, quint32 iAddress)
{
    for (const auto& entry : list)
        if (hostOrder(entry.second->ipAddress) == iAddress)
            return entry.second.get();
    return nullptr;
}

bool isSupported(const NASINFO* pInfo)
{
    if (!pInfo || pInfo->buildNumber <= 1092)
        return false;
    if (pInfo->buildNumber < 1240)
        return true;
    return fhost::maskTest(pInfo->capabilityMask, 3);
}

int httpPort(const NASINFO& info)
{
    if (info.httpPort != 0)
        return info.httpPort;
    if (info.serviceFlag != 0 && info.buildNumber > 171)
        return 5000;
    return 80;
}

Verdict verdict(const NASINFO& info)
{
    if (info.status == fhost::StatusTesting)
        return Verdict::Testing;
    if (info.status == fhost::StatusNotInstalled)
        return Verdict::NotInstalled;
    if (info.status != fhost::StatusDone && info.status != fhost::StatusTestFailed)
        return Verdict::NotReady;
    if (!isSupported(&info))
        return Verdict::Unsupported;
    if (info.status == fhost::StatusTestFailed || info.ipAddress == 0)
        return Verdict::Unreachable;
    return Verdict::Offered;
}

QString statusWord(int iStatus)
{
    switch (iStatus) {
    case fhost::StatusFalse:
        return QStringLiteral("FHOSTQC_FALSE");
    case fhost::StatusDone:
        return QStringLiteral("FHOSTQC_DONE");
    case fhost::StatusNotInstalled:
        return QStringLiteral("FHOSTQC_NOTINSTALL");
    default:
        return QString();
    }
}

quint32 hostOrder(quint32 iNetworkOrder)
{
    return qFromBigEndian(iNetworkOrder);
}

QString dotted(quint32 iNetworkOrder)
{
    return iNetworkOrder == 0 ? QString() : QHostAddress(hostOrder(iNetworkOrder)).toString();
}

} // namespace FoundServers

namespace HostAddress {

namespace {

bool ipv4Value(const QString& strText, quint32* piAddress)
{
    // Dotted quad only: QHostAddress also takes shorthand forms such as "10.1".
    static const QRegularExpression s_dotted(QStringLiteral("^\\d{1,3}(\\.\\d{1,3}){3}$"));
    if (!s_dotted.match(strText).hasMatch())
        return false;
    QHostAddress address;
    if (!address.setAddress(strText) || address.protocol() != QAbstractSocket::IPv4Protocol)
        return false;
    *piAddress = address.toIPv4Address();
    return true;
}

} // namespace

bool isUsableIPv4Literal(const QString& strText)
{
    quint32 iValue = 0;
    return ipv4Value(strText, &iValue) && iValue >= 0x01000000u && iValue <= 0xDFFFFFFFu && (iValue >> 24) != 127;
}

bool parseIPv4(const QString& strText, quint32* piAddress)
{
    if (strText.isEmpty())
        return false;
    quint32 iValue = 0;
    *piAddress = ipv4Value(strText, &iValue) ? iValue : 0;
    return true;
}

bool resolve(const QString& strText, quint32* piAddress)
{
    if (strText.isEmpty())
        return false;
    quint32 iValue = 0;
    if (isUsableIPv4Literal(strText) && ipv4Value(strText, &iValue)) {
        *piAddress = iValue;
        return true;
    }
    // Letters, digits, hyphens and dots in labels of 1 to 63 characters: anything else is no host name
    // and is not sent to the resolver.
    static const QRegularExpression s_hostName(
        QStringLiteral("^(?=.{1,253}$)[A-Za-z0-9](?:[A-Za-z0-9-]{0,61}[A-Za-z0-9])?"
                       "(?:\\.[A-Za-z0-9](?:[A-Za-z0-9-]{0,61}[A-Za-z0-9])?)*\\.?$"));
    if (!s_hostName.match(strText).hasMatch())
        return false;
    const QHostInfo info = QHostInfo::fromName(strText);
    for (const QHostAddress& address : info.addresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol) {
            *piAddress = address.toIPv4Address();
            return true;
        }
    }
    return false;
}

} // namespace HostAddress

namespace {

int s_iTickMilliseconds = 1000;

} // namespace

void FindHostUtils::setTickMilliseconds(int iMilliseconds)
{
    s_iTickMilliseconds = qMax(1, iMilliseconds);
}

FindHostUtils::FindHostUtils(QNetworkAccessManager* pNam, FoundServerList* pList, int iTickLimit, QObject* pParent)
    : QObject(pParent), m_iTickLimit(size_t(qMax(1, iTickLimit))), m_pList(pList), m_pNam(pNam)
{
    CFindHostUDP::registerMetaType();
    m_pService = std::make_unique<CFindHostUDP>(nullptr, -1, fhost::kDiscoveryPort, "0.0.0.0");
    CFindHostUDP::addAcceptedType(fhost::PacketAnyType);
    QTimer::singleShot(100, this, &FindHostUtils::slotStarFindHostThread);
    QCoreApplication::processEvents();

    m_timer.setInterval(s_iTickMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, qOverload<>(&FindHostUtils::slotFindHostUpdate));
    connect(m_pService.get(), &CFindHostUDP::signalRecvPkt, this, &FindHostUtils::slotInsert, Qt::QueuedConnection);
}

FindHostUtils::~FindHostUtils()
{
    m_timer.stop();
    for (QNetworkReply* pReply : std::as_const(m_setTests)) {
        pReply->disconnect(this);
        pReply->abort();
        pReply->deleteLater();
    }
    if (m_pService->isRunning())
        m_pService->terminate();
    m_pService.reset();
}

void FindHostUtils::slotStarFindHostThread()
{
    if (!m_pService->isRunning() && !m_pService->isFinished())
        m_pService->start(QThread::currentThread()->priority());
}

void FindHostUtils::refresh()
{
    m_iTicks = 0;
    m_timer.start();
    m_blBusy = true;
    // Answers to a query sent before the receive loop listens would be lost.
    slotStarFindHostThread();
    QElapsedTimer waited;
    waited.start();
    while (!m_pService->isListening() && m_pService->isRunning() && waited.elapsed() < 1000)
        QThread::msleep(10);
    m_pService->slotSendPktBroadCast(1);
}

void FindHostUtils::slotFindHostUpdate()
{
    slotFindHostUpdate(0);
}

void FindHostUtils::slotFindHostUpdate(size_t ulProgressed)
{
    m_iTicks = ulProgressed != 0 ? ulProgressed : m_iTicks + 1;
    Q_EMIT signalFindHostUpdate();
    if (m_iTicks < m_iTickLimit)
        return;
    m_timer.stop();
    m_blBusy = false;
    for (auto& entry : *m_pList) {
        NASINFO& info = *entry.second;
        if (info.testState == -1) {
            FHOST_LOG(&CFindHostUDP::logger(), 1, "%s:%d Fail to test connection for [%s](%s)", info.serverName,
                      qPrintable(FoundServers::dotted(info.ipAddress)));
            info.testState = 1;
            info.status = fhost::StatusTestFailed;
        }
    }
    Q_EMIT signalFindNasFinished();
}

void FindHostUtils::slotInsert(NASINFO nasInfo)
{
    if (nasInfo.packetType != fhost::PacketAnswer && nasInfo.packetType != fhost::PacketAnswer2)
        return;
    const QString strKey = QString::fromLatin1(nasInfo.macAddress);
    const auto itExisting = m_pList->find(strKey);
    if (!m_blBusy && itExisting == m_pList->end())
        return;
    auto pCopy = std::make_unique<NASINFO>(nasInfo);
    if (!startTest(pCopy.get()))
        return;
    if (itExisting != m_pList->end()) {
        if (m_blBusy && itExisting->second->reachable == 1 && pCopy->reachable != 1)
            return;
        itExisting->second = std::move(pCopy);
    } else {
        m_pList->emplace(strKey, std::move(pCopy));
    }
}

bool FindHostUtils::startTest(NASINFO* pInfo)
{
    if (pInfo->status != fhost::StatusDone) {
        pInfo->testState = 0;
        return true;
    }
    const auto itExisting = m_pList->find(QString::fromLatin1(pInfo->macAddress));
    if (itExisting != m_pList->end()) {
        const int iStatus = itExisting->second->status;
        if (iStatus == fhost::StatusDone || iStatus == fhost::StatusTestFailed || iStatus == fhost::StatusTesting)
            return false;
    }
    const QNetworkRequest request =
        ServerRequest::buildReachability(FoundServers::dotted(pInfo->ipAddress), FoundServers::httpPort(*pInfo));
    QNetworkReply* pReply = ServerRequest::get(m_pNam, request);
    // Only this search's own requests: other replies of the shared access manager are not ours to close.
    m_setTests.insert(pReply);
    connect(pReply, &QNetworkReply::finished, this, [this, pReply] { slotHttpReplyFinished(pReply); });
    pInfo->status = fhost::StatusTesting;
    pInfo->testState = -1;
    return true;
}

void FindHostUtils::slotHttpReplyFinished(QNetworkReply* pReply)
{
    if (!pReply || !m_setTests.remove(pReply))
        return;
    quint32 iAddress = 0;
    NASINFO* pEntry = nullptr;
    if (HostAddress::parseIPv4(pReply->url().host(), &iAddress)) {
        for (auto& entry : *m_pList)
            if (FoundServers::hostOrder(entry.second->ipAddress) == iAddress) {
                pEntry = entry.second.get();
                break;
            }
    }
    const QNetworkReply::NetworkError error = pReply->error();
    if (pEntry && pEntry->testState != 0) {
        if (error != QNetworkReply::NoError)
            FHOST_LOG(&CFindHostUDP::logger(), 1, "%s:%d Url [%s] has error (%d)",
                      qPrintable(pReply->url().toString()), int(error));
        if (error == QNetworkReply::TimeoutError || error == QNetworkReply::UnknownNetworkError) {
            pEntry->testState = 1;
            pEntry->reachable = 0;
            pEntry->status = fhost::StatusTestFailed;
        } else {
            pEntry->testState = 0;
            pEntry->reachable = 1;
            pEntry->status = fhost::StatusDone;
        }
    }
    if (error != QNetworkReply::NoError)
        pReply->abort();
    pReply->close();
    QCoreApplication::processEvents();
    pReply->deleteLater();
}

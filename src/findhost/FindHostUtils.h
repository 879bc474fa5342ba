#pragma once

#include "CFindHostUDP.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QTimer>

#include <map>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;

// The servers found on the network, by MAC address text, in key order.
using FoundServerList = std::map<QString, std::unique_ptr<NASINFO>>;

namespace FoundServers {

// First entry in key order, or nullptr. Texts are compared without regard to case.
const NASINFO* findByName(const FoundServerList& list, const QString& strName);
const NASINFO* findByAddress(const FoundServerList& list, quint32 iAddress); // host order

// Build 1093 to 1239, or 1240 and later with capability bit 3; nullptr is not supported.
bool isSupported(const NASINFO* pInfo);
// httpPort when set; else 5000 for a server with the service flag and a build above 171; else 80.
int httpPort(const NASINFO& info);
// Whether a profile can be made for a found server, and if not, why not. Testing: the reachability
// request is still out, so nothing is known yet.
enum class Verdict { Offered, NotReady, NotInstalled, Unsupported, Unreachable, Testing };
Verdict verdict(const NASINFO& info);
// "FHOSTQC_FALSE", "FHOSTQC_DONE", "FHOSTQC_NOTINSTALL", or empty.
QString statusWord(int iStatus);
QString dotted(quint32 iNetworkOrder);                // "" for 0
quint32 hostOrder(quint32 iNetworkOrder);

} // namespace FoundServers

namespace HostAddress {

// An IPv4 literal from 1.0.0.0 to 223.255.255.255 outside 127.0.0.0/8.
bool isUsableIPv4Literal(const QString& strText);
// False for an empty text; otherwise the IPv4 value (host order), 0 when the text is not one.
bool parseIPv4(const QString& strText, quint32* piAddress);
// A usable literal, or the first IPv4 address the system resolver gives for a host name
// (blocking). Text that cannot be a host name is refused without a look-up.
bool resolve(const QString& strText, quint32* piAddress);

} // namespace HostAddress

// One search for servers: owns the discovery service, runs rounds of iTickLimit seconds, keeps the
// answering servers in the list and checks by an HTTP request that each can be reached. Shows
// nothing itself: after signalFindNasFinished an empty list means that nobody answered.
class FindHostUtils : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FindHostUtils)

public:
    FindHostUtils(QNetworkAccessManager* pNam, FoundServerList* pList, int iTickLimit, QObject* pParent = nullptr);
    ~FindHostUtils() override; // stops the discovery thread

    // The length of a tick for searches made afterwards, 1000 ms unless tests shorten their rounds.
    static void setTickMilliseconds(int iMilliseconds);

    // Starts a search round: broadcasts the query (blocks for about a second).
    void refresh();
    bool isBusy() const { return m_blBusy; }

Q_SIGNALS:
    void signalFindHostUpdate();
    void signalFindNasFinished();

public Q_SLOTS:
    void slotStarFindHostThread();
    void slotFindHostUpdate(size_t ulProgressed);
    void slotFindHostUpdate();
    void slotInsert(NASINFO nasInfo);
    void slotHttpReplyFinished(QNetworkReply* pReply);

private:
    bool startTest(NASINFO* pInfo);

    bool m_blBusy = false;
    size_t m_iTicks = 0;
    size_t m_iTickLimit;
    QTimer m_timer;
    std::unique_ptr<CFindHostUDP> m_pService;
    FoundServerList* m_pList;
    QNetworkAccessManager* m_pNam;
    QSet<QNetworkReply*> m_setTests; // reachability requests still out
};

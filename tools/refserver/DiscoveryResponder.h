#pragma once

#include "Journal.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QTimer>
#include <QUdpSocket>

struct DiscoveryOptions
{
    bool blEnabled = false;
    QString strBind;             // address to listen on
    quint16 iPort = 9999;        // listened on, and where answers go
    QString strName = QStringLiteral("Kestrabox");
    QString strMac = QStringLiteral("02:00:5e:00:00:01");
    QString strAddress;          // announced IPv4 address; the bind address when empty
    int iStatus = 1;
    int iBuild = 200;
    int iHttpPort = -1;          // -1: the port the HTTP server listens on
    int iServiceFlag = 0;
    QList<int> lstCapabilities = {3};
    int iType = 2;               // packet type of the answer
    int iNoise = 0;              // malformed datagrams sent before the first answer
};

// Answers discovery queries as a server on the local network would: one answer per query, sent to the
// querying address on the discovery port. Every received datagram goes into the journal.
class DiscoveryResponder : public QObject
{
    Q_OBJECT

public:
    DiscoveryResponder(const DiscoveryOptions& options, Journal& journal, quint16 iHttpPort,
                       QObject* pParent = nullptr);
    bool start(QString& strError);

private:
    void readDatagrams();
    void sendNext();
    QByteArray answerFor(const QHostAddress& querier) const;
    static QByteArray noiseDatagram(int i);

    DiscoveryOptions m_options;
    Journal& m_journal;
    quint16 m_iHttpPort;
    QUdpSocket m_socket;
    QTimer m_sendTimer;
    QList<QPair<QHostAddress, QByteArray>> m_lstOutgoing;
    bool m_blNoiseSent = false;
};

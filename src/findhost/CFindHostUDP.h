#pragma once

#include "packet.h"
#include "udp.h"

#include <QMetaType>
#include <QThread>

#include <atomic>

Q_DECLARE_METATYPE(NASINFO)

// The discovery service: a thread that listens on the discovery port, emits every accepted datagram as
// signalRecvPkt, and broadcasts the query on request. At most one receive loop runs at a time.
class CFindHostUDP : public QThread
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CFindHostUDP)

public:
    // iDuration in seconds (below 1: without end), the port and the dotted address to listen on.
    CFindHostUDP(QObject* pParent, int iDuration, quint16 iPort, const char* pszBindAddress);
    ~CFindHostUDP() override; // stops a running loop first

    // Packet types the receive loop lets through; 17 lets every type through. No duplicates.
    static void addAcceptedType(int iType);
    static void clearAcceptedTypes();
    // The logger shared by every instance: channel 1 goes to the debug output, channel 2 has no callback.
    static FHostLogger& logger();
    // Registers NASINFO for queued connections (under that name); safe to call more than once.
    static void registerMetaType();

    int result() const { return m_iResult.load(); } // of the last loop: 0, or -1 after a failure
    bool isListening() const { return m_blListening.load(); } // the loop's socket is bound

Q_SIGNALS:
    void signalRecvPkt(NASINFO nasInfo);

public Q_SLOTS:
    void slotSendPktBroadCast(int nSendTimes);
    void slotSendPktBroadCast();
    void slotRecvPkt(NASINFO nasInfo);
    // Ends the receive loop (within the 2-second wait of the loop) and returns once the thread has ended.
    void terminate();

protected:
    void run() override;

private:
    int cancelled() const;

    int m_iDuration;
    quint16 m_iPort;
    char m_szBindAddress[16] = {};
    std::atomic<bool> m_blStop{false};
    std::atomic<int> m_iResult{0};
    std::atomic<bool> m_blListening{false};
};

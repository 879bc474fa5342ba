#pragma once

#include <QString>
#include <QStringList>

// A private network for discovery tests. The test process first moves into a network namespace of its
// own (enterPrivateNetwork(), first thing in main, before any thread starts), so that nothing it sends
// can reach the machine's real network. A peer namespace, joined to it by veth pairs, plays the LAN.
class TestNetwork
{
public:
    // unshare(CLONE_NEWNET); false with the reason when namespaces cannot be made here.
    static bool enterPrivateNetwork(QString* pstrWhy);
    static bool isPrivate();

    TestNetwork();
    ~TestNetwork(); // deletes the peer namespace and its links

    TestNetwork(const TestNetwork&) = delete;
    TestNetwork& operator=(const TestNetwork&) = delete;

    // Brings up loopback in this process's private namespace.
    static bool bringUpLoopback(QString* pstrWhy);
    // Brings up loopback here and makes the peer namespace with loopback up.
    bool createPeer(QString* pstrWhy);
    // A veth pair: strLocal here (with the MAC, and the address in CIDR form unless empty, plus extra
    // "ip addr" words), strPeer in the peer namespace with its address. Both ends up.
    bool addLink(const QString& strLocal, const QString& strMac, const QString& strLocalCidr,
                 const QString& strPeer, const QString& strPeerCidr, const QStringList& lstAddrExtra,
                 QString* pstrWhy);
    // Runs "ip ARGS" here, or in the peer namespace.
    bool ip(const QStringList& lstArgs, QString* pstrWhy);
    bool peerIp(const QStringList& lstArgs, QString* pstrWhy);
    // Program and leading arguments that start a program inside the peer namespace.
    QStringList peerLauncher() const;

private:
    static void removeStalePeers();

    QString m_strPeer;
};

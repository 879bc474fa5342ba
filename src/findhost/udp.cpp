#include "udp.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#define FHOST_SOURCE "udp"

using namespace fhost;

namespace {

bool parseAddress(const char* pszText, in_addr* pAddress)
{
    if (std::strcmp(pszText, kBroadcastAddress) == 0) {
        pAddress->s_addr = htonl(INADDR_BROADCAST);
        return true;
    }
    return inet_pton(AF_INET, pszText, pAddress) == 1;
}

class SocketGuard
{
public:
    explicit SocketGuard(int iSocket) : m_iSocket(iSocket) {}
    ~SocketGuard()
    {
        if (m_iSocket >= 0)
            ::close(m_iSocket);
    }
    SocketGuard(const SocketGuard&) = delete;
    SocketGuard& operator=(const SocketGuard&) = delete;
    int get() const { return m_iSocket; }

private:
    int m_iSocket;
};

// An IPv4 datagram socket with address reuse on; -1 when none can be made.
int openDatagramSocket(FHostLogger* pLogger)
{
    const int iSocket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (iSocket < 0) {
        FHOST_LOG(pLogger, 1, "%s:%d create socket error.\n");
        return -1;
    }
    const int iOn = 1;
    if (::setsockopt(iSocket, SOL_SOCKET, SO_REUSEADDR, &iOn, sizeof(iOn)) != 0)
        FHOST_LOG(pLogger, 1, "%s:%d control setsockopt (SO_REUSEADDR)\n");
    return iSocket;
}

int64_t nowSeconds()
{
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

int FHostSendOne(FHostLogger* pLogger, const uint8_t* pData, int iLength, const FHostSendTarget& target,
                 const FHostIface* pIface, bool blBind)
{
    sockaddr_in local{};
    if (blBind) {
        if (!pIface || pIface->ip == 0 || pIface->ip == 0xffffffffu) {
            FHOST_LOG(pLogger, 1, "%s:%d fail to init Iface [%s] src addr [%X]\n", pIface ? pIface->szName : "",
                      pIface ? unsigned(pIface->ip) : 0u);
            return -1;
        }
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = pIface->ip;
        local.sin_port = htons(kSourcePort);
    }
    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_port = htons(target.port);
    if (!parseAddress(target.szAddress, &destination.sin_addr)) {
        FHOST_LOG(pLogger, 1, "%s:%d fail to translate IP addr\n");
        return -1;
    }
    SocketGuard sock(openDatagramSocket(pLogger));
    if (sock.get() < 0)
        return -1;
    const int iOn = 1;
    if (::setsockopt(sock.get(), SOL_SOCKET, SO_BROADCAST, &iOn, sizeof(iOn)) != 0)
        FHOST_LOG(pLogger, 1, "%s:%d control setsockopt (SO_BROADCAST)\n");
    if (blBind && ::bind(sock.get(), reinterpret_cast<const sockaddr*>(&local), sizeof(local)) != 0) {
        const int iError = errno;
        FHOST_LOG(pLogger, 1, "%s:%d bind(sockfd=%d, brdcast.sin_addr.s_addr = %lu) error!! error: %d [%s]\n",
                  sock.get(), static_cast<unsigned long>(local.sin_addr.s_addr), iError, std::strerror(iError));
        return -1;
    }
    const ssize_t iSent = ::sendto(sock.get(), pData, size_t(iLength), 0,
                                   reinterpret_cast<const sockaddr*>(&destination), sizeof(destination));
    if (iSent != iLength) {
        const int iError = errno;
        FHOST_LOG(pLogger, 1, "%s:%d sendto error ret=[%d] %d [%s]\n", int(iSent), iError, std::strerror(iError));
        return -1;
    }
    return int(iSent);
}

int UDPSend(const FHostSendTarget& target, const PacketItems& items)
{
    FHostLogger* pLogger = target.pLogger;
    std::unique_ptr<uint8_t, decltype(&std::free)> buffer(static_cast<uint8_t*>(std::malloc(kScratchSize)), &std::free);
    int iCapacity = buffer ? kScratchSize : 0;
    FHostIface aIfaces[kFHostMaxIfaces];
    const int iIfaces = FHOSTIfaceInit(pLogger, aIfaces, kFHostMaxIfaces);
    if (iIfaces < 1) {
        FHOST_LOG(pLogger, 1, "%s:%d get physical interface error or no interface\n");
        return -1;
    }
    FHOST_LOG(pLogger, 1, "%s:%d FHOSTIfaceInit number of interafce: %d\n", iIfaces);

    // One copy of the items per interface, so that senderMac is this interface's own.
    std::unique_ptr<PacketItems> pPacket(new PacketItems(items));
    int iLength = 0;
    for (int i = 0; i < iIfaces; ++i) {
        if (target.fnCancel && target.fnCancel() == 1)
            return -1;
        const FHostIface& iface = aIfaces[i];
        if (!iface.active)
            continue;
        char szMac[18];
        std::snprintf(szMac, sizeof(szMac), "%02x:%02x:%02x:%02x:%02x:%02x", iface.aHwAddr[0], iface.aHwAddr[1],
                      iface.aHwAddr[2], iface.aHwAddr[3], iface.aHwAddr[4], iface.aHwAddr[5]);
        if (pPacket->contains(0x7c)) {
            std::memset(pPacket->info.senderMac, 0, sizeof(pPacket->info.senderMac));
            std::memcpy(pPacket->info.senderMac, szMac, std::strlen(szMac));
        } else {
            pPacket->setValue(pLogger, 0x7c, szMac, std::strlen(szMac));
        }
        uint8_t* pBuffer = buffer.release();
        iLength = PacketWrite(pLogger, &pBuffer, &iCapacity, *pPacket);
        buffer.reset(pBuffer);
        if (iLength < 1) {
            FHOST_LOG(pLogger, 1, "%s:%d fail to create output-packet content.\n");
            return -1;
        }
        if (FHostSendOne(pLogger, buffer.get(), iLength, target, &iface, true) < 0)
            FHOST_LOG(pLogger, 1, "%s:%d UDPSend error. interface: %s\n", iface.szName);
    }
    // Once more without a bound address, for the system's default route.
    if (iLength > 0)
        FHostSendOne(pLogger, buffer.get(), iLength, target, nullptr, false);
    return 0;
}

int FHostRecvLoop(const FHostRecvSettings& settings, const FHostRecvCallbacks& callbacks,
                  const FHostSendTarget* pTarget, const PacketItems* pItems)
{
    FHostLogger* pLogger = settings.pLogger;
    SocketGuard sock(openDatagramSocket(pLogger));
    if (sock.get() < 0)
        return -1;
    const int iBufferSize = kSocketBufferSize;
    if (::setsockopt(sock.get(), SOL_SOCKET, SO_RCVBUF, &iBufferSize, sizeof(iBufferSize)) != 0)
        FHOST_LOG(pLogger, 1, "%s:%d set sock opt error: %s\n", std::strerror(errno));

    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(settings.port);
    if (!parseAddress(settings.szBindAddress, &local.sin_addr)) {
        FHOST_LOG(pLogger, 1, "%s:%d fail to translate IP addr\n");
        return -1;
    }
    if (::bind(sock.get(), reinterpret_cast<const sockaddr*>(&local), sizeof(local)) != 0) {
        const int iError = errno;
        FHOST_LOG(pLogger, 1, "%s:%d bind(sockfd=%d, servaddr.sin_addr.s_addr = %lu) error!! errno: %d [%s]\n",
                  sock.get(), static_cast<unsigned long>(local.sin_addr.s_addr), iError, std::strerror(iError));
        return -1;
    }

    const int64_t iStart = nowSeconds();
    int64_t iServed = 0; // seconds of send intervals already served
    bool blFirstRound = true;
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[kRecvBufferSize]);
    std::unique_ptr<NASINFO> pInfo(new NASINFO);
    for (;;) {
        const int64_t iElapsed = nowSeconds() - iStart;
        if (settings.iDuration >= 1 && iElapsed > settings.iDuration)
            return 0;
        if (settings.fnCancel && settings.fnCancel() == 1)
            return 0;
        if (callbacks.fnProgress)
            callbacks.fnProgress(settings.iDuration, int(iElapsed), 0);
        if (pTarget && pItems) {
            bool blSend = false;
            if (pTarget->iInterval > 0 && iElapsed >= iServed) {
                blSend = true;
                iServed += pTarget->iInterval;
            } else if (pTarget->iInterval == -1 && blFirstRound) {
                blSend = true;
            }
            if (blSend && UDPSend(*pTarget, *pItems) != 0) {
                FHOST_LOG(pLogger, 1, "%s:%d broadcast query packet error!\n");
                return -1;
            }
        }
        blFirstRound = false;

        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(sock.get(), &readable);
        timeval timeout{kSelectSeconds, 0};
        const int iReady = ::select(sock.get() + 1, &readable, nullptr, nullptr, &timeout);
        if (iReady <= 0)
            continue;

        std::memset(buffer.get(), 0, kRecvBufferSize);
        sockaddr_in peer{};
        socklen_t iPeerLength = sizeof(peer);
        const ssize_t iReceived = ::recvfrom(sock.get(), buffer.get(), kRecvBufferSize, 0,
                                             reinterpret_cast<sockaddr*>(&peer), &iPeerLength);
        if (iReceived < 1) {
            FHOST_LOG(pLogger, 1, "%s:%d recvfrom error ,getlasterror=%d,recvdatalen=%d\n", errno, int(iReceived));
            continue;
        }
        std::memset(pInfo.get(), 0, sizeof(NASINFO));
        const int iRead = PacketRead(pLogger, buffer.get(), int(iReceived), pInfo.get());
        if (iRead < 1) {
            FHOST_LOG(pLogger, 1, "%s:%d PacketRead Error! ret=[%d]\n", iRead);
            continue;
        }
        if (callbacks.fnFilter && callbacks.fnFilter(*pInfo) != 1)
            continue;
        if (callbacks.fnLock)
            callbacks.fnLock(1);
        if (callbacks.fnDeliver)
            callbacks.fnDeliver(*pInfo);
        if (callbacks.fnLock)
            callbacks.fnLock(0);
    }
}

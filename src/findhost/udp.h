#pragma once

#include "fhostlog.h"
#include "iface.h"
#include "packet.h"

#include <cstdint>
#include <functional>

namespace fhost {
constexpr uint16_t kDiscoveryPort = 9999; // queries go there; the receive loop listens there
constexpr uint16_t kSourcePort = 1234;    // of a query sent from one interface's address
constexpr const char* kBroadcastAddress = "255.255.255.255";
constexpr int kRecvBufferSize = 8192;
constexpr int kSocketBufferSize = 65536;
constexpr int kSelectSeconds = 2;
} // namespace fhost

using FHostCancelFn = std::function<int()>; // 1: stop

struct FHostSendTarget
{
    char szAddress[16] = "255.255.255.255"; // dotted destination
    uint16_t port = fhost::kDiscoveryPort;
    int iInterval = 0; // receive loop: seconds between queries, -1 for one query at the start
    FHostLogger* pLogger = nullptr;
    FHostCancelFn fnCancel;
};

struct FHostRecvSettings
{
    char szBindAddress[16] = "0.0.0.0";
    uint16_t port = fhost::kDiscoveryPort;
    int iDuration = -1; // seconds; below 1: without end
    FHostLogger* pLogger = nullptr;
    FHostCancelFn fnCancel;
};

struct FHostRecvCallbacks
{
    std::function<void(int iOn)> fnLock;
    std::function<int(const NASINFO& info)> fnFilter; // 1 accepts
    std::function<void(const NASINFO& info)> fnDeliver;
    std::function<void(int iDuration, int iElapsed, int iZero)> fnProgress;
};

// Sends one datagram to the target, from (iface ip, source port) when blBind. The length sent, or -1.
int FHostSendOne(FHostLogger* pLogger, const uint8_t* pData, int iLength, const FHostSendTarget& target,
                 const FHostIface* pIface, bool blBind);
// Sends the items once from every interface, each copy carrying that interface's MAC as senderMac, then
// once more unbound. 0 on success, -1 on failure.
int UDPSend(const FHostSendTarget& target, const PacketItems& items);
// Receives and decodes datagrams until the duration ran out or cancel asked to stop (0), or a failure (-1).
int FHostRecvLoop(const FHostRecvSettings& settings, const FHostRecvCallbacks& callbacks,
                  const FHostSendTarget* pTarget = nullptr, const PacketItems* pItems = nullptr);

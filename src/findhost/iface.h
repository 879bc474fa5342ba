#pragma once

#include "fhostlog.h"

#include <cstdint>

// One usable network interface: up, not loopback, Ethernet-type hardware, with an IPv4 address.
struct FHostIface
{
    char szName[64];
    uint8_t aHwAddr[8];  // the first 6 bytes are the MAC address
    uint32_t ip;         // addresses in network order
    uint32_t mask;
    uint32_t broadcast;  // ip | ~mask
    uint32_t gateway;    // first default gateway through this interface, 0 when none
    uint32_t dns;        // not filled here; see fhostDnsServer()
    int isStatic;        // 1 unless the address has a limited lifetime (handed out by DHCP)
    int active;
};

constexpr int kFHostMaxIfaces = 8;

// Fills up to iCapacity records in the system's order; returns their number, or -1 when the interface
// list cannot be read. Also reads the first DNS server into fhostDnsServer().
int FHOSTIfaceInit(FHostLogger* pLogger, FHostIface* pIfaces, int iCapacity);
// The PC's first DNS server in network order, all ones when unknown.
uint32_t fhostDnsServer();

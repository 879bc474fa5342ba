#include "iface.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ifaddrs.h>
#include <linux/if_arp.h>
#include <linux/if_packet.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

#define FHOST_SOURCE "iface"

namespace {

std::atomic<uint32_t> s_iDns{0xffffffffu};

struct Candidate
{
    std::string strName;
    unsigned iFlags = 0;
    bool blHaveHw = false;
    unsigned short iHwType = 0;
    int iIndex = 0;
    uint8_t aHw[8] = {};
    uint32_t ip = 0;
    uint32_t mask = 0;
    bool blHaveIp = false;
};

// Default gateways by interface name, from the kernel's routing table.
std::map<std::string, uint32_t> readGateways()
{
    std::map<std::string, uint32_t> gateways;
    FILE* pFile = std::fopen("/proc/net/route", "re");
    if (!pFile)
        return gateways;
    char szLine[512];
    bool blHeader = true;
    while (std::fgets(szLine, sizeof(szLine), pFile)) {
        if (blHeader) {
            blHeader = false;
            continue;
        }
        char szIface[64];
        unsigned iDestination = 0;
        unsigned iGateway = 0;
        unsigned iFlags = 0;
        if (std::sscanf(szLine, "%63s %x %x %x", szIface, &iDestination, &iGateway, &iFlags) != 4)
            continue;
        // The file holds addresses as the kernel keeps them, in network order.
        if (iGateway != 0 && (iFlags & 0x2) != 0 && gateways.count(szIface) == 0)
            gateways[szIface] = iGateway;
    }
    std::fclose(pFile);
    return gateways;
}

uint32_t readFirstDnsServer()
{
    FILE* pFile = std::fopen("/etc/resolv.conf", "re");
    if (!pFile)
        return 0xffffffffu;
    char szLine[512];
    uint32_t iDns = 0xffffffffu;
    while (std::fgets(szLine, sizeof(szLine), pFile)) {
        char szAddress[64];
        if (std::sscanf(szLine, " nameserver %63s", szAddress) == 1) {
            in_addr address{};
            if (inet_pton(AF_INET, szAddress, &address) == 1) {
                iDns = address.s_addr;
                break;
            }
        }
    }
    std::fclose(pFile);
    return iDns;
}

// Interface indexes whose IPv4 address has a limited lifetime, as addresses from DHCP have.
std::vector<std::pair<int, uint32_t>> readDynamicAddresses()
{
    std::vector<std::pair<int, uint32_t>> dynamic;
    const int iSocket = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (iSocket < 0)
        return dynamic;
    struct
    {
        nlmsghdr header;
        ifaddrmsg message;
    } request{};
    request.header.nlmsg_len = NLMSG_LENGTH(sizeof(ifaddrmsg));
    request.header.nlmsg_type = RTM_GETADDR;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = 1;
    request.message.ifa_family = AF_INET;
    if (::send(iSocket, &request, request.header.nlmsg_len, 0) < 0) {
        ::close(iSocket);
        return dynamic;
    }
    std::vector<char> buffer(32768);
    bool blDone = false;
    while (!blDone) {
        const ssize_t iRead = ::recv(iSocket, buffer.data(), buffer.size(), 0);
        if (iRead <= 0)
            break;
        unsigned iLeft = unsigned(iRead);
        for (nlmsghdr* pHeader = reinterpret_cast<nlmsghdr*>(buffer.data()); NLMSG_OK(pHeader, iLeft);
             pHeader = NLMSG_NEXT(pHeader, iLeft)) {
            if (pHeader->nlmsg_type == NLMSG_DONE || pHeader->nlmsg_type == NLMSG_ERROR) {
                blDone = true;
                break;
            }
            if (pHeader->nlmsg_type != RTM_NEWADDR)
                continue;
            const auto* pMessage = static_cast<const ifaddrmsg*>(NLMSG_DATA(pHeader));
            int iAttrLeft = int(IFA_PAYLOAD(pHeader));
            uint32_t address = 0;
            bool blLimited = false;
            for (const rtattr* pAttr = IFA_RTA(pMessage); RTA_OK(pAttr, iAttrLeft);
                 pAttr = RTA_NEXT(pAttr, iAttrLeft)) {
                if (pAttr->rta_type == IFA_LOCAL && RTA_PAYLOAD(pAttr) == 4)
                    std::memcpy(&address, RTA_DATA(pAttr), 4);
                else if (pAttr->rta_type == IFA_CACHEINFO && RTA_PAYLOAD(pAttr) >= sizeof(ifa_cacheinfo))
                    blLimited = static_cast<const ifa_cacheinfo*>(RTA_DATA(pAttr))->ifa_valid != 0xffffffffu;
            }
            if (blLimited)
                dynamic.emplace_back(int(pMessage->ifa_index), address);
        }
    }
    ::close(iSocket);
    return dynamic;
}

} // namespace

uint32_t fhostDnsServer()
{
    return s_iDns.load();
}

int FHOSTIfaceInit(FHostLogger* pLogger, FHostIface* pIfaces, int iCapacity)
{
    s_iDns = 0xffffffffu;
    ifaddrs* pList = nullptr;
    if (::getifaddrs(&pList) != 0) {
        FHOST_LOG(pLogger, 1, "%s:%d GetAdaptersInfo() failed with error: %d\n", errno);
        return -1;
    }

    // getifaddrs lists an interface once per address family; gather them in first-seen order.
    std::vector<Candidate> candidates;
    auto candidateFor = [&candidates](const char* pszName) -> Candidate& {
        for (Candidate& candidate : candidates)
            if (candidate.strName == pszName)
                return candidate;
        candidates.emplace_back();
        candidates.back().strName = pszName;
        return candidates.back();
    };
    for (const ifaddrs* pEntry = pList; pEntry; pEntry = pEntry->ifa_next) {
        if (!pEntry->ifa_name)
            continue;
        Candidate& candidate = candidateFor(pEntry->ifa_name);
        candidate.iFlags = pEntry->ifa_flags;
        if (!pEntry->ifa_addr)
            continue;
        if (pEntry->ifa_addr->sa_family == AF_PACKET && !candidate.blHaveHw) {
            const auto* pLink = reinterpret_cast<const sockaddr_ll*>(pEntry->ifa_addr);
            candidate.blHaveHw = true;
            candidate.iHwType = pLink->sll_hatype;
            candidate.iIndex = pLink->sll_ifindex;
            std::memcpy(candidate.aHw, pLink->sll_addr, std::min<size_t>(pLink->sll_halen, 8));
        } else if (pEntry->ifa_addr->sa_family == AF_INET && !candidate.blHaveIp) {
            candidate.blHaveIp = true;
            candidate.ip = reinterpret_cast<const sockaddr_in*>(pEntry->ifa_addr)->sin_addr.s_addr;
            if (pEntry->ifa_netmask)
                candidate.mask = reinterpret_cast<const sockaddr_in*>(pEntry->ifa_netmask)->sin_addr.s_addr;
        }
    }
    ::freeifaddrs(pList);

    const std::map<std::string, uint32_t> gateways = readGateways();
    const std::vector<std::pair<int, uint32_t>> dynamic = readDynamicAddresses();
    int iCount = 0;
    for (const Candidate& candidate : candidates) {
        if (iCount >= iCapacity)
            break;
        if ((candidate.iFlags & IFF_UP) == 0)
            continue;
        if ((candidate.iFlags & IFF_LOOPBACK) != 0 || !candidate.blHaveHw || candidate.iHwType != ARPHRD_ETHER) {
            FHOST_LOG(pLogger, 2, "%s:%d GetAdaptersInfo() failed with error adapter-type: 0x%X\n",
                      unsigned(candidate.iHwType));
            continue;
        }
        if (!candidate.blHaveIp || candidate.ip == 0 || candidate.ip == 0xffffffffu) {
            FHOST_LOG(pLogger, 2, "%s:%d ulAddr: 0x%X\n", unsigned(candidate.ip));
            continue;
        }
        FHostIface& record = pIfaces[iCount++];
        std::memset(&record, 0, sizeof(record));
        std::snprintf(record.szName, sizeof(record.szName), "%s", candidate.strName.c_str());
        std::memcpy(record.aHwAddr, candidate.aHw, sizeof(record.aHwAddr));
        record.ip = candidate.ip;
        record.mask = candidate.mask;
        record.broadcast = candidate.ip | ~candidate.mask;
        const auto itGateway = gateways.find(candidate.strName);
        record.gateway = itGateway == gateways.end() ? 0 : itGateway->second;
        record.isStatic = 1;
        for (const auto& entry : dynamic)
            if (entry.first == candidate.iIndex && entry.second == candidate.ip)
                record.isStatic = 0;
        record.active = 1;
    }

    s_iDns = readFirstDnsServer();
    return iCount;
}

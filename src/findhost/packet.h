#pragma once

#include "fhostlog.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

// One discovery datagram decoded, and the record of one found server. Fields follow the item table's
// storage slots in table order; ids that share a slot are named in the comment. Integers lie in host
// (little-endian) order, IPv4 addresses in network order. Unnamed slots are carried but never read.
struct NASINFO
{
    int32_t testState; // reachability test: -1 pending, 0 none or passed, 1 failed (never on the wire)
    int32_t packetType;  // 0x01
    uint32_t item10;     // 0x10, 0x20
    char serverName[36]; // 0x11, 0x21
    uint32_t ipAddress;  // 0x12, 0x22
    uint32_t item13;     // 0x13, 0x23
    uint32_t item14;     // 0x14, 0x24
    uint32_t item15;     // 0x15, 0x25
    uint32_t item16;     // 0x16, 0x26
    char item17[260];    // 0x17, 0x27
    int32_t reachable;   // 0x18
    char macAddress[36]; // 0x19, 0x29
    char longText[1540]; // 0x1a, 0x2a, continued by 0x72
    uint32_t item1b;     // 0x1b, 0x2b
    uint32_t remoteIp;   // 0x1e
    int32_t errorCode;   // 0x1f
    char item2c[1540];
    char item2d[260];
    char item2e[260];
    char item2f[260];
    uint32_t item30;
    char item31[20];
    char item32[132];
    uint32_t item33;
    char item34[12];
    char item35[260];
    char item36[260];
    char item37[36];
    uint32_t item38;
    char item39[36];
    uint32_t item40;
    uint32_t item41;
    uint32_t item42;
    char item43[260];
    char item44[132];
    char item45[132];
    uint32_t item46;
    uint32_t item47;
    int32_t serviceFlag; // 0x48
    int32_t buildNumber; // 0x49
    char item4a[496];
    uint32_t item4d;
    char item50[20];
    char item51[20];
    char item52[260];
    char item53[260];
    uint32_t item54;
    uint32_t item55;
    char item56[128];
    char item57[128];
    char item58[128];
    char item59[128];
    char item5a[128];
    char item5b[128];
    char item5c[4];
    char item5d[4];
    uint32_t item60;
    char item70[68];
    uint32_t item71;
    char item73[12];
    uint32_t item74;
    int32_t httpPort; // 0x75
    uint32_t item76;
    char item77[8];
    char item78[48];
    uint32_t item79;
    uint32_t item7a;
    uint32_t item7b;
    char senderMac[36]; // 0x7c
    uint32_t item7d;
    char item7e[8];
    char item7f[48];
    uint32_t item80;
    uint32_t itemA0;
    char itemA1[68];
    char itemA2[36];
    uint32_t itemA3;
    uint32_t protocolVersion; // 0xa4
    uint64_t itemA5;
    uint32_t itemA6;
    int32_t status;             // 0xa7
    uint64_t capabilityMask[2]; // 0xb0, 0xb1
    uint64_t requestMask[2];    // 0xb8, 0xb9
    uint32_t itemBA;
};
static_assert(std::is_trivially_copyable<NASINFO>::value, "NASINFO travels by value");
static_assert(std::is_standard_layout<NASINFO>::value, "the item table addresses NASINFO by offset");

namespace fhost {

constexpr uint8_t kHeader[8] = {0x12, 0x34, 0x56, 0x78, 'V', 'E', 'L', 'M'};
constexpr int kHeaderSize = 8;
constexpr int kScratchSize = 8192;
constexpr int kMaxItems = 64;        // per received datagram
constexpr int kListCapacity = 256;   // ids in an item list
constexpr int kLongTextLimit = 1536; // characters that continuation chunks may bring longText to
constexpr int kChunkSize = 255;
constexpr uint8_t kLongTextId = 0x2a;
constexpr uint8_t kContinuationId = 0x72;

enum PacketType { PacketQuery = 1, PacketAnswer = 2, PacketNetSetting = 3, PacketQuickConfig = 4,
                  PacketAnswer2 = 6, PacketAnyType = 17 };
enum ServerStatus { StatusFalse = 0, StatusDone = 1, StatusNotInstalled = 2, StatusTestFailed = 8,
                    StatusTesting = 10 };

enum class ItemKind : uint8_t { None, String, Fixed };

struct ItemDef
{
    uint8_t id;
    ItemKind kind;
    bool blAddress;    // IPv4 address in network order
    uint16_t iWidth;   // field width in bytes, terminator included for strings
    uint8_t iMask;     // presence bit collected by the decoder
    uint16_t iOffset;  // of the field in NASINFO
};

// The 99 rows, sorted by id.
const ItemDef* itemTable(int* piCount);
// Binary search; nullptr for an id not in the table.
const ItemDef* findItem(uint8_t id);

// 128-bit masks made of two 64-bit halves.
void maskClear(uint64_t aMask[2]);
void maskSet(uint64_t aMask[2], int iBit);
bool maskTest(const uint64_t aMask[2], int iBit);

} // namespace fhost

// What the encoder writes: a record and the ordered ids of the items to take from it.
struct PacketItems
{
    NASINFO info;
    uint8_t aIds[fhost::kListCapacity];
    int iCount;

    PacketItems(); // zeroed

    // Appends ids (each 1-255) up to the first 0; returns how many were appended.
    int appendRun(const uint8_t* pIds);
    // Copies the value into the id's field (zero-padded, cut to fit) and appends the id. -1 for an id
    // without a field, with "unknown PKT-ID" logged when it is not in the table, or a full list.
    int setValue(FHostLogger* pLogger, uint8_t id, const void* pValue, size_t iLength);
    // Appends 0xb0, 0xb1 and/or 0xb8, 0xb9.
    void addMasks(bool blCapability, bool blRequest);
    bool contains(uint8_t id) const;
};

// Decodes one datagram into a zeroed record. Returns the item bytes walked (> 0), or 0 when rejected;
// after a rejection the record must not be used.
int PacketRead(FHostLogger* pLogger, const uint8_t* pData, int iLength, NASINFO* pInfo);

// Encodes the items into *ppBuffer (malloc'ed, grown with realloc when too small; *piCapacity follows).
// Returns the datagram length, or 0 on failure.
int PacketWrite(FHostLogger* pLogger, uint8_t** ppBuffer, int* piCapacity, const PacketItems& items);

#include "packet.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#define FHOST_SOURCE "packet"

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "fixed items travel as they lie in memory, which must be little-endian"
#endif

namespace fhost {
namespace {

#define FH_STR(id, w, field, mask) {id, ItemKind::String, false, w, mask, uint16_t(offsetof(NASINFO, field))}
#define FH_FIX(id, w, field, mask) {id, ItemKind::Fixed, false, w, mask, uint16_t(offsetof(NASINFO, field))}
#define FH_ADDR(id, field, mask) {id, ItemKind::Fixed, true, 4, mask, uint16_t(offsetof(NASINFO, field))}
#define FH_NONE(id) {id, ItemKind::None, false, 0, 0, 0}

constexpr ItemDef s_aItems[] = {
    FH_FIX(0x01, 4, packetType, 0x01),
    FH_FIX(0x10, 4, item10, 0),
    FH_STR(0x11, 36, serverName, 0),
    FH_ADDR(0x12, ipAddress, 0),
    FH_ADDR(0x13, item13, 0),
    FH_ADDR(0x14, item14, 0),
    FH_ADDR(0x15, item15, 0),
    FH_ADDR(0x16, item16, 0),
    FH_STR(0x17, 260, item17, 0),
    FH_FIX(0x18, 4, reachable, 0),
    FH_STR(0x19, 36, macAddress, 0),
    FH_STR(0x1a, 1540, longText, 0),
    FH_FIX(0x1b, 4, item1b, 0),
    FH_ADDR(0x1e, remoteIp, 0),
    FH_FIX(0x1f, 4, errorCode, 0),
    FH_FIX(0x20, 4, item10, 0x04),
    FH_STR(0x21, 36, serverName, 0x08),
    FH_ADDR(0x22, ipAddress, 0),
    FH_ADDR(0x23, item13, 0),
    FH_ADDR(0x24, item14, 0),
    FH_ADDR(0x25, item15, 0),
    FH_ADDR(0x26, item16, 0),
    FH_STR(0x27, 260, item17, 0),
    FH_STR(0x29, 36, macAddress, 0x10),
    FH_STR(0x2a, 1540, longText, 0),
    FH_ADDR(0x2b, item1b, 0),
    FH_STR(0x2c, 1540, item2c, 0),
    FH_STR(0x2d, 260, item2d, 0),
    FH_STR(0x2e, 260, item2e, 0),
    FH_STR(0x2f, 260, item2f, 0),
    FH_ADDR(0x30, item30, 0),
    FH_STR(0x31, 20, item31, 0),
    FH_STR(0x32, 132, item32, 0),
    FH_FIX(0x33, 4, item33, 0),
    FH_STR(0x34, 12, item34, 0),
    FH_STR(0x35, 260, item35, 0),
    FH_STR(0x36, 260, item36, 0),
    FH_STR(0x37, 36, item37, 0),
    FH_FIX(0x38, 4, item38, 0),
    FH_STR(0x39, 36, item39, 0),
    FH_FIX(0x40, 4, item40, 0),
    FH_FIX(0x41, 4, item41, 0),
    FH_FIX(0x42, 4, item42, 0),
    FH_STR(0x43, 260, item43, 0),
    FH_STR(0x44, 132, item44, 0),
    FH_STR(0x45, 132, item45, 0),
    FH_FIX(0x46, 4, item46, 0),
    FH_FIX(0x47, 4, item47, 0),
    FH_FIX(0x48, 4, serviceFlag, 0),
    FH_FIX(0x49, 4, buildNumber, 0),
    FH_STR(0x4a, 496, item4a, 0),
    FH_NONE(0x4b),
    FH_NONE(0x4c),
    FH_FIX(0x4d, 4, item4d, 0),
    FH_STR(0x50, 20, item50, 0),
    FH_STR(0x51, 20, item51, 0),
    FH_STR(0x52, 260, item52, 0),
    FH_STR(0x53, 260, item53, 0),
    FH_FIX(0x54, 4, item54, 0),
    FH_FIX(0x55, 4, item55, 0),
    FH_STR(0x56, 128, item56, 0),
    FH_STR(0x57, 128, item57, 0),
    FH_STR(0x58, 128, item58, 0),
    FH_STR(0x59, 128, item59, 0),
    FH_STR(0x5a, 128, item5a, 0),
    FH_STR(0x5b, 128, item5b, 0),
    FH_STR(0x5c, 4, item5c, 0),
    FH_STR(0x5d, 4, item5d, 0),
    FH_FIX(0x60, 4, item60, 0),
    FH_STR(0x70, 68, item70, 0),
    FH_FIX(0x71, 4, item71, 0),
    FH_NONE(0x72),
    FH_STR(0x73, 12, item73, 0),
    FH_FIX(0x74, 4, item74, 0),
    FH_FIX(0x75, 4, httpPort, 0),
    FH_FIX(0x76, 4, item76, 0),
    FH_STR(0x77, 8, item77, 0),
    FH_STR(0x78, 48, item78, 0),
    FH_FIX(0x79, 4, item79, 0),
    FH_FIX(0x7a, 4, item7a, 0),
    FH_FIX(0x7b, 4, item7b, 0),
    FH_STR(0x7c, 36, senderMac, 0),
    FH_FIX(0x7d, 4, item7d, 0),
    FH_STR(0x7e, 8, item7e, 0),
    FH_STR(0x7f, 48, item7f, 0),
    FH_FIX(0x80, 4, item80, 0),
    FH_FIX(0xa0, 4, itemA0, 0),
    FH_STR(0xa1, 68, itemA1, 0),
    FH_STR(0xa2, 36, itemA2, 0),
    FH_FIX(0xa3, 4, itemA3, 0),
    FH_FIX(0xa4, 4, protocolVersion, 0x02),
    FH_FIX(0xa5, 8, itemA5, 0),
    FH_FIX(0xa6, 4, itemA6, 0),
    FH_FIX(0xa7, 4, status, 0),
    {0xb0, ItemKind::Fixed, false, 8, 0, uint16_t(offsetof(NASINFO, capabilityMask))},
    {0xb1, ItemKind::Fixed, false, 8, 0, uint16_t(offsetof(NASINFO, capabilityMask) + 8)},
    {0xb8, ItemKind::Fixed, false, 8, 0, uint16_t(offsetof(NASINFO, requestMask))},
    {0xb9, ItemKind::Fixed, false, 8, 0, uint16_t(offsetof(NASINFO, requestMask) + 8)},
    FH_FIX(0xba, 4, itemBA, 0),
};
constexpr int kItemCount = int(sizeof(s_aItems) / sizeof(s_aItems[0]));
static_assert(kItemCount == 99, "the item table has 99 ids");

constexpr bool sortedById()
{
    for (int i = 1; i < kItemCount; ++i)
        if (s_aItems[i - 1].id >= s_aItems[i].id)
            return false;
    return true;
}
static_assert(sortedById(), "findItem searches by halves");

char* fieldOf(NASINFO* pInfo, const ItemDef& def)
{
    return reinterpret_cast<char*>(pInfo) + def.iOffset;
}

const char* fieldOf(const NASINFO* pInfo, const ItemDef& def)
{
    return reinterpret_cast<const char*>(pInfo) + def.iOffset;
}

} // namespace

const ItemDef* itemTable(int* piCount)
{
    if (piCount)
        *piCount = kItemCount;
    return s_aItems;
}

const ItemDef* findItem(uint8_t id)
{
    int iLow = 0;
    int iHigh = kItemCount - 1;
    while (iLow <= iHigh) {
        const int iMid = (iLow + iHigh) / 2;
        if (s_aItems[iMid].id == id)
            return &s_aItems[iMid];
        if (s_aItems[iMid].id < id)
            iLow = iMid + 1;
        else
            iHigh = iMid - 1;
    }
    return nullptr;
}

void maskClear(uint64_t aMask[2])
{
    aMask[0] = 0;
    aMask[1] = 0;
}

void maskSet(uint64_t aMask[2], int iBit)
{
    if (iBit >= 0 && iBit < 128)
        aMask[iBit / 64] |= uint64_t(1) << (iBit % 64);
}

bool maskTest(const uint64_t aMask[2], int iBit)
{
    return iBit >= 0 && iBit < 128 && (aMask[iBit / 64] & (uint64_t(1) << (iBit % 64))) != 0;
}

} // namespace fhost

using namespace fhost;

PacketItems::PacketItems()
{
    std::memset(this, 0, sizeof(*this));
}

int PacketItems::appendRun(const uint8_t* pIds)
{
    int iAppended = 0;
    for (; pIds && *pIds != 0 && iCount < kListCapacity; ++pIds, ++iAppended)
        aIds[iCount++] = *pIds;
    return iAppended;
}

int PacketItems::setValue(FHostLogger* pLogger, uint8_t id, const void* pValue, size_t iLength)
{
    const ItemDef* pDef = findItem(id);
    if (!pDef) {
        FHOST_LOG(pLogger, 1, "%s:%d unknown PKT-ID: [0x%X]\n", unsigned(id));
        return -1;
    }
    if (pDef->kind == ItemKind::None || iCount >= kListCapacity)
        return -1;
    char* pField = fieldOf(&info, *pDef);
    // A string keeps its terminator; a fixed value fills the whole width.
    const size_t iRoom = pDef->kind == ItemKind::String ? pDef->iWidth - 1u : pDef->iWidth;
    const size_t iCopy = std::min(iLength, iRoom);
    std::memset(pField, 0, pDef->iWidth);
    if (iCopy > 0 && pValue)
        std::memcpy(pField, pValue, iCopy);
    aIds[iCount++] = id;
    return 0;
}

void PacketItems::addMasks(bool blCapability, bool blRequest)
{
    static const uint8_t aCapability[] = {0xb0, 0xb1, 0};
    static const uint8_t aRequest[] = {0xb8, 0xb9, 0};
    if (blCapability)
        appendRun(aCapability);
    if (blRequest)
        appendRun(aRequest);
}

bool PacketItems::contains(uint8_t id) const
{
    return std::find(aIds, aIds + iCount, id) != aIds + iCount;
}

int PacketRead(FHostLogger* pLogger, const uint8_t* pData, int iLength, NASINFO* pInfo)
{
    if (!pData || !pInfo || iLength <= kHeaderSize || std::memcmp(pData, kHeader, kHeaderSize) != 0)
        return 0;

    unsigned iPresent = 0;
    int iItems = 0;
    int iPos = kHeaderSize;
    while (iPos < iLength) {
        const uint8_t id = pData[iPos];
        if (++iItems > kMaxItems) {
            FHOST_LOG(pLogger, 2, "%s:%d Maybe some virus try to hack me\n");
            return 0;
        }
        const int iRemaining = iLength - iPos - 1; // bytes after the id
        if (iRemaining < 1)
            return 0; // an id without its length byte
        const int iValueLength = pData[iPos + 1];
        const bool blInside = iValueLength + 1 <= iRemaining;
        const uint8_t* pValue = pData + iPos + 2;
        const ItemDef* pDef = findItem(id);

        if (!pDef || (pDef->kind == ItemKind::None && id != kContinuationId)) {
            FHOST_LOG(pLogger, 2, "%s:%d unknown id: [0x%02X] at offset (%d)\n", unsigned(id), iPos - kHeaderSize);
            iPos += blInside ? 2 + iValueLength : 2;
            continue;
        }
        // A known item whose value reaches past the end: the datagram is cut short.
        if (!blInside)
            return 0;

        if (id == kContinuationId) {
            const size_t iHave = strnlen(pInfo->longText, sizeof(pInfo->longText));
            const size_t iChunk = strnlen(reinterpret_cast<const char*>(pValue), size_t(iValueLength));
            const size_t iRoom = iHave < size_t(kLongTextLimit) ? size_t(kLongTextLimit) - iHave : 0;
            const size_t iCopy = std::min(iChunk, iRoom);
            std::memcpy(pInfo->longText + iHave, pValue, iCopy);
            pInfo->longText[iHave + iCopy] = '\0';
        } else {
            iPresent |= pDef->iMask;
            char* pField = fieldOf(pInfo, *pDef);
            if (pDef->kind == ItemKind::String) {
                if (iValueLength > 0 && iValueLength < pDef->iWidth) {
                    std::memcpy(pField, pValue, size_t(iValueLength));
                    pField[iValueLength] = '\0';
                }
            } else if (iValueLength == pDef->iWidth) {
                std::memcpy(pField, pValue, pDef->iWidth);
            }
        }
        // A refused value is skipped whole, like an accepted one.
        iPos += 2 + iValueLength;
    }

    if ((iPresent & 0x01) == 0 || (iPresent & 0x02) == 0) {
        FHOST_LOG(pLogger, 2, "%s:%d Basic is not satifsfied\n");
        return 0;
    }
    if (pInfo->packetType == PacketNetSetting && (iPresent & 0x1c) != 0x1c) {
        FHOST_LOG(pLogger, 1, "%s:%d not enough fields for netsetting 0x%X\n", iPresent);
        return 0;
    }
    return iPos - kHeaderSize;
}

int PacketWrite(FHostLogger* pLogger, uint8_t** ppBuffer, int* piCapacity, const PacketItems& items)
{
    if (!ppBuffer || !piCapacity)
        return 0;
    uint8_t aScratch[kScratchSize];
    std::memcpy(aScratch, kHeader, kHeaderSize);
    int iPos = kHeaderSize;

    for (int i = 0; i < items.iCount; ++i) {
        const uint8_t id = items.aIds[i];
        if (id == kContinuationId)
            continue;
        const ItemDef* pDef = findItem(id);
        if (!pDef) {
            FHOST_LOG(pLogger, 1, "%s:%d unknown PKT-ID: [0x%X]\n", unsigned(id));
            return 0;
        }
        if (pDef->kind == ItemKind::None) {
            FHOST_LOG(pLogger, 1, "%s:%d fail to write [0x%X]!\n", unsigned(id));
            return 0;
        }
        const char* pField = fieldOf(&items.info, *pDef);
        if (id == kLongTextId) {
            size_t iLeft = strnlen(pField, pDef->iWidth);
            uint8_t idChunk = kLongTextId;
            do {
                const size_t iChunk = std::min(iLeft, size_t(kChunkSize));
                if (iPos + 2 + int(iChunk) > kScratchSize) {
                    FHOST_LOG(pLogger, 1, "%s:%d fail to write!\n");
                    return 0;
                }
                aScratch[iPos++] = idChunk;
                aScratch[iPos++] = uint8_t(iChunk);
                std::memcpy(aScratch + iPos, pField, iChunk);
                iPos += int(iChunk);
                pField += iChunk;
                iLeft -= iChunk;
                idChunk = kContinuationId;
            } while (iLeft > 0);
            continue;
        }
        const size_t iValueLength =
            pDef->kind == ItemKind::String ? strnlen(pField, pDef->iWidth) : size_t(pDef->iWidth);
        if (iValueLength > 255 || iPos + 2 + int(iValueLength) > kScratchSize) {
            FHOST_LOG(pLogger, 1, "%s:%d fail to write [0x%X]!\n", unsigned(id));
            return 0;
        }
        aScratch[iPos++] = id;
        aScratch[iPos++] = uint8_t(iValueLength);
        std::memcpy(aScratch + iPos, pField, iValueLength);
        iPos += int(iValueLength);
    }

    if (*ppBuffer == nullptr || *piCapacity < iPos) {
        void* pGrown = std::realloc(*ppBuffer, size_t(iPos));
        if (!pGrown) {
            FHOST_LOG(pLogger, 1, "%s:%d Reallocate memory failed!\n");
            return 0;
        }
        *ppBuffer = static_cast<uint8_t*>(pGrown);
        *piCapacity = iPos;
    }
    std::memcpy(*ppBuffer, aScratch, size_t(iPos));
    return iPos;
}

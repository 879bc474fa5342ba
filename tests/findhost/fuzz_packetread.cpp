// libFuzzer entry for the discovery decoder: any bytes, any length, with both log channels live.
#include "packet.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize)
{
    static FHostLogger* s_pLogger = [] {
        auto* pLogger = new FHostLogger;
        pLogger->setCallback(1, [](const char* psz) { (void)std::strlen(psz); });
        pLogger->setCallback(2, [](const char* psz) { (void)std::strlen(psz); });
        return pLogger;
    }();
    if (iSize > 65536)
        return 0;
    static NASINFO s_info;
    std::memset(&s_info, 0, sizeof(s_info));
    const int iRead = PacketRead(s_pLogger, pData, int(iSize), &s_info);
    if (iRead > 0) {
        // An accepted record holds terminated strings and re-encodes.
        if (std::strlen(s_info.longText) > 1539 || std::strlen(s_info.serverName) > 35)
            __builtin_trap();
        static PacketItems s_items;
        std::memcpy(&s_items.info, &s_info, sizeof(s_info));
        const uint8_t aRun[] = {0x01, 0xa4, 0x20, 0x21, 0x29, 0x2a, 0x22, 0xa7, 0x7c, 0xb0, 0xb1, 0};
        s_items.iCount = 0;
        s_items.appendRun(aRun);
        uint8_t* pBuffer = nullptr;
        int iCapacity = 0;
        const int iLength = PacketWrite(s_pLogger, &pBuffer, &iCapacity, s_items);
        if (iLength <= 8)
            __builtin_trap();
        static NASINFO s_back;
        std::memset(&s_back, 0, sizeof(s_back));
        if (PacketRead(s_pLogger, pBuffer, iLength, &s_back) != iLength - 8 ||
            std::strcmp(s_back.longText, s_info.longText) != 0 || s_back.packetType != s_info.packetType)
            __builtin_trap();
        free(pBuffer);
    }
    return 0;
}

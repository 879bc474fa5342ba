// Discovery datagram codec, checked against byte strings written out here. Plain C++: no Qt.
//
// Byte notation: hex bytes separated by blanks, 'text' for characters, N*XX for N bytes of XX.

#include "packet.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

int g_iFailures = 0;
const char* g_pszRow = "";

#define CHECK(cond)                                                                                                    \
    do {                                                                                                               \
        if (!(cond)) {                                                                                                 \
            ++g_iFailures;                                                                                             \
            std::fprintf(stderr, "FAIL %s:%d [%s] %s\n", __FILE__, __LINE__, g_pszRow, #cond);                       \
        }                                                                                                              \
    } while (0)

std::vector<uint8_t> bytes(const std::string& strSpec)
{
    std::vector<uint8_t> out;
    size_t i = 0;
    while (i < strSpec.size()) {
        if (strSpec[i] == ' ') {
            ++i;
        } else if (strSpec[i] == '\'') {
            const size_t iEnd = strSpec.find('\'', i + 1);
            out.insert(out.end(), strSpec.begin() + long(i) + 1, strSpec.begin() + long(iEnd));
            i = iEnd + 1;
        } else {
            size_t iEnd = strSpec.find(' ', i);
            if (iEnd == std::string::npos)
                iEnd = strSpec.size();
            const std::string strToken = strSpec.substr(i, iEnd - i);
            const size_t iStar = strToken.find('*');
            if (iStar == std::string::npos)
                out.push_back(uint8_t(std::strtoul(strToken.c_str(), nullptr, 16)));
            else
                out.insert(out.end(), std::strtoul(strToken.substr(0, iStar).c_str(), nullptr, 10),
                           uint8_t(std::strtoul(strToken.substr(iStar + 1).c_str(), nullptr, 16)));
            i = iEnd;
        }
    }
    return out;
}

std::string repeat(const std::string& strSpec, int iTimes)
{
    std::string out;
    for (int i = 0; i < iTimes; ++i)
        out += strSpec + ' ';
    return out;
}

std::string hex(const uint8_t* pData, int iLength)
{
    std::string out;
    char sz[4];
    for (int i = 0; i < iLength; ++i) {
        std::snprintf(sz, sizeof(sz), i ? " %02x" : "%02x", pData[i]);
        out += sz;
    }
    return out;
}

// Collects "<channel>:<message without the source:line prefix>"; a prefix of another form is kept whole.
struct LogSink
{
    FHostLogger logger;
    std::vector<std::string> lines;

    LogSink()
    {
        for (int iChannel = 1; iChannel <= 2; ++iChannel)
            logger.setCallback(iChannel, [this, iChannel](const char* psz) {
                std::string strLine = psz;
                const size_t iSpace = strLine.find(' ');
                if (strLine.rfind("packet:", 0) == 0 && iSpace != std::string::npos &&
                    strLine.find_first_not_of("0123456789", 7) == iSpace && iSpace > 7)
                    strLine = strLine.substr(iSpace + 1);
                lines.push_back(std::to_string(iChannel) + ':' + strLine);
            });
    }
};

const std::string H = "12 34 56 78 'VELM' ";
const std::string BASIC = "01 04 02 00 00 00 a4 04 00 00 02 01 "; // answer, protocol 0x01020000

struct ReadRow
{
    const char* pszName;
    std::string strDatagram;
    int iResult; // bytes walked, 0 for rejected
    std::vector<std::string> lstLog;
    std::function<void(const NASINFO&)> fnCheck;
};

void readRows()
{
    const std::string strLong = "2a ff 255*61 72 ff 255*62 72 5a 90*63 ";
    const std::vector<ReadRow> rows = {
        {"header alone", H, 0, {}, nullptr},
        {"shorter than the header", "12 34 56", 0, {}, nullptr},
        {"wrong magic", "12 34 56 78 'VELN' " + BASIC, 0, {}, nullptr},
        {"basic items only", H + BASIC, 12, {},
         [](const NASINFO& info) {
             CHECK(info.packetType == 2);
             CHECK(info.protocolVersion == 0x01020000u);
         }},
        {"no protocol version", H + "01 04 02 00 00 00", 0, {"2:Basic is not satifsfied\n"}, nullptr},
        {"no packet type", H + "a4 04 00 00 02 01", 0, {"2:Basic is not satifsfied\n"}, nullptr},
        {"net setting without 0x29", H + "01 04 03 00 00 00 a4 04 00 00 02 01 20 04 01 00 00 00 21 03 'NAS'", 0,
         {"1:not enough fields for netsetting 0xF\n"}, nullptr},
        {"net setting complete",
         H + "01 04 03 00 00 00 a4 04 00 00 02 01 20 04 01 00 00 00 21 03 'NAS' 29 11 '00:11:22:33:44:55'", 12 + 6 + 5 + 19,
         {},
         [](const NASINFO& info) {
             CHECK(info.packetType == 3);
             CHECK(std::strcmp(info.serverName, "NAS") == 0);
             CHECK(std::strcmp(info.macAddress, "00:11:22:33:44:55") == 0);
             CHECK(info.item10 == 1);
         }},
        {"name one short of its field", H + BASIC + "11 23 35*41", 12 + 37, {},
         [](const NASINFO& info) { CHECK(std::strlen(info.serverName) == 35); }},
        {"name as long as its field is skipped whole (D12)", H + BASIC + "11 24 36*41 19 03 'abc'", 12 + 38 + 5, {},
         [](const NASINFO& info) {
             CHECK(info.serverName[0] == '\0');
             CHECK(std::strcmp(info.macAddress, "abc") == 0);
         }},
        {"fixed item of the wrong length is skipped whole", H + BASIC + "18 02 09 09 19 03 'abc'", 12 + 4 + 5, {},
         [](const NASINFO& info) {
             CHECK(info.reachable == 0);
             CHECK(std::strcmp(info.macAddress, "abc") == 0);
         }},
        {"refused version still counts as present", H + "a4 05 00 00 02 01 00 01 04 02 00 00 00", 13, {},
         [](const NASINFO& info) { CHECK(info.protocolVersion == 0); }},
        {"empty values consume only their length byte", H + BASIC + "18 00 11 00 19 01 'x'", 12 + 2 + 2 + 3, {},
         [](const NASINFO& info) {
             CHECK(info.serverName[0] == '\0');
             CHECK(std::strcmp(info.macAddress, "x") == 0);
         }},
        {"NUL inside a string ends it", H + BASIC + "11 05 'ab' 00 'cd'", 12 + 7, {},
         [](const NASINFO& info) { CHECK(std::strcmp(info.serverName, "ab") == 0); }},
        {"later item overwrites a shared field", H + BASIC + "11 03 'one' 21 03 'two' 22 04 0a 63 01 02", 12 + 5 + 5 + 6,
         {},
         [](const NASINFO& info) {
             CHECK(std::strcmp(info.serverName, "two") == 0);
             const uint8_t aExpected[4] = {10, 99, 1, 2};
             CHECK(std::memcmp(&info.ipAddress, aExpected, 4) == 0);
         }},
        {"masks and wide fixed items", H + BASIC + "b0 08 c8 01 00 00 00 00 00 00 b1 08 01 00 00 00 00 00 00 80", 12 + 20,
         {},
         [](const NASINFO& info) {
             CHECK(info.capabilityMask[0] == 0x1c8u);
             CHECK(fhost::maskTest(info.capabilityMask, 3) && fhost::maskTest(info.capabilityMask, 8));
             CHECK(!fhost::maskTest(info.capabilityMask, 4));
             CHECK(fhost::maskTest(info.capabilityMask, 64) && fhost::maskTest(info.capabilityMask, 127));
         }},
        {"600-character long text in three chunks", H + BASIC + strLong, 12 + 257 + 257 + 92, {},
         [](const NASINFO& info) {
             CHECK(std::string(info.longText) == std::string(255, 'a') + std::string(255, 'b') + std::string(90, 'c'));
         }},
        {"continuations stop at 1536 characters", H + BASIC + "2a ff 255*61 " + repeat("72 ff 255*62", 6),
         12 + 7 * 257, {}, [](const NASINFO& info) { CHECK(std::strlen(info.longText) == 1536); }},
        {"64 items", H + BASIC + repeat("18 04 01 00 00 00", 62), 12 + 62 * 6, {},
         [](const NASINFO& info) { CHECK(info.reachable == 1); }},
        {"65 items", H + BASIC + repeat("18 04 01 00 00 00", 63), 0, {"2:Maybe some virus try to hack me\n"}, nullptr},
        {"unknown id skipped with its value", H + BASIC + "ee 03 01 02 03 18 04 07 00 00 00", 12 + 5 + 6,
         {"2:unknown id: [0xEE] at offset (12)\n"}, [](const NASINFO& info) { CHECK(info.reachable == 7); }},
        {"ids without a field read as unknown", H + "4b 01 ff " + BASIC + "4c 00", 3 + 12 + 2,
         {"2:unknown id: [0x4B] at offset (0)\n", "2:unknown id: [0x4C] at offset (15)\n"}, nullptr},
        {"unknown id reaching past the end resumes after its length", H + BASIC + "ee 09 18 04 05 00 00 00", 12 + 8,
         {"2:unknown id: [0xEE] at offset (12)\n"}, [](const NASINFO& info) { CHECK(info.reachable == 5); }},
        {"known item cut short at the end", H + BASIC + "11 05 'ab'", 0, {}, nullptr},
        {"id without its length byte", H + BASIC + "18", 0, {}, nullptr},
        {"continuation cut short", H + BASIC + "72 05 'ab'", 0, {}, nullptr},
    };
    for (const ReadRow& row : rows) {
        g_pszRow = row.pszName;
        LogSink sink;
        const std::vector<uint8_t> data = bytes(row.strDatagram);
        NASINFO* pInfo = new NASINFO;
        std::memset(pInfo, 0, sizeof(*pInfo));
        const int iResult = PacketRead(&sink.logger, data.data(), int(data.size()), pInfo);
        CHECK(iResult == row.iResult);
        if (iResult != row.iResult)
            std::fprintf(stderr, "     got %d, expected %d\n", iResult, row.iResult);
        CHECK(sink.lines == row.lstLog);
        if (sink.lines != row.lstLog)
            for (const std::string& strLine : sink.lines)
                std::fprintf(stderr, "     log %s", strLine.c_str());
        if (row.fnCheck && iResult > 0)
            row.fnCheck(*pInfo);
        delete pInfo;
    }
}

struct WriteRow
{
    const char* pszName;
    std::function<void(PacketItems&, FHostLogger*)> fnFill;
    std::string strExpected; // empty: the encoder fails
    std::vector<std::string> lstLog;
};

void writeRows()
{
    auto query = [](PacketItems& items, FHostLogger* pLogger) {
        items.info.protocolVersion = 0x01020000;
        items.info.itemA6 = 120;
        items.info.packetType = 1;
        const uint8_t aRun[] = {0xa4, 0xa6, 0x01, 0};
        CHECK(items.appendRun(aRun) == 3);
        fhost::maskClear(items.info.capabilityMask);
        fhost::maskClear(items.info.requestMask);
        for (int iBit : {6, 7, 8}) {
            fhost::maskSet(items.info.capabilityMask, iBit);
            fhost::maskSet(items.info.requestMask, iBit);
        }
        items.addMasks(true, true);
        CHECK(items.setValue(pLogger, 0x7c, "02:aa:00:00:01:01", 17) == 0);
    };
    auto fillLong = [](PacketItems& items, size_t iLength) {
        for (size_t i = 0; i < iLength; ++i)
            items.info.longText[i] = char('a' + i / 255);
    };
    const std::vector<WriteRow> rows = {
        {"query", query,
         H + "a4 04 00 00 02 01 a6 04 78 00 00 00 01 04 01 00 00 00 b0 08 c0 01 00 00 00 00 00 00 "
             "b1 08 00 00 00 00 00 00 00 00 b8 08 c0 01 00 00 00 00 00 00 b9 08 00 00 00 00 00 00 00 00 "
             "7c 11 '02:aa:00:00:01:01'",
         {}},
        {"600-character long text",
         [&](PacketItems& items, FHostLogger*) {
             fillLong(items, 600);
             const uint8_t aRun[] = {0x2a, 0x72, 0};
             items.appendRun(aRun);
         },
         H + "2a ff 255*61 72 ff 255*62 72 5a 90*63", {}},
        {"empty long text is one empty item",
         [](PacketItems& items, FHostLogger*) {
             const uint8_t aRun[] = {0x2a, 0x18, 0};
             items.appendRun(aRun);
         },
         H + "2a 00 18 04 00 00 00 00", {}},
        {"values are padded and cut to their field",
         [](PacketItems& items, FHostLogger* pLogger) {
             CHECK(items.setValue(pLogger, 0x11, std::string(50, 'n').c_str(), 50) == 0);
             CHECK(items.setValue(pLogger, 0x18, "\x05", 1) == 0);
             const uint64_t iLarge = 0x0a0b0c0d01020304u;
             CHECK(items.setValue(pLogger, 0x49, &iLarge, 8) == 0);
         },
         H + "11 23 35*6e 18 04 05 00 00 00 49 04 04 03 02 01", {}},
        {"unknown id", [](PacketItems& items, FHostLogger*) { items.aIds[items.iCount++] = 0xee; }, "",
         {"1:unknown PKT-ID: [0xEE]\n"}},
        {"id without a field", [](PacketItems& items, FHostLogger*) { items.aIds[items.iCount++] = 0x4b; }, "",
         {"1:fail to write [0x4B]!\n"}},
        {"string of 256 bytes",
         [](PacketItems& items, FHostLogger*) {
             std::memset(items.info.item2c, 'x', 256);
             items.aIds[items.iCount++] = 0x2c;
         },
         "", {"1:fail to write [0x2C]!\n"}},
        {"datagram over 8192 bytes",
         [](PacketItems& items, FHostLogger*) {
             std::memset(items.info.item2c, 'x', 250);
             for (int i = 0; i < 33; ++i)
                 items.aIds[items.iCount++] = 0x2c;
         },
         "", {"1:fail to write [0x2C]!\n"}},
        {"long text over 8192 bytes",
         [&](PacketItems& items, FHostLogger*) {
             std::memset(items.info.item2c, 'x', 250);
             for (int i = 0; i < 29; ++i)
                 items.aIds[items.iCount++] = 0x2c;
             fillLong(items, 1000);
             items.aIds[items.iCount++] = 0x2a;
         },
         "", {"1:fail to write!\n"}},
    };
    for (const WriteRow& row : rows) {
        g_pszRow = row.pszName;
        LogSink sink;
        PacketItems* pItems = new PacketItems;
        row.fnFill(*pItems, &sink.logger);
        int iCapacity = 4; // the encoder grows it
        uint8_t* pBuffer = static_cast<uint8_t*>(std::malloc(size_t(iCapacity)));
        const int iLength = PacketWrite(&sink.logger, &pBuffer, &iCapacity, *pItems);
        if (row.strExpected.empty()) {
            CHECK(iLength == 0);
        } else {
            const std::vector<uint8_t> expected = bytes(row.strExpected);
            const std::string strGot = iLength > 0 ? hex(pBuffer, iLength) : std::string();
            CHECK(strGot == hex(expected.data(), int(expected.size())));
            if (strGot != hex(expected.data(), int(expected.size())))
                std::fprintf(stderr, "     got      %s\n     expected %s\n", strGot.c_str(),
                             hex(expected.data(), int(expected.size())).c_str());
            CHECK(iCapacity >= iLength);
            // The encoder's output decodes back to what went in.
            if (pItems->info.packetType != 0) {
                NASINFO* pBack = new NASINFO;
                std::memset(pBack, 0, sizeof(*pBack));
                CHECK(PacketRead(nullptr, pBuffer, iLength, pBack) == iLength - 8);
                CHECK(std::strcmp(pBack->senderMac, pItems->info.senderMac) == 0);
                delete pBack;
            }
        }
        CHECK(sink.lines == row.lstLog);
        std::free(pBuffer);
        delete pItems;
    }
}

void itemListAndLogger()
{
    g_pszRow = "item list";
    LogSink sink;
    PacketItems* pItems = new PacketItems;
    CHECK(pItems->setValue(&sink.logger, 0x28, "x", 1) == -1);
    CHECK(pItems->setValue(&sink.logger, 0x72, "x", 1) == -1);
    CHECK((sink.lines == std::vector<std::string>{"1:unknown PKT-ID: [0x28]\n"}));
    std::vector<uint8_t> run(300, 0x18);
    run.push_back(0);
    CHECK(pItems->appendRun(run.data()) == 256);
    CHECK(pItems->setValue(&sink.logger, 0x18, "\x01", 1) == -1); // the list is full
    delete pItems;

    g_pszRow = "logger";
    FHostLogger logger;
    CHECK(logger.setCallback(3, [](const char*) {}) == -1);
    CHECK(logger.setCallback(0, [](const char*) {}) == -1);
    CHECK(logger.print(1, "dropped %d", 1) == 0);
    std::vector<std::string> got;
    std::vector<int> locks;
    logger.setCallback(1, [&got](const char* psz) { got.push_back(psz); });
    logger.setLock([&locks](int iOn) {
        locks.push_back(iOn);
        return locks.size() > 2 ? -1 : 0;
    });
    CHECK(logger.print(1, "%s:%d hello\n", "packet", 7) == 15);
    CHECK(logger.print(1, "refused") == -1);
    CHECK((got == std::vector<std::string>{"packet:7 hello\n"}));
    CHECK((locks == std::vector<int>{1, 0, 1}));
    logger.setLock(nullptr);
    const std::string strLong(9000, 'z');
    CHECK(logger.print(1, "%s", strLong.c_str()) == 9000);
    CHECK(got.back().size() == 8191); // formatted into 8192 bytes
}

} // namespace

int main()
{
    readRows();
    writeRows();
    itemListAndLogger();
    if (g_iFailures > 0) {
        std::fprintf(stderr, "%d check(s) failed\n", g_iFailures);
        return 1;
    }
    std::printf("all packet checks passed\n");
    return 0;
}

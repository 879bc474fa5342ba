#include "DiscoveryResponder.h"

#include "JsonText.h"
#include "packet.h"

#include <QNetworkDatagram>
#include <QtEndian>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

QByteArray itemIds(const QByteArray& baDatagram)
{
    QByteArray baIds;
    for (qsizetype i = fhost::kHeaderSize; i + 1 < baDatagram.size(); i += 2 + quint8(baDatagram.at(i + 1))) {
        if (!baIds.isEmpty())
            baIds += ' ';
        baIds += QByteArray::number(quint8(baDatagram.at(i)), 16).rightJustified(2, '0');
    }
    return baIds;
}

} // namespace

DiscoveryResponder::DiscoveryResponder(const DiscoveryOptions& options, Journal& journal, quint16 iHttpPort,
                                       QObject* pParent)
    : QObject(pParent), m_options(options), m_journal(journal), m_iHttpPort(iHttpPort)
{
    m_sendTimer.setInterval(1);
    connect(&m_sendTimer, &QTimer::timeout, this, &DiscoveryResponder::sendNext);
    connect(&m_socket, &QUdpSocket::readyRead, this, &DiscoveryResponder::readDatagrams);
}

bool DiscoveryResponder::start(QString& strError)
{
    const QHostAddress bind(m_options.strBind);
    if (bind.protocol() != QAbstractSocket::IPv4Protocol) {
        strError = QStringLiteral("--discovery wants an IPv4 address, not %1").arg(m_options.strBind);
        return false;
    }
    if (!m_socket.bind(bind, m_options.iPort, QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
        strError = QStringLiteral("cannot listen for discovery on %1:%2: %3")
                       .arg(m_options.strBind)
                       .arg(m_options.iPort)
                       .arg(m_socket.errorString());
        return false;
    }
    return true;
}

void DiscoveryResponder::readDatagrams()
{
    while (m_socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket.receiveDatagram(65536);
        const QByteArray baData = datagram.data();
        auto pInfo = std::make_unique<NASINFO>();
        std::memset(pInfo.get(), 0, sizeof(NASINFO));
        const int iRead = PacketRead(nullptr, reinterpret_cast<const uint8_t*>(baData.constData()),
                                     int(baData.size()), pInfo.get());
        const QHostAddress sender(datagram.senderAddress().toIPv4Address());

        JsonText details;
        details.addText("source", sender.toString())
            .addInt("source_port", datagram.senderPort())
            .addBool("decoded", iRead > 0)
            .addInt("packet_type", iRead > 0 ? pInfo->packetType : 0)
            .addText("sender_mac", QString::fromLatin1(pInfo->senderMac))
            .addText("items", QString::fromLatin1(itemIds(baData)));
        JournalEntry entry;
        entry.baMethod = "UDP";
        entry.baPath = "discovery";
        entry.iBodySize = baData.size();
        entry.blWithBody = true;
        entry.baBody = baData;
        entry.baDetails = details.toJson();
        m_journal.write(entry);

        if (iRead <= 0 || pInfo->packetType != fhost::PacketQuery)
            continue;
        if (!m_blNoiseSent) {
            m_blNoiseSent = true;
            for (int i = 0; i < m_options.iNoise; ++i)
                m_lstOutgoing.append({sender, noiseDatagram(i)});
        }
        m_lstOutgoing.append({sender, answerFor(sender)});
        if (!m_sendTimer.isActive())
            m_sendTimer.start();
    }
}

// One datagram per tick, so that a burst does not overrun the receiver's socket buffer.
void DiscoveryResponder::sendNext()
{
    if (m_lstOutgoing.isEmpty()) {
        m_sendTimer.stop();
        return;
    }
    const QPair<QHostAddress, QByteArray> next = m_lstOutgoing.takeFirst();
    m_socket.writeDatagram(next.second, next.first, m_options.iPort);
}

QByteArray DiscoveryResponder::answerFor(const QHostAddress& querier) const
{
    auto pItems = std::make_unique<PacketItems>();
    NASINFO& info = pItems->info;
    info.packetType = m_options.iType;
    info.protocolVersion = 0x01020000;
    info.status = m_options.iStatus;
    info.buildNumber = m_options.iBuild;
    info.httpPort = m_options.iHttpPort >= 0 ? m_options.iHttpPort : m_iHttpPort;
    info.serviceFlag = m_options.iServiceFlag;
    const QHostAddress announced(m_options.strAddress.isEmpty() ? m_options.strBind : m_options.strAddress);
    const quint32 iAnnounced = qToBigEndian(announced.toIPv4Address());
    const quint32 iQuerier = qToBigEndian(querier.toIPv4Address());
    std::memcpy(&info.ipAddress, &iAnnounced, 4);
    std::memcpy(&info.remoteIp, &iQuerier, 4);
    fhost::maskClear(info.capabilityMask);
    for (int iBit : m_options.lstCapabilities)
        fhost::maskSet(info.capabilityMask, iBit);
    static const uint8_t aRun[] = {0x01, 0xa4, 0x22, 0xa7, 0x49, 0x75, 0x48, 0x1e, 0xb0, 0xb1, 0};
    pItems->appendRun(aRun);
    const QByteArray baName = m_options.strName.toUtf8();
    const QByteArray baMac = m_options.strMac.toLatin1();
    pItems->setValue(nullptr, 0x21, baName.constData(), size_t(baName.size()));
    pItems->setValue(nullptr, 0x29, baMac.constData(), size_t(baMac.size()));

    uint8_t* pBuffer = nullptr;
    int iCapacity = 0;
    const int iLength = PacketWrite(nullptr, &pBuffer, &iCapacity, *pItems);
    const QByteArray baAnswer(reinterpret_cast<const char*>(pBuffer), iLength);
    std::free(pBuffer);
    return baAnswer;
}

// Datagrams that a receiver must drop: each kind breaks one rule of the format.
QByteArray DiscoveryResponder::noiseDatagram(int i)
{
    const QByteArray baHeader = QByteArray::fromHex("1234567856454c4d");
    const QByteArray baBasic = QByteArray::fromHex("010402000000a40400000201");
    switch (i % 6) {
    case 0:
        return QByteArray::fromHex("1234567856454c4d").left(1 + i % 8);
    case 1:
        return QByteArray::fromHex("123456785645") + "XX" + baBasic;
    case 2:
        return baHeader + QByteArray::fromHex("010402000000") + QByteArray(i % 40, '\x18');
    case 3:
        return baHeader + baBasic + QByteArray::fromHex("1110") + QByteArray(i % 16, 'a');
    case 4:
        return baHeader + baBasic + QByteArray::fromHex("180401000000").repeated(63);
    default:
        return baHeader + QByteArray::fromHex("010403000000a40400000201200401000000") + QByteArray::fromHex("2103414243");
    }
}

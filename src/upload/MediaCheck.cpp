#include "MediaCheck.h"

#include <QFile>
#include <QtEndian>

namespace {

bool isPpmSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The next number of a netpbm header from *pi on, past whitespace and '#' comments.
bool readPpmNumber(const QByteArray& baHead, qsizetype* pi, quint64* puValue)
{
    const qsizetype n = baHead.size();
    qsizetype i = *pi;
    while (i < n && (isPpmSpace(baHead.at(i)) || baHead.at(i) == '#')) {
        if (baHead.at(i) == '#') {
            while (i < n && baHead.at(i) != '\n' && baHead.at(i) != '\r')
                ++i;
        } else {
            ++i;
        }
    }
    if (i >= n || baHead.at(i) < '0' || baHead.at(i) > '9')
        return false;
    quint64 uValue = 0;
    for (; i < n && baHead.at(i) >= '0' && baHead.at(i) <= '9'; ++i) {
        uValue = uValue * 10 + quint64(baHead.at(i) - '0');
        if (uValue > 0x7FFFFFFF)
            return false;
    }
    *pi = i;
    *puValue = uValue;
    return true;
}

} // namespace

namespace MediaCheck {

bool isCompleteJpeg(const QByteArray& baData)
{
    const auto* p = reinterpret_cast<const unsigned char*>(baData.constData());
    const qsizetype n = baData.size();
    if (n < 4 || p[0] != 0xFF || p[1] != 0xD8)
        return false;

    qsizetype i = 2;
    while (i < n) {
        if (p[i] != 0xFF)
            return false;
        while (i < n && p[i] == 0xFF)
            ++i;
        if (i >= n)
            return false;
        const unsigned char marker = p[i++];
        if (marker == 0xD9)
            return true;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;
        if (i + 2 > n)
            return false;
        const qsizetype iLength = (qsizetype(p[i]) << 8) | p[i + 1];
        if (iLength < 2 || i + iLength > n)
            return false;
        i += iLength;
        if (marker != 0xDA)
            continue;
        // Entropy-coded data runs to the next marker that is neither a stuffed zero nor a restart.
        while (i + 1 < n && !(p[i] == 0xFF && p[i + 1] != 0x00 && !(p[i + 1] >= 0xD0 && p[i + 1] <= 0xD7)))
            ++i;
        if (i + 1 >= n)
            return false;
    }
    return false;
}

bool isCompleteJpegFile(const QString& strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Thumbnails are small; anything huge is not one of ours.
    if (file.size() > 256 * 1024 * 1024)
        return false;
    return isCompleteJpeg(file.readAll());
}

bool isCompleteMp4File(const QString& strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Only the box headers are read: a transcode may be large.
    const qint64 iSize = file.size();
    bool blMoov = false;
    bool blMdat = false;
    qint64 iPos = 0;
    while (iPos < iSize) {
        if (iSize - iPos < 8 || !file.seek(iPos))
            return false;
        const QByteArray baHead = file.read(16);
        if (baHead.size() < 8)
            return false;
        quint64 uLength = qFromBigEndian<quint32>(baHead.constData());
        quint64 uHeader = 8;
        if (uLength == 1) {
            if (baHead.size() < 16)
                return false;
            uLength = qFromBigEndian<quint64>(baHead.constData() + 8);
            uHeader = 16;
        } else if (uLength == 0) {
            uLength = quint64(iSize - iPos); // runs to the end, so it is the last box
        }
        if (uLength < uHeader || uLength > quint64(iSize - iPos))
            return false;
        const QByteArray baType = baHead.mid(4, 4);
        blMoov = blMoov || baType == "moov";
        blMdat = blMdat || baType == "mdat";
        iPos += qint64(uLength);
    }
    return blMoov && blMdat;
}

bool isCompletePpmFile(const QString& strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray baHead = file.read(4096);
    if (baHead.size() < 3 || baHead.at(0) != 'P' || (baHead.at(1) != '6' && baHead.at(1) != '5') ||
        !(isPpmSpace(baHead.at(2)) || baHead.at(2) == '#'))
        return false;
    const quint64 uChannels = baHead.at(1) == '6' ? 3 : 1;
    qsizetype i = 2;
    quint64 uWidth = 0;
    quint64 uHeight = 0;
    quint64 uMaxValue = 0;
    if (!readPpmNumber(baHead, &i, &uWidth) || !readPpmNumber(baHead, &i, &uHeight) ||
        !readPpmNumber(baHead, &i, &uMaxValue))
        return false;
    // Exactly one whitespace byte between the maximum value and the samples.
    if (i >= baHead.size() || !isPpmSpace(baHead.at(i)))
        return false;
    const quint64 uHeaderSize = quint64(i) + 1;
    if (uWidth == 0 || uHeight == 0 || uMaxValue == 0 || uMaxValue > 65535)
        return false;
    const quint64 uRowBytes = uWidth * uChannels * (uMaxValue > 255 ? 2 : 1);
    const quint64 uFileSize = quint64(file.size());
    return uFileSize >= uHeaderSize && (uFileSize - uHeaderSize) / uRowBytes >= uHeight;
}

} // namespace MediaCheck

#include "MediaCheck.h"

#include <QFile>

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

} // namespace MediaCheck

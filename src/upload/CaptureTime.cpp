#include "CaptureTime.h"

#include <QDate>
#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QTime>
#include <QtEndian>

// The metadata library's 0.27 interface still hands out std::auto_ptr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

#include <brotli/decode.h>

namespace {

// "YYYY:MM:DD HH:MM:SS" (separators ignored), or a date alone at midnight; local time.
QDateTime parseExifTime(const QString& strValue)
{
    auto number = [&strValue](int iFirst, int iLength, bool* pblOk) {
        const QString strPart = strValue.mid(iFirst, iLength);
        bool blOk = strPart.size() == iLength;
        for (QChar c : strPart)
            blOk = blOk && c.isDigit();
        *pblOk = *pblOk && blOk;
        return strPart.toInt();
    };
    bool blOk = true;
    const int iYear = number(0, 4, &blOk);
    const int iMonth = number(5, 2, &blOk);
    const int iDay = number(8, 2, &blOk);
    int iHour = 0, iMinute = 0, iSecond = 0;
    if (strValue.size() != 10) {
        iHour = number(11, 2, &blOk);
        iMinute = number(14, 2, &blOk);
        iSecond = number(17, 2, &blOk);
    }
    const QDate date(iYear, iMonth, iDay);
    const QTime time(iHour, iMinute, iSecond);
    if (!blOk || iYear == 0 || iMonth == 0 || iDay == 0 || !date.isValid() || !time.isValid())
        return QDateTime();
    return QDateTime(date, time, Qt::LocalTime);
}

// The metadata library's warnings and errors go to the debug log, never to the terminal.
void logToDebug(int iLevel, const char* pszMessage)
{
    qDebug("Exiv2 (%d): %s", iLevel, QByteArray(pszMessage).trimmed().constData());
}

const qint64 kMaxExifBytes = 16 * 1024 * 1024;

// A brotli stream unpacked; empty when it is not one or unpacks to more than kMaxExifBytes.
QByteArray unbrotli(const QByteArray& baPacked)
{
    BrotliDecoderState* pState = BrotliDecoderCreateInstance(nullptr, nullptr, nullptr);
    if (!pState)
        return QByteArray();
    QByteArray baOut;
    size_t uInLeft = size_t(baPacked.size());
    const auto* pIn = reinterpret_cast<const uint8_t*>(baPacked.constData());
    BrotliDecoderResult result = BROTLI_DECODER_RESULT_NEEDS_MORE_OUTPUT;
    while (result == BROTLI_DECODER_RESULT_NEEDS_MORE_OUTPUT && baOut.size() < kMaxExifBytes) {
        uint8_t buffer[16384];
        size_t uOutLeft = sizeof(buffer);
        uint8_t* pOut = buffer;
        result = BrotliDecoderDecompressStream(pState, &uInLeft, &pIn, &uOutLeft, &pOut, nullptr);
        baOut.append(reinterpret_cast<const char*>(buffer), qsizetype(sizeof(buffer) - uOutLeft));
    }
    BrotliDecoderDestroyInstance(pState);
    return result == BROTLI_DECODER_RESULT_SUCCESS && baOut.size() <= kMaxExifBytes ? baOut : QByteArray();
}

// The EXIF block of a JPEG XL container, which the metadata library does not read: the "Exif"
// box (or a "brob" box holding it brotli-packed) has a 4-byte offset to the TIFF header, then
// the data. Empty when there is none.
QByteArray jpegXlExif(const QString& strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly) || file.read(12) != QByteArray("\0\0\0\x0CJXL \r\n\x87\n", 12))
        return QByteArray();
    const qint64 iSize = file.size();
    qint64 iPos = 12;
    while (iPos + 8 <= iSize && file.seek(iPos)) {
        const QByteArray baHead = file.read(16);
        quint64 uLength = qFromBigEndian<quint32>(baHead.constData());
        quint64 uHeader = 8;
        if (uLength == 1 && baHead.size() == 16) {
            uLength = qFromBigEndian<quint64>(baHead.constData() + 8);
            uHeader = 16;
        } else if (uLength == 0) {
            uLength = quint64(iSize - iPos);
        }
        if (uLength < uHeader || uLength > quint64(iSize - iPos))
            return QByteArray();
        const QByteArray baType = baHead.mid(4, 4);
        const bool blPacked = baType == "brob" && baHead.mid(int(uHeader), 4) == "Exif";
        if (baType == "Exif" || blPacked) {
            if (qint64(uLength - uHeader) > kMaxExifBytes || !file.seek(iPos + qint64(uHeader)))
                return QByteArray();
            QByteArray baBox = file.read(qint64(uLength - uHeader));
            if (blPacked)
                baBox = unbrotli(baBox.mid(4));
            if (baBox.size() < 4)
                return QByteArray();
            const quint32 uOffset = qFromBigEndian<quint32>(baBox.constData());
            return uOffset <= quint32(baBox.size() - 4) ? baBox.mid(4 + qsizetype(uOffset)) : QByteArray();
        }
        iPos += qint64(uLength);
    }
    return QByteArray();
}

} // namespace

QString captureTimeName(const QString& strPath)
{
    static const bool s_blReady = [] {
        Exiv2::LogMsg::setHandler(logToDebug);
        // HEIF, AVIF and other ISO media files.
        Exiv2::enableBMFF(true);
        return true;
    }();
    Q_UNUSED(s_blReady)
    const QFileInfo info(strPath);
    if (!info.exists())
        return QString();
    const QString strName = info.fileName();
    try {
        Exiv2::ExifData exif;
        const QByteArray baJpegXl = jpegXlExif(strPath);
        if (!baJpegXl.isEmpty()) {
            Exiv2::ExifParser::decode(exif, reinterpret_cast<const Exiv2::byte*>(baJpegXl.constData()),
                                      uint32_t(baJpegXl.size()));
        } else {
            // The file system's own encoding of the path, so folders with any name work.
            Exiv2::Image::AutoPtr pImage = Exiv2::ImageFactory::open(QFile::encodeName(strPath).toStdString());
            if (!pImage.get())
                return strName;
            pImage->readMetadata();
            exif = pImage->exifData();
        }
        if (exif.empty())
            return strName;
        const auto it = exif.findKey(Exiv2::ExifKey("Exif.Photo.DateTimeOriginal"));
        if (it == exif.end())
            return strName;
        const QDateTime taken = parseExifTime(QString::fromStdString(it->value().toString()).trimmed());
        if (!taken.isValid())
            return strName;
        return QLatin1String("IMG_") + taken.toString(QStringLiteral("yyyyMMdd_hhmmss")) + QLatin1Char('.') +
               info.suffix();
    } catch (const Exiv2::AnyError& error) {
        qDebug("Caught Exiv2 exception '%s'", error.what());
        return strName;
    }
}
#pragma GCC diagnostic pop

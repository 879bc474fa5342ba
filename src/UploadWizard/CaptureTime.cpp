#include "CaptureTime.h"

#include <QDate>
#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QTime>

// The metadata library's 0.27 interface still hands out std::auto_ptr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

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

} // namespace

QString captureTimeName(const QString& strPath)
{
    static const bool s_blLogRouted = [] {
        Exiv2::LogMsg::setHandler(logToDebug);
        return true;
    }();
    Q_UNUSED(s_blLogRouted)
    const QFileInfo info(strPath);
    if (!info.exists())
        return QString();
    const QString strName = info.fileName();
    try {
        // The file system's own encoding of the path, so folders with any name work.
        Exiv2::Image::AutoPtr pImage = Exiv2::ImageFactory::open(QFile::encodeName(strPath).toStdString());
        if (!pImage.get())
            return strName;
        pImage->readMetadata();
        Exiv2::ExifData& exif = pImage->exifData();
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

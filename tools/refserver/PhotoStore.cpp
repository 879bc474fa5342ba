#include "PhotoStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QUrl>

#include <algorithm>
#include <cstdio>

namespace PhotoStore {

bool isValidName(const QString& strName)
{
    if (strName.isEmpty() || strName.startsWith(QLatin1Char('.')))
        return false;
    if (strName.contains(QLatin1Char('/')) || strName.contains(QLatin1Char('\\')) || strName.contains(QChar(0)))
        return false;
    return strName.toUtf8().size() <= 255;
}

bool normaliseAlbum(const QString& strRaw, QString& strAlbum)
{
    const QStringList lstParts = strRaw.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& strPart : lstParts) {
        if (!isValidName(strPart))
            return false;
    }
    strAlbum = lstParts.join(QLatin1Char('/'));
    return true;
}

QString decodeHeaderValue(const QByteArray& baValue)
{
    qsizetype iStart = 0;
    while (iStart < baValue.size() && (baValue.at(iStart) == ' ' || baValue.at(iStart) == '\t'))
        ++iStart;
    return QUrl::fromPercentEncoding(baValue.mid(iStart));
}

static QStringList sortedChildren(const QString& strDir)
{
    QStringList lstNames;
    const QFileInfoList lstEntries = QDir(strDir).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo& info : lstEntries) {
        if (!info.fileName().startsWith(QLatin1Char('.')))
            lstNames.append(info.fileName());
    }
    std::sort(lstNames.begin(), lstNames.end());
    return lstNames;
}

static void collectAlbums(const QString& strDir, const QString& strPrefix,
                          const std::function<bool(const QString&)>& isExcluded, QStringList& lstOut)
{
    for (const QString& strName : sortedChildren(strDir)) {
        const QString strAlbum = strPrefix.isEmpty() ? strName : strPrefix + QLatin1Char('/') + strName;
        if (isExcluded(strAlbum))
            continue;
        lstOut.append(strAlbum);
        collectAlbums(strDir + QLatin1Char('/') + strName, strAlbum, isExcluded, lstOut);
    }
}

QStringList albumTree(const QString& strDir, const std::function<bool(const QString&)>& isExcluded)
{
    QStringList lstAlbums;
    collectAlbums(strDir, QString(), isExcluded, lstAlbums);
    return lstAlbums;
}

QStringList childAlbums(const QString& strDir)
{
    return sortedChildren(strDir);
}

QString renditionExtension(const QString& strType)
{
    static const QStringList lstPhoto = {QStringLiteral("THUM_B"), QStringLiteral("THUM_L"), QStringLiteral("THUM_M"),
                                         QStringLiteral("THUM_S"), QStringLiteral("THUM_XL")};
    static const QStringList lstVideo = {QStringLiteral("MP4_HIGH"), QStringLiteral("MP4_MEDIUM"),
                                         QStringLiteral("MP4_LOW"), QStringLiteral("MP4_MOBILE")};
    if (lstPhoto.contains(strType))
        return QStringLiteral(".jpg");
    if (lstVideo.contains(strType))
        return QStringLiteral(".mp4");
    return QString();
}

bool exists(const QString& strPath)
{
    const QFileInfo info(strPath);
    return info.exists() || info.isSymLink();
}

QString freeName(const QString& strDir, const QString& strName)
{
    if (!exists(strDir + QLatin1Char('/') + strName))
        return strName;
    const qsizetype iDot = strName.lastIndexOf(QLatin1Char('.'));
    const QString strBase = iDot > 0 ? strName.left(iDot) : strName;
    const QString strExtension = iDot > 0 ? strName.mid(iDot) : QString();
    for (int i = 1;; ++i) {
        const QString strCandidate = strBase + QLatin1Char('_') + QString::number(i) + strExtension;
        if (!exists(strDir + QLatin1Char('/') + strCandidate))
            return strCandidate;
    }
}

bool moveReplacing(const QString& strFrom, const QString& strTo)
{
    if (std::rename(QFile::encodeName(strFrom).constData(), QFile::encodeName(strTo).constData()) == 0)
        return true;
    // Another file system: copy, then drop the source.
    QFile::remove(strTo);
    if (!QFile::copy(strFrom, strTo))
        return false;
    QFile::remove(strFrom);
    return true;
}

bool setModificationTime(const QString& strPath, qint64 iSecondsSinceEpoch)
{
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    return file.setFileTime(QDateTime::fromSecsSinceEpoch(iSecondsSinceEpoch, Qt::UTC),
                            QFileDevice::FileModificationTime);
}

bool isInside(const QString& strPath, const QString& strBase)
{
    const QString strCanonicalPath = QFileInfo(strPath).canonicalFilePath();
    const QString strCanonicalBase = QFileInfo(strBase).canonicalFilePath();
    if (strCanonicalPath.isEmpty() || strCanonicalBase.isEmpty())
        return false;
    return strCanonicalPath == strCanonicalBase || strCanonicalPath.startsWith(strCanonicalBase + QLatin1Char('/'));
}

QString randomHex(int iBytes)
{
    QByteArray baRandom;
    while (baRandom.size() < iBytes) {
        const quint32 iWord = QRandomGenerator::system()->generate();
        baRandom.append(reinterpret_cast<const char*>(&iWord), sizeof(iWord));
    }
    baRandom.truncate(iBytes);
    return QString::fromLatin1(baRandom.toHex());
}

} // namespace PhotoStore

#include "UploadHistory.h"

#include "VelmDatabase.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

namespace UploadHistory {

namespace {

// A missing text is stored as empty text, never as NULL, so that look-ups by text match it.
QString notNull(const QString& strValue)
{
    return strValue.isNull() ? QStringLiteral("") : strValue;
}

QByteArray untilZero(const QByteArray& baBytes)
{
    const qsizetype iZero = baBytes.indexOf('\0');
    return iZero < 0 ? baBytes : baBytes.left(iZero);
}

} // namespace

QString fingerprint(const QString& strPath)
{
    QByteArray baPartA;
    QByteArray baPartB;
    QFile file(strPath);
    if (file.open(QIODevice::ReadOnly)) {
        baPartA = untilZero(file.read(512));
        if (file.seek(file.size() / 2))
            baPartB = untilZero(file.read(512));
    }
    QCryptographicHash hash(QCryptographicHash::Md5);
    hash.addData(baPartA);
    hash.addData(baPartB);
    return QString::fromLatin1(hash.result().toHex());
}

QString modifiedText(const QString& strPath)
{
    return QString::number(QFileInfo(strPath).lastModified().toSecsSinceEpoch());
}

void recordUploadedFile(const QString& strPath, const QString& strFileName, const QString& strProfile)
{
    VelmDatabase::ensureTable(VelmDatabase::PhotoRecords);
    const QFileInfo info(strPath);
    if (info.isDir())
        return;
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("insert into PhotoRecords values(?, ?, ?, ?, ?)"));
    query.addBindValue(strFileName);
    query.addBindValue(strProfile);
    query.addBindValue(info.size());
    query.addBindValue(modifiedText(strPath));
    query.addBindValue(fingerprint(strPath));
    query.exec();
}

void recordCameraItem(const QString& strFileName, const QString& strProfile, const QString& strSize,
                      const QString& strModified, const QString& strDeviceId)
{
    VelmDatabase::ensureTable(VelmDatabase::PTPPhotoRecords);
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("insert into PTPPhotoRecords values(?, ?, ?, ?, ?)"));
    for (const QString& strValue : {strFileName, strProfile, strSize, strModified, strDeviceId})
        query.addBindValue(notNull(strValue));
    query.exec();
}

QStringList earlierFingerprints(const QString& strFileName, const QString& strProfile, qint64 llSize,
                                const QString& strModified)
{
    QStringList lstMd5;
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral(
        "SELECT md5 from PhotoRecords WHERE name=? and profname = ? and size=? and modified=?"));
    query.addBindValue(strFileName);
    query.addBindValue(strProfile);
    query.addBindValue(llSize);
    query.addBindValue(strModified);
    if (!query.exec())
        return lstMd5;
    while (query.next())
        lstMd5.append(query.value(0).toString());
    return lstMd5;
}

bool isUploaded(const QString& strPath, const QString& strProfile)
{
    const QFileInfo info(strPath);
    const QStringList lstMd5 = earlierFingerprints(info.fileName(), strProfile, info.size(), modifiedText(strPath));
    return !lstMd5.isEmpty() && lstMd5.contains(fingerprint(strPath));
}

bool isCameraItemUploaded(const QString& strFileName, const QString& strProfile, const QString& strSize,
                          const QString& strModified, const QString& strDeviceId)
{
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("SELECT count(*) FROM PTPPhotoRecords WHERE name = ? and profname = ? and size = ? "
                                 "and modified = ? and deviceid = ?"));
    for (const QString& strValue : {strFileName, strProfile, strSize, strModified, strDeviceId})
        query.addBindValue(notNull(strValue));
    return query.exec() && query.next() && query.value(0).toInt() > 0;
}

} // namespace UploadHistory

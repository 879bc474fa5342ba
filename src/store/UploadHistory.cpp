#include "UploadHistory.h"

#include "VelmDatabase.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace UploadHistory {

namespace {

// A missing text is stored as empty text, never as NULL, so that look-ups by text match it.
QString notNull(const QString& strValue)
{
    return strValue.isNull() ? QStringLiteral("") : strValue;
}

} // namespace

QString fingerprint(const QString& strPath)
{
    QByteArray baPartA;
    QByteArray baPartB;
    QFile file(strPath);
    if (file.open(QIODevice::ReadOnly)) {
        // Every byte counts: a JPEG has a zero byte at its fifth byte already.
        baPartA = file.read(512);
        if (file.seek(file.size() / 2))
            baPartB = file.read(512);
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

bool recordUploadedFile(const QString& strPath, const QString& strFileName, const QString& strProfile)
{
    const QFileInfo info(strPath);
    if (!VelmDatabase::ensureTable(VelmDatabase::PhotoRecords))
        return false;
    if (info.isDir())
        return true;
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("insert into PhotoRecords values(?, ?, ?, ?, ?)"));
    query.addBindValue(strFileName);
    query.addBindValue(strProfile);
    query.addBindValue(info.size());
    query.addBindValue(modifiedText(strPath));
    query.addBindValue(fingerprint(strPath));
    if (query.exec())
        return true;
    qDebug("UploadHistory: cannot record %s: %s", qPrintable(strFileName), qPrintable(query.lastError().text()));
    return false;
}

bool recordCameraItem(const QString& strFileName, const QString& strProfile, const QString& strSize,
                      const QString& strModified, const QString& strDeviceId)
{
    if (!VelmDatabase::ensureTable(VelmDatabase::PTPPhotoRecords))
        return false;
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("insert into PTPPhotoRecords values(?, ?, ?, ?, ?)"));
    for (const QString& strValue : {strFileName, strProfile, strSize, strModified, strDeviceId})
        query.addBindValue(notNull(strValue));
    if (query.exec())
        return true;
    qDebug("UploadHistory: cannot record %s: %s", qPrintable(strFileName), qPrintable(query.lastError().text()));
    return false;
}

bool isWritable(bool blCamera, QString* pstrError)
{
    QSqlDatabase db = VelmDatabase::database();
    const auto table = blCamera ? VelmDatabase::PTPPhotoRecords : VelmDatabase::PhotoRecords;
    QSqlQuery query(db);
    QString strCreateError;
    if (!VelmDatabase::ensureTable(table, &strCreateError)) {
        if (pstrError)
            *pstrError = strCreateError;
        return false;
    }
    // A row written inside a savepoint and taken back: the same write a run makes, minus its trace.
    bool blOk = query.exec(QStringLiteral("SAVEPOINT history_probe"));
    if (blOk) {
        blOk = query.exec(blCamera ? QStringLiteral("insert into PTPPhotoRecords values('', '', '', '', '')")
                                   : QStringLiteral("insert into PhotoRecords values('', '', 0, '', '')"));
        QSqlQuery undo(db);
        undo.exec(QStringLiteral("ROLLBACK TO history_probe"));
        undo.exec(QStringLiteral("RELEASE history_probe"));
    }
    if (!blOk && pstrError) {
        *pstrError = query.lastError().text().trimmed();
        if (pstrError->isEmpty())
            *pstrError = db.lastError().text().trimmed();
    }
    return blOk;
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

bool recordStoredName(const QString& strPath, const QString& strProfile, const QString& strAlbum,
                      const QString& strStoredName, bool blConfirmed)
{
    if (!VelmDatabase::ensureTable(VelmDatabase::StoredNameRecords))
        return false;
    forgetStoredName(strPath, strProfile, strAlbum);
    QSqlQuery query(VelmDatabase::database());
    const QFileInfo info(strPath);
    query.prepare(QStringLiteral("insert into StoredNameRecords values(?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QString& strValue : {strPath, strProfile, strAlbum, strStoredName})
        query.addBindValue(notNull(strValue));
    query.addBindValue(info.size());
    query.addBindValue(modifiedText(strPath));
    query.addBindValue(fingerprint(strPath));
    query.addBindValue(int(blConfirmed));
    return query.exec();
}

bool forgetStoredName(const QString& strPath, const QString& strProfile, const QString& strAlbum)
{
    if (!VelmDatabase::tableExists(VelmDatabase::StoredNameRecords))
        return true;
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("DELETE FROM StoredNameRecords WHERE path = ? and profname = ? and album = ?"));
    for (const QString& strValue : {strPath, strProfile, strAlbum})
        query.addBindValue(notNull(strValue));
    return query.exec();
}

QString storedName(const QString& strPath, const QString& strProfile, const QString& strAlbum, bool* pblConfirmed)
{
    if (!VelmDatabase::tableExists(VelmDatabase::StoredNameRecords))
        return QString();
    const QFileInfo info(strPath);
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("SELECT storedname, md5, confirmed FROM StoredNameRecords WHERE path = ? and "
                                 "profname = ? and album = ? and size = ? and modified = ?"));
    for (const QString& strValue : {strPath, strProfile, strAlbum})
        query.addBindValue(notNull(strValue));
    query.addBindValue(info.size());
    query.addBindValue(modifiedText(strPath));
    // The same bytes, not only the same size and time.
    if (!query.exec() || !query.next() || query.value(1).toString() != fingerprint(strPath))
        return QString();
    if (pblConfirmed)
        *pblConfirmed = query.value(2).toInt() != 0;
    return query.value(0).toString();
}

} // namespace UploadHistory

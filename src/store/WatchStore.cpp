#include "WatchStore.h"

#include "VelmDatabase.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

bool ready()
{
    return VelmDatabase::ensureTable(VelmDatabase::WatchFolders) && VelmDatabase::ensureTable(VelmDatabase::WatchStates);
}

bool run(QSqlQuery& query, const QVariantList& lstValues)
{
    for (const QVariant& value : lstValues)
        query.addBindValue(value);
    return query.exec();
}

// The profile's state row, made when missing.
bool ensureState(const QString& strProfile)
{
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("SELECT 1 FROM WatchStates WHERE profname = ?"));
    if (!run(query, {strProfile}))
        return false;
    if (query.next())
        return true;
    query.prepare(QStringLiteral("INSERT INTO WatchStates VALUES (?, 0, 0, '', 0, 0, 0, '')"));
    return run(query, {strProfile});
}

} // namespace

namespace WatchStore {

Settings settings(const QString& strProfile)
{
    Settings result;
    if (!ready())
        return result;
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("SELECT folder FROM WatchFolders WHERE profname = ? ORDER BY rowid"));
    if (run(query, {strProfile})) {
        while (query.next())
            result.folders.append(query.value(0).toString());
    }
    query.prepare(QStringLiteral("SELECT enabled, notifyall FROM WatchStates WHERE profname = ?"));
    if (run(query, {strProfile}) && query.next()) {
        result.enabled = query.value(0).toInt() != 0;
        result.notifyAlways = query.value(1).toInt() != 0;
    }
    return result;
}

bool saveSettings(const QString& strProfile, const Settings& settings)
{
    QSqlDatabase db = VelmDatabase::database();
    if (!ready() || !db.transaction())
        return false;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("DELETE FROM WatchFolders WHERE profname = ?"));
    bool blOk = run(query, {strProfile});
    for (const QString& strFolder : settings.folders) {
        query.prepare(QStringLiteral("INSERT INTO WatchFolders VALUES (?, ?)"));
        blOk = blOk && run(query, {strProfile, strFolder});
    }
    blOk = blOk && ensureState(strProfile);
    query.prepare(QStringLiteral("UPDATE WatchStates SET enabled = ?, notifyall = ? WHERE profname = ?"));
    blOk = blOk && run(query, {int(settings.enabled), int(settings.notifyAlways), strProfile});
    if (!blOk) {
        db.rollback();
        return false;
    }
    return db.commit();
}

bool recordBatch(const QString& strProfile, const Batch& batch)
{
    if (!ready() || !ensureState(strProfile))
        return false;
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral(
        "UPDATE WatchStates SET lastbatch = ?, sent = ?, skipped = ?, failed = ?, error = ? WHERE profname = ?"));
    return run(query, {batch.when.toUTC().toString(Qt::ISODateWithMs), batch.sent, batch.skipped, batch.failed,
                       batch.error, strProfile});
}

Batch lastBatch(const QString& strProfile)
{
    Batch batch;
    if (!ready())
        return batch;
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("SELECT lastbatch, sent, skipped, failed, error FROM WatchStates WHERE profname = ?"));
    if (run(query, {strProfile}) && query.next()) {
        batch.when = QDateTime::fromString(query.value(0).toString(), Qt::ISODateWithMs);
        batch.sent = query.value(1).toInt();
        batch.skipped = query.value(2).toInt();
        batch.failed = query.value(3).toInt();
        batch.error = query.value(4).toString();
    }
    return batch;
}

bool renameProfile(const QString& strOld, const QString& strNew)
{
    if (!ready())
        return false;
    QSqlQuery query(VelmDatabase::database());
    bool blOk = true;
    for (const char* pszTable : {"WatchFolders", "WatchStates"}) {
        if (strNew.isEmpty()) {
            query.prepare(QStringLiteral("DELETE FROM %1 WHERE profname = ?").arg(QLatin1String(pszTable)));
            blOk = run(query, {strOld}) && blOk;
        } else {
            query.prepare(QStringLiteral("UPDATE %1 SET profname = ? WHERE profname = ?").arg(QLatin1String(pszTable)));
            blOk = run(query, {strNew, strOld}) && blOk;
        }
    }
    return blOk;
}

} // namespace WatchStore

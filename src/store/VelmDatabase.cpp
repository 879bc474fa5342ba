#include "VelmDatabase.h"

#include "AppIdentity.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

namespace VelmDatabase {

namespace {

struct TableInfo
{
    const char* pszName;
    const char* pszCreate;
    const char* pszExists;
};

const TableInfo s_tables[] = {
    {"ServerProfiles",
     "create table ServerProfiles (profname varchar(100), hostaddr varchar(20), port int, https bool, personal bool, "
     "usrname varchar(100), account varchar(100), password varchar(100), savepass bool, highqual bool, medqual bool, "
     "lowqual bool, mobilequal bool, idxonly bool, incbackup bool, daterename bool,duphandler varchar(20), serverdst "
     "varchar(200), counter int)",
     "SELECT name FROM sqlite_master WHERE type='table'and name='ServerProfiles'"},
    {"PhotoRecords",
     "create table PhotoRecords (name varchar(80), profname varchar(100), size int, modified varchar(10), md5 "
     "varchar(32))",
     "SELECT name FROM sqlite_master WHERE type='table'and name='PhotoRecords'"},
    {"PTPPhotoRecords",
     "create table PTPPhotoRecords (name varchar(80), profname varchar(100), size varchar(100), modified varchar(10), "
     "deviceid varchar(100))",
     "SELECT name FROM sqlite_master WHERE type='table'and name='PTPPhotoRecords'"},
    {"ServerCertificates",
     "create table ServerCertificates (hostaddr varchar(255), port int, keysha256 varchar(64), pinned varchar(20))",
     "SELECT name FROM sqlite_master WHERE type='table'and name='ServerCertificates'"},
    // The name each file was sent under, and whether the server confirmed it (0: the body went
    // out but no answer came, so the server may hold it).
    {"StoredNameRecords",
     "create table StoredNameRecords (path text, profname varchar(100), album text, storedname text, size int, "
     "modified varchar(10), md5 varchar(32), confirmed int)",
     "SELECT name FROM sqlite_master WHERE type='table'and name='StoredNameRecords'"},
    {"WatchFolders", "create table WatchFolders (profname varchar(100), folder text)",
     "SELECT name FROM sqlite_master WHERE type='table'and name='WatchFolders'"},
    {"WatchStates",
     "create table WatchStates (profname varchar(100), enabled int, notifyall int, lastbatch varchar(30), sent int, "
     "skipped int, failed int, error text)",
     "SELECT name FROM sqlite_master WHERE type='table'and name='WatchStates'"},
};

QString s_strOpenError; // why the last open failed after the file was opened

} // namespace

const char* tableName(Table table)
{
    return s_tables[table].pszName;
}

const char* creationStatement(Table table)
{
    return s_tables[table].pszCreate;
}

QSqlDatabase database()
{
    if (!QSqlDatabase::contains(QLatin1String(QSqlDatabase::defaultConnection)))
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    return QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
}

bool open()
{
    QSqlDatabase db = database();
    if (db.isOpen())
        return true;
    const QString strPath = AppIdentity::dataFilePath(QStringLiteral("VOZDatabase"));
    db.setDatabaseName(strPath);
    // Another process writing the database is waited for a moment before anything fails.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
    if (!db.open())
        return false;
    // SQLite opens lazily: a file that is not a database, or stays locked, shows on the first read.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        s_strOpenError = probe.lastError().text();
        db.close();
        return false;
    }
    s_strOpenError.clear();
    // It holds remembered passwords: for this user only.
    QFile::setPermissions(strPath, QFile::ReadOwner | QFile::WriteOwner);
    return true;
}

void close()
{
    QSqlDatabase db = database();
    db.close();
}

QString lastErrorText()
{
    return s_strOpenError.isEmpty() ? database().lastError().text() : s_strOpenError;
}

bool tableExists(Table table)
{
    QSqlQuery query(database());
    if (!query.exec(QLatin1String(s_tables[table].pszExists)))
        return false;
    return query.next();
}

void createTable(Table table, QString* pstrError)
{
    QSqlQuery query(database());
    if (!query.exec(QLatin1String(s_tables[table].pszCreate)) && pstrError)
        *pstrError = query.lastError().text().trimmed();
}

bool ensureTable(Table table, QString* pstrError)
{
    if (tableExists(table))
        return true;
    createTable(table, pstrError);
    return tableExists(table);
}

} // namespace VelmDatabase

#pragma once

#include <QSqlDatabase>
#include <QString>

// The one SQLite database of the program ("VOZDatabase" in the data folder), registered as
// the default connection.
namespace VelmDatabase {

// ServerCertificates holds the certificate keys trusted per server (host and port).
// WatchFolders and WatchStates hold, per profile, the folders uploaded automatically and how
// the last automatic batch went.
enum Table {
    ServerProfiles,
    PhotoRecords,
    PTPPhotoRecords,
    ServerCertificates,
    StoredNameRecords,
    WatchFolders,
    WatchStates
};

const char* tableName(Table table);
const char* creationStatement(Table table);

// The connection object, created on first use.
QSqlDatabase database();
// A database another process is writing is waited for this long.
inline constexpr int BusyTimeoutMs = 5000;

// Opens the database file in the current data folder (made private to the user) and reads it
// once: false, with lastErrorText(), when it cannot be opened, is not a database or stays locked.
bool open();
void close();
QString lastErrorText();

bool tableExists(Table table);
// Runs the creation statement; pstrError gets the database's reason when it fails.
void createTable(Table table, QString* pstrError = nullptr);
// Creates the table when missing; true when it exists afterwards.
bool ensureTable(Table table, QString* pstrError = nullptr);

} // namespace VelmDatabase

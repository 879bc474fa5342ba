#pragma once

#include <QSqlDatabase>
#include <QString>

// The one SQLite database of the program ("VOZDatabase" in the data folder), registered as
// the default connection.
namespace VelmDatabase {

enum Table { ServerProfiles, PhotoRecords, PTPPhotoRecords };

const char* tableName(Table table);
const char* creationStatement(Table table);

// The connection object, created on first use.
QSqlDatabase database();
// Opens the database file in the current data folder.
bool open();
void close();
QString lastErrorText();

bool tableExists(Table table);
// Runs the creation statement; its outcome is ignored.
void createTable(Table table);
// Creates the table when missing; true when it exists afterwards.
bool ensureTable(Table table);

} // namespace VelmDatabase

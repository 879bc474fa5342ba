#pragma once

#include <QString>

// Identity of the program and its per-user data folder.
namespace AppIdentity {

inline constexpr const char* VendorName = "Velmora";
inline constexpr const char* ProductName = "Pictarium Uploader";

QString applicationTitle();

// The per-user local application-data location + "//Velmora//Pictarium Uploader".
QString dataFolder();

// A file in the data folder, joined with the same "//" separator.
QString dataFilePath(const QString& strFileName);

bool ensureDataFolder();

} // namespace AppIdentity

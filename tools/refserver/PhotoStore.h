#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// File-system rules of the photo folders: names, album paths, listings, stored names.
namespace PhotoStore {

// Not empty, not "." or "..", no leading ".", no "/", "\" or NUL, at most 255 UTF-8 bytes.
bool isValidName(const QString& strName);

// "a//b/" becomes "a/b"; false when a component is not a valid name (so no "..", no hidden part).
bool normaliseAlbum(const QString& strRaw, QString& strAlbum);

// Header value of X-PATH / X-ORIG-FNAME: leading blanks dropped, then percent-decoded as UTF-8.
QString decodeHeaderValue(const QByteArray& baValue);

// Every album below strDir, depth first, names sorted, "/"-separated; hidden folders and
// symbolic links are left out, and so is every album for which isExcluded() holds, with its subtree.
QStringList albumTree(const QString& strDir, const std::function<bool(const QString&)>& isExcluded);

// Names of the albums directly inside strDir, sorted.
QStringList childAlbums(const QString& strDir);

// ".jpg" or ".mp4" for a rendition type, empty for anything else.
QString renditionExtension(const QString& strType);

// strName, or base_1.ext, base_2.ext, ... whichever is free first in strDir.
QString freeName(const QString& strDir, const QString& strName);

bool exists(const QString& strPath); // also a dangling symbolic link

// Renames strFrom to strTo, replacing a file at strTo.
bool moveReplacing(const QString& strFrom, const QString& strTo);

bool setModificationTime(const QString& strPath, qint64 iSecondsSinceEpoch);

// strPath is strBase or lies below it once symbolic links are resolved; both must exist.
bool isInside(const QString& strPath, const QString& strBase);

QString randomHex(int iBytes);

} // namespace PhotoStore

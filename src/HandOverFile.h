#pragma once

#include <QString>
#include <QStringList>

// Hand-over files in the data folder: UTF-16 text, one entry per line, a count line first.
namespace HandOverFile {

// C atoi rules: leading white space and a sign allowed, digits up to the first non-digit,
// no digits gives 0. Values beyond the int range are clamped.
int atoiText(const QString& strText);

// Lines of a UTF-16 text file (little-endian unless a byte-order mark says otherwise).
// Tolerates an odd byte count, CR LF line ends and a missing last line feed.
// False when the file cannot be opened.
bool readLines(const QString& strPath, QStringList& lstLines);
// The lines of a text: line feed ends a line, a CR before it is dropped, and a last empty
// piece after the final line feed is no line.
QStringList splitLines(const QString& strText);

// The entries of a counted list: at most N (the first line, read with atoiText) of the
// lines that follow, fewer when the file ends first. Empty entries are dropped.
bool readCountedList(const QString& strPath, QStringList& lstEntries);

// Replaces the file atomically with the count line and the entries, UTF-16 LE without a
// byte-order mark, in the platform's line convention.
bool writeCountedList(const QString& strPath, const QStringList& lstEntries);

// Replaces the file atomically with the bytes.
bool writeBytes(const QString& strPath, const QByteArray& baData);

} // namespace HandOverFile

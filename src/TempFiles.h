#pragma once

#include <QString>

// The temporary folder in which renditions are made, and the names inside it.
namespace TempFiles {

// The system temporary location: QDir::tempPath(), or /tmp when that is not a folder.
QString systemTempPath();
// systemTempPath() + "/VOZ_PHOTO_TEMP-<uid>" (on Windows "/VOZ_PHOTO_TEMP").
QString folderPath();
// Creates the folder (mode 0700) when missing. False, with a log line, when it cannot be
// made or is not a plain folder owned by this user: nothing may be converted into it then.
bool ensureFolder();
// Removes the files of this process and of processes that no longer run; the files of other
// running processes stay.
void emptyFolder();

// Process-wide conversion id: 1, 2, 3, ...; all bits set wraps to 0.
quint32 nextConversionId();
// The id nextConversionId() returned last (0 before the first call).
quint32 lastConversionId();

// Folder + "/" + process id + "_" + id; rendition names are appended directly.
QString tempFilePrefix(quint32 uId);

} // namespace TempFiles

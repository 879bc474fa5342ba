#pragma once

#include <QString>

// The name a photo is stored under when files are renamed by the time they were taken:
// "IMG_" + date and time + the file's own suffix; the file name when the time is unknown.
QString captureTimeName(const QString& strPath);

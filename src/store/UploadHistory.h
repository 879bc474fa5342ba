#pragma once

#include <QString>
#include <QStringList>

// Files already sent with a profile (PhotoRecords) and camera items (PTPPhotoRecords).
namespace UploadHistory {

// MD5 over the bytes before the first zero byte of the first 512 bytes and of the 512 bytes
// at floor(size / 2); lower-case hex. An unreadable file gives the MD5 of nothing.
QString fingerprint(const QString& strPath);

// Seconds since 1970 UTC of the file's last modification, in decimal.
QString modifiedText(const QString& strPath);

void recordUploadedFile(const QString& strPath, const QString& strFileName, const QString& strProfile);
void recordCameraItem(const QString& strFileName, const QString& strProfile, const QString& strSize,
                      const QString& strModified, const QString& strDeviceId);

// md5 values of rows matching name, profile, size and time; empty when the table is missing.
QStringList earlierFingerprints(const QString& strFileName, const QString& strProfile, qint64 llSize,
                                const QString& strModified);
// True when the file was sent with the profile before; reads the file only when a row matches.
bool isUploaded(const QString& strPath, const QString& strProfile);
bool isCameraItemUploaded(const QString& strFileName, const QString& strProfile, const QString& strSize,
                          const QString& strModified, const QString& strDeviceId);

} // namespace UploadHistory

#pragma once

#include <QString>
#include <QStringList>

// Files already sent with a profile (PhotoRecords), camera items (PTPPhotoRecords) and the
// names files were sent under (StoredNameRecords).
namespace UploadHistory {

// MD5 over the first 512 bytes and the 512 bytes at floor(size / 2), every byte read;
// lower-case hex. An unreadable file gives the MD5 of nothing.
QString fingerprint(const QString& strPath);

// Seconds since 1970 UTC of the file's last modification, in decimal.
QString modifiedText(const QString& strPath);

// False when the row could not be written (the file would be sent again by a later run).
bool recordUploadedFile(const QString& strPath, const QString& strFileName, const QString& strProfile);
bool recordCameraItem(const QString& strFileName, const QString& strProfile, const QString& strSize,
                      const QString& strModified, const QString& strDeviceId);

// Whether rows can be written to the upload history (blCamera: the camera-item history), tried
// with a row that is taken back at once. pstrError gets the database's reason when not.
bool isWritable(bool blCamera, QString* pstrError = nullptr);

// md5 values of rows matching name, profile, size and time; empty when the table is missing.
QStringList earlierFingerprints(const QString& strFileName, const QString& strProfile, qint64 llSize,
                                const QString& strModified);
// True when the file was sent with the profile before; reads the file only when a row matches.
bool isUploaded(const QString& strPath, const QString& strProfile);
bool isCameraItemUploaded(const QString& strFileName, const QString& strProfile, const QString& strSize,
                          const QString& strModified, const QString& strDeviceId);

// The name a file was sent under to an album: confirmed by the server, or sent whole without
// an answer (it may be stored). Replaces an earlier row of the path, profile and album.
bool recordStoredName(const QString& strPath, const QString& strProfile, const QString& strAlbum,
                      const QString& strStoredName, bool blConfirmed);
bool forgetStoredName(const QString& strPath, const QString& strProfile, const QString& strAlbum);
// The name this very file (same size, time and fingerprint) was last sent under to the album;
// empty when none. *pblConfirmed: whether the server confirmed it.
QString storedName(const QString& strPath, const QString& strProfile, const QString& strAlbum,
                   bool* pblConfirmed = nullptr);

} // namespace UploadHistory

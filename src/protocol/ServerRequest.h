#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QString>

class QIODevice;
class QNetworkAccessManager;
class QNetworkReply;

// Every request to the server is built and sent here: URL from the base URL, content types,
// redirect policy; every reply's certificate is judged by CertificateTrust, except the plain HTTP
// reachability check of a found server.
namespace ServerRequest {

inline constexpr const char* LoginPath = "/blog/login.php";
inline constexpr const char* AlbumListPath = "/photo/include/rada_get_uploadable_album.php";
inline constexpr const char* UploadInitPath = "/photo/include/rada_upload_init.php";
inline constexpr const char* FileUploadPath = "/photo/include/rada_file_upload.php";

// Milliseconds without a byte moving after which a request is given up (it then fails as a
// time-out): PICTARIUM_NETWORK_TIMEOUT seconds when set, otherwise 60 s.
int noTransferTimeoutMs();

// Base URL + endpoint path, with the no-transfer time-out; redirects are handed back to the
// caller, not followed.
QNetworkRequest build(const QString& strBaseUrl, const char* pszPath);
// The same, with the form content type.
QNetworkRequest buildForm(const QString& strBaseUrl, const char* pszPath);
// Gives a request the form content type.
void setFormContentType(QNetworkRequest& request);

// The most a reply may bring: a larger one is aborted, and classified as too large.
inline constexpr qint64 MaxReplyBytes = 16 * 1024 * 1024;
// Set on a reply aborted for its size.
inline constexpr const char* TooLargeProperty = "pictariumReplyTooLarge";

// A form value: UTF-8, every byte but A-Z a-z 0-9 - . _ ~ as %XX.
QByteArray formValue(const QString& strValue);

// The reachability check of a server found on the network: http://strHost:iPort with the access
// manager's defaults (no time-out of its own, redirects as the manager follows them).
QNetworkRequest buildReachability(const QString& strHost, int iPort);

QNetworkReply* post(QNetworkAccessManager* pNam, const QNetworkRequest& request, const QByteArray& baBody);
// PUT streaming from pBody (nullptr: empty body).
QNetworkReply* put(QNetworkAccessManager* pNam, const QNetworkRequest& request, QIODevice* pBody);
// GET without the certificate rule: only the reachability check uses it, and a server merely
// found must not get its key remembered. A certificate the system does not verify fails the reply.
QNetworkReply* get(QNetworkAccessManager* pNam, const QNetworkRequest& request);

} // namespace ServerRequest

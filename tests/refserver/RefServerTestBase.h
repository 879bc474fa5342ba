#pragma once

#include "RefServerProcess.h"
#include "TestEnvironment.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPair>
#include <QSslCertificate>
#include <QString>
#include <QStringList>
#include <QTcpSocket>

#include <memory>

// What the reference server tests share: request helpers, a client, a raw connection and the server's start.

using Tree = QMap<QString, QByteArray>;
using Header = QPair<QByteArray, QByteArray>;

const QString kLogin = QStringLiteral("/blog/login.php");
const QString kAlbums = QStringLiteral("/photo/include/rada_get_uploadable_album.php");
const QString kInit = QStringLiteral("/photo/include/rada_upload_init.php");
const QString kUpload = QStringLiteral("/photo/include/rada_file_upload.php");
const QByteArray kBoundary = "updbdry--2024-05-01T09:30:00------------------";

QByteArray pct(const QString& strText);
// admin (admin/pw), ann (2013/secret forbidden, personal Pictarium on), cat (root forbidden),
// and one account for each refusal.
QJsonObject standardAccounts(const QJsonObject& top = {});
// The multipart file list as the uploader sends it: comma before the boundary, no closing "--".
QByteArray initBody(const QByteArray& baList, const QByteArray& baBoundary = kBoundary, bool blClosing = false);
// Every file below strDir, hidden ones included, with its contents.
Tree treeOf(const QString& strDir);

struct Reply
{
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    int iStatus = 0;
    QByteArray baBody;
    QByteArray baContentType;
    QByteArray baLocation;
    QByteArray baSetCookie;
    QSslCertificate peerCertificate;
    QJsonObject json() const;
};

// A client with its own cookie jar, talking through Qt's access manager like the uploader does.
class Client
{
public:
    explicit Client(const QString& strBase);

    Reply send(const QByteArray& baVerb, const QString& strPath, const QList<Header>& lstHeaders,
               const QByteArray& baBody, QIODevice* pDevice = nullptr);
    Reply postForm(const QString& strPath, const QByteArray& baForm);
    Reply login(const QString& strUser, const QString& strPassword, const QString& strPrefix = QString());
    Reply albumList(const QString& strPrefix = QString());
    Reply init(const QByteArray& baBody,
               const QByteArray& baContentType = "multipart/form-data, boundary=" + kBoundary);
    // A file-upload request with the headers in the uploader's order.
    Reply upload(const QString& strAlbum, const QString& strName, const QByteArray& baType, const QByteArray& baBody,
                 const QByteArray& baDuplicate = "OVERWRITE", const QString& strPrefix = QString(),
                 const QList<Header>& lstExtra = {}, QIODevice* pDevice = nullptr);

private:
    QString m_strBase;
    QNetworkAccessManager m_manager;
};

// A plain socket for bytes the access manager would never send.
class RawConnection
{
public:
    bool open(int iPort);
    // Writes the bytes and reads one response; empty when the server closed without one.
    QByteArray exchange(const QByteArray& baRequest);
    QByteArray readResponse();

    QTcpSocket& socket() { return m_socket; }

private:
    QTcpSocket m_socket;
};

int statusOf(const QByteArray& baResponse);
QByteArray bodyOf(const QByteArray& baResponse);
// Logs in over a raw connection and returns the "PICSESSID=..." pair.
QByteArray rawLogin(RawConnection& connection, const QByteArray& baUser = "admin");
QByteArray rawUploadHead(const QByteArray& baCookie, const QByteArray& baName, qint64 iLength);
// A "kB" line of /proc/<pid>/status, such as VmRSS or VmHWM; -1 when it cannot be read.
qint64 procStatusKiB(qint64 iPid, const char* pszField);

// The base of the test classes, one per area of the server.
class RefServerTestBase : public QObject
{
    Q_OBJECT

protected:
    // A started server with the standard accounts and the album 2013/trip (when it made the photo folder),
    // or null.
    static std::unique_ptr<RefServerProcess> startServer(const TestEnvironment& env, const QStringList& lstArgs = {},
                                                         const QJsonObject& accounts = standardAccounts(),
                                                         bool blHttps = false);
};

#pragma once

#include "HttpConnection.h"
#include "Journal.h"
#include "ServerOptions.h"

#include <QHash>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QSslConfiguration>
#include <QString>

class QTcpServer;

// The Pictarium web application as the uploader sees it: login, album lists, upload
// initialisation and file upload, with sessions by cookie and the fault options.
class RefServer : public QObject, public RequestHandler
{
    Q_OBJECT

public:
    RefServer(const ServerOptions& options, const ServerState& state, QObject* pParent = nullptr);
    ~RefServer() override;

    // HTTPS when sslConfiguration is not null.
    bool start(const QSslConfiguration& sslConfiguration, QString& strError);
    // Drops unfinished uploads, closes the journal and empties the staging folder.
    void stop();
    QString baseUrl() const;
    quint16 httpPort() const;
    Journal& journal() { return m_journal; }

    BodyPlan planBody(HttpRequest& request) override;
    HttpReply finish(HttpRequest& request) override;
    void record(const HttpRequest& request, const HttpReply* pReply, bool blDropped) override;
    int replyDelayMs() const override { return m_options.iDelayMs; }

private:
    enum class Endpoint
    {
        Unknown,
        Login,
        Albums,
        UploadInit,
        FileUpload
    };
    enum class UploadKind
    {
        Early,
        Folder,
        Rendition,
        Original
    };

    struct Route
    {
        bool blPersonal = false;
        QString strOwner;  // percent-decoded name after "/~"
        QByteArray baPath; // path without the personal prefix and the query
        Endpoint endpoint = Endpoint::Unknown;
    };

    struct Session
    {
        int iAccount = -1;
        QString strArea; // folded owner name of a personal Pictarium; empty for the shared one
    };

    struct Upload
    {
        UploadKind kind = UploadKind::Early;
        QByteArray baEarlyReply; // kind Early: the answer, decided from the headers
        QString strSessionId;
        QString strAlbumDir; // absolute folder of the album
        QString strAlbum;
        QString strName;
        QString strType;
        QString strDuplicate;
        qint64 iModifiedTime = -1;
        bool blPost = false;
    };

    struct Context
    {
        Route route;
        int iStatusOverride = 0;
        bool blHtmlOverride = false;
        bool blHang = false;
        HttpReply::Stream stream = HttpReply::Stream::None; // replaces the answer
        Upload upload;
    };

    void acceptConnections();
    Route routeOf(const QByteArray& baTarget) const;
    bool matchesPathList(const Route& route, const QByteArray& baTarget, const QString& strListed) const;
    bool matchesAnyPath(const Route& route, const QByteArray& baTarget, const QStringList& lstListed) const;
    // Area key of a route, and whether its owner is usable at all.
    static QString areaOf(const Route& route);
    QString photoDir(const Route& route) const;
    // Session id of the request's cookie when it is valid for the route; empty otherwise.
    QString sessionFor(const HttpRequest& request, const Route& route) const;
    bool isForbidden(const Route& route, int iAccount, const QString& strAlbum) const;
    void invalidateSessions();
    void dropPending(const QString& strKeyPrefix);

    void planUpload(HttpRequest& request, Context& context, BodyPlan& plan);
    int pauseMsFor(const HttpRequest& request) const;
    HttpReply answer(HttpRequest& request, const Context& context);
    HttpReply handleLogin(const HttpRequest& request, const Route& route);
    HttpReply handleAlbums(const HttpRequest& request, const Route& route);
    HttpReply handleUploadInit(const HttpRequest& request, const Route& route);
    HttpReply finishUpload(HttpRequest& request, const Upload& upload);
    HttpReply storeOriginal(HttpRequest& request, const Upload& upload);

    ServerOptions m_options;
    ServerState m_state;
    QString m_strRoot;
    QString m_strStagingDir;
    QTcpServer* m_pServer = nullptr;
    bool m_blHttps = false;
    Journal m_journal;
    QSet<HttpConnection*> m_setConnections;
    QHash<QString, Session> m_hashSessions;
    // Renditions waiting for their source file: session/album/name key -> type -> staged file.
    QHash<QString, QMap<QString, QString>> m_hashPending;
    int m_iStoredOriginals = 0;
    bool m_blSessionsLost = false;
};

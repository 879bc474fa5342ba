#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

#include <any>
#include <memory>

class QTcpSocket;

struct HttpRequest
{
    QByteArray baMethod;
    QByteArray baTarget;
    QByteArray baVersion;
    // Name as sent; value as it followed the colon, less one separating blank.
    QList<QPair<QByteArray, QByteArray>> lstHeaders;
    qint64 iContentLength = 0;
    bool blKeepAlive = true;

    qint64 iBodySize = 0;    // body bytes received
    QByteArray baBodySha256; // hex digest of those bytes, once the body ended
    bool blBodyKept = false; // the whole body is in baBody
    QByteArray baBody;
    QString strBodyFile;       // where the body was streamed to, if anywhere
    bool blSinkFailed = false; // that file could not be written

    std::any context; // the request handler's own notes, from planBody() to finish()

    // First header of that name (any case); a null array when absent.
    QByteArray header(const char* pszName) const;
};

struct HttpReply
{
    // A body of "x" written for as long as the client reads, in place of baBody.
    enum class Stream
    {
        None,
        Chunked,  // chunked transfer coding, never a last chunk
        Oversized // Content-Length: 2147483648
    };

    int iStatus = 200;
    QByteArray baContentType;
    QByteArray baBody;
    QList<QPair<QByteArray, QByteArray>> lstHeaders;
    bool blNoReply = false; // hold the connection open and never answer
    Stream stream = Stream::None;

    static HttpReply json(const QByteArray& baJson);
    static HttpReply html(int iStatus, const QByteArray& baHtml);
    static HttpReply errorPage(int iStatus);
    static HttpReply streamed(Stream stream);

    QByteArray serialise(bool blKeepAlive) const;
};

// What to do with a request body, decided once the header block is read.
struct BodyPlan
{
    enum Action
    {
        Accept,
        CloseNow,
        RejectNow
    };
    Action action = Accept;
    HttpReply reply;        // RejectNow: sent at once, then the connection closes
    bool blKeep = false;    // keep the body in memory
    QString strFile;        // stream the body into this new file
    qint64 iDropAfter = -1; // abort the connection after this many body bytes
    int iPauseMs = 0;       // stop reading this long once the first body bytes are in
};

class RequestHandler
{
public:
    virtual ~RequestHandler() = default;
    virtual BodyPlan planBody(HttpRequest& request) = 0;
    // The whole body arrived (its file is closed). A body file left in place is removed afterwards.
    virtual HttpReply finish(HttpRequest& request) = 0;
    // Every request ends here once: with its reply, or without one (pReply null).
    virtual void record(const HttpRequest& request, const HttpReply* pReply, bool blDropped) = 0;
    virtual int replyDelayMs() const = 0;
};

// HTTP/1.1 on one socket: header block up to 64 KiB, Content-Length bodies streamed in chunks,
// keep-alive, one request at a time. A streamed reply ends the connection's requests.
class HttpConnection : public QObject
{
    Q_OBJECT

public:
    HttpConnection(QTcpSocket* pSocket, RequestHandler* pHandler, QObject* pParent = nullptr);
    ~HttpConnection() override;

    // Server stop: an unfinished body is recorded as dropped and the socket aborted.
    void shutdown();

Q_SIGNALS:
    void closed(HttpConnection* pConnection);

private:
    enum class State
    {
        Head,
        Body,
        Replying,
        Holding,
        Streaming,
        Draining,
        Closed
    };
    // After a reply: keep the connection, close it, or first read away what the client still sends.
    enum class After
    {
        KeepOpen,
        Close,
        DrainAndClose
    };

    void process();
    bool readHead();
    bool readBody();
    // Starts the pause of BodyPlan::iPauseMs once body bytes are in; true while it lasts.
    bool pausing();
    bool parseHead(const QByteArray& baHead);
    void startBody();
    void consume(const char* pData, qint64 iSize);
    void completeBody();
    void dropBody(bool blAbort);
    void sendReply(const HttpReply& reply, After after);
    void writeReply(const HttpReply& reply, After after);
    void startStream(const HttpReply& reply);
    void feedStream();
    qint64 unsentBytes() const;
    void failRequest(int iStatus);
    void drain();
    void onDisconnected();
    void finishBodyHash();
    void closeConnection(bool blAbort);

    QTcpSocket* m_pSocket;
    RequestHandler* m_pHandler;
    State m_state = State::Head;
    QByteArray m_baInput; // read but not yet parsed: header bytes, or the start of a body
    QByteArray m_baChunk;
    HttpRequest m_request;
    BodyPlan m_plan;
    std::unique_ptr<QFile> m_pFile;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    qint64 m_iBodyRemaining = 0;
    bool m_blPaused = false;
    QByteArray m_baStreamPiece; // what a streamed reply writes again and again
    qint64 m_iStreamLeft = -1;  // body bytes still to stream; -1: no end
    bool m_blClosedSignalled = false;
};

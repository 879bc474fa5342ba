#include "HttpConnection.h"

#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

#include <cctype>
#include <cstring>
#include <utility>

namespace {

constexpr qsizetype kMaxHeadBytes = 64 * 1024;
constexpr qint64 kChunkBytes = 256 * 1024;
constexpr qint64 kSocketBufferBytes = 512 * 1024;
constexpr int kDrainMs = 1000;
constexpr qint64 kStreamPieceBytes = 64 * 1024;
constexpr qint64 kStreamLowWater = 16 * 1024; // the next piece goes out below this many unsent bytes
constexpr qint64 kOversizedLength = Q_INT64_C(2147483648);

const char* reasonPhrase(int iStatus)
{
    switch (iStatus) {
    case 100:
        return "Continue";
    case 200:
        return "OK";
    case 201:
        return "Created";
    case 204:
        return "No Content";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 411:
        return "Length Required";
    case 413:
        return "Payload Too Large";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    case 502:
        return "Bad Gateway";
    case 503:
        return "Service Unavailable";
    case 504:
        return "Gateway Timeout";
    default:
        return "Status";
    }
}

bool isTokenChar(char ch)
{
    if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9'))
        return true;
    return ch != 0 && std::strchr("!#$%&'*+-.^_`|~", ch) != nullptr;
}

bool isToken(const QByteArray& baText)
{
    if (baText.isEmpty())
        return false;
    for (const char ch : baText) {
        if (!isTokenChar(ch))
            return false;
    }
    return true;
}

// Offset and length of the blank line that ends the header block; -1 when not there yet.
qsizetype findHeadEnd(const QByteArray& baInput, qsizetype& iSeparator)
{
    const qsizetype iCrLf = baInput.indexOf("\r\n\r\n");
    const qsizetype iLf = baInput.indexOf("\n\n");
    if (iCrLf >= 0 && (iLf < 0 || iCrLf <= iLf)) {
        iSeparator = 4;
        return iCrLf;
    }
    iSeparator = 2;
    return iLf;
}

bool hasToken(const QByteArray& baList, const char* pszToken)
{
    for (const QByteArray& baPart : baList.split(',')) {
        if (baPart.trimmed().compare(pszToken, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

QByteArray HttpRequest::header(const char* pszName) const
{
    for (const auto& header : lstHeaders) {
        if (header.first.compare(pszName, Qt::CaseInsensitive) == 0)
            return header.second.isNull() ? QByteArray("") : header.second;
    }
    return QByteArray();
}

HttpReply HttpReply::json(const QByteArray& baJson)
{
    HttpReply reply;
    reply.baContentType = "application/json";
    reply.baBody = baJson;
    return reply;
}

HttpReply HttpReply::html(int iStatus, const QByteArray& baHtml)
{
    HttpReply reply;
    reply.iStatus = iStatus;
    reply.baContentType = "text/html; charset=UTF-8";
    reply.baBody = baHtml;
    return reply;
}

HttpReply HttpReply::errorPage(int iStatus)
{
    const QByteArray baTitle = QByteArray::number(iStatus) + ' ' + reasonPhrase(iStatus);
    return html(iStatus,
                "<html><head><title>" + baTitle + "</title></head><body><h1>" + baTitle + "</h1></body></html>\n");
}

HttpReply HttpReply::streamed(Stream stream)
{
    HttpReply reply;
    reply.baContentType = "application/octet-stream";
    reply.stream = stream;
    return reply;
}

QByteArray HttpReply::serialise(bool blKeepAlive) const
{
    QByteArray baOut = "HTTP/1.1 " + QByteArray::number(iStatus) + ' ' + reasonPhrase(iStatus) + "\r\n";
    baOut += "Server: pictarium-refserver\r\n";
    if (!baContentType.isEmpty())
        baOut += "Content-Type: " + baContentType + "\r\n";
    if (stream == Stream::Chunked)
        baOut += "Transfer-Encoding: chunked\r\n";
    else
        baOut += "Content-Length: " +
                 QByteArray::number(stream == Stream::Oversized ? kOversizedLength : qint64(baBody.size())) + "\r\n";
    for (const auto& header : lstHeaders)
        baOut += header.first + ": " + header.second + "\r\n";
    baOut += blKeepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    baOut += "\r\n";
    baOut += baBody;
    return baOut;
}

HttpConnection::HttpConnection(QTcpSocket* pSocket, RequestHandler* pHandler, QObject* pParent)
    : QObject(pParent), m_pSocket(pSocket), m_pHandler(pHandler)
{
    m_pSocket->setParent(this);
    m_pSocket->setReadBufferSize(kSocketBufferBytes);
    m_baChunk.resize(kChunkBytes);
    connect(m_pSocket, &QIODevice::readyRead, this, [this] {
        if (m_state == State::Draining || m_state == State::Holding || m_state == State::Streaming)
            drain();
        else
            process();
    });
    connect(m_pSocket, &QAbstractSocket::disconnected, this, &HttpConnection::onDisconnected);
    // Bytes may have arrived before the signals were connected.
    QMetaObject::invokeMethod(this, &HttpConnection::process, Qt::QueuedConnection);
}

HttpConnection::~HttpConnection()
{
    if (m_pFile) {
        m_pFile->close();
        QFile::remove(m_request.strBodyFile);
    }
}

void HttpConnection::shutdown()
{
    if (m_state == State::Body)
        dropBody(true);
    closeConnection(true);
}

void HttpConnection::process()
{
    while (m_state == State::Head || m_state == State::Body) {
        const bool blProgress = m_state == State::Head ? readHead() : readBody();
        if (!blProgress)
            return;
    }
}

bool HttpConnection::readHead()
{
    qsizetype iSeparator = 0;
    qsizetype iEnd = -1;
    for (;;) {
        // Blank lines between requests are allowed.
        qsizetype iSkip = 0;
        while (iSkip < m_baInput.size() && (m_baInput.at(iSkip) == '\r' || m_baInput.at(iSkip) == '\n'))
            ++iSkip;
        m_baInput.remove(0, iSkip);
        // A method starts with a letter: anything else (a TLS handshake, say) is answered at once.
        if (!m_baInput.isEmpty() && !std::isalpha(static_cast<unsigned char>(m_baInput.at(0)))) {
            failRequest(400);
            return false;
        }
        iEnd = findHeadEnd(m_baInput, iSeparator);
        if (iEnd >= 0)
            break;
        if (m_baInput.size() > kMaxHeadBytes) {
            failRequest(400);
            return false;
        }
        const QByteArray baMore = m_pSocket->read(kMaxHeadBytes + 4 - m_baInput.size());
        if (baMore.isEmpty())
            return false;
        m_baInput += baMore;
    }
    if (iEnd > kMaxHeadBytes) {
        failRequest(400);
        return false;
    }
    const QByteArray baHead = m_baInput.left(iEnd);
    m_baInput.remove(0, iEnd + iSeparator);
    if (!parseHead(baHead))
        return false;
    startBody();
    return m_state == State::Body;
}

bool HttpConnection::parseHead(const QByteArray& baHead)
{
    m_request = HttpRequest();
    m_plan = BodyPlan();
    m_hash.reset();

    QList<QByteArray> lstLines = baHead.split('\n');
    for (QByteArray& baLine : lstLines) {
        if (baLine.endsWith('\r'))
            baLine.chop(1);
    }
    const QList<QByteArray> lstParts = lstLines.constFirst().split(' ');
    if (lstParts.size() == 3) {
        m_request.baMethod = lstParts.at(0);
        m_request.baTarget = lstParts.at(1);
        m_request.baVersion = lstParts.at(2);
    }
    bool blValid = lstParts.size() == 3 && isToken(m_request.baMethod) && m_request.baTarget.startsWith('/') &&
                   (m_request.baVersion == "HTTP/1.1" || m_request.baVersion == "HTTP/1.0");
    for (const char ch : m_request.baTarget) {
        if (uchar(ch) <= 0x20 || ch == 0x7f)
            blValid = false;
    }
    for (qsizetype i = 1; blValid && i < lstLines.size(); ++i) {
        const QByteArray& baLine = lstLines.at(i);
        const qsizetype iColon = baLine.indexOf(':');
        if (iColon <= 0 || !isToken(baLine.left(iColon))) {
            blValid = false; // also a folded continuation line, which starts with a blank
            break;
        }
        QByteArray baValue = baLine.mid(iColon + 1);
        if (baValue.startsWith(' '))
            baValue.remove(0, 1);
        m_request.lstHeaders.append({baLine.left(iColon), baValue});
    }
    if (!blValid) {
        failRequest(400);
        return false;
    }

    const bool blHttp10 = m_request.baVersion == "HTTP/1.0";
    const QByteArray baConnection = m_request.header("Connection");
    m_request.blKeepAlive = blHttp10 ? hasToken(baConnection, "keep-alive") : !hasToken(baConnection, "close");

    if (!m_request.header("Transfer-Encoding").isNull()) {
        failRequest(411);
        return false;
    }
    QByteArray baLength;
    for (const auto& header : std::as_const(m_request.lstHeaders)) {
        if (header.first.compare("Content-Length", Qt::CaseInsensitive) != 0)
            continue;
        const QByteArray baValue = header.second.trimmed();
        bool blDigits = !baValue.isEmpty() && baValue.size() <= 18;
        for (const char ch : baValue)
            blDigits = blDigits && ch >= '0' && ch <= '9';
        if (!blDigits || (!baLength.isNull() && baLength != baValue)) {
            failRequest(400);
            return false;
        }
        baLength = baValue;
    }
    m_request.iContentLength = baLength.isNull() ? 0 : baLength.toLongLong();
    return true;
}

void HttpConnection::startBody()
{
    m_plan = m_pHandler->planBody(m_request);
    if (m_plan.action == BodyPlan::CloseNow) {
        finishBodyHash();
        m_pHandler->record(m_request, nullptr, true);
        closeConnection(true);
        return;
    }
    if (m_plan.action == BodyPlan::RejectNow) {
        finishBodyHash();
        m_pHandler->record(m_request, &m_plan.reply, false);
        sendReply(m_plan.reply, After::DrainAndClose);
        return;
    }
    m_request.blBodyKept = m_plan.blKeep;
    if (m_plan.blKeep)
        m_request.baBody.reserve(m_request.iContentLength);
    if (!m_plan.strFile.isEmpty()) {
        m_request.strBodyFile = m_plan.strFile;
        m_pFile = std::make_unique<QFile>(m_plan.strFile);
        if (!m_pFile->open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            m_request.blSinkFailed = true;
            m_request.strBodyFile.clear();
            m_pFile.reset();
        }
    }
    m_iBodyRemaining = m_request.iContentLength;
    if (m_iBodyRemaining > 0 && m_request.header("Expect").trimmed().compare("100-continue", Qt::CaseInsensitive) == 0)
        m_pSocket->write("HTTP/1.1 100 Continue\r\n\r\n");
    m_state = State::Body;
}

bool HttpConnection::readBody()
{
    while (!pausing() && m_iBodyRemaining > 0) {
        qint64 iWant = qMin(m_iBodyRemaining, kChunkBytes);
        if (m_plan.iDropAfter >= 0) {
            if (m_request.iBodySize >= m_plan.iDropAfter) {
                dropBody(true);
                return false;
            }
            iWant = qMin(iWant, m_plan.iDropAfter - m_request.iBodySize);
        }
        if (!m_baInput.isEmpty()) {
            const qint64 iTake = qMin<qint64>(iWant, m_baInput.size());
            consume(m_baInput.constData(), iTake);
            m_baInput.remove(0, iTake);
            continue;
        }
        const qint64 iRead = m_pSocket->read(m_baChunk.data(), iWant);
        if (iRead <= 0)
            return false;
        consume(m_baChunk.constData(), iRead);
    }
    if (m_blPaused)
        return false;
    completeBody();
    return false; // the next request is taken up once the reply is out
}

bool HttpConnection::pausing()
{
    if (m_plan.iPauseMs > 0 && m_request.iBodySize > 0) {
        // The rest of the body waits in the socket buffers meanwhile.
        m_blPaused = true;
        QTimer::singleShot(std::exchange(m_plan.iPauseMs, 0), this, [this] {
            m_blPaused = false;
            process();
        });
    }
    return m_blPaused;
}

void HttpConnection::consume(const char* pData, qint64 iSize)
{
    m_hash.addData(QByteArrayView(pData, iSize));
    if (m_request.blBodyKept)
        m_request.baBody.append(pData, iSize);
    if (m_pFile && m_pFile->write(pData, iSize) != iSize) {
        m_request.blSinkFailed = true;
        m_pFile->close();
        m_pFile.reset();
    }
    m_request.iBodySize += iSize;
    m_iBodyRemaining -= iSize;
}

void HttpConnection::finishBodyHash()
{
    m_request.baBodySha256 = m_hash.result().toHex();
}

void HttpConnection::completeBody()
{
    finishBodyHash();
    if (m_pFile) {
        if (!m_pFile->flush())
            m_request.blSinkFailed = true;
        m_pFile->close();
        m_pFile.reset();
    }
    const HttpReply reply = m_pHandler->finish(m_request);
    if (!m_request.strBodyFile.isEmpty())
        QFile::remove(m_request.strBodyFile);
    if (reply.blNoReply) {
        // Recorded without a reply; the connection stays until the client gives up.
        m_pHandler->record(m_request, nullptr, false);
        m_state = State::Holding;
        return;
    }
    m_pHandler->record(m_request, &reply, false);
    sendReply(reply, m_request.blKeepAlive ? After::KeepOpen : After::Close);
}

void HttpConnection::dropBody(bool blAbort)
{
    finishBodyHash();
    if (m_pFile) {
        m_pFile->close();
        m_pFile.reset();
    }
    if (!m_request.strBodyFile.isEmpty())
        QFile::remove(m_request.strBodyFile);
    m_pHandler->record(m_request, nullptr, true);
    m_state = State::Closed;
    if (blAbort)
        closeConnection(true);
}

void HttpConnection::sendReply(const HttpReply& reply, After after)
{
    m_state = State::Replying;
    const int iDelayMs = m_pHandler->replyDelayMs();
    if (iDelayMs > 0)
        QTimer::singleShot(iDelayMs, this, [this, reply, after] { writeReply(reply, after); });
    else
        writeReply(reply, after);
}

void HttpConnection::writeReply(const HttpReply& reply, After after)
{
    if (m_state != State::Replying)
        return;
    if (m_pSocket->state() != QAbstractSocket::ConnectedState) {
        closeConnection(true);
        return;
    }
    if (reply.stream != HttpReply::Stream::None) {
        startStream(reply);
        return;
    }
    m_pSocket->write(reply.serialise(after == After::KeepOpen));
    m_request = HttpRequest();
    switch (after) {
    case After::KeepOpen:
        m_state = State::Head;
        QMetaObject::invokeMethod(this, &HttpConnection::process, Qt::QueuedConnection);
        break;
    case After::Close:
        closeConnection(false);
        break;
    case After::DrainAndClose:
        // Closing with unread input would reset the connection and could wipe the reply at the
        // client: read and discard for a moment first.
        m_state = State::Draining;
        m_baInput.clear();
        QTimer::singleShot(kDrainMs, this, [this] { closeConnection(false); });
        drain();
        break;
    }
}

void HttpConnection::startStream(const HttpReply& reply)
{
    const QByteArray baPiece(kStreamPieceBytes, 'x');
    if (reply.stream == HttpReply::Stream::Chunked) {
        m_baStreamPiece = QByteArray::number(kStreamPieceBytes, 16) + "\r\n" + baPiece + "\r\n";
        m_iStreamLeft = -1;
    } else {
        m_baStreamPiece = baPiece;
        m_iStreamLeft = kOversizedLength;
    }
    m_pSocket->write(reply.serialise(false));
    m_request = HttpRequest();
    m_state = State::Streaming;
    connect(m_pSocket, &QIODevice::bytesWritten, this, &HttpConnection::feedStream);
    if (auto* pSslSocket = qobject_cast<QSslSocket*>(m_pSocket))
        connect(pSslSocket, &QSslSocket::encryptedBytesWritten, this, &HttpConnection::feedStream);
    drain();
    feedStream();
}

void HttpConnection::feedStream()
{
    // A piece at a time, only when the last has nearly gone: the server stays small however slow the client.
    while (m_state == State::Streaming && unsentBytes() < kStreamLowWater) {
        if (m_iStreamLeft == 0) {
            closeConnection(false);
            return;
        }
        const qint64 iSize =
            m_iStreamLeft < 0 ? m_baStreamPiece.size() : qMin<qint64>(m_iStreamLeft, m_baStreamPiece.size());
        if (m_pSocket->write(m_baStreamPiece.constData(), iSize) != iSize) {
            closeConnection(true);
            return;
        }
        if (m_iStreamLeft > 0)
            m_iStreamLeft -= iSize;
    }
}

qint64 HttpConnection::unsentBytes() const
{
    // Over TLS, bytesToWrite() counts only what is not encrypted yet.
    const auto* pSslSocket = qobject_cast<const QSslSocket*>(m_pSocket);
    return m_pSocket->bytesToWrite() + (pSslSocket ? pSslSocket->encryptedBytesToWrite() : 0);
}

void HttpConnection::drain()
{
    while (m_pSocket->read(m_baChunk.data(), m_baChunk.size()) > 0) {
    }
}

void HttpConnection::failRequest(int iStatus)
{
    const HttpReply reply = HttpReply::errorPage(iStatus);
    finishBodyHash();
    m_pHandler->record(m_request, &reply, false);
    sendReply(reply, After::DrainAndClose);
}

void HttpConnection::onDisconnected()
{
    m_blPaused = false;
    if (m_state == State::Body)
        process(); // what was buffered before the peer went away
    if (m_state == State::Body)
        dropBody(false);
    m_state = State::Closed;
    if (!m_blClosedSignalled) {
        m_blClosedSignalled = true;
        Q_EMIT closed(this);
    }
}

void HttpConnection::closeConnection(bool blAbort)
{
    m_state = State::Closed;
    if (blAbort)
        m_pSocket->abort();
    else
        m_pSocket->disconnectFromHost();
    if (m_pSocket->state() == QAbstractSocket::UnconnectedState && !m_blClosedSignalled) {
        m_blClosedSignalled = true;
        Q_EMIT closed(this);
    }
}

#include "ServerRequest.h"

#include "CertificateTrust.h"
#include "store/ServerAddress.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QUrl>

namespace ServerRequest {

namespace {

// A server that sends more than any real reply, or announces it, is cut off at once: the
// program's memory does not grow with a reply.
QNetworkReply* capped(QNetworkReply* pReply)
{
    const auto cutOff = [pReply]() {
        if (pReply->property(TooLargeProperty).toBool())
            return;
        pReply->setProperty(TooLargeProperty, true);
        pReply->abort();
    };
    // The network thread reads no more than twice the cap ahead of the program, which never
    // reads before the end: a reply over the cap is seen before that thread stops. The size
    // reaches that thread only once the transfer is set up, in the next turn of the event loop.
    QMetaObject::invokeMethod(
        pReply,
        [pReply]() {
            if (!pReply->isFinished())
                pReply->setReadBufferSize(2 * MaxReplyBytes);
        },
        Qt::QueuedConnection);
    // Announced too large: cut off before the body comes.
    QObject::connect(pReply, &QNetworkReply::metaDataChanged, pReply, [pReply, cutOff]() {
        if (pReply->header(QNetworkRequest::ContentLengthHeader).toLongLong() > MaxReplyBytes)
            cutOff();
    });
    // Checked on every piece that arrives (progress signals come only every so often, and a
    // fast server sends hundreds of MiB between two).
    QObject::connect(pReply, &QIODevice::readyRead, pReply, [pReply, cutOff]() {
        if (pReply->bytesAvailable() > MaxReplyBytes)
            cutOff();
    });
    return pReply;
}

} // namespace

int noTransferTimeoutMs()
{
    bool blOk = false;
    const int iSeconds = qEnvironmentVariableIntValue("PICTARIUM_NETWORK_TIMEOUT", &blOk);
    return (blOk && iSeconds > 0 ? qMin(iSeconds, 86400) : 60) * 1000;
}

QNetworkRequest build(const QString& strBaseUrl, const char* pszPath)
{
    QNetworkRequest request(QUrl(strBaseUrl + QLatin1String(pszPath)));
    // A server that accepts the connection and never answers must not hold the run forever.
    request.setTransferTimeout(noTransferTimeoutMs());
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    // The server speaks HTTP/1.1; keep the wire format plain and predictable.
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    return request;
}

void setFormContentType(QNetworkRequest& request)
{
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
}

QNetworkRequest buildForm(const QString& strBaseUrl, const char* pszPath)
{
    QNetworkRequest request = build(strBaseUrl, pszPath);
    setFormContentType(request);
    return request;
}

QByteArray formValue(const QString& strValue)
{
    return ServerAddress::percentEncode(strValue).toLatin1();
}

QNetworkRequest buildReachability(const QString& strHost, int iPort)
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(strHost);
    url.setPort(iPort);
    return QNetworkRequest(url);
}

QNetworkReply* post(QNetworkAccessManager* pNam, const QNetworkRequest& request, const QByteArray& baBody)
{
    QNetworkReply* pReply = capped(pNam->post(request, baBody));
    CertificateTrust::watch(pReply);
    return pReply;
}

QNetworkReply* put(QNetworkAccessManager* pNam, const QNetworkRequest& request, QIODevice* pBody)
{
    QNetworkReply* pReply = capped(pBody ? pNam->put(request, pBody) : pNam->put(request, QByteArray()));
    CertificateTrust::watch(pReply);
    return pReply;
}

QNetworkReply* get(QNetworkAccessManager* pNam, const QNetworkRequest& request)
{
    return capped(pNam->get(request));
}

} // namespace ServerRequest

#include "ServerRequest.h"

#include "ServerAddress.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QUrl>

namespace ServerRequest {

QNetworkRequest build(const QString& strBaseUrl, const char* pszPath)
{
    QNetworkRequest request(QUrl(strBaseUrl + QLatin1String(pszPath)));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    // The server speaks HTTP/1.1; keep the wire format plain and predictable.
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    return request;
}

QNetworkRequest buildForm(const QString& strBaseUrl, const char* pszPath)
{
    QNetworkRequest request = build(strBaseUrl, pszPath);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
    return request;
}

QByteArray formValue(const QString& strValue)
{
    return ServerAddress::percentEncode(strValue).toLatin1();
}

void applyCertificatePolicy(QNetworkReply* pReply)
{
    QObject::connect(pReply, &QNetworkReply::sslErrors, pReply, [pReply]() { pReply->ignoreSslErrors(); });
}

QNetworkReply* post(QNetworkAccessManager* pNam, const QNetworkRequest& request, const QByteArray& baBody)
{
    QNetworkReply* pReply = pNam->post(request, baBody);
    applyCertificatePolicy(pReply);
    return pReply;
}

QNetworkReply* put(QNetworkAccessManager* pNam, const QNetworkRequest& request, QIODevice* pBody)
{
    QNetworkReply* pReply = pBody ? pNam->put(request, pBody) : pNam->put(request, QByteArray());
    applyCertificatePolicy(pReply);
    return pReply;
}

} // namespace ServerRequest

#include "FuzzSupport.h"

#include "VelmLocale.h"
#include "protocol/ServerRequest.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

namespace Fuzz {

void init()
{
    static const bool s_blDone = [] {
        static int s_iArgc = 1;
        static char s_szName[] = "fuzz";
        static char* s_apArgv[] = {s_szName, nullptr};
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        new QCoreApplication(s_iArgc, s_apArgv);
        VelmLocale::fillMessageTable();
        return true;
    }();
    (void)s_blDone;
}

QString writeFile(const QString& strName, const uint8_t* pData, size_t iSize)
{
    static QTemporaryDir* s_pDir = new QTemporaryDir;
    const QString strPath = s_pDir->filePath(strName);
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(pData), qint64(iSize)) != qint64(iSize))
        fail("cannot write the input file");
    return strPath;
}

void fail(const char* pszWhat)
{
    std::fprintf(stderr, "fuzz property broken: %s\n", pszWhat);
    std::abort();
}

} // namespace Fuzz

namespace {

// The failures the network stack reports, as the first byte picks them.
const QNetworkReply::NetworkError s_aErrors[] = {
    QNetworkReply::ConnectionRefusedError,   QNetworkReply::RemoteHostClosedError,
    QNetworkReply::HostNotFoundError,        QNetworkReply::TimeoutError,
    QNetworkReply::OperationCanceledError,   QNetworkReply::SslHandshakeFailedError,
    QNetworkReply::NetworkSessionFailedError, QNetworkReply::ProxyConnectionRefusedError,
    QNetworkReply::ContentAccessDenied,      QNetworkReply::ContentNotFoundError,
    QNetworkReply::AuthenticationRequiredError, QNetworkReply::ProtocolUnknownError,
    QNetworkReply::ProtocolInvalidOperationError, QNetworkReply::UnknownNetworkError,
    QNetworkReply::UnknownContentError,      QNetworkReply::ProtocolFailure,
    QNetworkReply::InternalServerError,      QNetworkReply::ServiceUnavailableError,
    QNetworkReply::UnknownServerError,       QNetworkReply::TooManyRedirectsError};

// The failure the network stack gives an HTTP status.
QNetworkReply::NetworkError statusError(int iStatus)
{
    switch (iStatus) {
    case 400: return QNetworkReply::ProtocolInvalidOperationError;
    case 401: return QNetworkReply::AuthenticationRequiredError;
    case 403: return QNetworkReply::ContentAccessDenied;
    case 404: return QNetworkReply::ContentNotFoundError;
    case 405: return QNetworkReply::ContentOperationNotPermittedError;
    case 409: return QNetworkReply::ContentConflictError;
    case 410: return QNetworkReply::ContentGoneError;
    case 500: return QNetworkReply::InternalServerError;
    case 501: return QNetworkReply::OperationNotImplementedError;
    case 503: return QNetworkReply::ServiceUnavailableError;
    default:
        if (iStatus >= 500)
            return QNetworkReply::UnknownServerError;
        return iStatus >= 400 ? QNetworkReply::UnknownContentError : QNetworkReply::NoError;
    }
}

} // namespace

FuzzReply::FuzzReply(const QByteArray& baInput)
{
    const uchar uError = baInput.size() > 0 ? uchar(baInput.at(0)) : 0;
    const uchar uFlags = baInput.size() > 1 ? uchar(baInput.at(1)) : 0;
    const QByteArray baRest = baInput.mid(2);
    const QUrl url(QLatin1String((uFlags & 1) ? "https" : "http") + QLatin1String("://127.0.0.1:5000/photo/x.php"));
    setUrl(url);
    setRequest(QNetworkRequest(url));
    setOperation(QNetworkAccessManager::PostOperation);

    qsizetype iHeadEnd = baRest.indexOf("\r\n\r\n");
    m_baBody = iHeadEnd < 0 ? QByteArray() : baRest.mid(iHeadEnd + 4);
    const QList<QByteArray> lstLines = baRest.left(iHeadEnd < 0 ? baRest.size() : iHeadEnd).split('\n');
    const QByteArray baStatusLine = lstLines.value(0).trimmed();
    const QList<QByteArray> lstStatus = baStatusLine.split(' ');
    bool blNumber = false;
    const int iStatus = lstStatus.value(1).toInt(&blNumber);
    const qsizetype iReason = lstStatus.size() > 2 ? lstStatus.at(0).size() + lstStatus.at(1).size() + 2 : -1;
    const QByteArray baReason = iReason < 0 ? QByteArray() : baStatusLine.mid(iReason);
    if (blNumber) {
        setAttribute(QNetworkRequest::HttpStatusCodeAttribute, iStatus);
        setAttribute(QNetworkRequest::HttpReasonPhraseAttribute, baReason);
    }
    for (qsizetype i = 1; i < lstLines.size(); ++i) {
        const QByteArray baLine = lstLines.at(i).trimmed();
        const qsizetype iColon = baLine.indexOf(':');
        if (iColon > 0)
            setRawHeader(baLine.left(iColon).trimmed(), baLine.mid(iColon + 1).trimmed());
    }
    const QString strReason = QString::fromUtf8(baReason);
    if (uError != 0)
        setError(s_aErrors[uError % std::size(s_aErrors)], strReason);
    else if (const QNetworkReply::NetworkError error = statusError(blNumber ? iStatus : 200))
        setError(error, strReason);
    if (uFlags & 2)
        setProperty(ServerRequest::TooLargeProperty, true);
    if (!(uFlags & 4))
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    setFinished(true);
}

qint64 FuzzReply::bytesAvailable() const
{
    return m_baBody.size() - m_iRead + QNetworkReply::bytesAvailable();
}

qint64 FuzzReply::readData(char* pData, qint64 iMaxSize)
{
    const qint64 iCount = qMin(iMaxSize, qint64(m_baBody.size()) - m_iRead);
    if (iCount <= 0)
        return m_iRead >= m_baBody.size() ? -1 : 0;
    memcpy(pData, m_baBody.constData() + m_iRead, size_t(iCount));
    m_iRead += iCount;
    return iCount;
}

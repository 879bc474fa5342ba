#include "ServerReply.h"

#include "ServerRequest.h"
#include "VelmLocale.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QNetworkReply>
#include <QStringList>

#include <cmath>

QString networkErrorName(int iCode)
{
    static const QHash<int, const char*> s_names = {
        {0, "NoError"},
        {1, "ConnectionRefusedError"},
        {2, "RemoteHostClosedError"},
        {3, "HostNotFoundError"},
        {4, "TimeoutError"},
        {5, "OperationCanceledError"},
        {6, "SslHandshakeFailedError"},
        {99, "UnknownNetworkError"},
        {101, "ProxyConnectionRefusedError"},
        {102, "ProxyConnectionClosedError"},
        {103, "ProxyNotFoundError"},
        {104, "ProxyTimeoutError"},
        {105, "ProxyAuthenticationRequiredError"},
        {199, "UnknownProxyError"},
        {201, "ContentAccessDenied"},
        {202, "ContentOperationNotPermittedError"},
        {203, "ContentNotFoundError"},
        {204, "AuthenticationRequiredError"},
        {299, "UnknownContentError"},
        {301, "ProtocolUnknownError"},
        {302, "ProtocolInvalidOperationError"},
        {399, "ProtocolFailure"},
        // Later network layers tell more content errors apart and report HTTP 5xx as server
        // errors; all of them are content errors here.
        {205, "UnknownContentError"},
        {206, "UnknownContentError"},
        {207, "UnknownContentError"},
        {401, "UnknownContentError"},
        {402, "UnknownContentError"},
        {403, "UnknownContentError"},
        {499, "UnknownContentError"},
    };
    const auto it = s_names.constFind(iCode);
    if (it != s_names.constEnd())
        return QLatin1String(it.value());
    return QStringLiteral("reply_err_") + QString::number(iCode);
}

ServerReply ServerReply::fromBody(const QByteArray& baBody)
{
    ServerReply reply;
    reply.body = baBody;
    if (!baBody.startsWith('{')) {
        reply.kind = NotJson;
        return reply;
    }
    // Read as data, never run as script; a body that does not parse has no members.
    reply.kind = Json;
    const QJsonDocument document = QJsonDocument::fromJson(baBody);
    if (document.isObject())
        reply.object = document.object();
    return reply;
}

ServerReply ServerReply::classify(QNetworkReply* pReply)
{
    if (pReply->error() != QNetworkReply::NoError) {
        ServerReply reply;
        reply.kind = TransportFailure;
        reply.errorCode = int(pReply->error());
        reply.refusal = CertificateTrust::refusal(pReply);
        // The program never classifies a reply it aborted itself, except for a refused
        // certificate: a cancelled transfer here is the no-transfer time-out.
        reply.tooLarge = pReply->property(ServerRequest::TooLargeProperty).toBool();
        if (!reply.refusal.isNull())
            reply.errorCode = QNetworkReply::SslHandshakeFailedError;
        else if (reply.tooLarge)
            reply.errorCode = QNetworkReply::UnknownContentError;
        else if (reply.errorCode == QNetworkReply::OperationCanceledError)
            reply.errorCode = QNetworkReply::TimeoutError;
        reply.errorString = pReply->errorString();
        // A plain HTTP answer to the TLS greeting: the TLS library names the record it could not read.
        reply.notTls = reply.errorCode == QNetworkReply::SslHandshakeFailedError && reply.refusal.isNull() &&
                       pReply->url().scheme() == QLatin1String("https") &&
                       (reply.errorString.contains(QLatin1String("wrong version number"), Qt::CaseInsensitive) ||
                        reply.errorString.contains(QLatin1String("packet length too long"), Qt::CaseInsensitive) ||
                        reply.errorString.contains(QLatin1String("unknown protocol"), Qt::CaseInsensitive));
        reply.httpStatus = pReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        // What came of a reply cut off for its size is not read.
        if (pReply->isOpen() && !reply.tooLarge)
            reply.body = pReply->readAll();
        return reply;
    }
    return fromBody(pReply->readAll());
}

QString ServerReply::errorName() const
{
    const QString strName = networkErrorName(errorCode);
    if (httpStatus >= 400 && strName == QLatin1String("UnknownContentError"))
        return strName + QStringLiteral(" (HTTP %1)").arg(httpStatus);
    return strName;
}

bool ServerReply::has(const char* pszMember) const
{
    return object.contains(QLatin1String(pszMember));
}

bool ServerReply::isBoolean(const char* pszMember) const
{
    return object.value(QLatin1String(pszMember)).isBool();
}

bool ServerReply::flag(const char* pszMember) const
{
    const QJsonValue value = object.value(QLatin1String(pszMember));
    switch (value.type()) {
    case QJsonValue::Bool:
        return value.toBool();
    case QJsonValue::Double: {
        const double dValue = value.toDouble();
        return dValue != 0 && !std::isnan(dValue);
    }
    case QJsonValue::String:
        return !value.toString().isEmpty();
    case QJsonValue::Array:
    case QJsonValue::Object:
        return true;
    default:
        return false;
    }
}

namespace {

QString scriptText(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double: {
        const double dValue = value.toDouble();
        if (std::floor(dValue) == dValue && std::fabs(dValue) < 1e15)
            return QString::number(qint64(dValue));
        return QString::number(dValue, 'g', 17);
    }
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Array: {
        QStringList lstParts;
        for (const QJsonValue& element : value.toArray())
            lstParts.append(element.isNull() ? QString() : scriptText(element));
        return lstParts.join(QLatin1Char(','));
    }
    case QJsonValue::Object:
        return QStringLiteral("[object Object]");
    default:
        return QString();
    }
}

} // namespace

QString ServerReply::text(const char* pszMember) const
{
    return scriptText(object.value(QLatin1String(pszMember)));
}

QStringList ServerReply::texts(const char* pszMember) const
{
    QStringList lstTexts;
    const QJsonValue value = object.value(QLatin1String(pszMember));
    if (!value.isArray())
        return lstTexts;
    for (const QJsonValue& element : value.toArray())
        lstTexts.append(scriptText(element));
    return lstTexts;
}

namespace ReplyMessages {

QString connectFail(const ServerReply& reply)
{
    if (!reply.refusal.isNull())
        return CertificateTrust::refusalMessage(reply.refusal);
    if (reply.tooLarge)
        return VelmLocale::message("err_reply_too_large").arg(ServerRequest::MaxReplyBytes / (1024 * 1024));
    if (reply.notTls)
        return VelmLocale::message("err_not_https").arg(reply.errorName());
    return VelmLocale::message("err_connect_fail").arg(reply.errorName());
}

namespace {

QString unknown(const QString& strDetail)
{
    return VelmLocale::message("err_svr_unknown").arg(strDetail);
}

void setLost(bool* pblSessionLost, bool blLost)
{
    if (pblSessionLost)
        *pblSessionLost = blLost;
}

QString listMessage(const ServerReply& reply, bool blNotSupportedOn404, bool* pblSessionLost)
{
    setLost(pblSessionLost, false);
    if (reply.kind == ServerReply::TransportFailure) {
        if (blNotSupportedOn404 && reply.errorCode == QNetworkReply::ContentNotFoundError)
            return VelmLocale::message("err_kb_not_supp");
        return connectFail(reply);
    }
    if (reply.kind == ServerReply::NotJson)
        return unknown(QStringLiteral("ret_err"));
    if (reply.flag("success"))
        return QString();
    const QString strError = reply.text("err_msg");
    if (strError == QLatin1String("session_lost")) {
        setLost(pblSessionLost, true);
        return VelmLocale::message("err_session_lost");
    }
    return unknown(strError);
}

} // namespace

QString albumList(const ServerReply& reply, bool* pblSessionLost)
{
    return listMessage(reply, true, pblSessionLost);
}

QString subAlbumList(const ServerReply& reply, bool* pblSessionLost)
{
    return listMessage(reply, false, pblSessionLost);
}

QString uploadInit(const ServerReply& reply, bool* pblSessionLost)
{
    return listMessage(reply, false, pblSessionLost);
}

namespace {

// The error keys that album creation and file upload share; prefixed keys are checked by
// the caller first.
QString uploadFailure(const QString& strError, bool* pblSessionLost)
{
    if (strError == QLatin1String("no_privilege"))
        return VelmLocale::message("err_upd_no_privilege");
    if (strError == QLatin1String("duplicated_file"))
        return VelmLocale::message("err_upd_file_duplicate");
    if (strError == QLatin1String("session_lost")) {
        setLost(pblSessionLost, true);
        return VelmLocale::message("err_session_lost");
    }
    if (strError == QLatin1String("demo_site_disable"))
        return VelmLocale::message("err_demo_site");
    if (strError == QLatin1String("error_no_space"))
        return VelmLocale::message("err_upd_no_space");
    return unknown(strError);
}

} // namespace

QString albumCreation(const ServerReply& reply, bool* pblSessionLost)
{
    setLost(pblSessionLost, false);
    if (reply.kind == ServerReply::TransportFailure)
        return connectFail(reply);
    if (reply.kind == ServerReply::NotJson)
        return unknown(QStringLiteral("ret_err"));
    if (reply.flag("success"))
        return reply.flag("duplicate_folder") ? VelmLocale::message("err_duplicate_dir_name") : QString();

    const QString strError = reply.text("err_msg");
    if (strError.startsWith(QLatin1String("bad_dir_name_")))
        return VelmLocale::message("err_bad_dir_name").arg(QString(strError).remove(QLatin1String("bad_dir_name_")));
    return uploadFailure(strError, pblSessionLost);
}

QString fileUpload(const ServerReply& reply, bool* pblSessionLost)
{
    setLost(pblSessionLost, false);
    if (reply.kind == ServerReply::TransportFailure)
        return connectFail(reply);
    if (reply.kind == ServerReply::NotJson)
        return unknown(QStringLiteral("ret_err"));
    if (reply.flag("success"))
        return QString();

    const QString strError = reply.text("err_msg");
    if (strError.startsWith(QLatin1String("target_folder_not_found_")))
        return VelmLocale::message("err_upd_target_not_found")
            .arg(QLatin1String(" /photo") + QString(strError).remove(QLatin1String("target_folder_not_found_")));
    return uploadFailure(strError, pblSessionLost);
}

} // namespace ReplyMessages

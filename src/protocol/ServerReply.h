#pragma once

#include "CertificateTrust.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

class QNetworkReply;

QString networkErrorName(int iCode);

// A finished reply, classified: transport failure, JSON object, or any other body.
struct ServerReply
{
    enum Kind { TransportFailure, Json, NotJson };

    Kind kind = NotJson;
    int errorCode = 0;
    QString errorString; // the reply's own error text, for transport failures
    int httpStatus = 0;  // the HTTP status of a failed reply, 0 when none came
    QByteArray body;
    QJsonObject object; // members of a JSON body; empty when the body does not parse
    CertificateTrust::Refusal refusal; // the server's certificate was refused (a transport failure)
    bool tooLarge = false;             // the reply was larger than the program reads (a transport failure)
    bool notTls = false;               // an HTTPS request was answered in plain HTTP (a transport failure)

    static ServerReply classify(QNetworkReply* pReply);
    static ServerReply fromBody(const QByteArray& baBody);

    // The transport failure's name for messages, with the HTTP status where the name alone
    // does not tell it ("UnknownContentError (HTTP 502)").
    QString errorName() const;

    bool has(const char* pszMember) const;
    // A member as a condition: missing, null, false, 0, "" and NaN are false.
    bool flag(const char* pszMember) const;
    // A member as text: missing is empty; true/false, numbers as written in scripts.
    QString text(const char* pszMember) const;
    // An array member as texts; missing or not an array is empty.
    QStringList texts(const char* pszMember) const;
    bool isBoolean(const char* pszMember) const;
};

// User messages for the endpoints' failures; empty when the reply is a success.
namespace ReplyMessages {

QString connectFail(const ServerReply& reply);
QString albumList(const ServerReply& reply, bool* pblSessionLost = nullptr);
QString subAlbumList(const ServerReply& reply, bool* pblSessionLost = nullptr);
QString albumCreation(const ServerReply& reply, bool* pblSessionLost = nullptr);
QString fileUpload(const ServerReply& reply, bool* pblSessionLost = nullptr);
QString uploadInit(const ServerReply& reply, bool* pblSessionLost = nullptr);

} // namespace ReplyMessages

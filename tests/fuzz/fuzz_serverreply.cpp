// Server replies: the classification and every endpoint's message, from status line, headers
// and body.
#include "FuzzSupport.h"

#include "protocol/CertificateTrust.h"
#include "protocol/ServerReply.h"

#include <QJsonDocument>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize)
{
    Fuzz::init();
    FuzzReply fuzzReply(Fuzz::bytes(pData, iSize));
    const ServerReply reply = ServerReply::classify(&fuzzReply);
    if ((reply.kind == ServerReply::TransportFailure) != (fuzzReply.error() != QNetworkReply::NoError))
        Fuzz::fail("a failed reply is not a transport failure, or the other way round");
    if (reply.kind != ServerReply::TransportFailure) {
        // The body alone decides between JSON and not.
        const ServerReply again = ServerReply::fromBody(reply.body);
        if (again.kind != reply.kind || again.object != reply.object)
            Fuzz::fail("the same body is classified twice differently");
        if (reply.kind == ServerReply::NotJson && !reply.object.isEmpty())
            Fuzz::fail("a body that is not JSON has members");
    }
    bool blLost = false;
    const QString aMessages[] = {ReplyMessages::connectFail(reply),       ReplyMessages::albumList(reply, &blLost),
                                 ReplyMessages::subAlbumList(reply, &blLost), ReplyMessages::albumCreation(reply, &blLost),
                                 ReplyMessages::fileUpload(reply, &blLost),   ReplyMessages::uploadInit(reply, &blLost)};
    for (const QString& strMessage : aMessages) {
        if (reply.kind != ServerReply::Json && strMessage.isEmpty())
            Fuzz::fail("a reply that is no JSON object reads as a success");
    }
    (void)reply.errorName();
    for (const char* pszMember : {"success", "err_msg", "error_code", "sid", "uploadable_albums", "sub_albums"}) {
        (void)reply.has(pszMember);
        (void)reply.flag(pszMember);
        (void)reply.text(pszMember);
        (void)reply.texts(pszMember);
        (void)reply.isBoolean(pszMember);
    }
    if (!reply.refusal.isNull())
        (void)CertificateTrust::refusalMessage(reply.refusal);
    return 0;
}

// albums: the albums the profile's account may upload to, as a tree.

#include "CliSupport.h"
#include "CommandLine.h"
#include "Commands.h"
#include "protocol/AlbumRequests.h"
#include "protocol/ServerReply.h"
#include "protocol/ServerRequest.h"
#include "store/ProfileStore.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QNetworkReply>

namespace Cli {

namespace {

// Waits for a form request to the album endpoint; an empty reply object on failure.
ServerReply albumRequest(QNetworkAccessManager* pNam, const QString& strBaseUrl, const QByteArray& baBody,
                         QString* pstrError)
{
    QNetworkReply* pReply = ServerRequest::post(pNam, AlbumRequests::buildList(strBaseUrl), baBody);
    QEventLoop loop;
    QObject::connect(pReply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const ServerReply reply = ServerReply::classify(pReply);
    delete pReply;
    *pstrError = ReplyMessages::albumList(reply);
    return reply;
}

void printChildren(QNetworkAccessManager* pNam, const QString& strBaseUrl, const QString& strPath, int iDepth)
{
    QString strError;
    const ServerReply reply = albumRequest(pNam, strBaseUrl, AlbumRequests::subAlbumsBody(strPath), &strError);
    if (!strError.isEmpty())
        return;
    for (const QString& strName : AlbumRequests::subAlbumNames(reply)) {
        out(QString(iDepth * 2, QLatin1Char(' ')) + safe(strName));
        printChildren(pNam, strBaseUrl, strPath + QLatin1Char('/') + strName, iDepth + 1);
    }
}

} // namespace

int listAlbums(const QCommandLineParser& parser, QNetworkAccessManager* pNam)
{
    ServerProfile profile;
    if (const int iCode = openProfile(parser.value(QStringLiteral("profile")), profile, pNam))
        return iCode;
    QString strError;
    const ServerReply reply = albumRequest(pNam, profile.baseUrl, AlbumRequests::uploadableAlbumsBody(), &strError);
    if (!strError.isEmpty())
        return fail(strError);
    out(QStringLiteral("photo"));
    for (const AlbumRequests::TopAlbum& top : AlbumRequests::uploadableTree(reply)) {
        out(QStringLiteral("  ") + safe(top.name));
        printChildren(pNam, profile.baseUrl, top.name, 2);
    }
    return ExitOk;
}

} // namespace Cli

#include "AlbumRequests.h"

#include "FileUploadRequest.h"
#include "ServerReply.h"
#include "ServerRequest.h"

#include <QHash>
#include <QSet>

namespace AlbumRequests {

QNetworkRequest buildList(const QString& strBaseUrl)
{
    return ServerRequest::buildForm(strBaseUrl, ServerRequest::AlbumListPath);
}

QByteArray uploadableAlbumsBody()
{
    return QByteArrayLiteral("action=get_uploadable_album_list");
}

QByteArray subAlbumsBody(const QString& strPath)
{
    return QByteArrayLiteral("action=get_all_subalbum_list&path=") + ServerRequest::formValue(strPath);
}

QNetworkRequest buildCreate(const QString& strBaseUrl, const QString& strParent, const QString& strName)
{
    QNetworkRequest request = FileUploadRequest::buildTarget(strBaseUrl, strParent, QStringLiteral("SKIP"), strName,
                                                             QStringLiteral("FOLDER"));
    // A form request like the album lists, though nothing is in the body.
    ServerRequest::setFormContentType(request);
    return request;
}

QList<TopAlbum> uploadableTree(const ServerReply& reply)
{
    QList<TopAlbum> lstTops;
    // Lists of any length stay linear: indices of the tops, and the seconds already taken.
    QHash<QString, qsizetype> hashTops;
    QSet<QString> setSeconds;
    for (const QString& strPath : reply.texts("uploadable_albums")) {
        const QStringList lstParts = strPath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        if (lstParts.isEmpty())
            continue;
        auto it = hashTops.constFind(lstParts.at(0));
        if (it == hashTops.constEnd()) {
            it = hashTops.insert(lstParts.at(0), lstTops.size());
            lstTops.append(TopAlbum{lstParts.at(0), {}});
        }
        if (lstParts.size() > 1) {
            const QString strSecond = lstParts.at(0) + QLatin1Char('/') + lstParts.at(1);
            if (!setSeconds.contains(strSecond)) {
                setSeconds.insert(strSecond);
                lstTops[*it].children.append(lstParts.at(1));
            }
        }
    }
    return lstTops;
}

QStringList subAlbumNames(const ServerReply& reply)
{
    QStringList lstNames;
    for (const QString& strName : reply.texts("sub_albums")) {
        if (!strName.isEmpty() && strName != QLatin1String(".") && strName != QLatin1String("..") &&
            !strName.contains(QLatin1Char('/')))
            lstNames.append(strName);
    }
    return lstNames;
}

} // namespace AlbumRequests

#include "AlbumRequests.h"

#include "FileUploadRequest.h"
#include "ServerRequest.h"

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

} // namespace AlbumRequests

#include "FileUploadRequest.h"

#include "store/ServerAddress.h"
#include "ServerRequest.h"

namespace FileUploadRequest {

QNetworkRequest buildTarget(const QString& strBaseUrl, const QString& strAlbum, const QString& strDupHandler,
                            const QString& strName, const QString& strUploadType)
{
    QNetworkRequest request = ServerRequest::build(strBaseUrl, ServerRequest::FileUploadPath);
    // The leading blank is part of the value the server reads.
    request.setRawHeader("X-PATH", ' ' + ServerAddress::percentEncode(strAlbum).toLatin1());
    request.setRawHeader("X-DUPLICATE", strDupHandler.toUtf8());
    request.setRawHeader("X-ORIG-FNAME", ' ' + ServerAddress::percentEncode(strName).toLatin1());
    request.setRawHeader("X-UPLOAD-TYPE", strUploadType.toUtf8());
    return request;
}

QNetworkRequest build(const QString& strBaseUrl, const RenditionRecord& record, const QString& strDupHandler,
                      const QString& strLastModified)
{
    QNetworkRequest request = buildTarget(strBaseUrl, record.value(KeyDestination),
                                          record.value(KeyDuplicate, strDupHandler),
                                          record.value(KeyOrigName), record.value(KeyUploadType));
    if (record.contains(KeyBatchFirst))
        request.setRawHeader("X-IS-BATCH-FIRST-FILE", "1");
    if (record.contains(KeyBatchLast))
        request.setRawHeader("X-IS-BATCH-LAST-FILE", "1");
    if (!strLastModified.isEmpty())
        request.setRawHeader("X-LAST-MODIFIED-TIME", strLastModified.toLatin1());
    return request;
}

} // namespace FileUploadRequest

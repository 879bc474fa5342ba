#pragma once

#include "protocol/RenditionRecord.h"

#include <QNetworkRequest>
#include <QString>

namespace FileUploadRequest {

// A request to the upload endpoint naming what it stores: X-PATH (strAlbum), X-DUPLICATE,
// X-ORIG-FNAME (strName) and X-UPLOAD-TYPE, in that order.
QNetworkRequest buildTarget(const QString& strBaseUrl, const QString& strAlbum, const QString& strDupHandler,
                            const QString& strName, const QString& strUploadType);

// The file upload request of a record: X-PATH, X-DUPLICATE (the record's own policy, else
// strDupHandler), X-ORIG-FNAME, X-UPLOAD-TYPE, the batch flags, and X-LAST-MODIFIED-TIME when strLastModified is not empty, in that order.
QNetworkRequest build(const QString& strBaseUrl, const RenditionRecord& record, const QString& strDupHandler,
                      const QString& strLastModified = QString());

} // namespace FileUploadRequest

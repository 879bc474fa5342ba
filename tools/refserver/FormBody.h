#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// Form bodies of the requests: URL-encoded fields and the file list of a multipart body.
namespace FormBody {

// application/x-www-form-urlencoded or multipart/form-data.
bool isFormType(const QByteArray& baContentType);
// First value of every field of an application/x-www-form-urlencoded body.
QHash<QString, QString> parseForm(const QByteArray& baBody);
// Boundary of "multipart/form-data; boundary=b", also written with a comma and with quotes.
QByteArray boundaryOf(const QByteArray& baContentType);
// The "filelist" part of a multipart body. The last delimiter may end with "--" or with CRLF only.
bool extractFileList(const QByteArray& baBody, const QByteArray& baBoundary, QByteArray& baList);

} // namespace FormBody

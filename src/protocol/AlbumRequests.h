#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QString>

// The album requests: the lists (form POSTs to the album endpoint, the body names the list) and
// the creation of an album.
namespace AlbumRequests {

// The form request every album list is posted with.
QNetworkRequest buildList(const QString& strBaseUrl);
// Body: the albums the account may upload to, by full path.
QByteArray uploadableAlbumsBody();
// Body: the names of the albums directly under strPath.
QByteArray subAlbumsBody(const QString& strPath);

// Creates the album strName under strParent ("" for the root): a form POST with an empty body
// to the upload endpoint, type FOLDER, an existing album left as it is.
QNetworkRequest buildCreate(const QString& strBaseUrl, const QString& strParent, const QString& strName);

} // namespace AlbumRequests

#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QList>
#include <QString>
#include <QStringList>

struct ServerReply;

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


// A top-level album and the albums under it, as far as the uploadable list names them.
struct TopAlbum
{
    QString name;
    QStringList children;
};
// The uploadable-albums reply as the first two levels of the tree: each album once, in the
// server's order; empty path parts are skipped.
QList<TopAlbum> uploadableTree(const ServerReply& reply);
// The names of a sub-album reply that name one album under the listed one: empty names, "."
// and "..", and names with a slash are left out.
QStringList subAlbumNames(const ServerReply& reply);
} // namespace AlbumRequests

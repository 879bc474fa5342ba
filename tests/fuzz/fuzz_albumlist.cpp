// Album list replies: the first two levels of the uploadable albums, and the names under one.
#include "FuzzSupport.h"

#include "protocol/AlbumRequests.h"
#include "protocol/ServerReply.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize)
{
    Fuzz::init();
    FuzzReply fuzzReply(Fuzz::bytes(pData, iSize));
    const ServerReply reply = ServerReply::classify(&fuzzReply);
    (void)ReplyMessages::albumList(reply);
    (void)ReplyMessages::subAlbumList(reply);
    QSet<QString> setTops;
    for (const AlbumRequests::TopAlbum& top : AlbumRequests::uploadableTree(reply)) {
        if (top.name.isEmpty() || top.name.contains(QLatin1Char('/')) || setTops.contains(top.name))
            Fuzz::fail("a top album is empty, holds a slash or comes twice");
        setTops.insert(top.name);
        if (QSet<QString>(top.children.cbegin(), top.children.cend()).size() != top.children.size())
            Fuzz::fail("a second-level album comes twice");
        for (const QString& strChild : top.children) {
            if (strChild.isEmpty() || strChild.contains(QLatin1Char('/')))
                Fuzz::fail("a second-level album is empty or holds a slash");
        }
    }
    for (const QString& strName : AlbumRequests::subAlbumNames(reply)) {
        if (strName.isEmpty() || strName == QLatin1String(".") || strName == QLatin1String("..") ||
            strName.contains(QLatin1Char('/')))
            Fuzz::fail("a sub-album name leaves the album it was listed under");
    }
    return 0;
}

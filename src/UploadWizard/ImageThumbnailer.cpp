#include "ImageThumbnailer.h"

#include <QDebug>

ImageThumbnailer::ImageThumbnailer() = default;

int ImageThumbnailer::makeThumbnails(const QString& strPath, quint32 uId)
{
    m_uCurrentId = uId;
    // The image tools are not wired in this build: the photo travels without thumbnails.
    qDebug("ImageThumbnailer: no thumbnail tools in this build [%s]", qPrintable(strPath));
    return -1;
}

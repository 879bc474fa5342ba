#include "VideoConverter.h"

#include <QDebug>

VideoConverter::VideoConverter(const QList<int>& lstQualities) : m_lstQualities(lstQualities) {}

int VideoConverter::convertVideo(const QString& strPath, quint32 uId)
{
    Q_UNUSED(uId)
    // The video tools are not wired in this build: the video travels without renditions.
    qDebug("VideoConverter: no video tools in this build [%s]", qPrintable(strPath));
    return -1;
}

#include "CaptureTime.h"

#include <QFileInfo>

QString captureTimeName(const QString& strPath)
{
    // Without a metadata reader the capture time is unknown: the file keeps its name.
    return QFileInfo(strPath).fileName();
}

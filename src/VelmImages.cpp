#include "VelmImages.h"

#include <QFile>
#include <QGuiApplication>

namespace VelmImages {

QPixmap pixmap(const QString& strPath)
{
    // The highest ratio of all screens, so a window moved to the sharper screen stays sharp.
    return pixmap(strPath, qGuiApp ? qGuiApp->devicePixelRatio() : 1.0);
}

QPixmap pixmap(const QString& strPath, qreal dRatio)
{
    if (dRatio > 1.0) {
        const QString strDouble = doublePath(strPath);
        // Qt reads the ratio 2 from the name.
        if (QFile::exists(strDouble))
            return QPixmap(strDouble);
    }
    return QPixmap(strPath);
}

QString doublePath(const QString& strPath)
{
    const int iSlash = strPath.lastIndexOf(QLatin1Char('/'));
    int iDot = strPath.lastIndexOf(QLatin1Char('.'));
    if (iDot <= iSlash)
        iDot = strPath.size();
    return strPath.left(iDot) + QLatin1String("@2x") + strPath.mid(iDot);
}

} // namespace VelmImages

#pragma once

#include <QPixmap>
#include <QString>

// Pictures from the resources, sharp on screens above 100 %.
namespace VelmImages {

// The picture at strPath; its "@2x" partner beside it (device pixel ratio 2) instead when the highest
// device pixel ratio of the screens is above 1 and there is one.
QPixmap pixmap(const QString& strPath);
// The same for the device pixel ratio dRatio.
QPixmap pixmap(const QString& strPath, qreal dRatio);
// Where the "@2x" partner of strPath would be: x.png -> x@2x.png.
QString doublePath(const QString& strPath);

} // namespace VelmImages

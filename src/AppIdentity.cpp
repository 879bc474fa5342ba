#include "AppIdentity.h"

#include <QDir>
#include <QStandardPaths>

namespace AppIdentity {

QString applicationTitle()
{
    return QLatin1String(VendorName) + QLatin1Char(' ') + QLatin1String(ProductName);
}

QString dataFolder()
{
    const QString strBase = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return strBase + QLatin1String("//") + QLatin1String(VendorName) + QLatin1String("//") +
           QLatin1String(ProductName);
}

QString dataFilePath(const QString& strFileName)
{
    return dataFolder() + QLatin1String("//") + strFileName;
}

bool ensureDataFolder()
{
    const QString strFolder = dataFolder();
    if (QDir(strFolder).exists())
        return true;
    return QDir().mkpath(strFolder);
}

} // namespace AppIdentity

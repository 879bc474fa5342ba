#include "AppIdentity.h"

#include <QDir>
#include <QFile>
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
    if (!QDir(strFolder).exists() && !QDir().mkpath(strFolder))
        return false;
    // The database in it holds remembered passwords: the folder is for this user only,
    // however it was made before.
    QFile::setPermissions(strFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return true;
}

} // namespace AppIdentity

// Lensway: the camera import tool beside the program.
//   Lensway 0       writes "DeviceList": the connected cameras and memory cards
//   Lensway 1 ID    writes "ContentList": the files below DCIM of device ID
//   Lensway 2 ID    copies the items named in "ImportList" into the camera folder
// Exit status: 0 done, 1 some items could not be copied, 2 unknown device or bad arguments.

#include "AppIdentity.h"
#include "CameraDevices.h"
#include "CameraImport.h"
#include "HandOverFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QStringEncoder>


namespace {

// One value per line: a line break inside would shift every later line.
QString oneLine(QString strText)
{
    return strText.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

bool writeText(const QString& strPath, const QByteArray& baBom, QStringConverter::Encoding encoding,
               const QStringList& lstLines)
{
    QString strText;
    for (const QString& strLine : lstLines)
        strText += oneLine(strLine) + QLatin1Char('\n');
    QByteArray baData = baBom;
    baData += QByteArray(QStringEncoder(encoding, QStringConverter::Flag::Stateless).encode(strText));
    if (HandOverFile::writeBytes(strPath, baData))
        return true;
    lenswayMessage(QStringLiteral("cannot write %1").arg(strPath));
    return false;
}

const CameraDevice* findDevice(const DeviceList& devices, const QString& strId)
{
    for (const auto& pDevice : devices) {
        if (pDevice->id == strId)
            return pDevice.get();
    }
    lenswayMessage(QStringLiteral("no device [%1] is connected").arg(strId));
    return nullptr;
}

int listDevices()
{
    const DeviceList devices = findDevices();
    QStringList lstLines{QString::number(devices.size())};
    for (const auto& pDevice : devices)
        lstLines << pDevice->id << pDevice->name << pDevice->description;
    // UTF-16 LE with its byte-order mark.
    return writeText(AppIdentity::dataFilePath(QStringLiteral("DeviceList")), QByteArray("\xFF\xFE", 2),
                     QStringConverter::Utf16LE, lstLines)
               ? 0
               : 2;
}

int listContent(const QString& strId)
{
    const QString strList = AppIdentity::dataFilePath(QStringLiteral("ContentList"));
    QFile::remove(strList);
    const DeviceList devices = findDevices();
    const CameraDevice* pDevice = findDevice(devices, strId);
    QList<DeviceItem> lstItems;
    if (!pDevice || !pDevice->content(lstItems))
        return 2;
    QStringList lstLines;
    for (const DeviceItem& item : std::as_const(lstItems))
        lstLines << item.name << item.size << item.modified;
    // UTF-8 with its byte-order mark, so names in any script arrive as they are.
    return writeText(strList, QByteArray("\xEF\xBB\xBF"), QStringConverter::Utf8, lstLines) ? 0 : 2;
}

int importItems(const QString& strId)
{
    QStringList lstNames;
    if (!HandOverFile::readLines(AppIdentity::dataFilePath(QStringLiteral("ImportList")), lstNames)) {
        lenswayMessage(QStringLiteral("no ImportList"));
        return 2;
    }
    if (!CameraImport::ensureFolder()) {
        lenswayMessage(QStringLiteral("the camera folder %1 cannot be used").arg(CameraImport::folderPath()));
        return 2;
    }
    const DeviceList devices = findDevices();
    const CameraDevice* pDevice = findDevice(devices, strId);
    QList<DeviceItem> lstItems;
    if (!pDevice || !pDevice->content(lstItems))
        return 2;
    QHash<QString, DeviceItem> hashItems;
    for (const DeviceItem& item : std::as_const(lstItems))
        hashItems.insert(item.name, item);

    int iStatus = 0;
    const QString strFolder = CameraImport::folderPath();
    for (const QString& strName : std::as_const(lstNames)) {
        if (strName.isEmpty())
            continue;
        const auto it = hashItems.constFind(strName);
        if (!CameraImport::isPlainItemName(strName) || it == hashItems.constEnd()) {
            lenswayMessage(QStringLiteral("no item [%1] on the device").arg(strName));
            iStatus = 1;
            continue;
        }
        // A copy cut short never carries the item's name.
        const QString strPart = strFolder + QLatin1String("/.part-") + QString::number(QCoreApplication::applicationPid());
        const QString strTarget = strFolder + QLatin1Char('/') + strName;
        bool blCopied = pDevice->copy(*it, strPart);
        if (blCopied) {
            QFile::setPermissions(strPart, QFile::ReadOwner | QFile::WriteOwner);
            QFile::remove(strTarget);
            blCopied = QFile::rename(strPart, strTarget);
        }
        if (!blCopied) {
            QFile::remove(strPart);
            iStatus = 1;
        }
    }
    return iStatus;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList lstArguments = QCoreApplication::arguments();
    const QString strCommand = lstArguments.value(1);
    if (strCommand == QLatin1String("0") && lstArguments.size() == 2)
        return listDevices();
    if (lstArguments.size() == 3 && strCommand == QLatin1String("1"))
        return listContent(lstArguments.at(2));
    if (lstArguments.size() == 3 && strCommand == QLatin1String("2"))
        return importItems(lstArguments.at(2));
    lenswayMessage(QStringLiteral("usage: Lensway 0 | Lensway 1 DEVICE | Lensway 2 DEVICE"));
    return 2;
}

// The camera tool's lists: the devices (UTF-16, counted) and a device's content (8-bit, UTF-8
// or UTF-16 text, three lines per item), and the names taken from it.
#include "FuzzSupport.h"

#include "CameraImport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize)
{
    Fuzz::init();
    const QString strPath = Fuzz::writeFile(QStringLiteral("List"), pData, iSize);
    QStringList lstIds, lstTexts;
    CameraImport::readDeviceList(strPath, lstIds, lstTexts);
    if (lstIds.size() != lstTexts.size())
        Fuzz::fail("devices without texts");
    QList<CameraImport::Item> lstItems;
    if (!CameraImport::readContentList(strPath, lstItems))
        Fuzz::fail("an existing content list cannot be read");
    CameraImport::ImportResult result;
    CameraImport::takeItems(lstItems, QStringLiteral("usb:001,002"), QStringLiteral("P"), false, result);
    if (result.names.size() + result.refused.size() != lstItems.size())
        Fuzz::fail("an item was neither taken nor refused");
    for (const QString& strName : result.names) {
        // A taken name is a file in the camera folder, never a path out of it.
        if (!CameraImport::isPlainItemName(strName) || strName.contains(QLatin1Char('\n')) ||
            !result.details.contains(strName))
            Fuzz::fail("a taken name is not a plain file name, or has no details");
    }
    return 0;
}

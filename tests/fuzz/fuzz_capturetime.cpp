// The time a photo was taken, from any file's metadata (JPEG XL boxes read here, the rest by the
// metadata library), as the name a photo is stored under.
#include "FuzzSupport.h"

#include "upload/CaptureTime.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize)
{
    Fuzz::init();
    const QString strPath = Fuzz::writeFile(QStringLiteral("photo.jpg"), pData, iSize);
    const QString strName = captureTimeName(strPath);
    static const QRegularExpression s_taken(QStringLiteral("^IMG_\\d{8}_\\d{6}\\.jpg$"));
    if (strName != QLatin1String("photo.jpg") && !s_taken.match(strName).hasMatch())
        Fuzz::fail("neither the file's name nor a capture-time name");
    return 0;
}

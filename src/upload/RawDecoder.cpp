#include "RawDecoder.h"

#include "FastThumbnails.h"
#include "MediaCheck.h"

#include <QDebug>
#include <QFile>
#include <QSaveFile>

#include <libraw/libraw.h>

// The metadata library's 0.27 interface still hands out std::auto_ptr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <memory>

namespace {

struct Watch
{
    const std::atomic_bool* pAbort = nullptr;
    bool blDataError = false;
};

int onProgress(void* pData, LibRaw_progress, int, int)
{
    const Watch* pWatch = static_cast<const Watch*>(pData);
    return pWatch->pAbort && pWatch->pAbort->load() ? 1 : 0;
}

void onDataError(void* pData, const char*, const int)
{
    static_cast<Watch*>(pData)->blDataError = true;
}

// The camera's turn, in the library's terms (3 half turn, 5 a quarter turn counter-clockwise,
// 6 clockwise), as an EXIF orientation; 0 for none.
int exifOrientation(int iFlip)
{
    switch (iFlip) {
    case 3:
        return 3;
    case 5:
        return 8;
    case 6:
        return 6;
    default:
        return 0;
    }
}

bool setOrientation(const QString& strPath, int iOrientation)
{
    try {
        Exiv2::Image::AutoPtr pImage = Exiv2::ImageFactory::open(QFile::encodeName(strPath).toStdString());
        if (!pImage.get())
            return false;
        pImage->readMetadata();
        pImage->exifData()["Exif.Image.Orientation"] = uint16_t(iOrientation);
        pImage->writeMetadata();
        return true;
    } catch (const Exiv2::AnyError& error) {
        qDebug("RawDecoder: cannot write the orientation: %s", error.what());
        return false;
    }
}

bool writeBytes(const QString& strPath, const char* pData, qint64 iSize)
{
    QSaveFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write(pData, iSize) == iSize && file.commit();
}

} // namespace

namespace RawDecoder {

Result extract(const QString& strPath, const QString& strPreviewPath, const QString& strDecodedPath, int iMinSide,
               const std::atomic_bool* pAbort)
{
    Result result;
    Watch watch{pAbort, false};
    // The library's state is large; it lives on the heap.
    const auto pRaw = std::make_unique<LibRaw>();
    pRaw->set_progress_handler(onProgress, &watch);
    pRaw->set_dataerror_handler(onDataError, &watch);
    const QByteArray baPath = QFile::encodeName(strPath);
    int iStatus = pRaw->open_file(baPath.constData());
    if (iStatus != LIBRAW_SUCCESS) {
        qDebug("RawDecoder: %s: %s", baPath.constData(), libraw_strerror(iStatus));
        return result;
    }
    const int iOrientation = exifOrientation(pRaw->imgdata.sizes.flip);

    // The embedded preview, when it is a JPEG as large as the biggest thumbnail.
    if (pRaw->unpack_thumb() == LIBRAW_SUCCESS && pRaw->imgdata.thumbnail.tformat == LIBRAW_THUMBNAIL_JPEG &&
        std::max(pRaw->imgdata.thumbnail.twidth, pRaw->imgdata.thumbnail.theight) >= iMinSide) {
        const libraw_thumbnail_t& thumb = pRaw->imgdata.thumbnail;
        const QSize size = writeBytes(strPreviewPath, thumb.thumb, thumb.tlength) &&
                                   MediaCheck::isCompleteJpegFile(strPreviewPath)
                               ? FastThumbnails::imageSize(strPreviewPath)
                               : QSize();
        if (std::max(size.width(), size.height()) >= iMinSide &&
            (iOrientation == 0 || setOrientation(strPreviewPath, iOrientation))) {
            qDebug("RawDecoder: preview %dx%d of %s", size.width(), size.height(), baPath.constData());
            result.outcome = Preview;
            result.strImage = strPreviewPath;
            return result;
        }
        QFile::remove(strPreviewPath);
    }
    if (pAbort && pAbort->load()) {
        result.outcome = Aborted;
        return result;
    }

    // Otherwise the picture itself with the camera's white balance, at half size when that is
    // still large enough.
    const int iLongSide = std::max(pRaw->imgdata.sizes.width, pRaw->imgdata.sizes.height);
    pRaw->imgdata.params.half_size = iLongSide / 2 >= iMinSide ? 1 : 0;
    pRaw->imgdata.params.use_camera_wb = 1;
    iStatus = pRaw->unpack();
    if (iStatus == LIBRAW_SUCCESS)
        iStatus = pRaw->dcraw_process();
    if (iStatus == LIBRAW_SUCCESS)
        iStatus = pRaw->dcraw_ppm_tiff_writer(QFile::encodeName(strDecodedPath).constData());
    if (iStatus == LIBRAW_CANCELLED_BY_CALLBACK) {
        QFile::remove(strDecodedPath);
        result.outcome = Aborted;
        return result;
    }
    if (iStatus != LIBRAW_SUCCESS || !MediaCheck::isCompletePpmFile(strDecodedPath)) {
        qDebug("RawDecoder: cannot decode %s: %s", baPath.constData(), libraw_strerror(iStatus));
        QFile::remove(strDecodedPath);
        result.outcome = Failed;
        result.blDamaged = watch.blDataError;
        return result;
    }
    qDebug("RawDecoder: decoded %s%s", baPath.constData(), pRaw->imgdata.params.half_size ? " at half size" : "");
    result.outcome = Decoded;
    result.strImage = strDecodedPath;
    result.blDamaged = watch.blDataError;
    return result;
}

} // namespace RawDecoder

#pragma GCC diagnostic pop

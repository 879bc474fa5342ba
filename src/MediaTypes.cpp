#include "MediaTypes.h"

#include <QFileInfo>
#include <QSet>
#include <QStringList>

namespace {

struct Tables
{
    QSet<QString> raw, convertedPhoto, convertedVideo, uploadedPhoto, uploadedVideo;

    Tables()
    {
        const QStringList lstRaw = {"arw", "srf", "sr2", "dcr", "k25", "kdc", "cr2", "crw", "nef", "mrw", "ptx",
                                    "pef", "raf", "3fr", "erf", "mef", "mos", "orf", "rw2", "dng", "x3f", "raw",
                                    // Read by the RAW library, not by the old decoder alone.
                                    "cr3", "nrw", "srw", "iiq", "fff", "rwl", "eip", "mfw", "ari", "kc2", "dcs",
                                    "drf", "bay", "mdc"};
        raw = QSet<QString>(lstRaw.begin(), lstRaw.end());
        // Photos of today's phones and cameras: uploaded unchanged, with thumbnails.
        const QSet<QString> modernPhoto = {"heic", "heif", "hif", "avif", "webp", "jxl"};

        convertedPhoto = {"jpg", "jpeg", "jpe", "bmp", "png", "tiff", "tif"};
        convertedPhoto.unite(raw).unite(modernPhoto);

        convertedVideo = {"mpg", "mpeg", "avi", "wmv",  "asf",  "mov",  "flv", "3gp", "3g2", "mp4",
                          "m4v", "qt",   "divx", "xvid", "dat", "m2ts", "m2t", "mts", "mkv", "webm"};

        uploadedPhoto = {"jpg", "jpeg", "jpe", "bmp", "png", "gif", "tiff", "tif"};
        uploadedPhoto.unite(raw).unite(modernPhoto);

        uploadedVideo = {"mpg",  "mpeg", "avi", "asf", "wmv", "mov", "flv", "dat",    "rmvb", "mp4", "divx", "xvid",
                         "vob",  "mkv",  "m2ts", "m2t", "mts", "m4v", "rm", "ts",    "3gp",  "3g2", "qt",   "swf",
                         "dvr-ms", "iso", "ifo", "srt", "ass", "ssa", "idx", "sub",   "smi",  "psb", "trp",  "tp",
                         "webm"};
    }
};

const Tables& tables()
{
    static const Tables s_tables;
    return s_tables;
}

} // namespace

namespace MediaTypes {

void fillTables()
{
    tables();
}

QString extensionOf(const QString& strFileName)
{
    return QFileInfo(strFileName).suffix();
}

bool isRaw(const QString& strExtension)
{
    return tables().raw.contains(strExtension.toLower());
}

int conversionKind(const QString& strExtension)
{
    const QString strExt = strExtension.toLower();
    if (tables().convertedPhoto.contains(strExt))
        return ConvertPhoto;
    if (tables().convertedVideo.contains(strExt))
        return ConvertVideo;
    return ConvertNone;
}

int uploadKind(const QString& strExtension)
{
    const QString strExt = strExtension.toLower();
    if (tables().uploadedPhoto.contains(strExt))
        return UploadPhoto;
    if (tables().uploadedVideo.contains(strExt))
        return UploadVideo;
    return UploadUnsupported;
}

} // namespace MediaTypes

#include "RenditionRecord.h"

#include "MediaTypes.h"
#include "VelmLocale.h"

#include <QHash>

#include <algorithm>

namespace Renditions {

const QStringList& thumbnailKeys()
{
    static const QStringList s_keys{"THUM_B", "THUM_L", "THUM_M", "THUM_S", "THUM_XL"};
    return s_keys;
}

QString thumbnailFile(const QString& strKey)
{
    static const QHash<QString, QString> s_files{{"THUM_B", "THUMB_B.jpg"},
                                                 {"THUM_L", "THUMB_L.jpg"},
                                                 {"THUM_M", "THUMB_M.jpg"},
                                                 {"THUM_S", "THUMB_S.jpg"},
                                                 {"THUM_XL", "THUMB_XL.jpg"}};
    return s_files.value(strKey);
}

QString videoKey(int iQuality)
{
    static const char* const s_keys[] = {"MP4_HIGH", "MP4_MEDIUM", "MP4_LOW", "MP4_MOBILE"};
    return iQuality >= 0 && iQuality < 4 ? QLatin1String(s_keys[iQuality]) : QString();
}

QString videoFile(int iQuality)
{
    static const char* const s_files[] = {"FILM_H.mp4", "FILM_M.mp4", "FILM_L.mp4", "FILM_MOBILE.mp4"};
    return iQuality >= 0 && iQuality < 4 ? QLatin1String(s_files[iQuality]) : QString();
}

QStringList expectedKeys(int iConversionKind, const QList<int>& lstQualities)
{
    if (iConversionKind != MediaTypes::ConvertPhoto && iConversionKind != MediaTypes::ConvertVideo)
        return {};
    QStringList lstKeys = thumbnailKeys();
    if (iConversionKind == MediaTypes::ConvertVideo) {
        for (int iQuality : lstQualities) {
            if (!videoKey(iQuality).isEmpty())
                lstKeys.append(videoKey(iQuality));
        }
    }
    return lstKeys;
}

QString missingText(const QStringList& lstKeys)
{
    static const char* const s_labels[] = {"upload_vdo_high", "upload_vdo_medium", "upload_vdo_low",
                                           "upload_vdo_mobile"};
    QStringList lstTexts;
    if (std::any_of(lstKeys.begin(), lstKeys.end(), [](const QString& strKey) { return thumbnailKeys().contains(strKey); }))
        lstTexts.append(VelmLocale::message("err_upd_no_thumbs"));
    QStringList lstVideos;
    for (int iQuality = 0; iQuality < 4; ++iQuality) {
        if (lstKeys.contains(videoKey(iQuality)))
            lstVideos.append(VelmLocale::message(s_labels[iQuality]));
    }
    if (!lstVideos.isEmpty())
        lstTexts.append(VelmLocale::message("err_upd_no_videos").arg(lstVideos.join(QLatin1String(", "))));
    return lstTexts.join(QLatin1Char(' '));
}

} // namespace Renditions

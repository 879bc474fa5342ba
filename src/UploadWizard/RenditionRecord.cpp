#include "RenditionRecord.h"

#include <QHash>

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

} // namespace Renditions

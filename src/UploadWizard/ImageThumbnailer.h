#pragma once

#include <QString>

#include <atomic>

// Makes the five JPEG thumbnails of a photo under the conversion's temporary prefix.
class ImageThumbnailer
{
public:
    ImageThumbnailer();

    // 0 on success, -1 on failure; the thumbnails that were made stay in place.
    int makeThumbnails(const QString& strPath, quint32 uId);
    // Stops a running tool; makeThumbnails then returns -1.
    void setAbort(bool blAbort) { m_blAbort = blAbort; }

private:
    int m_iQuality = 80;
    std::atomic_bool m_blAbort{false};
    quint32 m_uCurrentId = 0;
};

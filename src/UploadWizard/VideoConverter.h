#pragma once

#include <QList>
#include <QString>

#include <atomic>

// Makes the frame thumbnails and the H.264/AAC transcodes of a video under the conversion's
// temporary prefix, for the chosen qualities (0 high, 1 medium, 2 low, 3 mobile).
class VideoConverter
{
public:
    explicit VideoConverter(const QList<int>& lstQualities);

    // 0 on success, -1 on failure; whatever was made stays in place.
    int convertVideo(const QString& strPath, quint32 uId);
    void setAbort(bool blAbort) { m_blAbort = blAbort; }

private:
    QList<int> m_lstQualities;
    std::atomic_bool m_blAbort{false};
};

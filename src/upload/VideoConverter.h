#pragma once

#include "VideoProbe.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <atomic>

// Makes the frame thumbnails and the H.264/AAC transcodes of a video under the conversion's
// temporary prefix, for the chosen qualities (0 high, 1 medium, 2 low, 3 mobile).
class VideoConverter
{
public:
    explicit VideoConverter(const QList<int>& lstQualities);

    // 0 when the thumbnails and every chosen quality were made. -1 when the call gave up early or a
    // quality failed; a rendition a tool failed on or left incomplete is never left in place.
    int convertVideo(const QString& strPath, quint32 uId);
    void setAbort(bool blAbort) { m_blAbort = blAbort; }

    // What the last convertVideo() learnt of its video.
    const VideoProbe& lastProbe() const { return m_probe; }
    // What it found wrong with the video, for the report (damaged, turned by an odd angle);
    // empty when nothing.
    QString note() const;

    // Output size "WxH" for a quality: the display size fitted into the quality's box, never
    // enlarged, both sides even; empty when the frame size is unknown (mobile: its box). A frame
    // higher than wide fits the box turned upright.
    static QString fitResolution(const QString& strFrameSize, const QString& strAspect, int iQuality);
    // The picture filters for a video: a turn the transcoder does not make by itself, and tone
    // mapping of HDR to 8-bit BT.709; empty when none is needed.
    static QString pictureFilter(const VideoProbe& probe);
    // The encoder arguments of a quality for pass 1 or 2 (without input, size and output).
    QStringList passArguments(int iQuality, int iPass) const;
    // Every value after "-b:v" or "-bt" becomes the input's rate when that is lower.
    static QStringList capBitRate(QStringList lstArguments, int iVideoBitRate, int iTableBitRate);

private:
    QList<int> m_lstQualities;
    std::atomic_bool m_blAbort{false};
    VideoProbe m_probe;
    bool m_blDamaged = false;
    QString m_strFfmpegTool;
    QString m_strFaststartTool;
    QString m_strConvertTool;
    QMap<int, QStringList> m_mapFirstPass;
    QMap<int, QStringList> m_mapSecondPass;
};

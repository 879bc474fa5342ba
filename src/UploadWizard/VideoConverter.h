#pragma once

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
    // What the transcoder reports about an input.
    struct Probe
    {
        int totalBitRate = 0; // kbit/s
        int videoBitRate = 0;
        int audioBitRate = 0;
        QString frameSize; // "WxH"
        QString aspect;    // pixel aspect ratio "a:b"
    };

    explicit VideoConverter(const QList<int>& lstQualities);

    // 0 when the thumbnails and every chosen quality were made. -1 when the call gave up early or a
    // quality failed; a rendition a tool failed on or left incomplete is never left in place.
    int convertVideo(const QString& strPath, quint32 uId);
    void setAbort(bool blAbort) { m_blAbort = blAbort; }

    Probe probeVideo(const QString& strPath);
    // The stream description the transcoder prints for "-i <file>".
    static Probe parseProbe(const QString& strInfo);
    // Output size "WxH" for a quality: the display size fitted into the quality's box, never
    // enlarged, both sides even; empty when the frame size is unknown (mobile: its box).
    static QString fitResolution(const QString& strFrameSize, const QString& strAspect, int iQuality);
    // The encoder arguments of a quality for pass 1 or 2 (without input, size and output).
    QStringList passArguments(int iQuality, int iPass) const;
    // Every value after "-b:v" or "-bt" becomes the input's rate when that is lower.
    static QStringList capBitRate(QStringList lstArguments, int iVideoBitRate, int iTableBitRate);

private:
    QList<int> m_lstQualities;
    std::atomic_bool m_blAbort{false};
    QString m_strFfmpegTool;
    QString m_strFaststartTool;
    QString m_strConvertTool;
    QMap<int, QStringList> m_mapFirstPass;
    QMap<int, QStringList> m_mapSecondPass;
};

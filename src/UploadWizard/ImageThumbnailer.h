#pragma once

#include <QList>
#include <QMap>
#include <QSize>
#include <QString>

#include <atomic>

// Makes the five JPEG thumbnails of a photo under the conversion's temporary prefix, with the
// image converter; RAW photos are first turned into an ordinary image with the RAW decoder.
class ImageThumbnailer
{
public:
    ImageThumbnailer();

    // 0 on success, -1 when anything failed; the thumbnails that were made stay in place, and
    // none that a tool failed on or left incomplete.
    int makeThumbnails(const QString& strPath, quint32 uId);
    // An ordinary image made from a RAW file: its embedded preview when that is large enough,
    // otherwise the full decode. Empty when aborted, when the RAW file cannot be copied or when
    // the decode fails or is cut short.
    QString extractRawSource(const QString& strPath);
    // Stops a running tool; makeThumbnails then returns -1.
    void setAbort(bool blAbort) { m_blAbort = blAbort; }

    // Fast: one decode in process, the converter tool only where that fails. Tools: five
    // converter runs (the environment's PICTARIUM_THUMBNAIL_ENGINE=convert chooses it too).
    enum Engine { Fast, Tools };
    void setEngine(Engine engine) { m_engine = engine; }

    // Stored pixel size of an image file; invalid when it cannot be read.
    static QSize imageSize(const QString& strPath);

private:
    int makeWithTools(const QString& strPath, const QString& strPrefix);

    Engine m_engine = Fast;
    int m_iQuality = 80;
    std::atomic_bool m_blAbort{false};
    quint32 m_uCurrentId = 0;
    QString m_strConvertTool;
    QString m_strDcrawTool;
    QList<int> m_lstSizes;
    QMap<int, QString> m_mapSizeFiles;
};

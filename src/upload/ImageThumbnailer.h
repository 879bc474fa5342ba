#pragma once

#include <QList>
#include <QMap>
#include <QSize>
#include <QString>

#include <atomic>

// Makes the five JPEG thumbnails of a photo under the conversion's temporary prefix: in process
// (RAW photos through the RAW library), with the image converter and the RAW decoder tool where
// that fails.
class ImageThumbnailer
{
public:
    ImageThumbnailer();

    // 0 on success, -1 when anything failed; the thumbnails that were made stay in place, and
    // none that a tool failed on or left incomplete.
    int makeThumbnails(const QString& strPath, quint32 uId);
    // What the last makeThumbnails() found wrong with the picture itself, for the report (a
    // damaged or huge picture); empty when nothing. noteCoversThumbnails(): it says why there
    // are no thumbnails.
    const QString& note() const { return m_strNote; }
    bool noteCoversThumbnails() const { return m_blNoteCoversThumbnails; }
    // An ordinary image made from a RAW file with the RAW decoder tool under a conversion's
    // prefix: its embedded preview when that is large enough, otherwise the full decode. Empty
    // when aborted, when the RAW file cannot be copied or when the decode fails or is cut short.
    QString extractRawSource(const QString& strPath, const QString& strPrefix);
    // Stops a running tool; makeThumbnails then returns -1.
    void setAbort(bool blAbort) { m_blAbort = blAbort; }

    // Fast: one decode in process (RAW through the RAW library), the tools only where that
    // fails. Tools: the RAW decoder tool and five converter runs (the environment's
    // PICTARIUM_THUMBNAIL_ENGINE=convert chooses it too).
    enum Engine { Fast, Tools };
    void setEngine(Engine engine) { m_engine = engine; }

    // Stored pixel size of an image file; invalid when it cannot be read.
    static QSize imageSize(const QString& strPath);

private:
    int makeWithTools(const QString& strPath, const QString& strPrefix);
    // The RAW photo as an ordinary image, for the engine; empty when no decoder could make one.
    QString rawSource(const QString& strPath, const QString& strPrefix);

    Engine m_engine = Fast;
    QString m_strNote;
    bool m_blNoteCoversThumbnails = false;
    int m_iQuality = 80;
    std::atomic_bool m_blAbort{false};
    QString m_strConvertTool;
    QString m_strDcrawTool;
    QList<int> m_lstSizes;
    QMap<int, QString> m_mapSizeFiles;
};

#include "ImageThumbnailer.h"

#include "FastThumbnails.h"
#include "MediaCheck.h"
#include "MediaTypes.h"
#include "RawDecoder.h"
#include "TempFiles.h"
#include "ToolRunner.h"
#include "VelmLocale.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>

ImageThumbnailer::ImageThumbnailer()
    : m_strConvertTool(ToolLocator::path(ToolLocator::Convert)), m_strDcrawTool(ToolLocator::path(ToolLocator::Dcraw)),
      m_lstSizes{640, 800, 320, 120, 1280},
      m_mapSizeFiles{{640, QStringLiteral("THUMB_B.jpg")},
                     {800, QStringLiteral("THUMB_L.jpg")},
                     {320, QStringLiteral("THUMB_M.jpg")},
                     {120, QStringLiteral("THUMB_S.jpg")},
                     {1280, QStringLiteral("THUMB_XL.jpg")}}
{
    if (qEnvironmentVariable("PICTARIUM_THUMBNAIL_ENGINE") == QLatin1String("convert"))
        m_engine = Tools;
}

QSize ImageThumbnailer::imageSize(const QString& strPath)
{
    if (!QFileInfo::exists(strPath))
        return QSize();
    const ToolRunner::Result result = ToolRunner().run(ToolLocator::path(ToolLocator::Identify),
                                                       {QStringLiteral("-ping"), QStringLiteral("-format"),
                                                        QStringLiteral("%w %h\\n"), strPath});
    if (!result.ok())
        return QSize();
    const QList<QByteArray> lstNumbers = result.standardOutput.split('\n').value(0).split(' ');
    if (lstNumbers.size() != 2)
        return QSize();
    return QSize(lstNumbers.at(0).toInt(), lstNumbers.at(1).toInt());
}

namespace {

// A byte copy; an earlier file of the same name is replaced. A copy cut short (a full folder)
// is removed.
bool copyFile(const QString& strFrom, const QString& strTo)
{
    QFile::remove(strTo);
    if (QFile::copy(strFrom, strTo) && QFileInfo(strTo).size() == QFileInfo(strFrom).size())
        return true;
    qDebug("ImageThumbnailer: cannot copy %s", qPrintable(strFrom));
    QFile::remove(strTo);
    return false;
}

} // namespace

QString ImageThumbnailer::rawSource(const QString& strPath, const QString& strPrefix)
{
    RawDecoder::Outcome outcome = RawDecoder::NotRead;
    if (m_engine == Fast) {
        const RawDecoder::Result raw =
            RawDecoder::extract(strPath, strPrefix + QLatin1String("RAWJpgSrc.jpg"),
                                strPrefix + QLatin1String("RAWPPMSrc.ppm"),
                                *std::max_element(m_lstSizes.cbegin(), m_lstSizes.cend()), &m_blAbort);
        outcome = raw.outcome;
        if (outcome == RawDecoder::Preview || outcome == RawDecoder::Decoded) {
            if (raw.blDamaged)
                m_strNote = VelmLocale::message("err_upd_damaged_part");
            return raw.strImage;
        }
        if (outcome == RawDecoder::Aborted)
            return QString();
        qDebug("Image Thumb Process: the RAW library could not read it; the RAW decoder instead");
    }
    const QString strSource = extractRawSource(strPath, strPrefix);
    // Known to the library but unreadable to both decoders: the file is damaged.
    if (strSource.isEmpty() && outcome == RawDecoder::Failed && !m_blAbort) {
        m_strNote = VelmLocale::message("err_upd_damaged_none");
        m_blNoteCoversThumbnails = true;
    }
    return strSource;
}

int ImageThumbnailer::makeThumbnails(const QString& strPath, quint32 uId)
{
    m_strNote.clear();
    m_blNoteCoversThumbnails = false;
    const QString strPrefix = TempFiles::tempFilePrefix(uId);
    if (m_blAbort || !QFileInfo::exists(strPath) || !TempFiles::ensureFolder())
        return -1;
    // Work copies and decoded RAW pictures go as soon as the thumbnails are made: a run of
    // thousands of RAW photos would fill the disk with them otherwise.
    const auto removeWorkFiles = qScopeGuard([&strPrefix]() {
        for (const char* pszName : {"WinSourceTemp", "WinRAWTemp", "RAWJpgSrc.jpg", "RAWPPMSrc.ppm"})
            QFile::remove(strPrefix + QLatin1String(pszName));
    });

    QString strRawSource;
    if (MediaTypes::isRaw(QFileInfo(strPath).suffix())) {
        strRawSource = rawSource(strPath, strPrefix);
        if (strRawSource.isEmpty())
            return -1;
    }
    bool blUnreadable = false;
    if (m_engine == Fast) {
        const QString strSource = strRawSource.isEmpty() ? strPath : strRawSource;
        QList<FastThumbnails::Output> lstOutputs;
        for (int iSize : std::as_const(m_lstSizes))
            lstOutputs.append({iSize, strPrefix + m_mapSizeFiles.value(iSize)});
        qDebug("Image Thumb Process: one decode of %s", qPrintable(strSource));
        const FastThumbnails::Result result = FastThumbnails::make(strSource, lstOutputs, m_iQuality, &m_blAbort);
        bool blComplete = result == FastThumbnails::Made || result == FastThumbnails::Damaged;
        for (const FastThumbnails::Output& output : std::as_const(lstOutputs))
            blComplete = blComplete && MediaCheck::isCompleteJpegFile(output.strPath);
        if (blComplete) {
            if (result == FastThumbnails::Damaged)
                m_strNote = VelmLocale::message("err_upd_damaged_part");
            return 0;
        }
        for (const FastThumbnails::Output& output : std::as_const(lstOutputs))
            QFile::remove(output.strPath);
        if (m_blAbort)
            return -1;
        // The converter would decode a huge picture whole as well.
        if (result == FastThumbnails::TooLarge) {
            const QSize size = FastThumbnails::imageSize(strSource);
            m_strNote = VelmLocale::message("err_upd_too_large")
                            .arg(qRound64(double(size.width()) * size.height() / 1e6));
            m_blNoteCoversThumbnails = true;
            return -1;
        }
        blUnreadable = result == FastThumbnails::Unreadable;
        qDebug("Image Thumb Process: one decode failed; converter runs instead");
    }
    QString strWork = strRawSource;
    if (strWork.isEmpty()) {
        strWork = strPrefix + QLatin1String("WinSourceTemp");
        if (!copyFile(strPath, strWork))
            return -1;
    }
    const int iResult = makeWithTools(strWork, strPrefix);
    if (iResult != 0 && blUnreadable && !m_blAbort) {
        bool blAnyMade = false;
        for (int iSize : std::as_const(m_lstSizes))
            blAnyMade = blAnyMade || QFile::exists(strPrefix + m_mapSizeFiles.value(iSize));
        if (!blAnyMade) {
            m_strNote = VelmLocale::message("err_upd_damaged_none");
            m_blNoteCoversThumbnails = true;
        }
    }
    return iResult;
}

int ImageThumbnailer::makeWithTools(const QString& strWork, const QString& strPrefix)
{
    int iResult = 0;
    // Only images stored wider than high are turned by their EXIF orientation.
    const QSize workSize = imageSize(strWork);
    const bool blAutoOrient = workSize.isValid() && workSize.width() > workSize.height();

    const ToolRunner runner(&m_blAbort);
    for (int iSize : std::as_const(m_lstSizes)) {
        const QString strOutput = strPrefix + m_mapSizeFiles.value(iSize);
        const QString strGeometry = QStringLiteral("%1x%1>").arg(iSize);
        // The decoder's size hint goes before the input, where the converter reads it. The
        // decoder scales up to the hint as well, so a photo already inside the box gets none.
        QStringList lstArguments;
        if (workSize.isValid() && workSize.width() > iSize && workSize.height() > iSize)
            lstArguments << QStringLiteral("-define") << QLatin1String("jpeg:size=") + strGeometry;
        lstArguments << strWork << QStringLiteral("-thumbnail") << strGeometry << QStringLiteral("-strip")
                     << QStringLiteral("-flatten") << QStringLiteral("-quality") << QString::number(m_iQuality);
        if (blAutoOrient)
            lstArguments << QStringLiteral("-auto-orient");
        lstArguments << QStringLiteral("-colorspace") << QStringLiteral("RGB") << QStringLiteral("-unsharp")
                     << QStringLiteral("0.5x0.5+1.25+0.0") << QStringLiteral("-colorspace") << QStringLiteral("sRGB")
                     << strOutput;

        qDebug("Image Thumb Process: %s", qPrintable(ToolRunner::commandLine(m_strConvertTool, lstArguments)));
        const ToolRunner::Result result = runner.run(m_strConvertTool, lstArguments, QString(), "kill convert process");
        if (result.status == ToolRunner::Aborted) {
            QFile::remove(strOutput);
            return -1;
        }
        qDebug("%s", qPrintable(QLatin1String("Out ") + QString::fromLocal8Bit(result.standardOutput)));
        if (!result.ok() || !MediaCheck::isCompleteJpegFile(strOutput)) {
            qDebug("%s", qPrintable(QLatin1String("convert thumb error. delete ") + strOutput));
            QFile::remove(strOutput);
            iResult = -1;
        }
    }
    return iResult;
}

QString ImageThumbnailer::extractRawSource(const QString& strPath, const QString& strPrefix)
{
    const QString strPreview = strPrefix + QLatin1String("RAWJpgSrc.jpg");
    const QString strDecoded = strPrefix + QLatin1String("RAWPPMSrc.ppm");
    const QString strRawCopy = strPrefix + QLatin1String("WinRAWTemp");
    if (!copyFile(strPath, strRawCopy))
        return QString();
    const ToolRunner runner(&m_blAbort);

    // The embedded preview, when it is large enough for the biggest thumbnail.
    const QStringList lstPreview{QStringLiteral("-e"), QStringLiteral("-c"), strRawCopy};
    qDebug("Extract Raw Image %s", qPrintable(ToolRunner::commandLine(m_strDcrawTool, lstPreview)));
    ToolRunner::Result result = runner.run(m_strDcrawTool, lstPreview, strPreview, "kill dcraw process");
    if (result.status == ToolRunner::Aborted) {
        QFile::remove(strPreview);
        return QString();
    }
    if (!result.ok() || !MediaCheck::isCompleteJpegFile(strPreview)) {
        qDebug("%s", qPrintable(QLatin1String("Out ") + QString::fromLocal8Bit(result.standardError)));
        QFile::remove(strPreview);
    }
    const QSize previewSize = imageSize(strPreview);
    if (previewSize.isValid() && qMax(previewSize.width(), previewSize.height()) >= 1280)
        return strPreview;

    // Otherwise the whole RAW image, with the camera's white balance.
    const QStringList lstDecode{QStringLiteral("-w"), QStringLiteral("-c"), strRawCopy};
    qDebug("Convert Raw Image %s", qPrintable(ToolRunner::commandLine(m_strDcrawTool, lstDecode)));
    result = runner.run(m_strDcrawTool, lstDecode, strDecoded, "kill dcraw process");
    if (result.status == ToolRunner::Aborted) {
        QFile::remove(strDecoded);
        return QString();
    }
    if (!result.ok() || !MediaCheck::isCompletePpmFile(strDecoded)) {
        qDebug("%s", qPrintable(QLatin1String("Out ") + QString::fromLocal8Bit(result.standardError)));
        QFile::remove(strDecoded);
        return QString();
    }
    return strDecoded;
}

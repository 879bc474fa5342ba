#include "FileConverter.h"

#include "ImageThumbnailer.h"
#include "MediaCheck.h"
#include "MediaTypes.h"
#include "RenditionRecord.h"
#include "TempFiles.h"
#include "UploadQueue.h"
#include "VideoConverter.h"
#include "store/ServerProfile.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

FileConverter::FileConverter(UploadQueue* pQueue, const UploadJobList* pJobs, const ServerProfile& profile)
    : m_pQueue(pQueue), m_pThumbnailer(std::make_unique<ImageThumbnailer>()),
      m_pVideoConverter(std::make_unique<VideoConverter>(profile.qualities)), m_blDateRename(profile.daterename),
      m_pJobs(pJobs), m_lstQualities(profile.qualities)
{
}

FileConverter::~FileConverter()
{
    requestStop();
    wait();
}

void FileConverter::requestStop()
{
    m_blStop = true;
    m_pThumbnailer->setAbort(true);
    m_pVideoConverter->setAbort(true);
}

void FileConverter::run()
{
    for (int i = 0; i < m_pJobs->size(); ++i) {
        qDebug("FileConverter: Convert file [%d]", i);
        if (m_blStop)
            break;
        convertJob(i);
    }
    qDebug("FileConverter: End");
}

void FileConverter::convertJob(int iIndex)
{
    const quint32 uId = TempFiles::nextConversionId();
    const UploadJob job = m_pJobs->at(iIndex);
    const QString strSource = job.value(JobLocalPath);
    const QString strDestination = job.value(JobDestination);
    const QFileInfo sourceInfo(strSource);
    QString strName = sourceInfo.fileName();
    const QString strSuffix = sourceInfo.suffix();

    const float fNext = m_pQueue->addNextProgress(0.8f);
    Q_EMIT signalNextProgressChanged(int(fNext * 100.0f) - 1);
    m_pQueue->setCurrentFileSize(sourceInfo.size());
    m_pQueue->setCurrentFileName(strName);

    // Renditions are looked for only in a temporary folder that is this user's own.
    const bool blTempUsable = TempFiles::ensureFolder();
    const int iKind = MediaTypes::conversionKind(strSuffix);
    // The stored name: planned with the whole selection, or made here in job order.
    if (!sourceInfo.isDir()) {
        strName = job.value(JobStoredName);
        if (strName.isEmpty())
            strName = m_storedNames.take(strDestination, UploadPlan::baseStoredName(strSource, m_blDateRename));
    }
    if (iKind == MediaTypes::ConvertPhoto) {
        qDebug("FileConverter: Convert Image [%s]", qPrintable(strName));
        if (!blTempUsable || m_pThumbnailer->makeThumbnails(strSource, uId) == -1)
            qDebug("Image convert error");
    } else if (iKind == MediaTypes::ConvertVideo) {
        qDebug("FileConverter: Convert Video [%s]", qPrintable(strName));
        if (!blTempUsable || m_pVideoConverter->convertVideo(strSource, uId) == -1)
            qDebug("Video convert error");
    }

    // Renditions that were not made are named on the source record, for the report.
    QStringList lstMissing = Renditions::expectedKeys(iKind, m_lstQualities);
    const QString strPrefix = TempFiles::tempFilePrefix(uId);
    if (blTempUsable) {
        bool blFirst = true;
        for (const QString& strKey : Renditions::thumbnailKeys()) {
            const QString strPath = strPrefix + Renditions::thumbnailFile(strKey);
            if (!MediaCheck::isCompleteJpegFile(strPath))
                continue;
            RenditionRecord record{
                {KeyPath, strPath}, {KeyDestination, strDestination}, {KeyOrigName, strName}, {KeyUploadType, strKey}};
            if (blFirst)
                record.insert(KeyBatchFirst, QStringLiteral("true"));
            m_pQueue->handOver(record);
            lstMissing.removeOne(strKey);
            blFirst = false;
        }
        if (iKind == MediaTypes::ConvertVideo) {
            for (int iQuality : std::as_const(m_lstQualities)) {
                const QString strPath = strPrefix + Renditions::videoFile(iQuality);
                if (Renditions::videoFile(iQuality).isEmpty() || !QFile::exists(strPath))
                    continue;
                m_pQueue->handOver({{KeyPath, strPath},
                                    {KeyDestination, strDestination},
                                    {KeyOrigName, strName},
                                    {KeyUploadType, Renditions::videoKey(iQuality)}});
                lstMissing.removeOne(Renditions::videoKey(iQuality));
            }
        }
    }

    RenditionRecord source{{KeyPath, strSource},
                           {KeyDestination, strDestination},
                           {KeyOrigName, strName},
                           {KeyUploadType, sourceInfo.isDir() ? QStringLiteral("FOLDER") : QStringLiteral("ORIG_FILE")},
                           {KeyBatchLast, QStringLiteral("true")}};
    if (iIndex == m_pJobs->size() - 1)
        source.insert(KeyJobLast, QStringLiteral("true"));
    if (!lstMissing.isEmpty())
        source.insert(KeyMissing, lstMissing.join(QLatin1Char(',')));
    // Counted before the hand-over, so that the uploader's share of this file always comes after it.
    const float fComplete = m_pQueue->addCompleteProgress(0.8f);
    Q_EMIT signalCompleteProgressChanged(int(fComplete * 100.0f));
    m_pQueue->handOver(source);
}

#include "FileConverter.h"

#include "ImageThumbnailer.h"
#include "MediaCheck.h"
#include "MediaTypes.h"
#include "protocol/RenditionRecord.h"
#include "TempFiles.h"
#include "UploadQueue.h"
#include "VideoConverter.h"
#include "store/ServerProfile.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <thread>

FileConverter::FileConverter(UploadQueue* pQueue, const UploadJobList* pJobs, const ServerProfile& profile)
    : m_pQueue(pQueue), m_workers(std::size_t(parallelCount())), m_blDateRename(profile.daterename), m_pJobs(pJobs),
      m_lstQualities(profile.qualities)
{
    for (Worker& worker : m_workers) {
        worker.pThumbnailer = std::make_unique<ImageThumbnailer>();
        worker.pVideoConverter = std::make_unique<VideoConverter>(profile.qualities);
    }
}

FileConverter::~FileConverter()
{
    requestStop();
    wait();
}

int FileConverter::parallelCount()
{
    bool blOk = false;
    const int iSet = qEnvironmentVariableIntValue("PICTARIUM_CONVERT_JOBS", &blOk);
    if (blOk && iSet >= 1)
        return std::min(iSet, 64);
    return std::max(2, QThread::idealThreadCount());
}

void FileConverter::requestStop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_blStop = true;
    }
    for (Worker& worker : m_workers) {
        worker.pThumbnailer->setAbort(true);
        worker.pVideoConverter->setAbort(true);
    }
    m_wake.notify_all();
}

void FileConverter::run()
{
    const int nJobs = int(m_pJobs->size());
    m_lstPrepared.assign(std::size_t(nJobs), Prepared());
    m_lstConverted.assign(std::size_t(nJobs), 0);
    std::vector<std::thread> lstThreads;
    for (Worker& worker : m_workers)
        lstThreads.emplace_back([this, &worker]() { workerLoop(worker); });

    // Conversions run ahead of the hand-over by at most two per worker, so finished files
    // that wait for an earlier one stay few.
    const int iAhead = 2 * int(m_workers.size());
    int iNextStart = 0;
    for (int iNext = 0; iNext < nJobs && !m_blStop; ++iNext) {
        for (; iNextStart < nJobs && iNextStart < iNext + iAhead && !m_blStop; ++iNextStart) {
            qDebug("FileConverter: Convert file [%d]", iNextStart);
            Prepared job = prepare(iNextStart);
            std::lock_guard<std::mutex> lock(m_mutex);
            m_lstPrepared[std::size_t(iNextStart)] = std::move(job);
            m_lstWaiting.push_back(iNextStart);
            m_wake.notify_all();
        }
        // The file the uploader waits for is the one in progress, whichever others run beside it.
        // Named before the progress signal, so that a display reading the name on it has this one.
        const Prepared& next = m_lstPrepared[std::size_t(iNext)];
        m_pQueue->setCurrentFileSize(QFileInfo(next.strSource).size());
        m_pQueue->setCurrentFileName(QFileInfo(next.strSource).fileName());
        const float fNext = m_pQueue->addNextProgress(0.8f);
        Q_EMIT signalNextProgressChanged(int(fNext * 100.0f) - 1);
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [&]() { return m_blStop || m_lstConverted[std::size_t(iNext)]; });
        }
        if (!m_blStop)
            handOver(iNext, m_lstPrepared[std::size_t(iNext)]);
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_blNoMoreJobs = true;
    }
    m_wake.notify_all();
    for (std::thread& thread : lstThreads)
        thread.join();
    qDebug("FileConverter: End");
}

void FileConverter::workerLoop(Worker& worker)
{
    for (;;) {
        int iIndex = -1;
        Prepared job;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [&]() { return m_blNoMoreJobs || m_blStop || !m_lstWaiting.empty(); });
            if (m_blStop || m_lstWaiting.empty())
                return;
            iIndex = m_lstWaiting.front();
            m_lstWaiting.erase(m_lstWaiting.begin());
            job = m_lstPrepared[std::size_t(iIndex)];
        }
        convert(job, worker);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_lstPrepared[std::size_t(iIndex)].strNote = job.strNote;
            m_lstPrepared[std::size_t(iIndex)].blThumbnailsExplained = job.blThumbnailsExplained;
            m_lstConverted[std::size_t(iIndex)] = 1;
        }
        m_wake.notify_all();
    }
}

FileConverter::Prepared FileConverter::prepare(int iIndex)
{
    Prepared job;
    job.uId = TempFiles::nextConversionId();
    const UploadJob& source = m_pJobs->at(iIndex);
    job.strSource = source.value(JobLocalPath);
    job.strDestination = source.value(JobDestination);
    const QFileInfo sourceInfo(job.strSource);
    job.blFolder = sourceInfo.isDir();
    job.strName = sourceInfo.fileName();

    // Renditions are looked for only in a temporary folder that is this user's own.
    job.blTempUsable = TempFiles::ensureFolder();
    job.iKind = MediaTypes::conversionKind(sourceInfo.suffix());
    // The stored name: planned with the whole selection, or made here in job order.
    if (!job.blFolder) {
        job.strName = source.value(JobStoredName);
        job.strDuplicate = source.value(JobDuplicate);
        job.blNameFree = source.value(JobNameFree) == QLatin1String("true");
        if (job.strName.isEmpty())
            job.strName =
                m_storedNames.take(job.strDestination, UploadPlan::baseStoredName(job.strSource, m_blDateRename));
    }
    return job;
}

void FileConverter::convert(Prepared& job, Worker& worker)
{
    if (job.iKind == MediaTypes::ConvertPhoto) {
        qDebug("FileConverter: Convert Image [%s]", qPrintable(job.strName));
        ImageThumbnailer& thumbnailer = *worker.pThumbnailer;
        if (!job.blTempUsable || thumbnailer.makeThumbnails(job.strSource, job.uId) == -1)
            qDebug("Image convert error");
        if (job.blTempUsable) {
            job.strNote = thumbnailer.note();
            job.blThumbnailsExplained = thumbnailer.noteCoversThumbnails();
        }
    } else if (job.iKind == MediaTypes::ConvertVideo) {
        qDebug("FileConverter: Convert Video [%s]", qPrintable(job.strName));
        VideoConverter& converter = *worker.pVideoConverter;
        if (!job.blTempUsable || converter.convertVideo(job.strSource, job.uId) == -1)
            qDebug("Video convert error");
        if (job.blTempUsable)
            job.strNote = converter.note();
    }
}

void FileConverter::handOver(int iIndex, const Prepared& job)
{
    // Renditions that were not made are named on the source record, for the report.
    QStringList lstMissing = Renditions::expectedKeys(job.iKind, m_lstQualities);
    if (job.blThumbnailsExplained) {
        for (const QString& strKey : Renditions::thumbnailKeys())
            lstMissing.removeOne(strKey);
    }
    const QString strPrefix = TempFiles::tempFilePrefix(job.uId);
    // Every record of the file names its album and stored name, and the policy it goes with.
    const auto record = [&job](const QString& strPath, const QString& strType) {
        RenditionRecord record{{KeyPath, strPath},
                               {KeyDestination, job.strDestination},
                               {KeyOrigName, job.strName},
                               {KeyUploadType, strType}};
        if (!job.strDuplicate.isEmpty())
            record.insert(KeyDuplicate, job.strDuplicate);
        return record;
    };
    if (job.blTempUsable) {
        bool blFirst = true;
        for (const QString& strKey : Renditions::thumbnailKeys()) {
            const QString strPath = strPrefix + Renditions::thumbnailFile(strKey);
            if (!MediaCheck::isCompleteJpegFile(strPath))
                continue;
            RenditionRecord thumbnail = record(strPath, strKey);
            if (blFirst)
                thumbnail.insert(KeyBatchFirst, QStringLiteral("true"));
            if (m_blStop)
                return;
            m_pQueue->handOver(thumbnail);
            lstMissing.removeOne(strKey);
            blFirst = false;
        }
        if (job.iKind == MediaTypes::ConvertVideo) {
            for (int iQuality : std::as_const(m_lstQualities)) {
                const QString strPath = strPrefix + Renditions::videoFile(iQuality);
                if (Renditions::videoFile(iQuality).isEmpty() || !QFile::exists(strPath))
                    continue;
                if (m_blStop)
                    return;
                m_pQueue->handOver(record(strPath, Renditions::videoKey(iQuality)));
                lstMissing.removeOne(Renditions::videoKey(iQuality));
            }
        }
    }

    RenditionRecord source = record(job.strSource, job.blFolder ? QStringLiteral("FOLDER") : QStringLiteral("ORIG_FILE"));
    source.insert(KeyBatchLast, QStringLiteral("true"));
    if (job.blNameFree)
        source.insert(KeyNameFree, QStringLiteral("true"));
    if (iIndex == m_pJobs->size() - 1)
        source.insert(KeyJobLast, QStringLiteral("true"));
    if (!lstMissing.isEmpty())
        source.insert(KeyMissing, lstMissing.join(QLatin1Char(',')));
    if (!job.strNote.isEmpty())
        source.insert(KeyNote, job.strNote);
    if (m_blStop)
        return;
    // Counted before the hand-over, so that the uploader's share of this file always comes after it.
    const float fComplete = m_pQueue->addCompleteProgress(0.8f);
    Q_EMIT signalCompleteProgressChanged(int(fComplete * 100.0f));
    m_pQueue->handOver(source);
}

#include "UploadRun.h"

#include "CameraImport.h"
#include "TempFiles.h"
#include "VelmLocale.h"
#include "protocol/UploadInitRequest.h"
#include "store/ProfileRunLock.h"
#include "store/ProfileStore.h"
#include "store/ServerProfile.h"
#include "store/UploadHistory.h"
#include "upload/FileConverter.h"
#include "upload/UploadQueue.h"

#include <QDebug>
#include <QFileInfo>
#include <QDir>

UploadRun::UploadRun(QNetworkAccessManager* pNam, ServerProfile* pProfile, RunMode mode, QObject* pParent)
    : QObject(pParent), m_pNam(pNam), m_pProfile(pProfile), m_mode(mode), m_pQueue(std::make_unique<UploadQueue>())
{
    // Leftovers of earlier runs of this user go; other running uploads keep theirs.
    TempFiles::emptyFolder();
    if (m_mode == RunMode::Camera) {
        CameraImport::emptyFolder();
        CameraImport::ensureFolder();
    } else {
        TempFiles::ensureFolder();
    }
}

UploadRun::~UploadRun()
{
    // Threads are stopped and waited for before they are deleted.
    if (m_pInit)
        m_pInit->cancel();
    if (m_pConverter) {
        m_pConverter->requestStop();
        m_pConverter->wait();
    }
    if (m_pUploader) {
        m_pUploader->cancel();
        m_pUploader->quit();
        m_pUploader->wait();
    }
    // Copies of camera items do not outlive the run, uploaded or not.
    if (m_mode == RunMode::Camera)
        CameraImport::emptyFolder();
}

bool UploadRun::claim(QString* pstrRefusal)
{
    QString strReason;
    if (!UploadHistory::isWritable(m_mode == RunMode::Camera, &strReason)) {
        *pstrRefusal = VelmLocale::message("err_history_write").arg(strReason);
        return false;
    }
    if (m_pRunLock && m_pRunLock->isLocked() && m_strLockedProfile == m_pProfile->profname)
        return true;
    m_pRunLock = std::make_unique<ProfileRunLock>(m_pProfile->profname);
    m_strLockedProfile = m_pProfile->profname;
    if (m_pRunLock->tryLock())
        return true;
    *pstrRefusal = m_pRunLock->refusal();
    return false;
}

void UploadRun::setCameraImport(const FileUploader::CameraDetails& details, const Rows& lstNotTaken,
                                bool blSkippedUploaded)
{
    m_cameraDetails = details;
    m_lstCameraNotTaken = lstNotTaken;
    m_blCameraSkippedUploaded = blSkippedUploaded;
}

void UploadRun::plan(const QStringList& lstPaths, const std::function<void()>& fnEvents)
{
    m_lstJobs.clear();
    m_lstSkippedJobs.clear();
    m_lstLeftOut.clear();
    m_lstRefused.clear();
    m_blVideo = UploadPlan::collectJobs(lstPaths, UploadPlan::destinationDir(m_pProfile->serverdst),
                                        m_pProfile->keepfolders, m_pProfile->idxonly, m_lstJobs, &m_lstLeftOut);
    // Names come from the whole selection, before anything is set aside: a later run of the
    // same files gives each the same name.
    // A file sent before to the album keeps the name it was sent under: its own copy there, or
    // one the server may hold from a run that got no answer.
    std::function<QString(const UploadJob&)> fnKnownName;
    if (m_mode != RunMode::Camera) {
        fnKnownName = [strProfile = m_pProfile->profname](const UploadJob& job) {
            return UploadHistory::storedName(job.value(JobLocalPath), strProfile, job.value(JobDestination));
        };
    }
    UploadPlan::assignStoredNames(m_lstJobs, m_pProfile->daterename, fnEvents, fnKnownName);
    // The camera import has left out what its history holds already.
    if (m_mode != RunMode::Camera && m_pProfile->incbackup)
        m_lstSkippedJobs = UploadPlan::dropUploaded(m_lstJobs, m_pProfile->profname, fnEvents);
    m_pQueue->skipped = int(m_lstSkippedJobs.size());
}

UploadRun::Announced UploadRun::announce(QString* pstrMessage)
{
    m_blCancelled = false;
    m_lstRefused.clear();
    // Nothing to ask the server about: the selection holds no file or folder to send.
    if (m_lstJobs.isEmpty() && m_lstSkippedJobs.isEmpty() && !m_blCameraSkippedUploaded) {
        if (pstrMessage)
            *pstrMessage = VelmLocale::message("upload_zero_file_none");
        return Announced::NothingToSend;
    }
    const bool blSkippedUploaded = m_mode == RunMode::Camera ? m_blCameraSkippedUploaded : !m_lstSkippedJobs.isEmpty();
    const QString strProfile = m_pProfile->profname;
    // The album's file of that name is this very file, as the history knows it.
    const auto isOwnCopy = [strProfile](const UploadJob& job) {
        const QString strName =
            UploadHistory::storedName(job.value(JobLocalPath), strProfile, job.value(JobDestination));
        return !strName.isEmpty() && strName.compare(job.value(JobStoredName), Qt::CaseInsensitive) == 0;
    };
    UploadPlan::TakenNames taken;
    int iConfirmed = 0;
    std::unique_ptr<UploadInitRequest> pInit;
    // Names the program made are announced again after a move to a free name, a few times at most.
    for (int iRound = 1;; ++iRound) {
        pInit = std::make_unique<UploadInitRequest>();
        m_pInit = pInit.get();
        if (blSkippedUploaded || iConfirmed > 0)
            pInit->setSkippedUploaded();
        pInit->send(m_pNam, m_pProfile->baseUrl, m_lstJobs);
        m_pInit = nullptr;
        if (m_blCancelled)
            return Announced::Cancelled;
        if (!pInit->errorMessage().isEmpty()) {
            if (pstrMessage)
                *pstrMessage = VelmLocale::message("err_upload_init").arg(pInit->errorMessage());
            return Announced::Failed;
        }
        iConfirmed += confirmUnconfirmed(pInit->duplicatedPaths());
        for (const UploadJob& job : std::as_const(m_lstJobs)) {
            if (!job.value(JobStoredName).isEmpty() && pInit->duplicatedPaths().contains(UploadInitRequest::serverPath(job)))
                taken[job.value(JobDestination)].insert(job.value(JobStoredName).toCaseFolded());
        }
        const bool blLastTry = iRound >= MaxNameRounds;
        if (UploadPlan::avoidTakenNames(m_lstJobs, taken, isOwnCopy, blLastTry) == 0 || blLastTry)
            break;
    }
    if (iConfirmed > 0)
        pInit->setSkippedUploaded();
    for (const UploadJob& job : std::as_const(m_lstJobs)) {
        if (pInit->noPrivilegePaths().contains(UploadInitRequest::serverPath(job))) {
            const QString strAlbum = job.value(JobDestination);
            const QString strName = QFileInfo(QDir::cleanPath(job.value(JobLocalPath))).fileName();
            m_lstRefused.append(strAlbum.isEmpty() ? strName : strAlbum + QLatin1Char('/') + strName);
        }
    }
    pInit->filterJobs(m_lstJobs);
    for (UploadJob& job : m_lstJobs) {
        if (!job.value(JobStoredName).isEmpty() && !pInit->duplicatedPaths().contains(UploadInitRequest::serverPath(job)))
            job.insert(JobNameFree, QStringLiteral("true"));
    }
    m_pQueue->total = int(m_lstJobs.size()) + iConfirmed;
    m_pQueue->totalFiles = iConfirmed;
    for (const UploadJob& job : std::as_const(m_lstJobs))
        m_pQueue->totalFiles += QFileInfo(job.value(JobLocalPath)).isDir() ? 0 : 1;
    // Files confirmed by the server count as done from the start.
    m_pQueue->addCompleteProgress(float(iConfirmed));
    if (!m_lstJobs.isEmpty())
        return Announced::Ready;
    if (pstrMessage)
        *pstrMessage = pInit->zeroFileMessage();
    return Announced::NothingToSend;
}

int UploadRun::confirmUnconfirmed(const QSet<QString>& setListed)
{
    if (m_mode == RunMode::Camera)
        return 0;
    int iConfirmed = 0;
    for (auto it = m_lstJobs.begin(); it != m_lstJobs.end();) {
        const QString strPath = it->value(JobLocalPath);
        bool blConfirmed = true;
        const QString strName =
            UploadHistory::storedName(strPath, m_pProfile->profname, it->value(JobDestination), &blConfirmed);
        if (blConfirmed || strName != it->value(JobStoredName) || !setListed.contains(UploadInitRequest::serverPath(*it))) {
            ++it;
            continue;
        }
        // An earlier run's file reached the server: it is uploaded, not sent again.
        const QString strFileName = QFileInfo(strPath).fileName();
        UploadHistory::recordUploadedFile(strPath, strFileName, m_pProfile->profname);
        UploadHistory::recordStoredName(strPath, m_pProfile->profname, it->value(JobDestination), strName, true);
        ++m_pQueue->succeeded;
        m_pQueue->successes.append(strFileName);
        m_pQueue->notes.append({strFileName, VelmLocale::message("upd_note_confirmed")});
        m_pQueue->markDone(strPath);
        it = m_lstJobs.erase(it);
        ++iConfirmed;
    }
    return iConfirmed;
}

void UploadRun::start()
{
    if (m_pConverter)
        return;
    m_blCancelled = false;
    m_pConverter = std::make_unique<FileConverter>(m_pQueue.get(), &m_lstJobs, *m_pProfile);
    m_pUploader = std::make_unique<FileUploader>(m_pQueue.get(), m_pNam, m_pProfile, m_mode, &m_cameraDetails);
    for (QObject* pWorker : {static_cast<QObject*>(m_pConverter.get()), static_cast<QObject*>(m_pUploader.get())}) {
        connect(pWorker, SIGNAL(signalCompleteProgressChanged(int)), this, SIGNAL(signalCompleteProgressChanged(int)));
        connect(pWorker, SIGNAL(signalNextProgressChanged(int)), this, SIGNAL(signalNextProgressChanged(int)));
    }
    connect(m_pUploader.get(), &FileUploader::signalConnectionSessionLost, this, &UploadRun::signalSessionLost);
    connect(m_pUploader.get(), &FileUploader::signalUploadStopped, this, &UploadRun::signalStopped);
    connect(m_pUploader.get(), &FileUploader::signalWaitingForReply, this, &UploadRun::signalWaitingForReply);
    connect(m_pUploader.get(), &FileUploader::signalUploadFinished, this, &UploadRun::slotUploadFinished);
    m_blRunning = true;
    m_pConverter->start(QThread::InheritPriority);
    m_pUploader->start(QThread::InheritPriority);
}

void UploadRun::cancel()
{
    // A finished run stays as it ended.
    if (m_blFinished)
        return;
    m_blCancelled = true;
    if (m_pInit)
        m_pInit->cancel();
    if (m_pUploader)
        m_pUploader->cancel();
    if (m_pConverter)
        m_pConverter->requestStop();
}

bool UploadRun::isWaitingForReply() const
{
    return m_pUploader && m_pUploader->isWaitingForReply();
}

qint64 UploadRun::totalBytes() const
{
    qint64 llTotal = 0;
    for (const UploadJob& job : m_lstJobs)
        llTotal += QFileInfo(job.value(JobLocalPath)).size();
    return llTotal;
}

void UploadRun::slotUploadFinished()
{
    qDebug("UploadRun: the uploader has finished");
    m_blRunning = false;
    m_blFinished = true;
    // Nothing consumes records any more (a lost login ends the uploader early): the converter
    // stops, then its renditions can go.
    m_pConverter->requestStop();
    m_pConverter->wait();
    m_strStopReason = m_pUploader->stopReason();
    m_blCancelled = m_pUploader->isCancelled();
    ProfileStore::saveUploadOptions(*m_pProfile);
    ProfileStore::countUploadRun(m_pProfile->profname);
    m_pQueue->collectNotSent(m_lstJobs, VelmLocale::message("err_not_sent"));
    TempFiles::emptyFolder();
    // Only a camera run owns the camera folder: another run must not empty it under one.
    if (m_mode == RunMode::Camera)
        CameraImport::emptyFolder();
    // Everything of this run is in the history: the profile is free for the next one.
    if (m_pRunLock)
        m_pRunLock->unlock();
    Q_EMIT signalFinished();
}

UploadRun::Report UploadRun::report() const
{
    Report report;
    report.uploaded = m_pQueue->successes;
    for (const UploadJob& job : m_lstSkippedJobs)
        report.skipped.append(QFileInfo(job.value(JobLocalPath)).fileName());
    report.leftOut = m_lstLeftOut + m_lstCameraNotTaken;
    report.refused = m_lstRefused;
    report.failed = m_pQueue->failures;
    report.notSent = m_pQueue->notSent;
    report.notes = m_pQueue->notes;
    report.cancelled = m_blCancelled;
    report.stopReason = m_strStopReason;
    return report;
}

UploadRun::Rows UploadRun::reportRows() const
{
    // The window names files, as its other rows do.
    Rows lstRows = m_pQueue->failures + m_pQueue->notSent + m_pQueue->notes;
    for (const auto& leftOut : m_lstLeftOut)
        lstRows.append({QFileInfo(leftOut.first).fileName(), leftOut.second});
    return lstRows + m_lstCameraNotTaken;
}

#include "FileUploader.h"

#include "TempFiles.h"
#include "UploadQueue.h"
#include "VelmLocale.h"
#include "protocol/FileUploadRequest.h"
#include "protocol/ServerReply.h"
#include "protocol/ServerRequest.h"
#include "store/ServerProfile.h"
#include "store/UploadHistory.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QScopeGuard>

FileUploader::FileUploader(UploadQueue* pQueue, QNetworkAccessManager* pNam, ServerProfile* pProfile, RunMode mode,
                           const CameraDetails* pCameraDetails)
    : m_mode(mode), m_pProfile(pProfile), m_pQueue(pQueue), m_pNam(pNam), m_pCameraDetails(pCameraDetails)
{
    connect(this, &FileUploader::signalStartFileUpload, this, &FileUploader::slotStartFileUpload);
    connect(m_pQueue, &UploadQueue::signalRecordAvailable, &m_recordLoop, &QEventLoop::quit);
    m_graceTimer.setSingleShot(true);
    connect(&m_graceTimer, &QTimer::timeout, &m_replyLoop, &QEventLoop::quit);
}

FileUploader::~FileUploader()
{
    if (m_pReply) {
        m_pReply->disconnect(this);
        delete m_pReply;
    }
    quit();
    wait();
}

void FileUploader::run()
{
    Q_EMIT signalStartFileUpload();
    exec();
}

void FileUploader::cancel()
{
    if (!m_blCancelled && m_pReply && m_blBodySent && m_record.value(KeyBatchLast) == QLatin1String("true")) {
        // The server may be storing the file right now: give it a moment to say so, so that
        // the file is counted and recorded instead of being sent again by the next run.
        m_blCancelled = true;
        m_blGrace = true;
        m_graceTimer.start(m_iReplyGraceMs);
        qDebug("FileUploader: cancel waits for the reply to %s", qPrintable(m_record.value(KeyOrigName)));
        Q_EMIT signalWaitingForReply(QFileInfo(m_record.value(KeyPath)).fileName(), (m_iReplyGraceMs + 999) / 1000);
        return;
    }
    m_blCancelled = true;
    m_blGrace = false;
    m_graceTimer.stop();
    m_replyLoop.quit();
    m_recordLoop.quit();
    m_retryLoop.quit();
}

bool FileUploader::waitForRecord()
{
    // The event loop keeps running while the converter works: the window repaints and
    // Cancel is heard. A hand-over wakes the wait; the timer is only a safety net.
    while (!m_pQueue->tryAcquire(1)) {
        if (m_blCancelled)
            return false;
        QTimer::singleShot(100, &m_recordLoop, &QEventLoop::quit);
        m_recordLoop.exec();
    }
    // The converter's progress signals for this record were posted before the hand-over;
    // deliver them first so the page never sees progress go backwards.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    return true;
}

void FileUploader::slotStartFileUpload()
{
    while (!m_blCancelled) {
        if (!waitForRecord())
            break;
        m_record = m_pQueue->takeRecord();
        if (m_record.value(KeyBatchFirst) == QLatin1String("true")) {
            const float fNext = m_pQueue->addNextProgress(0.2f);
            Q_EMIT signalNextProgressChanged(int(fNext * 100.0f) - 1);
        }
        // The source goes out after its renditions: from then on it is the file being worked on.
        const bool blSource = m_record.value(KeyBatchLast) == QLatin1String("true");
        if (blSource)
            m_pQueue->setSendingFileName(QFileInfo(m_record.value(KeyPath)).fileName());
        sendRecord();
        if (blSource)
            m_pQueue->setSendingFileName(QString());
        if (m_blCancelled)
            break;
        if (m_record.value(KeyJobLast) == QLatin1String("true")) {
            Q_EMIT signalCompleteProgressChanged(100);
            Q_EMIT signalNextProgressChanged(100);
            break;
        }
        if (m_blLoginLost) {
            m_strStopReason = VelmLocale::message("err_session_lost");
            Q_EMIT signalConnectionSessionLost();
            break;
        }
        if (!m_strStopReason.isEmpty()) {
            Q_EMIT signalUploadStopped(m_strStopReason);
            break;
        }
    }
    m_blGrace = false;
    Q_EMIT signalUploadFinished();
    quit();
}

void FileUploader::sendRecord()
{
    const QString strPath = m_record.value(KeyPath);
    const bool blFolder = m_record.value(KeyUploadType) == QLatin1String("FOLDER");
    const bool blSource = m_record.value(KeyBatchLast) == QLatin1String("true");
    const int iMaxAttempts = m_blDegraded ? 1 : MaxAttempts;
    if (m_blRenditionsFailing && !blSource) {
        // A rendition of this file failed in transport: the others would most likely fail too,
        // each at the cost of a time-out, so only the file itself is tried.
        m_lstFailedRenditions.append(m_record.value(KeyUploadType));
        removeTempRendition();
        return;
    }

    m_blResent = false;
    m_blMaybeStored = false;
    m_blNamePending = false;
    const QString strAlbum = m_record.value(KeyDestination);
    const QString strName = m_record.value(KeyOrigName);
    for (int iAttempt = 1;; ++iAttempt) {
        QString strLastModified;
        if (!blFolder) {
            if (blSource)
                m_sentSnapshot = snapshotOf(strPath);
            // The name goes into the history before the body goes out: a run that ends while it
            // waits for the answer leaves the file as maybe stored, for the next run to ask about.
            if (blSource && m_mode != RunMode::Camera && nameKnown() && QFileInfo::exists(strPath)) {
                if (!m_blNamePending)
                    m_strNameBefore = UploadHistory::storedName(strPath, m_pProfile->profname, strAlbum,
                                                                &m_blNameBeforeConfirmed);
                m_blNamePending =
                    UploadHistory::recordStoredName(strPath, m_pProfile->profname, strAlbum, strName, false) ||
                    m_blNamePending;
            }
            m_pFile = std::make_unique<QFile>(strPath);
            if (!QFileInfo::exists(strPath) || !m_pFile->open(QIODevice::ReadOnly)) {
                m_pFile.reset();
                // A rendition that cannot be read is a missing rendition, not a failed file.
                if (blSource)
                    outcome(false, VelmLocale::message("err_upd_unreadable"), false, Result::Answered);
                else
                    m_lstFailedRenditions.append(m_record.value(KeyUploadType));
                return;
            }
            if (m_record.contains(KeyBatchLast)) {
                strLastModified = QString::number(
                    quint64(m_pFile->fileTime(QFileDevice::FileModificationTime).toSecsSinceEpoch()));
                qDebug("Get last modifiled time: %s", qPrintable(strLastModified));
            }
        }

        m_blTransportFailure = false;
        m_blBodySent = false;
        // A resent file replaces its own first copy where that copy can only be under its name.
        RenditionRecord record = m_record;
        if (m_blResent && record.value(KeyNameFree) == QLatin1String("true"))
            record.insert(KeyDuplicate, QStringLiteral("OVERWRITE"));
        const QNetworkRequest request =
            FileUploadRequest::build(m_pProfile->baseUrl, record, m_pProfile->duphandler, strLastModified);
        m_pReply = ServerRequest::put(m_pNam, request, m_pFile.get());
        connect(m_pReply, &QNetworkReply::finished, this, &FileUploader::slotFileUploadRequestFinished);
        connect(m_pReply, &QNetworkReply::uploadProgress, this, [this](qint64 llSent, qint64 llTotal) {
            if (llTotal > 0 && llSent >= llTotal)
                m_blBodySent = true;
        });
        m_replyLoop.exec();
        m_graceTimer.stop();

        const bool blAnswered = !m_pReply;
        if (m_pReply) {
            // Cancelled: the transfer is aborted without its handler running.
            m_pReply->disconnect(this);
            m_pReply->abort();
            delete m_pReply;
        }
        m_pFile.reset();
        if (!blAnswered) {
            // The body went out but no answer came before the cancel gave up: the server may
            // have stored the file, so it is reported, never silently dropped.
            m_blMaybeStored = m_blBodySent && blSource;
            if (m_blMaybeStored)
                outcome(false, VelmLocale::message("err_upd_no_reply").arg(networkErrorName(QNetworkReply::OperationCanceledError)),
                        true, Result::ServerFailure);
            else
                settleStoredName(false);
            return;
        }
        if (m_blChanged) {
            // The server holds a mix of old and new bytes: send the file once more, whole.
            m_blChanged = false;
            if (!m_blResent) {
                qDebug("FileUploader: %s changed while it was sent, sending it again", qPrintable(strPath));
                m_blResent = true;
                iAttempt = 0;
                continue;
            }
            outcome(false, VelmLocale::message("err_upd_changed"), true, Result::Answered);
            return;
        }
        if (!m_blTransportFailure)
            return;

        if (!m_blRetryable || iAttempt >= iMaxAttempts || m_blCancelled) {
            if (iAttempt > 1)
                qDebug("FileUploader: giving up after %d attempts: %s", iAttempt, qPrintable(m_strError));
            m_blDegraded = true;
            m_blRenditionsFailing = !blSource;
            finishRecord(false, m_blResent ? VelmLocale::message("err_upd_changed") : m_strError,
                         Result::ServerFailure);
            return;
        }
        const int iDelay = m_iRetryDelayMs << (iAttempt - 1);
        qDebug("FileUploader: attempt %d failed (%s), retrying in %d ms", iAttempt, qPrintable(m_strError), iDelay);
        waitBeforeRetry(iDelay);
        if (m_blCancelled)
            return;
    }
}

FileUploader::Snapshot FileUploader::snapshotOf(const QString& strPath)
{
    const QFileInfo info(strPath);
    Snapshot snapshot;
    if (!info.exists())
        return snapshot;
    snapshot.llSize = info.size();
    snapshot.llModifiedMs = info.lastModified().toMSecsSinceEpoch();
    snapshot.strFingerprint = UploadHistory::fingerprint(strPath);
    return snapshot;
}

bool FileUploader::nameKnown() const
{
    // An album that did not hold the name keeps it; so does one told to replace what it holds.
    return m_record.value(KeyNameFree) == QLatin1String("true") ||
           m_record.value(KeyDuplicate, m_pProfile->duphandler) == QLatin1String("OVERWRITE");
}

void FileUploader::settleStoredName(bool blOk)
{
    if (!m_blNamePending)
        return;
    m_blNamePending = false;
    const QString strPath = m_record.value(KeyPath);
    const QString strAlbum = m_record.value(KeyDestination);
    const QString& strProfile = m_pProfile->profname;
    if (blOk || m_blResent) {
        // Stored under its name; after a resend that failed, the first (mixed) copy is: the
        // file's own copy, for the next run to replace.
        UploadHistory::recordStoredName(strPath, strProfile, strAlbum, m_record.value(KeyOrigName), true);
    } else if (m_blMaybeStored) {
        // The unconfirmed row stays: the next run asks the server about the name.
    } else if (m_strNameBefore.isEmpty()) {
        UploadHistory::forgetStoredName(strPath, strProfile, strAlbum);
    } else {
        UploadHistory::recordStoredName(strPath, strProfile, strAlbum, m_strNameBefore, m_blNameBeforeConfirmed);
    }
}

void FileUploader::waitBeforeRetry(int iMs)
{
    QTimer::singleShot(iMs, &m_retryLoop, &QEventLoop::quit);
    m_retryLoop.exec();
}

void FileUploader::slotFileUploadRequestFinished()
{
    auto* pReply = qobject_cast<QNetworkReply*>(sender());
    if (!pReply || pReply != m_pReply)
        return;
    const ServerReply reply = ServerReply::classify(pReply);
    bool blLost = false;
    QString strError = ReplyMessages::fileUpload(reply, &blLost);
    if (m_pFile)
        m_pFile->close();
    if (reply.kind == ServerReply::TransportFailure) {
        m_blTransportFailure = true;
        const int iStatus = pReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (!reply.refusal.isNull()) {
            // Another certificate than the trusted one: nothing more goes to that server.
            m_blRetryable = false;
            m_strStopReason = strError;
        } else if (reply.tooLarge) {
            // The server would answer the same way again. It took the body first, so the file
            // may be stored.
            m_blRetryable = false;
            m_blMaybeStored = m_blBodySent && m_record.value(KeyBatchLast) == QLatin1String("true");
        } else if (iStatus >= 400 && iStatus < 500) {
            // The same request would get the same answer.
            m_blRetryable = false;
        } else if (iStatus == 0 && m_blBodySent && reply.errorCode == QNetworkReply::TimeoutError) {
            // Sent, but never answered: the file may be stored already. Sending it again could
            // store it twice, so it is reported instead.
            m_blRetryable = false;
            m_blMaybeStored = m_record.value(KeyBatchLast) == QLatin1String("true");
            strError = VelmLocale::message("err_upd_no_reply").arg(networkErrorName(reply.errorCode));
        } else {
            m_blRetryable = true;
        }
        m_strError = strError;
    } else {
        m_blLoginLost = m_blLoginLost || blLost;
        // The server answers again: later records get their retries back.
        m_blDegraded = false;
        const bool blSource = m_record.value(KeyBatchLast) == QLatin1String("true") &&
                              m_record.value(KeyUploadType) != QLatin1String("FOLDER");
        if (blSource && strError.isEmpty() && QFileInfo::exists(m_record.value(KeyPath)) &&
            !(snapshotOf(m_record.value(KeyPath)) == m_sentSnapshot)) {
            m_blChanged = true;
        } else {
            // A resent file that is refused may leave the mixed copy on the server.
            if (m_blResent && !strError.isEmpty())
                strError = VelmLocale::message("err_upd_changed");
            finishRecord(strError.isEmpty(), strError,
                         reply.kind == ServerReply::NotJson ? Result::ServerFailure : Result::Answered);
        }
    }
    // Handled: the sender sees a forgotten reply and deletes it.
    m_pReply = nullptr;
    pReply->deleteLater();
    m_replyLoop.quit();
}

void FileUploader::finishRecord(bool blOk, const QString& strError, Result result)
{
    if (m_record.value(KeyBatchLast) == QLatin1String("true")) {
        outcome(blOk, strError, true, result);
        return;
    }
    if (!blOk)
        m_lstFailedRenditions.append(m_record.value(KeyUploadType));
    removeTempRendition();
}

void FileUploader::removeTempRendition()
{
    qDebug("FileUploader: Remove temp thumb");
    // Only ever a file of the temporary folder, whatever the record names.
    const QString strTemp = TempFiles::folderPath() + QLatin1Char('/') + QFileInfo(m_record.value(KeyPath)).fileName();
    QFile::setPermissions(strTemp, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(strTemp);
}

void FileUploader::stop(const QString& strReason)
{
    if (m_strStopReason.isEmpty())
        m_strStopReason = strReason;
}

void FileUploader::outcome(bool blOk, const QString& strError, bool blFromReply, Result result)
{
    // Told once the file is counted, so that a display reading the counts on it has this file.
    const auto progress = qScopeGuard([this, blFromReply]() {
        if (blFromReply) {
            const float fComplete = m_pQueue->addCompleteProgress(0.2f);
            Q_EMIT signalCompleteProgressChanged(int(fComplete * 100.0f));
        }
    });
    const QString strPath = m_record.value(KeyPath);
    const QString strFileName = QFileInfo(strPath).fileName();
    QStringList lstMissing = m_lstFailedRenditions;
    m_lstFailedRenditions.clear();
    m_blRenditionsFailing = false;
    m_pQueue->markDone(strPath);

    m_iServerFailuresInRow = result == Result::ServerFailure ? m_iServerFailuresInRow + 1 : 0;
    if (m_iServerFailuresInRow >= MaxServerFailuresInRow)
        stop(VelmLocale::message("err_upload_stopped"));

    // An album made for a folder is not a file: it is neither counted nor recorded, but an
    // album that could not be made is reported.
    const bool blFolder = m_record.value(KeyUploadType) == QLatin1String("FOLDER");
    if (!blOk) {
        if (!blFolder)
            ++m_pQueue->failed;
        m_pQueue->failures.append({strFileName, strError});
        settleStoredName(false);
        return;
    }
    if (blFolder)
        return;
    ++m_pQueue->succeeded;
    m_pQueue->successes.append(strFileName);
    lstMissing += m_record.value(KeyMissing).split(QLatin1Char(','), Qt::SkipEmptyParts);
    const QString strNote = QStringList{m_record.value(KeyNote), Renditions::missingText(lstMissing),
                                        m_blResent ? VelmLocale::message("upd_note_resent") : QString()}
                                .join(QLatin1Char(' '))
                                .trimmed();
    if (!strNote.isEmpty())
        m_pQueue->notes.append({strFileName, strNote});

    // Only files the server accepted go into the history; a history that cannot be written
    // ends the run, since every later file would be sent again by the next one.
    bool blRecorded = true;
    if (m_mode == RunMode::Camera) {
        const QStringList lstDetails =
            m_pCameraDetails ? m_pCameraDetails->value(strFileName) : QStringList();
        blRecorded = UploadHistory::recordCameraItem(strFileName, m_pProfile->profname, lstDetails.value(0),
                                                     lstDetails.value(1), lstDetails.value(2));
    } else {
        qDebug("AddSuccessFileInfoToDB = %s", qPrintable(strFileName));
        qDebug("MD5 = %s", qPrintable(UploadHistory::fingerprint(strPath)));
        blRecorded = UploadHistory::recordUploadedFile(strPath, strFileName, m_pProfile->profname);
        settleStoredName(blRecorded);
    }
    if (!blRecorded) {
        QString strReason;
        UploadHistory::isWritable(m_mode == RunMode::Camera, &strReason);
        stop(VelmLocale::message("err_history_write").arg(strReason));
    }
}

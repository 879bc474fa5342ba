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
#include <QTimer>

FileUploader::FileUploader(UploadQueue* pQueue, QNetworkAccessManager* pNam, ServerProfile* pProfile, int iMode,
                           const CameraDetails* pCameraDetails)
    : m_iMode(iMode), m_pProfile(pProfile), m_pQueue(pQueue), m_pNam(pNam), m_pCameraDetails(pCameraDetails)
{
    connect(this, &FileUploader::signalStartFileUpload, this, &FileUploader::slotStartFileUpload);
    connect(m_pQueue, &UploadQueue::signalRecordAvailable, &m_recordLoop, &QEventLoop::quit);
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
    m_blCancelled = true;
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
        sendRecord();
        if (m_blCancelled)
            break;
        if (m_record.value(KeyJobLast) == QLatin1String("true")) {
            Q_EMIT signalCompleteProgressChanged(100);
            Q_EMIT signalNextProgressChanged(100);
            break;
        }
        if (m_blLoginLost) {
            Q_EMIT signalConnectionSessionLost();
            break;
        }
    }
    Q_EMIT signalUploadFinished();
    quit();
}

void FileUploader::sendRecord()
{
    const QString strPath = m_record.value(KeyPath);
    const bool blFolder = m_record.value(KeyUploadType) == QLatin1String("FOLDER");

    for (int iAttempt = 1; iAttempt <= MaxAttempts; ++iAttempt) {
        QString strLastModified;
        if (!blFolder) {
            m_pFile = std::make_unique<QFile>(strPath);
            if (!QFileInfo::exists(strPath) || !m_pFile->open(QIODevice::ReadOnly)) {
                m_pFile.reset();
                outcome(false, VelmLocale::message("err_convert").arg(QFileInfo(strPath).fileName()), false);
                return;
            }
            if (m_record.contains(KeyBatchLast)) {
                strLastModified = QString::number(
                    quint64(m_pFile->fileTime(QFileDevice::FileModificationTime).toSecsSinceEpoch()));
                qDebug("Get last modifiled time: %s", qPrintable(strLastModified));
            }
        }

        m_blTransportFailure = false;
        const QNetworkRequest request =
            FileUploadRequest::build(m_pProfile->baseUrl, m_record, m_pProfile->duphandler, strLastModified);
        m_pReply = ServerRequest::put(m_pNam, request, m_pFile.get());
        connect(m_pReply, &QNetworkReply::finished, this, &FileUploader::slotFileUploadRequestFinished);
        m_replyLoop.exec();

        if (m_pReply) {
            // A cancelled transfer is aborted without its handler running.
            m_pReply->disconnect(this);
            m_pReply->abort();
            delete m_pReply;
        }
        m_pFile.reset();
        if (m_blCancelled || !m_blTransportFailure)
            return;

        if (iAttempt == MaxAttempts) {
            qDebug("FileUploader: giving up after %d attempts: %s", iAttempt, qPrintable(m_strError));
            finishRecord(false, m_strError);
            return;
        }
        const int iDelay = m_iRetryDelayMs << (iAttempt - 1);
        qDebug("FileUploader: attempt %d failed (%s), retrying in %d ms", iAttempt, qPrintable(m_strError), iDelay);
        waitBeforeRetry(iDelay);
        if (m_blCancelled)
            return;
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
    const QString strError = ReplyMessages::fileUpload(reply, &blLost);
    if (reply.kind == ServerReply::TransportFailure) {
        m_blTransportFailure = true;
        m_strError = strError;
    } else {
        m_blLoginLost = m_blLoginLost || blLost;
        if (m_pFile)
            m_pFile->close();
        finishRecord(strError.isEmpty(), strError);
    }
    m_replyLoop.quit();
}

void FileUploader::finishRecord(bool blOk, const QString& strError)
{
    if (m_record.value(KeyBatchLast) == QLatin1String("true"))
        outcome(blOk, strError, true);
    else
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

void FileUploader::outcome(bool blOk, const QString& strError, bool blFromReply)
{
    if (blFromReply) {
        const float fComplete = m_pQueue->addCompleteProgress(0.2f);
        Q_EMIT signalCompleteProgressChanged(int(fComplete * 100.0f));
    }
    const QString strPath = m_record.value(KeyPath);
    const QString strFileName = QFileInfo(strPath).fileName();
    if (!blOk) {
        ++m_pQueue->failed;
        m_pQueue->failures.append({strFileName, strError});
        return;
    }
    ++m_pQueue->succeeded;
    m_pQueue->successes.append(strFileName);

    // Only files the server accepted go into the history.
    if (m_iMode == 6) {
        const QStringList lstDetails =
            m_pCameraDetails ? m_pCameraDetails->value(strFileName) : QStringList();
        UploadHistory::recordCameraItem(strFileName, m_pProfile->profname, lstDetails.value(0), lstDetails.value(1),
                                        lstDetails.value(2));
        return;
    }
    qDebug("AddSuccessFileInfoToDB = %s", qPrintable(strFileName));
    if (!QFileInfo(strPath).isDir())
        qDebug("MD5 = %s", qPrintable(UploadHistory::fingerprint(strPath)));
    UploadHistory::recordUploadedFile(strPath, strFileName, m_pProfile->profname);
}

#include "UploadQueue.h"

#include <QFileInfo>
#include <QMutexLocker>

UploadQueue::UploadQueue(QObject* pParent) : QObject(pParent), QSemaphore(0) {}

void UploadQueue::putRecord(const RenditionRecord& record)
{
    QMutexLocker locker(&m_lock);
    m_lstRecords.append(record);
}

void UploadQueue::handOver(const RenditionRecord& record)
{
    putRecord(record);
    release(1);
    Q_EMIT signalRecordAvailable();
}

RenditionRecord UploadQueue::takeRecord()
{
    QMutexLocker locker(&m_lock);
    return m_lstRecords.isEmpty() ? RenditionRecord() : m_lstRecords.takeFirst();
}

float UploadQueue::addNextProgress(float fDelta)
{
    QMutexLocker locker(&m_lock);
    m_fNextProgress = fDelta / float(total > 0 ? total : 1) + m_fNextProgress;
    return m_fNextProgress;
}

float UploadQueue::addCompleteProgress(float fDelta)
{
    QMutexLocker locker(&m_lock);
    m_fCompleteProgress = fDelta / float(total > 0 ? total : 1) + m_fCompleteProgress;
    return m_fCompleteProgress;
}

float UploadQueue::nextProgress()
{
    QMutexLocker locker(&m_lock);
    return m_fNextProgress;
}

float UploadQueue::completeProgress()
{
    QMutexLocker locker(&m_lock);
    return m_fCompleteProgress;
}

void UploadQueue::setCurrentFileName(const QString& strName)
{
    QMutexLocker locker(&m_lock);
    m_strCurrentFileName = strName;
}

void UploadQueue::setSendingFileName(const QString& strName)
{
    QMutexLocker locker(&m_lock);
    m_strSendingFileName = strName;
}

QString UploadQueue::currentFileName()
{
    QMutexLocker locker(&m_lock);
    return m_strSendingFileName.isEmpty() ? m_strCurrentFileName : m_strSendingFileName;
}

void UploadQueue::collectNotSent(const UploadJobList& lstJobs, const QString& strReason)
{
    for (const UploadJob& job : lstJobs) {
        const QString strPath = job.value(JobLocalPath);
        const QFileInfo info(strPath);
        if (m_setDone.contains(strPath) || info.isDir())
            continue;
        m_setDone.insert(strPath);
        notSent.append({info.fileName(), strReason});
    }
}

#pragma once

#include "protocol/RenditionRecord.h"
#include "protocol/UploadJob.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QPair>
#include <QSemaphore>
#include <QSet>

#include <atomic>

// The hand-over between the converter thread and the uploader: records in order, a
// semaphore counting records not yet taken, and the two shared progress accumulators.
class UploadQueue : public QObject, public QSemaphore
{
    Q_OBJECT

public:
    explicit UploadQueue(QObject* pParent = nullptr);
    Q_DISABLE_COPY_MOVE(UploadQueue)

    int total = 0;      // jobs, folders included: the share of each in the progress
    int totalFiles = 0; // files to send, and files found on the server from an earlier run
    // Counts and names are of files only: an album made for a folder is not a file.
    int succeeded = 0;
    int failed = 0;
    int skipped = 0;                         // files left out as uploaded before
    QList<QPair<QString, QString>> failures; // file (or album) name, error text
    QStringList successes;                   // names of the files the server accepted
    // Files the server accepted without some of their renditions: file name, what is missing.
    QList<QPair<QString, QString>> notes;
    // Files the run ended before (see collectNotSent): file name, why.
    QList<QPair<QString, QString>> notSent;

    // The source file at strPath has been counted as uploaded or failed (UI thread).
    void markDone(const QString& strPath) { m_setDone.insert(strPath); }
    // After both workers have stopped: every file job that was neither uploaded nor failed goes
    // to notSent with strReason (folders are albums, not files, and are not listed).
    void collectNotSent(const UploadJobList& lstJobs, const QString& strReason);

    // Appends a copy of the record; the caller then releases the semaphore by 1.
    void putRecord(const RenditionRecord& record);
    // putRecord, release by 1, and wake a waiting uploader.
    void handOver(const RenditionRecord& record);
    // Removes the first record; the caller has acquired the semaphore by 1.
    RenditionRecord takeRecord();

    // accumulator := delta / total + accumulator; returns the new value.
    float addNextProgress(float fDelta);
    float addCompleteProgress(float fDelta);
    float nextProgress();
    float completeProgress();

    void setCurrentFileSize(qint64 llSize) { m_llCurrentFileSize = llSize; }
    // The name of the file being converted, and of the file whose body the uploader sends
    // (empty between files).
    void setCurrentFileName(const QString& strName);
    void setSendingFileName(const QString& strName);
    // The file being worked on, for progress displays: the one being sent, else the one the
    // uploader waits for.
    QString currentFileName();
    qint64 currentFileSize() const { return m_llCurrentFileSize; }

Q_SIGNALS:
    // Emitted from the converter thread after each hand-over.
    void signalRecordAvailable();

private:
    float m_fCompleteProgress = 0;
    float m_fNextProgress = 0;
    std::atomic<qint64> m_llCurrentFileSize{0};
    QMutex m_lock;
    QList<RenditionRecord> m_lstRecords;
    QString m_strCurrentFileName;
    QString m_strSendingFileName;
    QSet<QString> m_setDone;
};

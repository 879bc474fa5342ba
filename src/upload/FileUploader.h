#pragma once

#include "RunMode.h"
#include "protocol/RenditionRecord.h"

#include <QEventLoop>
#include <QFile>
#include <QMap>
#include <QPointer>
#include <QStringList>
#include <QThread>
#include <QTimer>

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class UploadQueue;
struct ServerProfile;

// Takes the converter's records from the queue and sends each with the file upload request,
// counting every file once as uploaded or failed. The object lives on the UI thread, where
// its loop runs; its own thread only starts it.
class FileUploader : public QThread
{
    Q_OBJECT

public:
    // File name -> size text, modified text, device id (camera import only).
    using CameraDetails = QMap<QString, QStringList>;

    // A transport failure that may go away is sent again this many times at most, after 1, 2,
    // 4, 8 s. Once a record has failed in transport, later records get one attempt until the
    // server answers again, and the rest of that file's renditions are not sent.
    static constexpr int MaxAttempts = 5;
    // The run stops when this many files in a row fail with server or network errors.
    static constexpr int MaxServerFailuresInRow = 3;
    // After a cancel, a file whose body is on the server gets this long for its reply.
    static constexpr int DefaultReplyGraceMs = 5000;

    FileUploader(UploadQueue* pQueue, QNetworkAccessManager* pNam, ServerProfile* pProfile, RunMode mode,
                 const CameraDetails* pCameraDetails = nullptr);
    ~FileUploader() override;
    Q_DISABLE_COPY_MOVE(FileUploader)

    // From the UI thread: stop. A source file whose body has been sent is given the grace time to
    // be answered (signalWaitingForReply), so that a stored file is also recorded; a second
    // cancel, or any other request in flight, ends at once and gets no outcome.
    void cancel();
    bool isCancelled() const { return m_blCancelled; }
    // True while a cancel waits for the reply of a sent file.
    bool isWaitingForReply() const { return m_blGrace; }
    // Why the run ended before its last file (lost login, repeated server failures, history
    // not writable); empty when it ran to the end or was cancelled.
    QString stopReason() const { return m_strStopReason; }
    // First retry delay in milliseconds; each further one doubles it.
    void setRetryDelayMs(int iMs) { m_iRetryDelayMs = iMs; }
    void setReplyGraceMs(int iMs) { m_iReplyGraceMs = iMs; }

Q_SIGNALS:
    void signalCompleteProgressChanged(int iNewProgress);
    void signalNextProgressChanged(int iNextProgress);
    void signalConnectionSessionLost();
    // The run stopped before its end for strReason (other than a lost login).
    void signalUploadStopped(const QString& strReason);
    // A cancel waits up to iSeconds for the server to confirm strFileName.
    void signalWaitingForReply(const QString& strFileName, int iSeconds);
    void signalStartFileUpload();
    void signalUploadFinished();

public Q_SLOTS:
    void slotStartFileUpload();
    void slotFileUploadRequestFinished();

protected:
    void run() override;

private:
    // How a record ended: not at all (cancelled), answered by the server for this file, or
    // failed because of the server or the network.
    enum class Result { None, Answered, ServerFailure };

    // What identifies the content of a source file: taken before and after it is sent.
    struct Snapshot {
        qint64 llSize = -1;
        qint64 llModifiedMs = -1;
        QString strFingerprint;
        bool operator==(const Snapshot& other) const
        {
            return llSize == other.llSize && llModifiedMs == other.llModifiedMs &&
                   strFingerprint == other.strFingerprint;
        }
    };
    static Snapshot snapshotOf(const QString& strPath);

    // Whether the server stores the source under the name it is sent with.
    bool nameKnown() const;
    // Settles the stored-name row written before the source was sent, once the file has ended.
    void settleStoredName(bool blOk);

    bool waitForRecord();
    void sendRecord();
    void waitBeforeRetry(int iMs);
    void finishRecord(bool blOk, const QString& strError, Result result);
    void outcome(bool blOk, const QString& strError, bool blFromReply, Result result);
    void removeTempRendition();
    void stop(const QString& strReason);

    RunMode m_mode;
    bool m_blTransportFailure = false;
    bool m_blRetryable = false;
    bool m_blBodySent = false;
    bool m_blLoginLost = false;
    bool m_blCancelled = false;
    bool m_blGrace = false;
    bool m_blDegraded = false;
    bool m_blRenditionsFailing = false; // of the file being sent
    bool m_blChanged = false;           // the source changed while it was sent
    bool m_blResent = false;            // the source is being sent again for that
    bool m_blMaybeStored = false;       // sent whole, but no answer came
    Snapshot m_sentSnapshot;
    bool m_blNamePending = false;          // an unconfirmed stored-name row was written
    QString m_strNameBefore;               // the row it replaced (empty: none)
    bool m_blNameBeforeConfirmed = false;
    int m_iServerFailuresInRow = 0;
    ServerProfile* m_pProfile;
    UploadQueue* m_pQueue;
    RenditionRecord m_record;
    QStringList m_lstFailedRenditions; // of the file being sent
    std::unique_ptr<QFile> m_pFile;
    QNetworkAccessManager* m_pNam;
    QPointer<QNetworkReply> m_pReply;
    const CameraDetails* m_pCameraDetails;
    QEventLoop m_replyLoop;
    QEventLoop m_recordLoop;
    QEventLoop m_retryLoop;
    QTimer m_graceTimer;
    QString m_strError;
    QString m_strStopReason;
    int m_iRetryDelayMs = 1000;
    int m_iReplyGraceMs = DefaultReplyGraceMs;
};

#pragma once

#include "RenditionRecord.h"

#include <QEventLoop>
#include <QFile>
#include <QMap>
#include <QPointer>
#include <QStringList>
#include <QThread>

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

    // A transport failure is sent again this many times at most, after 1, 2, 4, 8 s.
    static constexpr int MaxAttempts = 5;

    FileUploader(UploadQueue* pQueue, QNetworkAccessManager* pNam, ServerProfile* pProfile, int iMode,
                 const CameraDetails* pCameraDetails = nullptr);
    ~FileUploader() override;
    Q_DISABLE_COPY_MOVE(FileUploader)

    // From the UI thread: stop at once; the record in flight gets no outcome.
    void cancel();
    bool isCancelled() const { return m_blCancelled; }
    // First retry delay in milliseconds; each further one doubles it.
    void setRetryDelayMs(int iMs) { m_iRetryDelayMs = iMs; }

Q_SIGNALS:
    void signalCompleteProgressChanged(int iNewProgress);
    void signalNextProgressChanged(int iNextProgress);
    void signalConnectionSessionLost();
    void signalStartFileUpload();
    void signalUploadFinished();

public Q_SLOTS:
    void slotStartFileUpload();
    void slotFileUploadRequestFinished();

protected:
    void run() override;

private:
    bool waitForRecord();
    void sendRecord();
    void waitBeforeRetry(int iMs);
    void finishRecord(bool blOk, const QString& strError);
    void outcome(bool blOk, const QString& strError, bool blFromReply);
    void removeTempRendition();

    int m_iMode;
    bool m_blTransportFailure = false;
    bool m_blLoginLost = false;
    bool m_blCancelled = false;
    ServerProfile* m_pProfile;
    UploadQueue* m_pQueue;
    RenditionRecord m_record;
    std::unique_ptr<QFile> m_pFile;
    QNetworkAccessManager* m_pNam;
    QPointer<QNetworkReply> m_pReply;
    const CameraDetails* m_pCameraDetails;
    QEventLoop m_replyLoop;
    QEventLoop m_recordLoop;
    QEventLoop m_retryLoop;
    QString m_strError;
    int m_iRetryDelayMs = 1000;
};

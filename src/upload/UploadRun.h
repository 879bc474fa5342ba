#pragma once

#include "RunMode.h"
#include "protocol/UploadJob.h"
#include "upload/FileUploader.h"
#include "upload/UploadPlan.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

class FileConverter;
class ProfileRunLock;
class QNetworkAccessManager;
class UploadInitRequest;
class UploadQueue;
struct ServerProfile;

// One upload run, whoever starts it (the upload wizard, the terminal, a camera import): from the
// chosen files and a profile whose options are set, to the final report. The steps come in this
// order; a front end shows what the run says and never does a step itself.
//   claim()    the upload history can take what is sent, and no other run of the profile goes on
//   plan()     the files collected, named, and those uploaded before set aside
//   announce() the server told what comes (a logged-in session), refused jobs dropped
//   start()    conversion and upload; signalFinished() at the end, then report()
// cancel() works in every step. Runs on the UI thread; the workers have threads of their own.
class UploadRun : public QObject
{
    Q_OBJECT

public:
    using Rows = QList<QPair<QString, QString>>;

    // What the run did, file by file. Albums made for folders are not files: one is listed only
    // in failed, when it could not be made.
    struct Report
    {
        QStringList uploaded; // file names the server accepted
        QStringList skipped;  // file names uploaded before
        Rows leftOut;         // path, why it was not collected
        QStringList refused;  // server paths the account may not write
        Rows failed;          // file name, error
        Rows notSent;         // file name, why: the run ended before it
        Rows notes;           // file name, what is missing or wrong with what was sent
        bool cancelled = false;
        QString stopReason; // why the run ended by itself before its last file
    };

    enum class Announced { Ready, NothingToSend, Failed, Cancelled };

    UploadRun(QNetworkAccessManager* pNam, ServerProfile* pProfile, RunMode mode, QObject* pParent = nullptr);
    ~UploadRun() override;
    Q_DISABLE_COPY_MOVE(UploadRun)

    // False with the reason when the history cannot be written or another run holds the
    // profile. Claiming the profile it holds already is fine; another profile is claimed anew.
    bool claim(QString* pstrRefusal);
    // The camera import's copies, before plan(): their details for the camera history, the items
    // it could not take (name, why), and whether it left out items uploaded before.
    void setCameraImport(const FileUploader::CameraDetails& details, const Rows& lstNotTaken, bool blSkippedUploaded);
    // Collects the paths into the job list (a job per file, and per folder when folders are
    // kept), names every file, and sets aside the files uploaded before when the profile skips
    // them. fnEvents runs between files. Starts afresh each time.
    void plan(const QStringList& lstPaths, const std::function<void()>& fnEvents = {});
    // Announces the jobs to the server and drops those it refuses and the folders it has. With
    // NothingToSend and Failed (the server did not take the list; nothing is sent), *pstrMessage
    // says why.
    Announced announce(QString* pstrMessage = nullptr);
    // Converts and uploads the jobs; signalFinished() when both workers are done.
    void start();
    // Stops whatever step runs: the server's answer is not waited for, tools are stopped, a file
    // on its way is given a moment for its reply (a second cancel ends that wait).
    void cancel();

    bool hasVideo() const { return m_blVideo; }
    const UploadJobList& jobs() const { return m_lstJobs; }
    const UploadJobList& skippedJobs() const { return m_lstSkippedJobs; }
    // Paths the collection left out, why.
    const Rows& leftOut() const { return m_lstLeftOut; }
    // Counts and progress of the transfer, for displays.
    UploadQueue* queue() const { return m_pQueue.get(); }
    bool isRunning() const { return m_blRunning; }
    bool isWaitingForReply() const;
    // The total size of the files to send, for rate displays.
    qint64 totalBytes() const;

    Report report() const;
    // The rows of a report window: failed, not sent, notes, then left-out entries by file name.
    Rows reportRows() const;

Q_SIGNALS:
    void signalCompleteProgressChanged(int iNewProgress);
    void signalNextProgressChanged(int iNextProgress);
    // The server dropped the login: the run ends.
    void signalSessionLost();
    // The run ends before its last file for strReason (other than a lost login).
    void signalStopped(const QString& strReason);
    // A cancel waits up to iSeconds for the server to confirm strFileName.
    void signalWaitingForReply(const QString& strFileName, int iSeconds);
    void signalFinished();

private:
    // How often the jobs are announced at most while names the program made move to free ones.
    static constexpr int MaxNameRounds = 4;

    void slotUploadFinished();
    // Takes out the jobs an earlier run sent without an answer that the server lists under the
    // name they were sent as: they are recorded and counted as uploaded. Returns how many.
    int confirmUnconfirmed(const QSet<QString>& setListed);

    QNetworkAccessManager* m_pNam;
    ServerProfile* m_pProfile;
    RunMode m_mode;
    std::unique_ptr<ProfileRunLock> m_pRunLock;
    QString m_strLockedProfile;
    FileUploader::CameraDetails m_cameraDetails;
    Rows m_lstCameraNotTaken;
    bool m_blCameraSkippedUploaded = false;
    UploadJobList m_lstJobs;
    UploadJobList m_lstSkippedJobs;
    Rows m_lstLeftOut;
    QStringList m_lstRefused;
    bool m_blVideo = false;
    QPointer<UploadInitRequest> m_pInit;
    std::unique_ptr<UploadQueue> m_pQueue;
    std::unique_ptr<FileConverter> m_pConverter;
    std::unique_ptr<FileUploader> m_pUploader;
    bool m_blRunning = false;
    bool m_blFinished = false;
    bool m_blCancelled = false;
    QString m_strStopReason;
};

#pragma once

#include "protocol/UploadJob.h"
#include "UploadPlan.h"

#include <QList>
#include <QStringList>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

class ImageThumbnailer;
class UploadQueue;
class VideoConverter;
struct ServerProfile;

// Walks the job list on its own thread, has each file's renditions made in the temporary
// folder and hands them over, followed by the source file, to the uploader. Up to
// parallelCount() files convert at a time; their records go to the uploader in job order.
class FileConverter : public QThread
{
    Q_OBJECT

public:
    FileConverter(UploadQueue* pQueue, const UploadJobList* pJobs, const ServerProfile& profile);
    ~FileConverter() override;
    Q_DISABLE_COPY_MOVE(FileConverter)

    // From the UI thread: abort every running tool and stop; nothing is handed over after it.
    void requestStop();

    // Files converted at a time: the number of cores, at least 2 (PICTARIUM_CONVERT_JOBS in
    // the environment sets it, 1 upwards).
    static int parallelCount();

Q_SIGNALS:
    void signalCompleteProgressChanged(int iNewProgress);
    void signalNextProgressChanged(int iNextProgress);

protected:
    void run() override;

private:
    // One file, named and numbered in job order before it is converted.
    struct Prepared
    {
        quint32 uId = 0;
        QString strSource;
        QString strDestination;
        QString strName;
        QString strDuplicate; // when not the profile's policy
        bool blNameFree = false;
        int iKind = 0;
        bool blFolder = false;
        bool blTempUsable = false;
        // Filled by the conversion: what it found wrong with the file, and whether that says
        // why there are no thumbnails.
        QString strNote;
        bool blThumbnailsExplained = false;
    };
    // The tools of one conversion running beside others.
    struct Worker
    {
        std::unique_ptr<ImageThumbnailer> pThumbnailer;
        std::unique_ptr<VideoConverter> pVideoConverter;
    };

    Prepared prepare(int iIndex);
    void convert(Prepared& job, Worker& worker);
    void handOver(int iIndex, const Prepared& job);
    void workerLoop(Worker& worker);

    std::atomic_bool m_blStop{false};
    UploadQueue* m_pQueue;
    std::vector<Worker> m_workers;
    // Jobs waiting for a worker, and which jobs are converted; guarded by m_mutex.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<int> m_lstWaiting;
    std::vector<Prepared> m_lstPrepared;
    std::vector<char> m_lstConverted;
    bool m_blNoMoreJobs = false;
    bool m_blDateRename;
    const UploadJobList* m_pJobs;
    QList<int> m_lstQualities;
    // Names of jobs that came without one, made unique the same way as planned names.
    UploadPlan::StoredNames m_storedNames;
};

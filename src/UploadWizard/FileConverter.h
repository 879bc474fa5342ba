#pragma once

#include "UploadJob.h"
#include "UploadPlan.h"

#include <QList>
#include <QStringList>
#include <QThread>

#include <atomic>
#include <memory>

class ImageThumbnailer;
class UploadQueue;
class VideoConverter;
struct ServerProfile;

// Walks the job list on its own thread, has each file's renditions made in the temporary
// folder and hands them over, followed by the source file, to the uploader.
class FileConverter : public QThread
{
    Q_OBJECT

public:
    FileConverter(UploadQueue* pQueue, const UploadJobList* pJobs, const ServerProfile& profile);
    ~FileConverter() override;
    Q_DISABLE_COPY_MOVE(FileConverter)

    // From the UI thread: finish the current file (aborting its tools) and stop.
    void requestStop();

Q_SIGNALS:
    void signalCompleteProgressChanged(int iNewProgress);
    void signalNextProgressChanged(int iNextProgress);

protected:
    void run() override;

private:
    void convertJob(int iIndex);

    std::atomic_bool m_blStop{false};
    UploadQueue* m_pQueue;
    std::unique_ptr<ImageThumbnailer> m_pThumbnailer;
    std::unique_ptr<VideoConverter> m_pVideoConverter;
    bool m_blDateRename;
    const UploadJobList* m_pJobs;
    QList<int> m_lstQualities;
    // Names of jobs that came without one, made unique the same way as planned names.
    UploadPlan::StoredNames m_storedNames;
};

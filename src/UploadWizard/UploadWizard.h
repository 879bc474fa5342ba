#pragma once

#include "upload/FileUploader.h"
#include "protocol/UploadJob.h"
#include "RunMode.h"
#include "VelmWizard.h"

#include <QStringList>

#include <atomic>
#include <memory>

class FileConverter;
class ProfileRunLock;
class QNetworkAccessManager;
class SecurityConfirm;
class UploadQueue;
class UserPrompt;
class WizUpdDialog;
class WizUpdProgress;
class WizVdoQualDialog;
struct ServerProfile;

// The window of one upload run: options page, quality page (videos only), progress page.
class UploadWizard : public VelmWizard
{
    Q_OBJECT

public:
    enum PageId { OptionsPage = 0, QualityPage = 1, ProgressPage = 2 };

    UploadWizard(QWidget* pParent, RunMode mode, QNetworkAccessManager* pNam, const QStringList& lstFiles,
                 ServerProfile* pProfile, UserPrompt* pPrompt);
    ~UploadWizard() override;

    RunMode mode() const { return m_mode; }
    ServerProfile* profile() const { return m_pProfile; }
    QNetworkAccessManager* accessManager() const { return m_pNam; }
    UserPrompt* prompt() const { return m_pPrompt; }
    QStringList& fileList() { return m_lstFiles; }
    UploadJobList& jobs() { return m_lstJobs; }
    UploadQueue* queue() const { return m_pQueue.get(); }
    bool& loggedIn() { return m_blLoggedIn; }
    FileUploader::CameraDetails& cameraDetails() { return m_cameraDetails; }
    WizUpdDialog* optionsPage() const { return m_pOptionsPage; }
    WizUpdProgress* progressPage() const { return m_pProgressPage; }
    // The camera hand-over folder inside the temporary folder.
    static QString cameraFolder();
    // Holds the run lock of the current profile until the run has ended; false, with the
    // warning shown, while another run of the profile holds it.
    bool lockProfile();
    // The window has been closed (Cancel): waits end and nothing more is started.
    bool isClosing() const { return m_blClosing; }
    // Becomes true when the window closes: a running camera tool is stopped.
    const std::atomic_bool* toolAbort() const { return &m_blAbortTool; }

public Q_SLOTS:
    void accept() override;
    void reject() override;
    void slotPageComplete(int iId);
    void slotStartUpload();
    void slotCancelUpload();
    void slotUploadFinished();
    void slotErrorReport();
    void slotLoginFinish(bool blLoginSuccess);

protected:
    bool validateCurrentPage() override;

private:
    ServerProfile* m_pProfile;
    QStringList m_lstFiles;
    UploadJobList m_lstJobs;
    RunMode m_mode;
    bool m_blLoggedIn = false;
    bool m_blLoginBusy = false;
    std::unique_ptr<SecurityConfirm> m_pLogin;
    QNetworkAccessManager* m_pNam;
    std::unique_ptr<FileConverter> m_pConverter;
    std::unique_ptr<FileUploader> m_pUploader;
    std::unique_ptr<UploadQueue> m_pQueue;
    FileUploader::CameraDetails m_cameraDetails;
    UserPrompt* m_pPrompt;
    WizUpdDialog* m_pOptionsPage;
    WizVdoQualDialog* m_pQualityPage;
    WizUpdProgress* m_pProgressPage;
    bool m_blUploadRunning = false;
    bool m_blCloseWhenFinished = false;
    bool m_blClosing = false;
    std::atomic_bool m_blAbortTool{false};
    std::unique_ptr<ProfileRunLock> m_pRunLock;
    QString m_strLockedProfile;
};

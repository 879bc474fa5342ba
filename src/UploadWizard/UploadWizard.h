#pragma once

#include "RunMode.h"
#include "VelmWizard.h"

#include <QStringList>

#include <atomic>
#include <memory>

class QNetworkAccessManager;
class SecurityConfirm;
class UploadQueue;
class UploadRun;
class UserPrompt;
class WizUpdDialog;
class WizUpdProgress;
class WizVdoQualDialog;
struct ServerProfile;

// The window of one upload run: options page, quality page (videos only), progress page. The
// run itself is an UploadRun; the window collects the options, starts it and shows what it says.
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
    UploadRun* run() const { return m_pRun.get(); }
    UploadQueue* queue() const;
    // The files and folders to upload (for a camera, the item names in the camera folder).
    const QStringList& files() const { return m_lstFiles; }
    void setFiles(const QStringList& lstFiles) { m_lstFiles = lstFiles; }
    WizUpdDialog* optionsPage() const { return m_pOptionsPage; }
    WizUpdProgress* progressPage() const { return m_pProgressPage; }
    // The camera hand-over folder inside the temporary folder.
    static QString cameraFolder();

    // The one login of the window. logIn() starts it (a password may be asked);
    // signalLoginFinish follows. A changed profile needs a new one.
    bool isLoggedIn() const { return m_blLoggedIn; }
    void logIn();
    void forgetLogin() { m_blLoggedIn = false; }
    // The window has been closed (Cancel): waits end and nothing more is started.
    bool isClosing() const { return m_blClosing; }
    // Becomes true when the window closes: a running camera tool is stopped.
    const std::atomic_bool* toolAbort() const { return &m_blAbortTool; }

Q_SIGNALS:
    void signalLoginFinish(bool blLoginSuccess);

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
    RunMode m_mode;
    bool m_blLoggedIn = false;
    bool m_blLoginBusy = false;
    bool m_blNextAfterLogin = false;
    std::unique_ptr<SecurityConfirm> m_pLogin;
    QNetworkAccessManager* m_pNam;
    std::unique_ptr<UploadRun> m_pRun;
    UserPrompt* m_pPrompt;
    WizUpdDialog* m_pOptionsPage;
    WizVdoQualDialog* m_pQualityPage;
    WizUpdProgress* m_pProgressPage;
    bool m_blCloseWhenFinished = false;
    bool m_blClosing = false;
    std::atomic_bool m_blAbortTool{false};
};

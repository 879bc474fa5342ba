#pragma once

#include "RunMode.h"

#include "VelmWizard.h"
#include "findhost/FindHostUtils.h"

#include <memory>

class QNetworkAccessManager;
class SecurityConfirm;
class UserPrompt;
struct ServerProfile;
class WizIPDialog;
class WizPerDialog;
class WizPWDialog;
class WizHintDialog;

// Makes one new upload profile: server, account type, credentials (tested by a login when the
// password is remembered), and a closing hint. Finish stores the profile.
class CreateWizard : public VelmWizard
{
    Q_OBJECT

public:
    enum PageId { ServerPage = 0, AccountTypePage = 1, CredentialsPage = 2, HintPage = 3 };

    // RunMode::CreateThenUpload: an upload follows, so Finish reads "Start Uploading".
    CreateWizard(QWidget* pParent, RunMode mode, QNetworkAccessManager* pNam, ServerProfile* pProfile,
                 UserPrompt* pPrompt);
    ~CreateWizard() override;

    UserPrompt* prompt() const { return m_pPrompt; }
    // A changed password is tested again before the credentials page is left.
    void clearLoginSucceeded() { m_blLoginSucceeded = false; }
    bool isLoginInProgress() const { return m_blLoginInProgress; }

public Q_SLOTS:
    void slotLoginFinish(bool blLoginSuccess);
    void accept() override;

protected:
    bool validateCurrentPage() override;

private:
    void fillProfile();

    RunMode m_mode;
    QNetworkAccessManager* m_pNam;
    ServerProfile* m_pProfile;
    UserPrompt* m_pPrompt;
    FoundServerList m_foundServers;
    std::unique_ptr<SecurityConfirm> m_pLogin;
    bool m_blLoginInProgress = false;
    bool m_blLoginSucceeded = false;
    WizIPDialog* m_pServerPage;
};

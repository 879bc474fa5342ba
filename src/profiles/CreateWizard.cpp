#include "CreateWizard.h"

#include "CreateWizardPages.h"
#include "UserPrompt.h"
#include "VelmLocale.h"
#include "protocol/SecurityConfirm.h"
#include "store/ProfileStore.h"
#include "store/ServerProfile.h"

CreateWizard::CreateWizard(QWidget* pParent, RunMode mode, QNetworkAccessManager* pNam, ServerProfile* pProfile,
                           UserPrompt* pPrompt)
    : VelmWizard(pParent), m_mode(mode), m_pNam(pNam), m_pProfile(pProfile), m_pPrompt(pPrompt),
      m_pLogin(std::make_unique<SecurityConfirm>(pPrompt))
{
    m_pServerPage = new WizIPDialog(this, pNam, &m_foundServers, pPrompt);
    setPage(ServerPage, m_pServerPage);
    setPage(AccountTypePage, new WizPerDialog(this, pPrompt));
    setPage(CredentialsPage, new WizPWDialog(this, pPrompt));
    setPage(HintPage, new WizHintDialog(this));
    setStartId(ServerPage);
    setButtonText(QWizard::FinishButton,
                  VelmLocale::message(m_mode == RunMode::CreateThenUpload ? "btn_start_upload" : "btn_finish"));
    fixButtonHeights();
    connect(m_pLogin.get(), &SecurityConfirm::signalLoginFinish, this, &CreateWizard::slotLoginFinish);
}

CreateWizard::~CreateWizard()
{
    m_pLogin->abandon();
    // The pages go before the list they show.
    for (int iId : pageIds()) {
        QWizardPage* pPage = page(iId);
        removePage(iId);
        delete pPage;
    }
}

void CreateWizard::fillProfile()
{
    const bool blSavePass = field(QStringLiteral("SaveCred")).toBool();
    // A password that is not to be remembered is not stored either.
    ProfileStore::fillRecord(*m_pProfile, field(QStringLiteral("ProfileName")).toString(),
                             field(QStringLiteral("HostAddr")).toString().trimmed(),
                             field(QStringLiteral("HostPort")).toString().toInt(), field(QStringLiteral("Https")).toBool(),
                             field(QStringLiteral("Account")).toString(),
                             blSavePass ? field(QStringLiteral("Password")).toString() : QString(), blSavePass,
                             field(QStringLiteral("PersonalName")).toString(),
                             field(QStringLiteral("IsPersonalPictarium")).toBool(), true, true, true,
                             QStringLiteral("RENAME"), QString(), {});
}

bool CreateWizard::validateCurrentPage()
{
    setBusy(true);
    QWizardPage* pPage = currentPage();
    if (pPage && !pPage->validatePage()) {
        setBusy(false);
        return false;
    }
    if (currentId() == CredentialsPage) {
        fillProfile();
        if (m_pProfile->savepass) {
            if (m_blLoginInProgress)
                return false;
            if (!m_blLoginSucceeded) {
                m_blLoginInProgress = true;
                if (m_pLogin->prepareLogin(m_pNam, m_pProfile, false, false)) {
                    m_pLogin->launch();
                    return false; // the outcome comes through slotLoginFinish
                }
                m_blLoginInProgress = false;
                setBusy(false);
                return false;
            }
        }
    }
    setBusy(false);
    return true;
}

void CreateWizard::slotLoginFinish(bool blLoginSuccess)
{
    m_blLoginInProgress = false;
    m_blLoginSucceeded = blLoginSuccess;
    setBusy(false);
    if (blLoginSuccess)
        next();
}

void CreateWizard::accept()
{
    if (!validateCurrentPage())
        return;
    fillProfile();
    if (!ProfileStore::insertProfile(*m_pProfile)) {
        // Nothing is lost: the wizard stays open with everything entered.
        m_pPrompt->critical(VelmLocale::message("err_error"),
                            VelmLocale::message("err_database").arg(m_pProfile->profname));
        return;
    }
    VelmWizard::accept();
}

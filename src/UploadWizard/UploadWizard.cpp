#include "UploadWizard.h"

#include "AppIdentity.h"
#include "CameraImport.h"
#include "ErrorReport.h"
#include "UserPrompt.h"
#include "VelmLocale.h"
#include "WizUpdDialog.h"
#include "WizUpdProgress.h"
#include "WizVdoQualDialog.h"
#include "protocol/SecurityConfirm.h"
#include "store/ServerProfile.h"
#include "upload/UploadRun.h"

#include <QAbstractButton>
#include <QDebug>

UploadWizard::UploadWizard(QWidget* pParent, RunMode mode, QNetworkAccessManager* pNam, const QStringList& lstFiles,
                           ServerProfile* pProfile, UserPrompt* pPrompt)
    : VelmWizard(pParent), m_pProfile(pProfile), m_lstFiles(lstFiles), m_mode(mode),
      m_pLogin(std::make_unique<SecurityConfirm>(pPrompt)), m_pNam(pNam),
      m_pRun(std::make_unique<UploadRun>(pNam, pProfile, mode)), m_pPrompt(pPrompt)
{
    m_pOptionsPage = new WizUpdDialog(this);
    m_pQualityPage = new WizVdoQualDialog(this, m_pProfile, pPrompt);
    m_pProgressPage = new WizUpdProgress(this, m_pProfile, m_pRun->queue(), pPrompt);
    setPage(OptionsPage, m_pOptionsPage);
    setPage(QualityPage, m_pQualityPage);
    setPage(ProgressPage, m_pProgressPage);

    if (!m_pProfile->profname.isEmpty() && m_mode != RunMode::UploadFolder)
        setWindowTitle(m_pProfile->profname + QLatin1String(" - ") + AppIdentity::applicationTitle());
    setOption(QWizard::NoBackButtonOnLastPage, true);
    setButtonText(QWizard::FinishButton, VelmLocale::message("btn_close"));
    fixButtonHeights();

    connect(this, &QWizard::currentIdChanged, this, &UploadWizard::slotPageComplete);
    connect(m_pLogin.get(), &SecurityConfirm::signalLoginFinish, this, &UploadWizard::slotLoginFinish);
    UploadRun* pRun = m_pRun.get();
    connect(pRun, &UploadRun::signalCompleteProgressChanged, m_pProgressPage,
            &WizUpdProgress::slotUpdateCompleteProgress);
    connect(pRun, &UploadRun::signalNextProgressChanged, m_pProgressPage, &WizUpdProgress::slotUpdateNextProgress);
    connect(pRun, &UploadRun::signalSessionLost, m_pProgressPage, &WizUpdProgress::slotConnectionSessionLost);
    connect(pRun, &UploadRun::signalStopped, m_pProgressPage, &WizUpdProgress::slotUploadStopped);
    connect(pRun, &UploadRun::signalWaitingForReply, m_pProgressPage, &WizUpdProgress::slotWaitingForReply);
    connect(pRun, &UploadRun::signalFinished, this, &UploadWizard::slotUploadFinished);
}

UploadWizard::~UploadWizard()
{
    m_blAbortTool = true;
}

UploadQueue* UploadWizard::queue() const
{
    return m_pRun->queue();
}

QString UploadWizard::cameraFolder()
{
    return CameraImport::folderPath();
}

void UploadWizard::logIn()
{
    if (m_blLoginBusy)
        return;
    m_blLoginBusy = true;
    setBusy(true);
    if (m_pLogin->prepareLogin(m_pNam, m_pProfile, true, false)) {
        m_pLogin->launch();
        return;
    }
    m_blLoginBusy = false;
    m_blNextAfterLogin = false;
    setBusy(false);
}

bool UploadWizard::validateCurrentPage()
{
    // The options page is validated once, logged in: its run asks the server.
    if (currentId() == OptionsPage && !m_blLoggedIn) {
        m_blNextAfterLogin = true;
        logIn();
        return false;
    }
    setBusy(true);
    QWizardPage* pPage = currentPage();
    const bool blValid = pPage && pPage->validatePage();
    setBusy(false);
    return blValid;
}

void UploadWizard::slotLoginFinish(bool blLoginSuccess)
{
    m_blLoginBusy = false;
    m_blLoggedIn = blLoginSuccess;
    setBusy(false);
    const bool blNext = m_blNextAfterLogin;
    m_blNextAfterLogin = false;
    // A login answered after the window was closed starts nothing.
    if (m_blClosing)
        return;
    Q_EMIT signalLoginFinish(blLoginSuccess);
    if (blLoginSuccess && blNext)
        next();
}

void UploadWizard::slotPageComplete(int iId)
{
    if (iId == ProgressPage)
        slotStartUpload();
}

void UploadWizard::slotStartUpload()
{
    m_pRun->start();
}

void UploadWizard::slotCancelUpload()
{
    m_pRun->cancel();
}

void UploadWizard::reject()
{
    if (currentId() == ProgressPage && m_pRun->isRunning()) {
        // Asked once: the second Cancel, while a reply is awaited, stops at once.
        if (!m_pRun->isWaitingForReply() && !m_pProgressPage->confirmStop())
            return;
        slotCancelUpload();
        // A file on the server waits a moment for its reply; the window closes when the
        // run is done, and a second Cancel stops the wait at once.
        if (m_pRun->isWaitingForReply()) {
            m_blCloseWhenFinished = true;
            return;
        }
    }
    m_blClosing = true;
    m_blAbortTool = true;
    // A login or an announcement on its way is forgotten: no message or prompt follows the
    // closed window.
    if (m_blLoginBusy)
        m_pLogin->abandon();
    m_pRun->cancel();
    QWizard::reject();
}

void UploadWizard::accept()
{
    if (validateCurrentPage())
        VelmWizard::accept();
}

void UploadWizard::slotUploadFinished()
{
    qDebug("UploadWizard: slotUploadFinished");
    if (QAbstractButton* pCancel = button(QWizard::CancelButton))
        pCancel->hide();
    setOption(QWizard::NoCancelButton, true);
    m_pProgressPage->slotUploadFinished();

    // The report opens by itself when something went wrong that the user did not ask for.
    const UploadRun::Report report = m_pRun->report();
    if (!report.failed.isEmpty() || !report.notes.isEmpty() || (!report.notSent.isEmpty() && !report.cancelled))
        slotErrorReport();
    if (!m_pRun->reportRows().isEmpty()) {
        setButtonText(QWizard::CustomButton1, VelmLocale::message("btn_error_report"));
        setOption(QWizard::HaveCustomButton1, true);
        if (QAbstractButton* pReport = button(QWizard::CustomButton1)) {
            pReport->setMinimumWidth(100);
            pReport->setFixedHeight(24);
        }
        connect(this, &QWizard::customButtonClicked, this, &UploadWizard::slotErrorReport, Qt::UniqueConnection);
    }
    if (m_blCloseWhenFinished)
        QWizard::reject();
}

void UploadWizard::slotErrorReport()
{
    ErrorReport report(this, m_pRun->reportRows());
    report.exec();
}

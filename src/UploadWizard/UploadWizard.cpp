#include "UploadWizard.h"

#include "AppIdentity.h"
#include "CameraImport.h"
#include "ErrorReport.h"
#include "upload/FileConverter.h"
#include "TempFiles.h"
#include "upload/UploadQueue.h"
#include "UserPrompt.h"
#include "VelmLocale.h"
#include "WizUpdDialog.h"
#include "WizUpdProgress.h"
#include "WizVdoQualDialog.h"
#include "protocol/SecurityConfirm.h"
#include "store/ProfileRunLock.h"
#include "store/ProfileStore.h"
#include "store/ServerProfile.h"

#include <QAbstractButton>
#include <QDebug>
#include <QDir>
#include <QFile>

UploadWizard::UploadWizard(QWidget* pParent, RunMode mode, QNetworkAccessManager* pNam, const QStringList& lstFiles,
                           ServerProfile* pProfile, UserPrompt* pPrompt)
    : VelmWizard(pParent), m_pProfile(pProfile), m_lstFiles(lstFiles), m_mode(mode),
      m_pLogin(std::make_unique<SecurityConfirm>(pPrompt)), m_pNam(pNam), m_pQueue(std::make_unique<UploadQueue>()),
      m_pPrompt(pPrompt)
{
    m_pOptionsPage = new WizUpdDialog(this);
    m_pQualityPage = new WizVdoQualDialog(this, m_pProfile);
    m_pProgressPage = new WizUpdProgress(this, m_pProfile, m_pQueue.get(), pPrompt);
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

    // Leftovers of earlier runs of this user go; other running uploads keep theirs.
    TempFiles::emptyFolder();
    if (m_mode == RunMode::Camera) {
        CameraImport::emptyFolder();
        CameraImport::ensureFolder();
    } else {
        TempFiles::ensureFolder();
    }
}

UploadWizard::~UploadWizard()
{
    m_blAbortTool = true;
    // Threads are stopped and waited for before they are deleted.
    if (m_pConverter) {
        m_pConverter->requestStop();
        m_pConverter->wait();
    }
    if (m_pUploader) {
        m_pUploader->cancel();
        m_pUploader->quit();
        m_pUploader->wait();
    }
    // Copies of camera items do not outlive the window, uploaded or not.
    if (m_mode == RunMode::Camera)
        CameraImport::emptyFolder();
}

QString UploadWizard::cameraFolder()
{
    return CameraImport::folderPath();
}

bool UploadWizard::lockProfile()
{
    if (m_pRunLock && m_pRunLock->isLocked() && m_strLockedProfile == m_pProfile->profname)
        return true;
    m_pRunLock = std::make_unique<ProfileRunLock>(m_pProfile->profname);
    m_strLockedProfile = m_pProfile->profname;
    if (m_pRunLock->tryLock())
        return true;
    m_pPrompt->warning(VelmLocale::message("err_error"), m_pRunLock->refusal());
    return false;
}

bool UploadWizard::validateCurrentPage()
{
    setBusy(true);
    QWizardPage* pPage = currentPage();
    if (!pPage || !pPage->validatePage()) {
        setBusy(false);
        return false;
    }
    if (pPage->nextId() == ProgressPage) {
        if (m_blLoginBusy)
            return false;
        if (!m_blLoggedIn) {
            m_blLoginBusy = true;
            if (m_pLogin->prepareLogin(m_pNam, m_pProfile, true, false)) {
                m_pLogin->launch();
            } else {
                m_blLoginBusy = false;
                setBusy(false);
            }
            return false;
        }
    }
    setBusy(false);
    return true;
}

void UploadWizard::slotLoginFinish(bool blLoginSuccess)
{
    m_blLoginBusy = false;
    m_blLoggedIn = blLoginSuccess;
    setBusy(false);
    // A login answered after the window was closed starts nothing.
    if (blLoginSuccess && !m_blClosing)
        next();
}

void UploadWizard::slotPageComplete(int iId)
{
    if (iId == ProgressPage)
        slotStartUpload();
}

void UploadWizard::slotStartUpload()
{
    if (m_pConverter)
        return;
    m_pConverter = std::make_unique<FileConverter>(m_pQueue.get(), &m_lstJobs, *m_pProfile);
    m_pUploader = std::make_unique<FileUploader>(m_pQueue.get(), m_pNam, m_pProfile, m_mode, &m_cameraDetails);
    for (QObject* pWorker : {static_cast<QObject*>(m_pConverter.get()), static_cast<QObject*>(m_pUploader.get())}) {
        connect(pWorker, SIGNAL(signalCompleteProgressChanged(int)), m_pProgressPage,
                SLOT(slotUpdateCompleteProgress(int)));
        connect(pWorker, SIGNAL(signalNextProgressChanged(int)), m_pProgressPage, SLOT(slotUpdateNextProgress(int)));
    }
    connect(m_pUploader.get(), &FileUploader::signalConnectionSessionLost, m_pProgressPage,
            &WizUpdProgress::slotConnectionSessionLost);
    connect(m_pUploader.get(), &FileUploader::signalUploadStopped, m_pProgressPage,
            &WizUpdProgress::slotUploadStopped);
    connect(m_pUploader.get(), &FileUploader::signalWaitingForReply, m_pProgressPage,
            &WizUpdProgress::slotWaitingForReply);
    connect(m_pUploader.get(), &FileUploader::signalUploadFinished, this, &UploadWizard::slotUploadFinished);
    m_blUploadRunning = true;
    m_pConverter->start(QThread::InheritPriority);
    m_pUploader->start(QThread::InheritPriority);
}

void UploadWizard::slotCancelUpload()
{
    if (m_pUploader)
        m_pUploader->cancel();
    if (m_pConverter)
        m_pConverter->requestStop();
}

void UploadWizard::reject()
{
    if (currentId() == ProgressPage && m_blUploadRunning) {
        slotCancelUpload();
        // A file on the server waits a moment for its reply; the window closes when the
        // uploader is done, and a second Cancel stops the wait at once.
        if (m_pUploader && m_pUploader->isWaitingForReply()) {
            m_blCloseWhenFinished = true;
            return;
        }
    }
    m_blClosing = true;
    m_blAbortTool = true;
    // A login on its way is forgotten: no message or prompt follows the closed window.
    if (m_blLoginBusy)
        m_pLogin->abandon();
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
    m_blUploadRunning = false;
    if (QAbstractButton* pCancel = button(QWizard::CancelButton))
        pCancel->hide();
    setOption(QWizard::NoCancelButton, true);

    ProfileStore::saveUploadOptions(*m_pProfile);
    ProfileStore::countUploadRun(m_pProfile->profname);
    // A run that ended by itself before its last file (lost login, a failing server) lists
    // every file it did not send as failed; after a Cancel the user knows why.
    if (m_pUploader && !m_pUploader->isCancelled()) {
        m_pQueue->collectNotSent(m_lstJobs, VelmLocale::message("err_not_sent"));
        m_pQueue->failures += m_pQueue->notSent;
        m_pQueue->failed += int(m_pQueue->notSent.size());
    }
    m_pProgressPage->slotUploadFinished();

    if (m_pQueue->failed != 0 || !m_pQueue->notes.isEmpty())
        slotErrorReport();
    if (!m_pQueue->reportRows().isEmpty()) {
        setButtonText(QWizard::CustomButton1, VelmLocale::message("btn_error_report"));
        setOption(QWizard::HaveCustomButton1, true);
        if (QAbstractButton* pReport = button(QWizard::CustomButton1)) {
            pReport->setMinimumWidth(100);
            pReport->setFixedHeight(24);
        }
        connect(this, &QWizard::customButtonClicked, this, &UploadWizard::slotErrorReport, Qt::UniqueConnection);
    }

    // Nothing consumes records any more (a lost login ends the uploader early): stop the
    // converter, then its renditions can go.
    if (m_pConverter) {
        m_pConverter->requestStop();
        m_pConverter->wait();
    }
    TempFiles::emptyFolder();
    // Only a camera run owns the camera folder: another run must not empty it under one.
    if (m_mode == RunMode::Camera)
        CameraImport::emptyFolder();
    // Everything of this run is in the history: the profile is free for the next one.
    if (m_pRunLock)
        m_pRunLock->unlock();
    if (m_blCloseWhenFinished)
        QWizard::reject();
}

void UploadWizard::slotErrorReport()
{
    ErrorReport report(this, m_pQueue.get());
    report.exec();
}

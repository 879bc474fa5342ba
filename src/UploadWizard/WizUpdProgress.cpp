#include "WizUpdProgress.h"

#include "upload/UploadQueue.h"
#include "UserPrompt.h"
#include "VelmLocale.h"
#include "VelmWizard.h"
#include "store/ServerProfile.h"
#include "ui_WizUpdProgress.h"

#include <QDebug>
#include <QEvent>
#include <QFontMetrics>

WizUpdProgress::WizUpdProgress(QWidget* pParent, ServerProfile* pProfile, UploadQueue* pQueue, UserPrompt* pPrompt)
    : QWizardPage(pParent), m_ui(std::make_unique<Ui::WizUpdProgress>()), m_timer(this), m_figuresTimer(this),
      m_pProfile(pProfile), m_pQueue(pQueue), m_pPrompt(pPrompt)
{
    m_ui->setupUi(this);
    m_ui->m_pprobarUploadProgress->setRange(0, 100);
    m_ui->m_pprobarUploadProgress->setValue(0);
    connect(&m_timer, &QTimer::timeout, this, &WizUpdProgress::slotUpdateProgress);
    // The uploader goes from one file to the next without a progress signal.
    m_figuresTimer.setInterval(250);
    connect(&m_figuresTimer, &QTimer::timeout, this, &WizUpdProgress::showFigures);
    m_ui->m_plbUpdCurrent->installEventFilter(this);
    languageChange();
    Q_EMIT completeChanged();
}

WizUpdProgress::~WizUpdProgress() = default;

void WizUpdProgress::languageChange()
{
    m_ui->m_plbDesc->setText(VelmLocale::message("upload_prog_title").arg(m_pProfile->profname));
    m_ui->m_plbUpdFileStatus->setText(VelmLocale::message("upload_prog_status"));
}

void WizUpdProgress::initializePage()
{
    languageChange();
    if (m_blFirstTime) {
        m_blFirstTime = false;
        m_ui->m_pprobarUploadProgress->setValue(0);
        m_ui->m_plbUpdPrg->setText(QStringLiteral("0%"));
        m_ui->m_plbUpdFileNum->setText(QLatin1String(":") +
                                       VelmLocale::plural("upload_prog_count", m_pQueue->totalFiles).arg(0));
        m_ui->m_plbUpdCurrent->hide();
        m_ui->m_plbUpdFailStatus->hide();
        m_ui->m_plbUpdFailNum->hide();
        m_ui->m_plbUpdSkipStatus->hide();
        m_ui->m_plbUpdSkipNum->hide();
        m_figuresTimer.start();
    }
    if (wizard())
        VelmWizard::setPageBackground(wizard(), QStringLiteral(":/images/bg_create.png"));
    VelmWizard::styleWidget(m_ui->m_plbDesc, QLatin1String(VelmWizard::LabelSheet));
    VelmWizard::styleWidget(m_ui->m_pprobarUploadProgress, QString(), 432, 21);
    VelmWizard::styleWidget(m_ui->m_plbUpdPrg, QStringLiteral("QLabel { font-size : 13px;\n color : #0e69c4 }"));
    VelmWizard::styleWidget(m_ui->m_plbUpdCurrent, QStringLiteral("QLabel { font-size : 12px;\n color : #6d6d6d }"));
    for (QLabel* pStatus : {m_ui->m_plbUpdFileStatus, m_ui->m_plbUpdSkipStatus})
        VelmWizard::styleWidget(pStatus, QStringLiteral("QLabel { font-size : 12px;\n color : #6d6d6d }"));
    for (QLabel* pNumber : {m_ui->m_plbUpdFileNum, m_ui->m_plbUpdSkipNum})
        VelmWizard::styleWidget(pNumber,
                                QStringLiteral("QLabel { font-size : 12px;\n font-style : bold;\n color : #6d6d6d }"));
    VelmWizard::styleWidget(m_ui->m_plbUpdFailStatus,
                            QStringLiteral("QLabel { font-size : 12px;\n color : #a41c1c }"));
    VelmWizard::styleWidget(m_ui->m_plbUpdFailNum,
                            QStringLiteral("QLabel { font-size : 12px;\n font-style : bold;\n color : #a41c1c }"));
    m_ui->m_plbUpdFailNum->setFont(QFont(QStringLiteral("Verdana"), 12, QFont::Bold));
}

void WizUpdProgress::slotUpdateNextProgress(int iProgress)
{
    qDebug("WizUpdProgress: slotUpdateNextProgress %d", iProgress);
    m_iTarget = iProgress;
    m_timer.stop();
    m_timer.start(int(m_pQueue->currentFileSize() / 20971520) * 100 + 100);
    showCurrentFile();
}

void WizUpdProgress::slotUpdateProgress()
{
    const int iValue = m_ui->m_pprobarUploadProgress->value();
    if (iValue + 1 >= m_iTarget)
        return;
    m_ui->m_pprobarUploadProgress->setValue(iValue + 1);
    m_ui->m_plbUpdPrg->setText(QString::number(iValue + 1) + QLatin1Char('%'));
}

void WizUpdProgress::slotUpdateCompleteProgress(int iProgress)
{
    qDebug("WizUpdProgress: slotUpdateCompleteProgress %d", iProgress);
    if (m_ui->m_pprobarUploadProgress->value() < iProgress)
        m_ui->m_pprobarUploadProgress->setValue(iProgress);
    slotUpdateUpdStatus();
}

void WizUpdProgress::slotUpdateUpdStatus()
{
    // The converter's last progress may arrive after the final figures: they stay.
    if (m_blFinished)
        return;
    showFigures();
    m_ui->m_plbUpdPrg->setText(QString::number(m_ui->m_pprobarUploadProgress->value()) + QLatin1Char('%'));
}

void WizUpdProgress::slotUploadFinished()
{
    m_figuresTimer.stop();
    m_ui->m_plbDesc->hide();
    m_ui->m_plbUpdCurrent->hide();
    m_ui->m_plbUpdFileStatus->setText(VelmLocale::message("upload_finish_success"));
    m_ui->m_plbUpdFileNum->setText(QLatin1String(":") + VelmLocale::plural("upload_finish_files", m_pQueue->succeeded));
    if (m_pQueue->failed > 0) {
        m_ui->m_plbUpdFailStatus->setText(VelmLocale::message("upload_finish_fail"));
        m_ui->m_plbUpdFailNum->setText(QLatin1String(":") + VelmLocale::plural("upload_finish_files", m_pQueue->failed));
        m_ui->m_plbUpdFailStatus->show();
        m_ui->m_plbUpdFailNum->show();
    }
    if (m_pQueue->skipped > 0) {
        m_ui->m_plbUpdSkipStatus->setText(VelmLocale::message("upload_finish_skipped"));
        m_ui->m_plbUpdSkipNum->setText(QLatin1String(":") +
                                       VelmLocale::plural("upload_finish_files", m_pQueue->skipped));
        m_ui->m_plbUpdSkipStatus->show();
        m_ui->m_plbUpdSkipNum->show();
    }
    m_blFinished = true;
    Q_EMIT completeChanged();
}

bool WizUpdProgress::confirmStop()
{
    return m_pPrompt->question(VelmLocale::message("err_warning"),
                               VelmLocale::plural("upload_cfrm_stop", m_pQueue->succeeded),
                               UserPrompt::No) == UserPrompt::Yes;
}

void WizUpdProgress::showFigures()
{
    if (m_blFinished)
        return;
    m_ui->m_plbUpdFileNum->setText(
        QLatin1String(":") + VelmLocale::plural("upload_prog_count", m_pQueue->totalFiles).arg(m_pQueue->succeeded));
    showCurrentFile();
}

void WizUpdProgress::showCurrentFile()
{
    QLabel* pLabel = m_ui->m_plbUpdCurrent;
    const QString strName = m_blFinished ? QString() : m_pQueue->currentFileName();
    if (strName.isEmpty())
        return;
    pLabel->show();
    pLabel->ensurePolished();
    const QString strText = VelmLocale::message("upload_prog_current");
    const QFontMetrics metrics(pLabel->font());
    const int iRoom = pLabel->contentsRect().width() - metrics.horizontalAdvance(strText.arg(QString()));
    pLabel->setText(strText.arg(metrics.elidedText(strName, Qt::ElideMiddle, qMax(iRoom, 0))));
    pLabel->setToolTip(strName);
}

bool WizUpdProgress::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_ui->m_plbUpdCurrent && pEvent->type() == QEvent::Resize && !m_blFinished)
        showCurrentFile();
    return QWizardPage::eventFilter(pWatched, pEvent);
}

void WizUpdProgress::slotConnectionSessionLost()
{
    qDebug("WizUpdProgress: slotConnectionSessionLost");
    slotUploadStopped(VelmLocale::message("err_session_lost"));
}

void WizUpdProgress::slotUploadStopped(const QString& strReason)
{
    m_pPrompt->warning(VelmLocale::message("err_error"), strReason);
    m_timer.stop();
    m_figuresTimer.stop();
    m_ui->m_plbUpdCurrent->hide();
    m_blFinished = true;
    Q_EMIT completeChanged();
}

void WizUpdProgress::slotWaitingForReply(const QString& strFileName, int iSeconds)
{
    m_ui->m_plbDesc->setText(VelmLocale::message("msg_wait_reply").arg(iSeconds).arg(strFileName));
    m_ui->m_plbDesc->setWordWrap(true);
}

QString WizUpdProgress::headingText() const
{
    return m_ui->m_plbDesc->text();
}

int WizUpdProgress::barValue() const
{
    return m_ui->m_pprobarUploadProgress->value();
}

QString WizUpdProgress::percentText() const
{
    return m_ui->m_plbUpdPrg->text();
}

QString WizUpdProgress::fileStatusText() const
{
    return m_ui->m_plbUpdFileStatus->text();
}

QString WizUpdProgress::fileNumText() const
{
    return m_ui->m_plbUpdFileNum->text();
}

QString WizUpdProgress::failStatusText() const
{
    return m_ui->m_plbUpdFailStatus->text();
}

QString WizUpdProgress::failNumText() const
{
    return m_ui->m_plbUpdFailNum->text();
}

bool WizUpdProgress::failLabelsVisible() const
{
    return !m_ui->m_plbUpdFailStatus->isHidden() && !m_ui->m_plbUpdFailNum->isHidden();
}

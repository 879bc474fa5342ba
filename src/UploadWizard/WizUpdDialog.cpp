#include "WizUpdDialog.h"

#include "AlbumBrowser.h"
#include "AppIdentity.h"
#include "CameraImport.h"
#include "UploadWizard.h"
#include "UserPrompt.h"
#include "VelmLocale.h"
#include "store/ProfileStore.h"
#include "store/ServerProfile.h"
#include "upload/UploadPlan.h"
#include "upload/UploadRun.h"
#include "ui_WizUpdDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QTreeWidget>

WizUpdDialog::WizUpdDialog(UploadWizard* pWizard)
    : QWizardPage(pWizard), m_ui(std::make_unique<Ui::WizUpdDialog>()), m_pWizard(pWizard)
{
    m_ui->setupUi(this);
    m_ui->m_comboDuplicate->addItem(VelmLocale::message("upload_overwrite"));
    m_ui->m_comboDuplicate->addItem(VelmLocale::message("upload_rename"));
    m_ui->m_comboDuplicate->addItem(VelmLocale::message("upload_skip"));

    const RunMode mode = pWizard->mode();
    m_ui->m_plbSrcFolder->setVisible(mode == RunMode::UploadPicked);
    m_ui->m_pedtSrcAlbum->setVisible(mode == RunMode::UploadPicked);
    m_ui->m_pbtnSrcBrowse->setVisible(mode == RunMode::UploadPicked);
    m_ui->m_pcbxProfile->setVisible(mode == RunMode::Camera);
    m_ui->m_pcbxSrc->hide();
    if (mode == RunMode::Camera) {
        m_ui->m_pcbxProfile->addItems(ProfileStore::shortcutOrder());
        m_ui->m_pcbxProfile->setCurrentText(pWizard->profile()->profname);
        connect(m_ui->m_pcbxProfile, &QComboBox::currentTextChanged, this, &WizUpdDialog::slotProfileChanged);
        fillCameraSources();
    }

    registerField(mode == RunMode::UploadPicked ? QStringLiteral("SrcFolder*") : QStringLiteral("SrcFolder"), m_ui->m_pedtSrcAlbum);
    registerField(QStringLiteral("DstAlbum"), m_ui->m_pedtDstAlbum);
    registerField(QStringLiteral("Duplicate"), m_ui->m_comboDuplicate);
    registerField(QStringLiteral("UpdIdxable"), m_ui->m_chkIdxable);
    registerField(QStringLiteral("IncBackup"), m_ui->m_chkIncBackup);
    registerField(QStringLiteral("DateRename"), m_ui->m_chkDateRename);
    registerField(QStringLiteral("IgnoreFolder"), m_ui->m_chkIgrFolder);

    connect(m_ui->m_pbtnSrcBrowse, &QPushButton::clicked, this, &WizUpdDialog::slotBrowseSrcFolder);
    connect(m_ui->m_pbtnFolder, &QPushButton::clicked, this, &WizUpdDialog::slotBrowseAlbum);
    connect(pWizard, &UploadWizard::signalLoginFinish, this, &WizUpdDialog::slotLoginFinish);
    languageChange();
}

WizUpdDialog::~WizUpdDialog() = default;

void WizUpdDialog::languageChange()
{
    m_ui->m_plbSrcFolder->setText(VelmLocale::message("upload_src_folder"));
    m_ui->m_pbtnSrcBrowse->setText(VelmLocale::message("btn_browse"));
    m_ui->m_plbDstFolder->setText(VelmLocale::message("upload_dest_folder"));
    m_ui->m_pbtnFolder->setText(VelmLocale::message("btn_browse"));
    m_ui->m_plbDuplicate->setText(VelmLocale::message("upload_file_exist"));
    m_ui->m_comboDuplicate->setItemText(0, VelmLocale::message("upload_overwrite"));
    m_ui->m_comboDuplicate->setItemText(1, VelmLocale::message("upload_rename"));
    m_ui->m_comboDuplicate->setItemText(2, VelmLocale::message("upload_skip"));
    m_ui->m_chkIdxable->setText(VelmLocale::message("upload_idxable"));
    m_ui->m_chkIncBackup->setText(VelmLocale::message("upload_incbackup"));
    m_ui->m_chkDateRename->setText(VelmLocale::message("upload_date_rename"));
    m_ui->m_chkIgrFolder->setText(VelmLocale::message("upload_igr_dir"));
}

void WizUpdDialog::initializePage()
{
    languageChange();
    if (m_blFirstTime) {
        m_blFirstTime = false;
        loadControls();
    }
    applyStyle();
}

void WizUpdDialog::loadControls()
{
    const ServerProfile* pProfile = m_pWizard->profile();
    m_ui->m_pedtDstAlbum->setText(pProfile->serverdst.isEmpty() ? QStringLiteral("/photo") : pProfile->serverdst);
    m_ui->m_chkIdxable->setChecked(pProfile->idxonly);
    m_ui->m_chkIncBackup->setChecked(pProfile->incbackup);
    m_ui->m_chkDateRename->setChecked(pProfile->daterename);
    m_ui->m_chkIgrFolder->setChecked(pProfile->keepfolders);
    if (pProfile->duphandler == QLatin1String("RENAME"))
        m_ui->m_comboDuplicate->setCurrentIndex(1);
    else if (pProfile->duphandler == QLatin1String("OVERWRITE"))
        m_ui->m_comboDuplicate->setCurrentIndex(0);
    else if (pProfile->duphandler == QLatin1String("SKIP"))
        m_ui->m_comboDuplicate->setCurrentIndex(2);
}

void WizUpdDialog::applyStyle()
{
    if (wizard())
        VelmWizard::setPageBackground(wizard(), QStringLiteral(":/images/bg_create.png"));
    const QString strLabel = QLatin1String(VelmWizard::LabelSheet);
    for (QWidget* pLabel : {static_cast<QWidget*>(m_ui->m_plbSrcFolder), static_cast<QWidget*>(m_ui->m_plbDstFolder),
                            static_cast<QWidget*>(m_ui->m_plbDuplicate)})
        VelmWizard::styleWidget(pLabel, strLabel);
    const QString strEdit = QLatin1String(VelmWizard::LineEditSheet);
    VelmWizard::styleWidget(m_ui->m_pedtDstAlbum, strEdit, m_pWizard->mode() == RunMode::Camera ? 245 : 350, 25);
    VelmWizard::styleWidget(m_ui->m_pedtSrcAlbum, strEdit, 350, 25);
    m_ui->m_pedtDstAlbum->setTextMargins(2, 0, 0, 0);
    m_ui->m_pedtSrcAlbum->setTextMargins(2, 0, 0, 0);
    for (QWidget* pBox : {static_cast<QWidget*>(m_ui->m_chkIdxable), static_cast<QWidget*>(m_ui->m_chkIncBackup),
                          static_cast<QWidget*>(m_ui->m_chkDateRename), static_cast<QWidget*>(m_ui->m_chkIgrFolder)})
        VelmWizard::styleWidget(pBox, QLatin1String(VelmWizard::CheckBoxUploadSheet));
    const QString strCombo = QLatin1String(VelmWizard::ComboBoxSheet);
    VelmWizard::styleWidget(m_ui->m_comboDuplicate, strCombo, 130, 25);
    VelmWizard::styleWidget(m_ui->m_pcbxProfile, strCombo, 100, 25);
    // At least 70 pixels, wider where the language's "Browse" needs it.
    for (QWidget* pButton : {m_ui->m_pbtnFolder, m_ui->m_pbtnSrcBrowse}) {
        VelmWizard::styleWidget(pButton, QString(), 0, 25);
        pButton->setMinimumWidth(70);
    }
}

int WizUpdDialog::nextId() const
{
    return m_blVideoPresent ? UploadWizard::QualityPage : UploadWizard::ProgressPage;
}

QString WizUpdDialog::destinationText() const
{
    return m_ui->m_pedtDstAlbum->text();
}

void WizUpdDialog::setDestinationText(const QString& strText)
{
    m_ui->m_pedtDstAlbum->setText(strText);
}

QString WizUpdDialog::sourceText() const
{
    return m_ui->m_pedtSrcAlbum->text();
}

void WizUpdDialog::storeOptions()
{
    ServerProfile* pProfile = m_pWizard->profile();
    const QString strDestination = m_ui->m_pedtDstAlbum->text();
    pProfile->idxonly = m_ui->m_chkIdxable->isChecked();
    pProfile->incbackup = m_ui->m_chkIncBackup->isChecked();
    pProfile->daterename = m_ui->m_chkDateRename->isChecked();
    pProfile->keepfolders = m_ui->m_chkIgrFolder->isChecked();
    static const char* const s_handlers[] = {"OVERWRITE", "RENAME", "SKIP"};
    const int iIndex = m_ui->m_comboDuplicate->currentIndex();
    pProfile->duphandler = QLatin1String(iIndex >= 0 && iIndex < 3 ? s_handlers[iIndex] : "RENAME");
    pProfile->serverdst = strDestination;
}

bool WizUpdDialog::refuse(const char* pszTitle, const QString& strText)
{
    m_pWizard->prompt()->warning(VelmLocale::message(pszTitle), strText);
    return false;
}

bool WizUpdDialog::validatePage()
{
    if (m_ui->m_pedtDstAlbum->text().isEmpty())
        return refuse("err_warning", VelmLocale::message("err_none_sel_folder"));
    // A stored destination may name "." or "..": a server that trusts it would write outside
    // the photo share.
    QString strDestination;
    const QString strProblem = UploadPlan::destinationProblem(m_ui->m_pedtDstAlbum->text(), strDestination);
    if (!strProblem.isEmpty())
        return refuse("err_warning", strProblem);
    setDestinationText(strDestination);
    storeOptions();
    UploadRun* pRun = m_pWizard->run();
    QString strRefusal;
    if (!pRun->claim(&strRefusal))
        return refuse("err_error", strRefusal);
    // Camera import hands its items over here; the file list then names them.
    QStringList lstPaths = m_pWizard->files();
    if (m_pWizard->mode() == RunMode::Camera) {
        if (!importFromCamera())
            return false;
        lstPaths.clear();
        for (const QString& strName : m_pWizard->files())
            lstPaths.append(UploadWizard::cameraFolder() + QLatin1Char('/') + strName);
    }
    // Pending events are handled between files, so the window stays responsive.
    pRun->plan(lstPaths, []() { QCoreApplication::processEvents(); });
    m_blVideoPresent = pRun->hasVideo();
    // The window can be closed while the server is asked: the wait ends, nothing goes on.
    if (m_pWizard->isClosing())
        return false;
    QString strMessage;
    switch (pRun->announce(&strMessage)) {
    case UploadRun::Announced::Ready:
        return true;
    case UploadRun::Announced::Cancelled:
        return false;
    case UploadRun::Announced::Failed:
        return refuse("err_error", strMessage);
    case UploadRun::Announced::NothingToSend:
        break;
    }
    return refuse("err_warning", strMessage);
}

void WizUpdDialog::fillCameraSources()
{
    QStringList lstIds;
    QStringList lstTexts;
    CameraImport::Session(m_pWizard->prompt(), m_pWizard->toolAbort()).listDevices(lstIds, lstTexts);
    m_ui->m_pcbxSrc->clear();
    for (int i = 0; i < lstIds.size(); ++i)
        m_ui->m_pcbxSrc->addItem(lstTexts.at(i), lstIds.at(i));
}

bool WizUpdDialog::importFromCamera()
{
    // A device connected after the page opened is found now.
    if (m_ui->m_pcbxSrc->count() == 0)
        fillCameraSources();
    if (m_ui->m_pcbxSrc->count() == 0)
        return refuse("err_warning", VelmLocale::message("err_no_camera"));
    const CameraImport::Session session(m_pWizard->prompt(), m_pWizard->toolAbort(),
                                        []() { QCoreApplication::processEvents(); });
    const CameraImport::ImportResult result = session.importFromDevice(
        m_ui->m_pcbxSrc->currentData().toString(), m_pWizard->profile()->profname, m_pWizard->profile()->incbackup);
    if (m_pWizard->isClosing())
        return false;
    // Items the tool did not deliver are reported, never taken for files that vanished.
    QStringList lstNames = result.names;
    UploadRun::Rows lstNotTaken;
    for (const QString& strName : result.refused)
        lstNotTaken.append({strName, VelmLocale::message("skip_camera_name")});
    for (const QString& strName : result.notCopied) {
        lstNames.removeAll(strName);
        lstNotTaken.append({strName, VelmLocale::message("skip_camera_copy")});
    }
    m_pWizard->setFiles(lstNames);
    m_pWizard->run()->setCameraImport(result.details, lstNotTaken, result.skippedUploaded);
    return true;
}

void WizUpdDialog::slotBrowseAlbum()
{
    ServerProfile* pProfile = m_pWizard->profile();
    if (!m_pWizard->isLoggedIn()) {
        m_blBrowseAfterLogin = true;
        m_pWizard->logIn();
        return;
    }
    AlbumBrowser browser(this, m_pWizard->accessManager(), pProfile->baseUrl, pProfile->hostaddr, pProfile->port,
                         m_pWizard->prompt());
    if (browser.exec() != QDialog::Accepted)
        return;
    if (browser.tree()->selectedItems().isEmpty())
        return;
    const QString strPath = browser.selectedPath();
    setDestinationText(strPath.isEmpty() ? QStringLiteral("/photo") : QLatin1String("/photo/") + strPath);
}

void WizUpdDialog::slotLoginFinish(bool blLoginSuccess)
{
    const bool blBrowse = m_blBrowseAfterLogin;
    m_blBrowseAfterLogin = false;
    if (blLoginSuccess && blBrowse)
        slotBrowseAlbum();
}

void WizUpdDialog::slotBrowseSrcFolder()
{
    const QString strFolder = QFileDialog::getExistingDirectory(this, AppIdentity::applicationTitle(),
                                                                QDir::homePath(), QFileDialog::ShowDirsOnly);
    m_ui->m_pedtSrcAlbum->setText(strFolder);
    m_pWizard->setFiles(strFolder.isEmpty() ? QStringList() : QStringList{strFolder});
}

void WizUpdDialog::slotProfileChanged(const QString& strName)
{
    m_pWizard->forgetLogin();
    if (ProfileStore::loadProfile(strName, *m_pWizard->profile(), *m_pWizard->prompt()))
        loadControls();
}

#include "ServerSettings.h"

#include "HelpPage.h"
#include "AppIdentity.h"
#include "FoundServerPicker.h"
#include "UserPrompt.h"
#include "VelmImages.h"
#include "VelmLocale.h"
#include "VelmWizard.h"
#include "store/CertificatePins.h"
#include "store/ProfileStore.h"
#include "ui_ServerSettings.h"

#include <QDir>
#include <QFileDialog>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace {

// The dialog is taller than its background picture: the plain middle of the picture stretches.
const int DialogWidth = 520;
const int DialogHeight = 680;

const char* const TitleSheet = "QLabel { font-size : 12px;\n font-style : bold;\n color : #ffffff }";

} // namespace

ServerSettings::ServerSettings(QWidget* pParent, QNetworkAccessManager* pNam, ProfileSummary* pRow,
                               UserPrompt* pPrompt)
    : QDialog(pParent), m_ui(std::make_unique<Ui::ServerSettings>()), m_pRow(pRow), m_pPrompt(pPrompt)
{
    m_ui->setupUi(this);
    m_plbTitle = new QLabel(this);
    m_plbTitle->setObjectName(QStringLiteral("m_plbTitle"));
    m_ui->m_plbToolTip->setPixmap(VelmImages::pixmap(QStringLiteral(":/images/bt_help.png")));
    HelpPage::attach(m_ui->m_plbToolTip);
    m_ui->m_pedtPassword->setEchoMode(QLineEdit::Password);
    m_ui->m_pedtPassword->setMaxLength(254);
    languageChange();

    m_pPicker = std::make_unique<FoundServerPicker>(nullptr, pNam, &m_foundServers, pPrompt, m_ui->m_cbxIP,
                                                    m_ui->m_pedtProfName, m_ui->m_plbSearchNote);
    connect(m_pPicker->finder(), &FindHostUtils::signalFindHostUpdate, this, &ServerSettings::slotFindHostUpdate);
    connect(m_pPicker->finder(), &FindHostUtils::signalFindNasFinished, this, &ServerSettings::slotRefreshFinished);
    connect(m_ui->m_cbxIP, qOverload<int>(&QComboBox::activated), this, &ServerSettings::slotDisplayConfig);
    connect(m_ui->m_pradPersonalPictarium, &QRadioButton::toggled, this,
            &ServerSettings::slotPersonalRadioBtnToogled);
    connect(m_ui->m_pchkSaveCred, &QCheckBox::toggled, this, &ServerSettings::slotSavePassChecked);
    connect(m_ui->m_pbtnSave, &QPushButton::clicked, this, &ServerSettings::accept);
    connect(m_ui->m_cbxIP, &QComboBox::editTextChanged, this, &ServerSettings::showCertificate);
    connect(m_ui->m_pedtPort, &QLineEdit::textChanged, this, &ServerSettings::showCertificate);
    connect(m_ui->m_pchkHTTPS, &QCheckBox::toggled, this, &ServerSettings::showCertificate);
    connect(m_ui->m_pbtnCancel, &QPushButton::clicked, this, &ServerSettings::reject);
    connect(m_ui->m_pbtnWatchAdd, &QPushButton::clicked, this, &ServerSettings::slotWatchAdd);
    connect(m_ui->m_pbtnWatchRemove, &QPushButton::clicked, this, &ServerSettings::slotWatchRemove);
    connect(m_ui->m_pchkWatch, &QCheckBox::toggled, this, &ServerSettings::slotWatchState);
    connect(m_ui->m_plstWatchFolders, &QListWidget::currentRowChanged, this, &ServerSettings::slotWatchState);

    applyLook();
    loadRow();
    m_pPicker->search();
}

// The picker goes first: it hands the combo box back before the list it shows is freed.
ServerSettings::~ServerSettings()
{
    m_pPicker.reset();
}

FindHostUtils* ServerSettings::finder() const
{
    return m_pPicker->finder();
}

void ServerSettings::languageChange()
{
    setWindowTitle(AppIdentity::applicationTitle());
    m_plbTitle->setText(QCoreApplication::translate("ServerSettings", "Pictarium Uplaoder Settings"));
    m_ui->m_plbProfName->setText(VelmLocale::message("create_svr_profname"));
    m_ui->m_plbSvrNameIP->setText(VelmLocale::message("create_svr_hostname"));
    m_ui->m_plbPort->setText(VelmLocale::message("create_svr_port"));
    m_ui->m_pchkHTTPS->setText(QStringLiteral("HTTPS"));
    m_ui->m_plbupdto->setText(VelmLocale::message("create_per_uploadto"));
    m_ui->m_pradPictarium->setText(VelmLocale::message("create_per_photo"));
    m_ui->m_pradPersonalPictarium->setText(VelmLocale::message("create_per_photo_personal"));
    m_ui->m_pedtPersonalName->setPlaceholderText(VelmLocale::message("create_per_username"));
    m_ui->m_plbToolTip->setToolTip(QLatin1String("<div style=\"width:500px;\">") +
                                   VelmLocale::message("create_per_tooltip") + QLatin1String("</div>"));
    m_ui->m_plbAccount->setText(VelmLocale::message("create_pw_account"));
    m_ui->m_plbPassword->setText(VelmLocale::message("create_pw_password"));
    m_ui->m_pchkSaveCred->setText(VelmLocale::message("create_pw_savepass"));
    m_ui->m_pbtnCancel->setText(VelmLocale::message("btn_cancel"));
    m_ui->m_pbtnSave->setText(VelmLocale::message("btn_save"));
    m_ui->m_plbCert->setText(VelmLocale::message("create_svr_cert"));
    m_ui->m_pchkWatch->setText(VelmLocale::message("watch_auto"));
    m_ui->m_plbWatchNote->setText(VelmLocale::message("watch_needs_password"));
    m_ui->m_pbtnWatchAdd->setText(VelmLocale::message("watch_add"));
    m_ui->m_pbtnWatchRemove->setText(VelmLocale::message("watch_remove"));
    m_ui->m_pchkWatchNotify->setText(VelmLocale::message("watch_notify"));
    if (m_pPicker)
        m_pPicker->languageChange();
    showCertificate();
}

void ServerSettings::showCertificate()
{
    // The key trusted for the server as now entered; plain HTTP has none, and no server entered none either
    // (the search note takes the room then).
    const QString strHost = m_ui->m_cbxIP->currentText().trimmed();
    const bool blShown = m_ui->m_pchkHTTPS->isChecked() && !strHost.isEmpty();
    m_ui->m_plbCert->setVisible(blShown);
    m_ui->m_plbCertFingerprint->setVisible(blShown);
    const QByteArray baKey = CertificatePins::pinFor(strHost, m_ui->m_pedtPort->text().toInt()).keyHash;
    if (baKey.isEmpty()) {
        m_ui->m_plbCertFingerprint->setStyleSheet(QLatin1String(VelmWizard::LabelSheet));
        m_ui->m_plbCertFingerprint->setText(VelmLocale::message("msg_cert_not_pinned"));
        return;
    }
    // Two lines of 16 bytes each, in a fixed-width font.
    m_ui->m_plbCertFingerprint->setStyleSheet(
        QStringLiteral("QLabel { font-size : 10px;\n font-family : monospace;\n color : #1b1b1b }"));
    const QString strFingerprint = CertificatePins::fingerprintText(baKey);
    m_ui->m_plbCertFingerprint->setText(strFingerprint.left(47) + QLatin1Char('\n') + strFingerprint.mid(48));
}

void ServerSettings::applyLook()
{
    setFixedSize(DialogWidth, DialogHeight);
    // Title band and button strip as drawn; the plain part between them stretches.
    const QPixmap picture(QStringLiteral(":/images/bg_setting.png"));
    const int iTop = 50;
    const int iBottom = 46;
    QPixmap background(DialogWidth, DialogHeight);
    background.fill(Qt::white);
    {
        QPainter painter(&background);
        painter.drawPixmap(QRect(0, 0, DialogWidth, iTop), picture, QRect(0, 0, picture.width(), iTop));
        painter.drawPixmap(QRect(0, iTop, DialogWidth, DialogHeight - iTop - iBottom), picture,
                           QRect(0, iTop, picture.width(), picture.height() - iTop - iBottom));
        painter.drawPixmap(QRect(0, DialogHeight - iBottom, DialogWidth, iBottom), picture,
                           QRect(0, picture.height() - iBottom, picture.width(), iBottom));
    }
    QPalette palette = this->palette();
    palette.setBrush(QPalette::Window, QBrush(background));
    setPalette(palette);
    setAutoFillBackground(true);

    m_plbTitle->setGeometry(15, 0, DialogWidth, 50);
    m_plbTitle->setStyleSheet(QLatin1String(TitleSheet));
    QFont titleFont(QStringLiteral("Verdana"), 12);
    titleFont.setBold(true);
    m_plbTitle->setFont(titleFont);

    for (QLineEdit* pEdit : {m_ui->m_pedtProfName, m_ui->m_pedtPort, m_ui->m_pedtAccount, m_ui->m_pedtPassword})
        pEdit->setTextMargins(2, 0, 0, 0);
    for (QWidget* pLabel : {static_cast<QWidget*>(m_ui->m_plbProfName), static_cast<QWidget*>(m_ui->m_plbSvrNameIP),
                            static_cast<QWidget*>(m_ui->m_plbPort), static_cast<QWidget*>(m_ui->m_plbupdto),
                            static_cast<QWidget*>(m_ui->m_plbAccount), static_cast<QWidget*>(m_ui->m_plbPassword)})
        VelmWizard::styleWidget(pLabel, QLatin1String(VelmWizard::LabelSheet));
    for (QWidget* pEdit : {m_ui->m_pedtProfName, m_ui->m_pedtPort, m_ui->m_pedtAccount, m_ui->m_pedtPassword})
        VelmWizard::styleWidget(pEdit, QLatin1String(VelmWizard::LineEditSheet), 300, 25);
    VelmWizard::styleWidget(m_ui->m_pedtPersonalName, QLatin1String(VelmWizard::LineEditSheet), 165, 25);
    VelmWizard::styleWidget(m_ui->m_cbxIP, QLatin1String(VelmWizard::ComboBoxSheet), 300, 25);
    for (QWidget* pBox : {m_ui->m_pchkHTTPS, m_ui->m_pchkSaveCred, m_ui->m_pchkWatch, m_ui->m_pchkWatchNotify})
        VelmWizard::styleWidget(pBox, QLatin1String(VelmWizard::CheckBoxProfileSheet));
    for (QWidget* pRadio : {m_ui->m_pradPictarium, m_ui->m_pradPersonalPictarium})
        VelmWizard::styleWidget(pRadio, QLatin1String(VelmWizard::RadioButtonSheet));
    VelmWizard::styleWidget(m_ui->m_plbWatchNote, QLatin1String(VelmWizard::LabelSheet));
    m_ui->m_plstWatchFolders->setFixedHeight(84);
    for (QWidget* pButton : {m_ui->m_pbtnCancel, m_ui->m_pbtnSave, m_ui->m_pbtnWatchAdd, m_ui->m_pbtnWatchRemove})
        pButton->setFixedHeight(24);
    VelmWizard::styleWidget(m_ui->m_plbCert, QLatin1String(VelmWizard::LabelSheet));
    m_ui->m_plbCertFingerprint->setWordWrap(true);
    m_ui->m_plbCertFingerprint->setMinimumWidth(300);
    m_ui->m_plbCertFingerprint->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void ServerSettings::loadRow()
{
    // A name made before the limit was 32 is shown whole, so that saving does not cut it.
    m_ui->m_pedtProfName->setMaxLength(std::max<int>(ProfileStore::MaxProfileNameLength, m_pRow->profname.size()));
    m_ui->m_pedtProfName->setText(m_pRow->profname);
    m_ui->m_cbxIP->setEditText(m_pRow->hostaddr);
    m_ui->m_pedtPort->setText(QString::number(m_pRow->port));
    m_ui->m_pchkHTTPS->setChecked(m_pRow->https);
    if (m_pRow->personal) {
        m_ui->m_pradPersonalPictarium->setChecked(true);
        m_ui->m_pedtPersonalName->setText(m_pRow->usrname);
    } else {
        m_ui->m_pradPictarium->setChecked(true);
    }
    m_ui->m_pedtPersonalName->setEnabled(m_pRow->personal);
    m_ui->m_pedtAccount->setText(m_pRow->account);
    m_ui->m_pchkSaveCred->setChecked(m_pRow->savepass);
    if (m_pRow->savepass)
        m_ui->m_pedtPassword->setText(m_pRow->password);
    m_ui->m_pedtPassword->setEnabled(m_pRow->savepass);

    m_watch = WatchStore::settings(m_pRow->profname);
    m_ui->m_plstWatchFolders->addItems(m_watch.folders);
    m_ui->m_pchkWatch->setChecked(m_watch.enabled && m_pRow->savepass);
    m_ui->m_pchkWatchNotify->setChecked(m_watch.notifyAlways);
    slotWatchState();
}

void ServerSettings::slotWatchAdd()
{
    const QString strFolder = QFileDialog::getExistingDirectory(this, m_ui->m_pbtnWatchAdd->text().remove(QChar(0x2026)));
    if (strFolder.isEmpty())
        return;
    const QString strClean = QDir::cleanPath(strFolder);
    if (m_ui->m_plstWatchFolders->findItems(strClean, Qt::MatchExactly).isEmpty())
        m_ui->m_plstWatchFolders->addItem(strClean);
    m_ui->m_plstWatchFolders->setCurrentRow(m_ui->m_plstWatchFolders->count() - 1);
    slotWatchState();
}

void ServerSettings::slotWatchRemove()
{
    delete m_ui->m_plstWatchFolders->takeItem(m_ui->m_plstWatchFolders->currentRow());
    slotWatchState();
}

void ServerSettings::slotWatchState()
{
    const bool blPassword = m_ui->m_pchkSaveCred->isChecked();
    const bool blFolders = m_ui->m_plstWatchFolders->count() > 0;
    if (!blPassword || !blFolders)
        m_ui->m_pchkWatch->setChecked(false);
    m_ui->m_pchkWatch->setEnabled(blPassword && blFolders);
    m_ui->m_plbWatchNote->setVisible(!blPassword);
    m_ui->m_pbtnWatchRemove->setEnabled(m_ui->m_plstWatchFolders->currentRow() >= 0);
    m_ui->m_pchkWatchNotify->setEnabled(m_ui->m_pchkWatch->isChecked());
}

void ServerSettings::slotFindHostUpdate()
{
    m_pPicker->showUpdate();
}

void ServerSettings::slotRefreshFinished()
{
    m_pPicker->showRoundFinished();
}

void ServerSettings::slotDelayedInit()
{
    m_pPicker->search();
}

void ServerSettings::slotDisplayConfig(int Index)
{
    m_pPicker->pick(Index);
}

void ServerSettings::slotPersonalRadioBtnToogled(bool blIsToggled)
{
    m_ui->m_pedtPersonalName->setEnabled(blIsToggled);
}

void ServerSettings::slotSavePassChecked(bool blChecked)
{
    m_ui->m_pedtPassword->setEnabled(blChecked);
    slotWatchState();
}

bool ServerSettings::validate()
{
    const QString strHost = m_ui->m_cbxIP->currentText().trimmed();
    const QString strName = m_ui->m_pedtProfName->text();
    if (!m_pPicker->confirmFoundServer(strHost) || !m_pPicker->checkPort(m_ui->m_pedtPort) ||
        !m_pPicker->checkHost(strHost))
        return false;

    auto refuse = [this](bool blCritical, const QString& strText, QWidget* pFocus) {
        if (blCritical)
            m_pPrompt->critical(VelmLocale::message("err_error"), strText);
        else
            m_pPrompt->warning(VelmLocale::message("err_warning"), strText);
        pFocus->setFocus();
        return false;
    };
    const QString strProblem =
        strName.isEmpty() || strName == m_pRow->profname ? QString() : ProfileStore::profileNameProblem(strName);
    if (!strProblem.isEmpty())
        return refuse(true, strProblem, m_ui->m_pedtProfName);
    // Another profile of that name, whatever its letter case; the profile's own name may change case.
    if (strName != m_pRow->profname) {
        const QStringList lstNames = ProfileStore::shortcutOrder();
        for (const QString& strOther : lstNames) {
            if (strOther != m_pRow->profname && strOther.compare(strName, Qt::CaseInsensitive) == 0)
                return refuse(true, VelmLocale::message("err_profname_duplicate").arg(strName), m_ui->m_pedtProfName);
        }
    }
    if (strName.isEmpty())
        return refuse(false, VelmLocale::message("err_profname_empty"), m_ui->m_pedtProfName);
    if (m_ui->m_pedtPort->text().isEmpty())
        return refuse(false, VelmLocale::message("err_port_empty"), m_ui->m_pedtPort);
    if (m_ui->m_pradPersonalPictarium->isChecked() && m_ui->m_pedtPersonalName->text().isEmpty())
        return refuse(false, VelmLocale::message("err_personal_empty"), m_ui->m_pedtPersonalName);
    if (m_ui->m_pedtAccount->text().isEmpty())
        return refuse(false, VelmLocale::message("err_usrname_empty"), m_ui->m_pedtAccount);
    return true;
}

void ServerSettings::writeBack()
{
    const QString strHost = m_ui->m_cbxIP->currentText().trimmed();
    const QString strOwner = m_ui->m_pedtPersonalName->text();
    const bool blPersonal = m_ui->m_pradPersonalPictarium->isChecked();
    // Another server, or another photo space (shared, or a personal one of another owner): the
    // album kept from the last run is not there.
    const QString strOldSpace = m_pRow->personal ? m_pRow->usrname : QString();
    const QString strNewSpace = blPersonal ? strOwner : QString();
    if (strHost != m_pRow->hostaddr || strNewSpace != strOldSpace)
        ProfileStore::setColumn(QStringLiteral("ServerProfiles"), m_pRow->profname, QStringLiteral("serverdst"),
                                QStringLiteral("/photo"));
    const bool blSavePass = m_ui->m_pchkSaveCred->isChecked();
    m_pRow->profname = m_ui->m_pedtProfName->text();
    m_pRow->hostaddr = strHost;
    m_pRow->port = m_ui->m_pedtPort->text().toInt();
    m_pRow->https = m_ui->m_pchkHTTPS->isChecked();
    m_pRow->personal = blPersonal;
    m_pRow->usrname = strOwner;
    m_pRow->account = m_ui->m_pedtAccount->text();
    // A password that is not to be remembered is not kept either.
    m_pRow->password = blSavePass ? m_ui->m_pedtPassword->text() : QString();
    m_pRow->savepass = blSavePass;

    m_watch.enabled = m_ui->m_pchkWatch->isChecked();
    m_watch.notifyAlways = m_ui->m_pchkWatchNotify->isChecked();
    m_watch.folders.clear();
    for (int i = 0; i < m_ui->m_plstWatchFolders->count(); ++i)
        m_watch.folders.append(m_ui->m_plstWatchFolders->item(i)->text());
}

void ServerSettings::accept()
{
    if (!validate())
        return;
    writeBack();
    QDialog::accept();
}

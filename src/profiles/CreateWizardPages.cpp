#include "CreateWizardPages.h"

#include "HelpPage.h"
#include "CreateWizard.h"
#include "UserPrompt.h"
#include "VelmImages.h"
#include "VelmLocale.h"
#include "VelmWizard.h"
#include "FoundServerPicker.h"
#include "store/ProfileStore.h"
#include "ui_WizHintDialog.h"
#include "ui_WizIPDialog.h"
#include "ui_WizPWDialog.h"
#include "ui_WizPerDialog.h"

#include <QLineEdit>
#include <QPixmap>
#include <QRegularExpressionValidator>

namespace {

void styleInputs(std::initializer_list<QWidget*> lstWidgets, const char* pszSheet, int iWidth = 300)
{
    for (QWidget* pWidget : lstWidgets)
        VelmWizard::styleWidget(pWidget, QLatin1String(pszSheet), iWidth, 25);
}

void styleLabels(std::initializer_list<QWidget*> lstLabels)
{
    for (QWidget* pLabel : lstLabels)
        VelmWizard::styleWidget(pLabel, QLatin1String(VelmWizard::LabelSheet));
}

QString errorTitle()
{
    return VelmLocale::message("err_error");
}

} // namespace

// ---------------------------------------------------------------- server

WizIPDialog::WizIPDialog(CreateWizard* pWizard, QNetworkAccessManager* pNam, FoundServerList* pList,
                         UserPrompt* pPrompt)
    : QWizardPage(pWizard), m_ui(std::make_unique<Ui::WizIPDialog>()), m_pPrompt(pPrompt)
{
    m_ui->setupUi(this);
    registerField(QStringLiteral("ProfileName*"), m_ui->m_pedtProfName);
    registerField(QStringLiteral("HostAddr"), m_ui->m_cbxIP, "currentText");
    registerField(QStringLiteral("HostPort*"), m_ui->m_pedtPort);
    registerField(QStringLiteral("Https"), m_ui->m_pchkHTTPS);

    m_pPicker = std::make_unique<FoundServerPicker>(nullptr, pNam, pList, pPrompt, m_ui->m_cbxIP, m_ui->m_pedtProfName,
                                                    m_ui->m_plbSearchNote);

    connect(m_pPicker->finder(), &FindHostUtils::signalFindHostUpdate, this, &WizIPDialog::slotFindHostUpdate);
    connect(m_pPicker->finder(), &FindHostUtils::signalFindNasFinished, this, &WizIPDialog::slotRefreshFinished);
    connect(m_ui->m_cbxIP, qOverload<int>(&QComboBox::activated), this, &WizIPDialog::slotDisplayConfig);
    connect(m_ui->m_pchkHTTPS, &QCheckBox::toggled, this, &WizIPDialog::slotHTTPSChecked);
    languageChange();
    m_pPicker->search();
}

WizIPDialog::~WizIPDialog() = default;

void WizIPDialog::languageChange()
{
    m_ui->m_plbDesc->setText(VelmLocale::message("create_svr_desc"));
    m_ui->m_plbProfName->setText(VelmLocale::message("create_svr_profname"));
    m_ui->m_plbSvrNameIP->setText(VelmLocale::message("create_svr_hostname"));
    m_ui->m_plbPort->setText(VelmLocale::message("create_svr_port"));
    m_ui->m_pchkHTTPS->setText(QStringLiteral("HTTPS"));
    m_pPicker->languageChange();
}

void WizIPDialog::initializePage()
{
    languageChange();
    if (m_blFirstTime) {
        m_blFirstTime = false;
        m_ui->m_pedtPort->setText(QStringLiteral("80"));
    }
    m_ui->m_pedtProfName->setTextMargins(2, 0, 0, 0);
    m_ui->m_pedtPort->setTextMargins(2, 0, 0, 0);
    if (wizard())
        VelmWizard::setPageBackground(wizard(), QStringLiteral(":/images/bg_create.png"));
    VelmWizard::styleWidget(m_ui->m_plbDesc, QLatin1String(VelmWizard::LabelSheet), 480);
    styleLabels({m_ui->m_plbProfName, m_ui->m_plbSvrNameIP, m_ui->m_plbPort});
    styleInputs({m_ui->m_pedtProfName, m_ui->m_pedtPort}, VelmWizard::LineEditSheet);
    styleInputs({m_ui->m_cbxIP}, VelmWizard::ComboBoxSheet);
    VelmWizard::styleWidget(m_ui->m_pchkHTTPS, QLatin1String(VelmWizard::CheckBoxProfileSheet));
}

void WizIPDialog::slotHTTPSChecked(bool blChecked)
{
    // Only the other scheme's default port follows the box; a port the user chose stays.
    const QString strFrom = blChecked ? QStringLiteral("80") : QStringLiteral("443");
    if (m_ui->m_pedtPort->text().trimmed() == strFrom)
        m_ui->m_pedtPort->setText(blChecked ? QStringLiteral("443") : QStringLiteral("80"));
}

void WizIPDialog::slotFindHostUpdate()
{
    m_pPicker->showUpdate();
}

void WizIPDialog::slotRefreshFinished()
{
    m_pPicker->showRoundFinished();
}

void WizIPDialog::slotDelayedInit()
{
    m_pPicker->search();
}

void WizIPDialog::slotDisplayConfig(int Index)
{
    m_pPicker->pick(Index);
}

bool WizIPDialog::validatePage()
{
    const QString strHost = m_ui->m_cbxIP->currentText().trimmed();
    const QString strName = m_ui->m_pedtProfName->text();
    if (!m_blFirstTime && !m_pPicker->confirmFoundServer(strHost))
        return false;
    if (!m_pPicker->checkPort(m_ui->m_pedtPort) || !m_pPicker->checkHost(strHost))
        return false;
    // A name the shortcut list or the database cannot hold is refused like a taken one is.
    const QString strProblem = ProfileStore::profileNameProblem(strName);
    if (!strProblem.isEmpty()) {
        m_pPrompt->critical(errorTitle(), strProblem);
        m_ui->m_pedtProfName->setFocus();
        return false;
    }
    if (ProfileStore::profileExists(strName)) {
        m_pPrompt->critical(errorTitle(), VelmLocale::message("err_profname_duplicate").arg(strName));
        m_ui->m_pedtProfName->setFocus();
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- account type

WizPerDialog::WizPerDialog(CreateWizard* pWizard, UserPrompt* pPrompt)
    : QWizardPage(pWizard), m_ui(std::make_unique<Ui::WizPerDialog>()), m_pPrompt(pPrompt)
{
    m_ui->setupUi(this);
    m_ui->m_plbToolTip->setPixmap(VelmImages::pixmap(QStringLiteral(":/images/bt_help.png")));
    HelpPage::attach(m_ui->m_plbToolTip);
    registerField(QStringLiteral("PersonalName"), m_ui->m_pedtPersonalName);
    registerField(QStringLiteral("IsPersonalPictarium"), m_ui->m_pradPersonalPictarium);
    connect(m_ui->m_pradPersonalPictarium, &QRadioButton::toggled, this, &WizPerDialog::slotPersonalRadioBtnToogled);
    languageChange();
}

WizPerDialog::~WizPerDialog() = default;

void WizPerDialog::languageChange()
{
    m_ui->m_plbDesc->setText(VelmLocale::message("create_per_desc"));
    m_ui->m_plbUploadTo->setText(VelmLocale::message("create_per_uploadto"));
    m_ui->m_pradPictarium->setText(VelmLocale::message("create_per_photo"));
    m_ui->m_pradPersonalPictarium->setText(VelmLocale::message("create_per_photo_personal"));
    m_ui->m_pedtPersonalName->setPlaceholderText(VelmLocale::message("create_per_username"));
    m_ui->m_plbToolTip->setToolTip(QLatin1String("<div style=\"width:500px;\">") +
                                   VelmLocale::message("create_per_tooltip") + QLatin1String("</div>"));
}

void WizPerDialog::initializePage()
{
    languageChange();
    if (m_blFirstTime) {
        m_blFirstTime = false;
        m_ui->m_pradPictarium->setChecked(true);
        m_ui->m_pedtPersonalName->setEnabled(false);
    }
    VelmWizard::styleWidget(m_ui->m_plbDesc, QLatin1String(VelmWizard::LabelSheet), 480);
    styleLabels({m_ui->m_plbUploadTo});
    for (QWidget* pRadio : {static_cast<QWidget*>(m_ui->m_pradPictarium),
                            static_cast<QWidget*>(m_ui->m_pradPersonalPictarium)})
        VelmWizard::styleWidget(pRadio, QLatin1String(VelmWizard::RadioButtonSheet));
    styleInputs({m_ui->m_pedtPersonalName}, VelmWizard::LineEditSheet, 165);
}

void WizPerDialog::slotPersonalRadioBtnToogled(bool blIsToggled)
{
    m_ui->m_pedtPersonalName->setEnabled(blIsToggled);
}

bool WizPerDialog::validatePage()
{
    if (m_ui->m_pradPersonalPictarium->isChecked() && m_ui->m_pedtPersonalName->text().isEmpty()) {
        m_pPrompt->warning(VelmLocale::message("err_warning"), VelmLocale::message("err_personal_empty"));
        m_ui->m_pedtPersonalName->setFocus();
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- credentials

WizPWDialog::WizPWDialog(CreateWizard* pWizard, UserPrompt* pPrompt)
    : QWizardPage(pWizard), m_ui(std::make_unique<Ui::WizPWDialog>()), m_pWizard(pWizard), m_pPrompt(pPrompt)
{
    m_ui->setupUi(this);
    m_ui->m_pedtPassword->setEchoMode(QLineEdit::Password);
    m_ui->m_pedtPassword->setMaxLength(254);
    m_ui->m_pedtPassword->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^.{0,254}$")), m_ui->m_pedtPassword));
    registerField(QStringLiteral("Account"), m_ui->m_pedtAccount);
    registerField(QStringLiteral("Password"), m_ui->m_pedtPassword);
    registerField(QStringLiteral("SaveCred"), m_ui->m_pchkSaveCred);
    connect(m_ui->m_pchkSaveCred, &QCheckBox::toggled, this, &WizPWDialog::slotSavePassChecked);
    connect(m_ui->m_pedtPassword, &QLineEdit::textChanged, this, &WizPWDialog::slotPassChanged);
    languageChange();
}

WizPWDialog::~WizPWDialog() = default;

void WizPWDialog::languageChange()
{
    m_ui->m_plbDesc->setText(VelmLocale::message("create_pw_desc"));
    m_ui->m_plbAccount->setText(VelmLocale::message("create_pw_account"));
    m_ui->m_plbPassword->setText(VelmLocale::message("create_pw_password"));
    m_ui->m_pchkSaveCred->setText(VelmLocale::message("create_pw_savepass"));
}

void WizPWDialog::initializePage()
{
    languageChange();
    if (m_blFirstTime) {
        m_blFirstTime = false;
        m_ui->m_pedtAccount->setText(QStringLiteral("admin"));
        m_ui->m_pedtPassword->clear();
        m_ui->m_pchkSaveCred->setChecked(true);
        m_ui->m_pedtPassword->setEnabled(true);
    }
    VelmWizard::styleWidget(m_ui->m_plbDesc, QLatin1String(VelmWizard::LabelSheet), 480);
    styleLabels({m_ui->m_plbAccount, m_ui->m_plbPassword});
    styleInputs({m_ui->m_pedtAccount, m_ui->m_pedtPassword}, VelmWizard::LineEditSheet);
    VelmWizard::styleWidget(m_ui->m_pchkSaveCred, QLatin1String(VelmWizard::CheckBoxProfileSheet));
}

void WizPWDialog::showEvent(QShowEvent* event)
{
    QWizardPage::showEvent(event);
    if (m_ui->m_pedtPassword->text().isEmpty())
        m_ui->m_pedtPassword->setFocus();
}

void WizPWDialog::slotSavePassChecked(bool blChecked)
{
    m_ui->m_pedtPassword->setEnabled(blChecked);
}

void WizPWDialog::slotPassChanged(QString)
{
    m_pWizard->clearLoginSucceeded();
}

bool WizPWDialog::validatePage()
{
    if (m_ui->m_pedtAccount->text().isEmpty()) {
        m_pPrompt->warning(VelmLocale::message("err_warning"), VelmLocale::message("err_usrname_empty"));
        m_ui->m_pedtAccount->setFocus();
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- hint

WizHintDialog::WizHintDialog(CreateWizard* pWizard) : QWizardPage(pWizard), m_ui(std::make_unique<Ui::WizHintDialog>())
{
    m_ui->setupUi(this);
    languageChange();
}

WizHintDialog::~WizHintDialog() = default;

QString WizHintDialog::pictureFor(const QString& strLanguage)
{
    static const QStringList s_lstOwn = {QStringLiteral("cht"), QStringLiteral("deu"), QStringLiteral("esn"),
                                         QStringLiteral("fra"), QStringLiteral("jpn"), QStringLiteral("krn"),
                                         QStringLiteral("nld"), QStringLiteral("ptg")};
    return s_lstOwn.contains(strLanguage) ? QStringLiteral(":/images/hint_%1.png").arg(strLanguage)
                                          : QStringLiteral(":/images/hint.png");
}

void WizHintDialog::languageChange()
{
    m_ui->m_plbDesc->setText(VelmLocale::message("install_finish_desc"));
    m_ui->m_plbPicture->setPixmap(VelmImages::pixmap(pictureFor(VelmLocale::currentLanguage(VelmSettings()))));
}

void WizHintDialog::initializePage()
{
    languageChange();
    VelmWizard::styleWidget(m_ui->m_plbDesc, QLatin1String(VelmWizard::LabelSheet), 480);
}

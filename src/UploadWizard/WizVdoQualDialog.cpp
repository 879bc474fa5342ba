#include "WizVdoQualDialog.h"

#include "HelpPage.h"
#include "UserPrompt.h"
#include "VelmImages.h"
#include "VelmLocale.h"
#include "VelmWizard.h"
#include "store/ServerProfile.h"
#include "ui_WizVdoQualDialog.h"

#include <QPixmap>

WizVdoQualDialog::WizVdoQualDialog(QWidget* pParent, ServerProfile* pProfile, UserPrompt* pPrompt)
    : QWizardPage(pParent), m_ui(std::make_unique<Ui::WizVdoQualDialog>()), m_pProfile(pProfile), m_pPrompt(pPrompt)
{
    m_ui->setupUi(this);
    m_ui->m_plbToolTip->setPixmap(VelmImages::pixmap(QStringLiteral(":/images/bt_help.png")));
    HelpPage::attach(m_ui->m_plbToolTip);
    registerField(QStringLiteral("HighQual"), m_ui->m_pchkHighQual);
    registerField(QStringLiteral("MediumQual"), m_ui->m_pchkMediumQual);
    registerField(QStringLiteral("LowQual"), m_ui->m_pchkLowQual);
    registerField(QStringLiteral("MobileQual"), m_ui->m_pchkMobileQual);
    languageChange();
}

WizVdoQualDialog::~WizVdoQualDialog() = default;

void WizVdoQualDialog::languageChange()
{
    m_ui->m_pchkHighQual->setText(VelmLocale::message("upload_vdo_high"));
    m_ui->m_pchkMediumQual->setText(VelmLocale::message("upload_vdo_medium"));
    m_ui->m_pchkLowQual->setText(VelmLocale::message("upload_vdo_low"));
    m_ui->m_pchkMobileQual->setText(VelmLocale::message("upload_vdo_mobile"));
    m_ui->m_plbDesc->setText(VelmLocale::message("upload_vdo_desc"));
    m_ui->m_plbToolTip->setToolTip(VelmLocale::message("upload_vdo_tooltip"));
}

void WizVdoQualDialog::initializePage()
{
    languageChange();
    // The profile may have changed since the last visit (camera mode picks it on the options
    // page). A profile without stored qualities gets the one a new profile starts with.
    QList<int> lstQualities = m_pProfile->qualities;
    if (lstQualities.isEmpty())
        lstQualities = {1};
    m_ui->m_pchkHighQual->setChecked(lstQualities.contains(0));
    m_ui->m_pchkMediumQual->setChecked(lstQualities.contains(1));
    m_ui->m_pchkLowQual->setChecked(lstQualities.contains(2));
    m_ui->m_pchkMobileQual->setChecked(lstQualities.contains(3));
    if (wizard())
        VelmWizard::setPageBackground(wizard(), QStringLiteral(":/images/bg_create.png"));
    VelmWizard::styleWidget(m_ui->m_plbDesc, QLatin1String(VelmWizard::LabelSheet), 400);
    for (QWidget* pBox : {static_cast<QWidget*>(m_ui->m_pchkHighQual), static_cast<QWidget*>(m_ui->m_pchkMediumQual),
                          static_cast<QWidget*>(m_ui->m_pchkLowQual), static_cast<QWidget*>(m_ui->m_pchkMobileQual)})
        VelmWizard::styleWidget(pBox, QLatin1String(VelmWizard::CheckBoxUploadSheet));
}

bool WizVdoQualDialog::validatePage()
{
    // Stored in the order low, medium, high, mobile.
    QList<int> lstQualities;
    if (m_ui->m_pchkLowQual->isChecked())
        lstQualities.append(2);
    if (m_ui->m_pchkMediumQual->isChecked())
        lstQualities.append(1);
    if (m_ui->m_pchkHighQual->isChecked())
        lstQualities.append(0);
    if (m_ui->m_pchkMobileQual->isChecked())
        lstQualities.append(3);
    // Without a conversion the videos could not be played on the server.
    if (lstQualities.isEmpty()) {
        m_pPrompt->warning(VelmLocale::message("err_warning"), VelmLocale::message("err_none_sel_vdoqual"));
        return false;
    }
    m_pProfile->qualities = lstQualities;
    return true;
}

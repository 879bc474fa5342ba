#include "WidgetFlows.h"

#include "AppIdentity.h"
#include "UserPrompt.h"
#include "VelmLocale.h"
#include "UploadWizard/UploadWizard.h"
#include "profiles/CreateWizard.h"

#include <QApplication>
#include <QDebug>
#include <QIcon>

void WidgetFlows::applyWindowIcon()
{
    Q_INIT_RESOURCE(velm_images);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/icon_64.png")));
}

void WidgetFlows::runProfileEditor(int iMode, QNetworkAccessManager* pNam)
{
    Q_UNUSED(pNam)
    qDebug("%s:%d flow profile-editor mode=%d (not available in this build)", "src/WidgetFlows", __LINE__, iMode);
}

bool WidgetFlows::runCreateWizard(int iMode, QNetworkAccessManager* pNam, ServerProfile* pProfile)
{
    qDebug("%s:%d flow create-profile mode=%d", "src/WidgetFlows", __LINE__, iMode);
    // Camera import is not part of the program yet: say so before asking for a profile.
    if (iMode == 6) {
        tellCameraUnavailable();
        return false;
    }
    // An unattended run has nobody to fill the wizard in (and must not search the network).
    if (UnattendedPrompt::requested()) {
        m_pPrompt->warning(AppIdentity::applicationTitle(), VelmLocale::message("editor_no_profiles"));
        return false;
    }
    CreateWizard wizard(nullptr, iMode, pNam, pProfile, m_pPrompt);
    return wizard.exec() == QDialog::Accepted;
}

void WidgetFlows::runUploadWizard(int iMode, QNetworkAccessManager* pNam, const QStringList& lstFiles,
                                  ServerProfile* pProfile)
{
    qDebug("%s:%d flow upload mode=%d profile=[%s] files=%d", "src/WidgetFlows", __LINE__, iMode,
           qPrintable(pProfile->profname), int(lstFiles.size()));
    if (iMode == 6) {
        tellCameraUnavailable();
        return;
    }
    UploadWizard wizard(nullptr, iMode, pNam, lstFiles, pProfile, m_pPrompt);
    wizard.exec();
}

void WidgetFlows::tellCameraUnavailable()
{
    // Until the camera import tool is part of the program, camera mode says so plainly.
    qDebug("%s:%d flow camera-import (not available in this build)", "src/WidgetFlows", __LINE__);
    m_pPrompt->information(AppIdentity::applicationTitle(), VelmLocale::message("msg_camera_unavailable"));
}

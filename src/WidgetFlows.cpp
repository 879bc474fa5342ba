#include "WidgetFlows.h"

#include "AppIdentity.h"
#include "UserPrompt.h"
#include "VelmLocale.h"
#include "UploadWizard/UploadWizard.h"

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
    Q_UNUSED(pNam)
    Q_UNUSED(pProfile)
    if (iMode == 6) {
        tellCameraUnavailable();
        return false;
    }
    qDebug("%s:%d flow create-profile mode=%d (not available in this build)", "src/WidgetFlows", __LINE__, iMode);
    return false;
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

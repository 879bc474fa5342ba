#include "WidgetFlows.h"

#include "AppIdentity.h"
#include "UserPrompt.h"
#include "VelmLocale.h"
#include "UploadWizard/UploadWizard.h"
#include "profiles/CreateWizard.h"
#include "profiles/ProfileEditor.h"
#include "store/ProfileStore.h"

#include <QApplication>

#include <algorithm>
#include <QDebug>
#include <QIcon>

void WidgetFlows::applyWindowIcon()
{
    Q_INIT_RESOURCE(velm_images);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/icon_64.png")));
}

void WidgetFlows::runProfileEditor(int iMode, QNetworkAccessManager* pNam)
{
    qDebug("%s:%d flow profile-editor mode=%d", "src/WidgetFlows", __LINE__, iMode);
    // Nobody would close the window of an unattended run: it lists the profiles instead.
    if (UnattendedPrompt::requested()) {
        QStringList lstNames = ProfileStore::listProfiles().keys();
        std::sort(lstNames.begin(), lstNames.end(),
                  [](const QString& a, const QString& b) { return a.localeAwareCompare(b) < 0; });
        m_pPrompt->information(AppIdentity::applicationTitle(), lstNames.isEmpty()
                                                                    ? VelmLocale::message("editor_no_profiles")
                                                                    : lstNames.join(QLatin1String(", ")));
        return;
    }
    ProfileEditor editor(nullptr, iMode, pNam, m_pPrompt);
    editor.setLauncher([this](const QStringList& lstArguments) { return startSelf(lstArguments); });
    m_pEditor = &editor;
    editor.exec();
    m_pEditor = nullptr;
}

void WidgetFlows::raiseProfileEditor()
{
    if (!m_pEditor)
        return;
    m_pEditor->setWindowState(m_pEditor->windowState() & ~Qt::WindowMinimized);
    m_pEditor->show();
    m_pEditor->raise();
    m_pEditor->activateWindow();
    // A dialog the editor opened stays in front of it.
    if (QWidget* pModal = QApplication::activeModalWidget(); pModal && pModal != m_pEditor) {
        pModal->raise();
        pModal->activateWindow();
    }
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

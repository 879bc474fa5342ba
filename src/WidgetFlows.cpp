#include "WidgetFlows.h"

#include "AppIdentity.h"
#include "UserPrompt.h"
#include "VelmLocale.h"
#include "UploadWizard/UploadWizard.h"
#include "upload/UploadRun.h"
#include "UploadWizard/WizUpdProgress.h"
#include "profiles/CreateWizard.h"
#include "profiles/ProfileEditor.h"
#include "store/ProfileStore.h"

#include <QApplication>

#include <algorithm>
#include <QDebug>
#include <QIcon>
#include <QTimer>

#include <cstdio>
#include <memory>

void WidgetFlows::applyWindowIcon()
{
    Q_INIT_RESOURCE(velm_images);
    // The installed icon where the theme has it; the desktop links the windows to the menu entry.
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("pictarium-uploader"), QIcon(QStringLiteral(":/images/icon_64.png"))));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.velmora.PictariumUploader"));
}

void WidgetFlows::runProfileEditor(RunMode mode, QNetworkAccessManager* pNam)
{
    qDebug("%s:%d flow profile-editor mode=%d", "src/WidgetFlows", __LINE__, int(mode));
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
    ProfileEditor editor(nullptr, mode, pNam, m_pPrompt);
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

bool WidgetFlows::runCreateWizard(RunMode mode, QNetworkAccessManager* pNam, ServerProfile* pProfile)
{
    qDebug("%s:%d flow create-profile mode=%d", "src/WidgetFlows", __LINE__, int(mode));
    // An unattended run has nobody to fill the wizard in (and must not search the network).
    if (UnattendedPrompt::requested()) {
        m_pPrompt->warning(AppIdentity::applicationTitle(), VelmLocale::message("editor_no_profiles"));
        return false;
    }
    CreateWizard wizard(nullptr, mode, pNam, pProfile, m_pPrompt);
    return wizard.exec() == QDialog::Accepted;
}

void WidgetFlows::runUploadWizard(RunMode mode, QNetworkAccessManager* pNam, const QStringList& lstFiles,
                                  ServerProfile* pProfile)
{
    qDebug("%s:%d flow upload mode=%d profile=[%s] files=%d", "src/WidgetFlows", __LINE__, int(mode),
           qPrintable(pProfile->profname), int(lstFiles.size()));
    UploadWizard wizard(nullptr, mode, pNam, lstFiles, pProfile, m_pPrompt);
    // Unattended, the wizard goes on by itself with the profile's options.
    std::unique_ptr<QTimer> pDriver;
    if (UnattendedPrompt::requested())
        pDriver = driveUnattended(&wizard);
    wizard.exec();
}

std::unique_ptr<QTimer> WidgetFlows::driveUnattended(UploadWizard* pWizard)
{
    // Next once on the options page (a refused page, with its box printed, ends the run),
    // Next on the quality page, Close when the upload has finished.
    auto pTimer = std::make_unique<QTimer>();
    auto pNextClicked = std::make_shared<bool>(false);
    QObject::connect(pTimer.get(), &QTimer::timeout, pWizard, [pWizard, pNextClicked]() {
        // The error report opens by itself after a run with failures: its rows go to standard
        // error, then it is closed.
        auto* pReport = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (pReport && pReport != pWizard && pReport->parentWidget() == pWizard) {
            for (const auto& row : pWizard->run()->reportRows())
                std::fprintf(stderr, "[report] %s: %s\n", qPrintable(row.first), qPrintable(row.second));
            pReport->reject();
            return;
        }
        if (pWizard->isBusy() || QApplication::activeModalWidget() != pWizard)
            return;
        switch (pWizard->currentId()) {
        case UploadWizard::OptionsPage:
            if (*pNextClicked) {
                qDebug("%s:%d unattended: the options page was refused", "src/WidgetFlows", __LINE__);
                pWizard->reject();
            } else {
                *pNextClicked = true;
                pWizard->next();
            }
            break;
        case UploadWizard::QualityPage:
            pWizard->next();
            break;
        case UploadWizard::ProgressPage:
            if (pWizard->progressPage()->isComplete())
                pWizard->accept();
            break;
        default:
            break;
        }
    });
    pTimer->start(100);
    return pTimer;
}

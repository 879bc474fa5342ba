#pragma once

#include "StartUp.h"

#include <memory>

class QTimer;
class QWidget;
class UploadWizard;
class UserPrompt;

// The flows start-up opens in the desktop program.
class WidgetFlows : public StartUpFlows
{
public:
    explicit WidgetFlows(UserPrompt* pPrompt) : m_pPrompt(pPrompt) {}

    void applyWindowIcon() override;
    void runProfileEditor(int iMode, QNetworkAccessManager* pNam) override;
    void raiseProfileEditor() override;
    bool runCreateWizard(int iMode, QNetworkAccessManager* pNam, ServerProfile* pProfile) override;
    void runUploadWizard(int iMode, QNetworkAccessManager* pNam, const QStringList& lstFiles,
                         ServerProfile* pProfile) override;

private:
    // Plays the user of an unattended run; the wizard ends by itself.
    static std::unique_ptr<QTimer> driveUnattended(UploadWizard* pWizard);

    UserPrompt* m_pPrompt;
    QWidget* m_pEditor = nullptr; // while the profile list editor is open
};

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
    void runProfileEditor(RunMode mode, QNetworkAccessManager* pNam) override;
    void raiseProfileEditor() override;
    bool runCreateWizard(RunMode mode, QNetworkAccessManager* pNam, ServerProfile* pProfile) override;
    void runUploadWizard(RunMode mode, QNetworkAccessManager* pNam, const QStringList& lstFiles,
                         ServerProfile* pProfile) override;

private:
    // Plays the user of an unattended run; the wizard ends by itself.
    static std::unique_ptr<QTimer> driveUnattended(UploadWizard* pWizard);

    UserPrompt* m_pPrompt;
    QWidget* m_pEditor = nullptr; // while the profile list editor is open
};

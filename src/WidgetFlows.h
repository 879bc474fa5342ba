#pragma once

#include "StartUp.h"

class QWidget;
class UserPrompt;

// The flows start-up opens in the desktop program. The camera import is plugged in here once it
// is built; until then camera mode tells the user that it is not available and is treated as
// cancelled.
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
    void tellCameraUnavailable();

    UserPrompt* m_pPrompt;
    QWidget* m_pEditor = nullptr; // while the profile list editor is open
};

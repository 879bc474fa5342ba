#pragma once

#include "StartUp.h"

class UserPrompt;

// The flows start-up opens in the desktop program. The profile list editor and the camera
// import are plugged in here as they are built; until then such a flow logs that it is not
// available in this build (camera mode also tells the user) and is treated as cancelled.
class WidgetFlows : public StartUpFlows
{
public:
    explicit WidgetFlows(UserPrompt* pPrompt) : m_pPrompt(pPrompt) {}

    void applyWindowIcon() override;
    void runProfileEditor(int iMode, QNetworkAccessManager* pNam) override;
    bool runCreateWizard(int iMode, QNetworkAccessManager* pNam, ServerProfile* pProfile) override;
    void runUploadWizard(int iMode, QNetworkAccessManager* pNam, const QStringList& lstFiles,
                         ServerProfile* pProfile) override;

private:
    void tellCameraUnavailable();

    UserPrompt* m_pPrompt;
};

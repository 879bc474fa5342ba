#pragma once

#include "StartUp.h"

// The flows start-up opens in the desktop program. The profile list editor, the
// create-profile wizard and the upload wizard are plugged in here as they are built; until
// then a flow reports that it is not available in this build and is treated as cancelled.
class WidgetFlows : public StartUpFlows
{
public:
    void applyWindowIcon() override;
    void runProfileEditor(int iMode, QNetworkAccessManager* pNam) override;
    bool runCreateWizard(int iMode, QNetworkAccessManager* pNam, ServerProfile* pProfile) override;
    void runUploadWizard(int iMode, QNetworkAccessManager* pNam, const QStringList& lstFiles,
                         ServerProfile* pProfile) override;
};

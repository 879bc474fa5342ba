#pragma once

#include <QWizardPage>

#include <memory>

namespace Ui {
class WizVdoQualDialog;
}
class UserPrompt;
struct ServerProfile;

// The video quality page, shown when the job list holds a video. It shows the profile's
// qualities and hands the choice back to the profile when the user goes on.
class WizVdoQualDialog : public QWizardPage
{
    Q_OBJECT

public:
    WizVdoQualDialog(QWidget* pParent, ServerProfile* pProfile, UserPrompt* pPrompt);
    ~WizVdoQualDialog() override;

    void initializePage() override;
    bool validatePage() override;

public Q_SLOTS:
    void languageChange();

private:
    std::unique_ptr<Ui::WizVdoQualDialog> m_ui;
    ServerProfile* m_pProfile;
    UserPrompt* m_pPrompt;
};

#pragma once

#include <QWizardPage>

#include <memory>

namespace Ui {
class WizVdoQualDialog;
}
struct ServerProfile;

// The video quality page, shown when the job list holds a video.
class WizVdoQualDialog : public QWizardPage
{
    Q_OBJECT

public:
    WizVdoQualDialog(QWidget* pParent, ServerProfile* pProfile);
    ~WizVdoQualDialog() override;

    void initializePage() override;
    bool validatePage() override;

public Q_SLOTS:
    void languageChange();

private:
    std::unique_ptr<Ui::WizVdoQualDialog> m_ui;
    ServerProfile* m_pProfile;
    bool m_blFirstTime = true;
};

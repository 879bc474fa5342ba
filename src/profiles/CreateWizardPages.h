#pragma once

#include "findhost/FindHostUtils.h"

#include <QWizardPage>

#include <memory>

namespace Ui {
class WizIPDialog;
class WizPerDialog;
class WizPWDialog;
class WizHintDialog;
}
class CreateWizard;
class FoundServerPicker;
class QNetworkAccessManager;
class UserPrompt;

// Profile name and server: picked from the servers found on the network, or typed.
class WizIPDialog : public QWizardPage
{
    Q_OBJECT

public:
    WizIPDialog(CreateWizard* pWizard, QNetworkAccessManager* pNam, FoundServerList* pList, UserPrompt* pPrompt);
    ~WizIPDialog() override;

    void initializePage() override;
    void cleanupPage() override {}
    bool validatePage() override;

public Q_SLOTS:
    void languageChange();
    void slotHTTPSChecked(bool blChecked);
    void slotFindHostUpdate();
    void slotRefreshFinished();
    void slotDelayedInit();
    void slotDisplayConfig(int Index);

private:
    std::unique_ptr<Ui::WizIPDialog> m_ui;
    UserPrompt* m_pPrompt;
    std::unique_ptr<FoundServerPicker> m_pPicker;
    bool m_blFirstTime = true;
};

// Shared Pictarium or a user's personal Pictarium.
class WizPerDialog : public QWizardPage
{
    Q_OBJECT

public:
    WizPerDialog(CreateWizard* pWizard, UserPrompt* pPrompt);
    ~WizPerDialog() override;

    void initializePage() override;
    void cleanupPage() override {}
    bool validatePage() override;

public Q_SLOTS:
    void languageChange();
    void slotPersonalRadioBtnToogled(bool blIsToggled);

private:
    std::unique_ptr<Ui::WizPerDialog> m_ui;
    UserPrompt* m_pPrompt;
    bool m_blFirstTime = true;
};

// Account, password and "Remember password".
class WizPWDialog : public QWizardPage
{
    Q_OBJECT

public:
    WizPWDialog(CreateWizard* pWizard, UserPrompt* pPrompt);
    ~WizPWDialog() override;

    void initializePage() override;
    void cleanupPage() override {}
    bool validatePage() override;

public Q_SLOTS:
    void languageChange();
    void slotSavePassChecked(bool blChecked);
    void slotPassChanged(QString strPass);

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::WizPWDialog> m_ui;
    CreateWizard* m_pWizard;
    UserPrompt* m_pPrompt;
    bool m_blFirstTime = true;
};

// How to upload from the file manager, with a picture in the user's language.
class WizHintDialog : public QWizardPage
{
    Q_OBJECT

public:
    explicit WizHintDialog(CreateWizard* pWizard);
    ~WizHintDialog() override;

    void initializePage() override;
    // The picture for a language code.
    static QString pictureFor(const QString& strLanguage);

public Q_SLOTS:
    void languageChange();

private:
    std::unique_ptr<Ui::WizHintDialog> m_ui;
};

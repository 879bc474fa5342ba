#pragma once

#include <QWizardPage>

#include <memory>

namespace Ui {
class WizUpdDialog;
}
class UploadWizard;

// The options page: destination album, duplicate policy and filters. Validating it has the run
// claim the profile, plan the files and announce them to the server.
class WizUpdDialog : public QWizardPage
{
    Q_OBJECT

public:
    explicit WizUpdDialog(UploadWizard* pWizard);
    ~WizUpdDialog() override;

    bool validatePage() override;
    int nextId() const override;
    void initializePage() override;

    bool hasVideo() const { return m_blVideoPresent; }
    QString destinationText() const;
    void setDestinationText(const QString& strText);
    QString sourceText() const;

public Q_SLOTS:
    void languageChange();
    void slotBrowseSrcFolder();
    void slotBrowseAlbum();
    void slotProfileChanged(const QString& strName);
    void slotLoginFinish(bool blLoginSuccess);

private:
    void loadControls();
    void applyStyle();
    void storeOptions();
    void fillCameraSources();
    bool importFromCamera();
    // A refusal of the page, shown in a box of its kind (err_warning or err_error).
    bool refuse(const char* pszTitle, const QString& strText);

    std::unique_ptr<Ui::WizUpdDialog> m_ui;
    UploadWizard* m_pWizard;
    bool m_blVideoPresent = false;
    bool m_blFirstTime = true;
    bool m_blBrowseAfterLogin = false;
};

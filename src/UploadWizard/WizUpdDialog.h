#pragma once

#include <QWizardPage>

#include <memory>

namespace Ui {
class WizUpdDialog;
}
class SecurityConfirm;
class UploadWizard;

// The options page: destination album, duplicate policy and filters. Validating it builds
// the job list, drops files already uploaded and announces the rest to the server.
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
    void collectJobs();
    bool checkHistory();
    void fillCameraSources();
    bool importFromCamera();

    std::unique_ptr<Ui::WizUpdDialog> m_ui;
    UploadWizard* m_pWizard;
    std::unique_ptr<SecurityConfirm> m_pLogin;
    QString m_strDestinationDir;
    bool m_blVideoPresent = false;
    bool m_blFirstTime = true;
    bool m_blCameraSkipped = false;
    QList<QPair<QString, QString>> m_lstCameraLeftOut; // camera items not taken: name, why
};

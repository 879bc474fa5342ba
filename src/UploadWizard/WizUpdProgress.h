#pragma once

#include <QTimer>
#include <QWizardPage>

#include <memory>

namespace Ui {
class WizUpdProgress;
}
class UploadQueue;
class UserPrompt;
struct ServerProfile;

// The progress page: one creeping bar between the workers' "next" and "complete" values,
// the file counts, and the final figures.
class WizUpdProgress : public QWizardPage
{
    Q_OBJECT

public:
    WizUpdProgress(QWidget* pParent, ServerProfile* pProfile, UploadQueue* pQueue, UserPrompt* pPrompt);
    ~WizUpdProgress() override;

    void initializePage() override;
    void cleanupPage() override {}
    bool validatePage() override { return true; }
    bool isComplete() const override { return m_blFinished; }

    int barValue() const;
    QString percentText() const;
    QString fileStatusText() const;
    QString fileNumText() const;
    QString failStatusText() const;
    QString failNumText() const;
    bool failLabelsVisible() const;
    int timerInterval() const { return m_timer.interval(); }

public Q_SLOTS:
    void languageChange();
    void slotUpdateCompleteProgress(int iProgress);
    void slotUpdateNextProgress(int iProgress);
    void slotUpdateProgress();
    void slotUpdateUpdStatus();
    void slotUploadFinished();
    void slotConnectionSessionLost();
    // The uploader ended the run early for strReason.
    void slotUploadStopped(const QString& strReason);
    // A cancel waits for the server to confirm strFileName.
    void slotWaitingForReply(const QString& strFileName, int iSeconds);
    QString headingText() const;

private:
    std::unique_ptr<Ui::WizUpdProgress> m_ui;
    bool m_blFinished = false;
    int m_iTarget = 0;
    QTimer m_timer;
    ServerProfile* m_pProfile;
    UploadQueue* m_pQueue;
    bool m_blFirstTime = true;
    UserPrompt* m_pPrompt;
};

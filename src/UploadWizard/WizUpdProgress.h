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
// the file being worked on, the file counts, and the final figures (folders are not files).
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
    // Asks whether the running upload should stop; true when the user says Yes.
    bool confirmStop();

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

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // The file being worked on, its name elided in the middle to keep the line whole.
    void showCurrentFile();
    // "N of M files" and the file being worked on.
    void showFigures();

    std::unique_ptr<Ui::WizUpdProgress> m_ui;
    bool m_blFinished = false;
    int m_iTarget = 0;
    QTimer m_timer;
    // Shows the file being worked on and the counts while the run goes on.
    QTimer m_figuresTimer;
    ServerProfile* m_pProfile;
    UploadQueue* m_pQueue;
    bool m_blFirstTime = true;
    UserPrompt* m_pPrompt;
};

#pragma once

#include "CertificateTrust.h"

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QThread>

class QNetworkAccessManager;
class QNetworkReply;
class StopSignals;
class UserPrompt;
struct ServerProfile;

// Logs in to the Pictarium of a profile. The session cookie the server sets stays in the
// access manager's cookie jar for the requests that follow.
class SecurityConfirm : public QThread
{
    Q_OBJECT

public:
    explicit SecurityConfirm(UserPrompt* pPrompt, QObject* pParent = nullptr);
    ~SecurityConfirm() override;
    Q_DISABLE_COPY_MOVE(SecurityConfirm)

    // Asks for the password when the profile does not remember it (or blForcePrompt).
    // False when the user cancels; then nothing is sent and no signal follows.
    bool prepareLogin(QNetworkAccessManager* pNam, ServerProfile* pProfile, bool blRetryAllowed, bool blForcePrompt);
    // Starts the attempt after prepareLogin returned true: the request goes out on the next
    // pass of the event loop.
    void launch();

    enum class Outcome { Succeeded, Failed, NoPassword, Cancelled, CertificateRefused };
    // One attempt without retry, waited for in a local event loop. NoPassword: no password
    // could be had (nothing was sent). Cancelled: a stop request from pStop ended the wait.
    // CertificateRefused: the server's certificate was not trusted (nothing was sent).
    static Outcome logInAndWait(UserPrompt* pPrompt, QNetworkAccessManager* pNam, ServerProfile* pProfile,
                                StopSignals* pStop = nullptr);

    // Forgets the attempt on its way: its reply is ignored, no message and no signal follow.
    void abandon();

    bool succeeded() const { return m_blSucceeded; }
    int requestNumber() const { return m_iRequestNumber; }
    // Why the last attempt ended without a login, when it was the server's certificate.
    const CertificateTrust::Refusal& certificateRefusal() const { return m_refusal; }

Q_SIGNALS:
    void signalLogin();
    void signalLoginFinish(bool blLoginSuccess);

public Q_SLOTS:
    void slotLoginPictarium();
    void slotLoginRequestFinished();

protected:
    void run() override;

private:
    QString interpret(QNetworkReply* pReply, bool blPersonalRequest, bool* pblSuccess) const;

    int m_iRequestNumber = 0;
    bool m_blSucceeded = false;
    bool m_blForcePrompt = false;
    bool m_blRetryAllowed = false;
    bool m_blPersonal = false;
    QString m_strBaseUrl;
    QString m_strUserName;
    QString m_strPassword;
    QNetworkAccessManager* m_pNam = nullptr;
    ServerProfile* m_pProfile = nullptr;
    QPointer<QNetworkReply> m_pReply;
    CertificateTrust::Refusal m_refusal;
    UserPrompt* m_pPrompt;
};

#include "SecurityConfirm.h"

#include "AppIdentity.h"
#include "ServerReply.h"
#include "ServerRequest.h"
#include "StopSignals.h"
#include "UserPrompt.h"
#include "VelmLocale.h"
#include "store/CertificatePins.h"
#include "store/ProfileStore.h"
#include "store/ServerProfile.h"

#include <QDebug>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>

SecurityConfirm::SecurityConfirm(UserPrompt* pPrompt, QObject* pParent) : QThread(pParent), m_pPrompt(pPrompt)
{
    connect(this, &SecurityConfirm::signalLogin, this, &SecurityConfirm::slotLoginPictarium);
}

SecurityConfirm::~SecurityConfirm()
{
    wait();
    if (m_pReply)
        m_pReply->deleteLater();
}

bool SecurityConfirm::prepareLogin(QNetworkAccessManager* pNam, ServerProfile* pProfile, bool blRetryAllowed,
                                   bool blForcePrompt)
{
    ++m_iRequestNumber;
    m_blSucceeded = false;
    m_refusal = {};
    m_blRetryAllowed = blRetryAllowed;
    m_blForcePrompt = blForcePrompt;
    m_pProfile = pProfile;
    m_strBaseUrl = pProfile->baseUrl;
    m_blPersonal = pProfile->personal;
    m_strUserName = pProfile->account;

    // A remembered password the keyring could not give is asked for: an empty one is never sent
    // in its place.
    const bool blUnreadable = pProfile->savepass && pProfile->password.isEmpty();
    if (!pProfile->savepass || blForcePrompt || blUnreadable) {
        QString strPassword;
        const QString strLabel = VelmLocale::message(blUnreadable && !blForcePrompt ? "msg_enter_pass_keyring"
                                                                                     : "msg_enter_pass")
                                     .arg(m_strUserName);
        if (!m_pPrompt->askText(AppIdentity::applicationTitle(), strLabel, true, strPassword))
            return false;
        m_strPassword = strPassword;
    } else {
        m_strPassword = pProfile->password;
    }

    m_pNam = pNam;
    // An outstanding reply is now stale; its handler recognises it by its number.
    m_pReply = nullptr;
    return true;
}

SecurityConfirm::Outcome SecurityConfirm::logInAndWait(UserPrompt* pPrompt, QNetworkAccessManager* pNam,
                                                       ServerProfile* pProfile, StopSignals* pStop)
{
    SecurityConfirm login(pPrompt);
    if (!login.prepareLogin(pNam, pProfile, false, false))
        return Outcome::NoPassword;
    Outcome outcome = Outcome::Cancelled;
    QEventLoop loop;
    connect(&login, &SecurityConfirm::signalLoginFinish, &loop, [&](bool blSuccess) {
        outcome = blSuccess                               ? Outcome::Succeeded
                  : login.certificateRefusal().isNull() ? Outcome::Failed
                                                          : Outcome::CertificateRefused;
        loop.quit();
    });
    if (pStop)
        connect(pStop, &StopSignals::signalStop, &loop, &QEventLoop::quit);
    login.launch();
    loop.exec();
    // A reply still on its way is dropped with the login object.
    return outcome;
}

void SecurityConfirm::abandon()
{
    ++m_iRequestNumber;
    m_pReply = nullptr;
}

void SecurityConfirm::launch()
{
    start(QThread::InheritPriority);
    wait();
}

void SecurityConfirm::run()
{
    Q_EMIT signalLogin();
}

void SecurityConfirm::slotLoginPictarium()
{
    QNetworkRequest request = ServerRequest::buildForm(m_strBaseUrl, ServerRequest::LoginPath);
    request.setAttribute(QNetworkRequest::User, m_iRequestNumber);
    request.setAttribute(QNetworkRequest::UserMax, m_blPersonal);

    const QByteArray baBody = QByteArrayLiteral("action=login") + "&username=" +
                              ServerRequest::formValue(m_strUserName) + "&passwd=" +
                              ServerRequest::formValue(m_strPassword);
    m_pReply = ServerRequest::post(m_pNam, request, baBody);
    connect(m_pReply, &QNetworkReply::finished, this, &SecurityConfirm::slotLoginRequestFinished);
    qDebug("%s:%d login request %d sent to %s", "SecurityConfirm", __LINE__, m_iRequestNumber,
           qPrintable(request.url().toString(QUrl::RemoveUserInfo)));
}

QString SecurityConfirm::interpret(QNetworkReply* pReply, bool blPersonalRequest, bool* pblSuccess) const
{
    *pblSuccess = false;
    const QString strDisabled = VelmLocale::message(blPersonalRequest ? "err_photo_personal_disable"
                                                                      : "err_photo_disable");
    const ServerReply reply = ServerReply::classify(pReply);
    if (reply.kind == ServerReply::TransportFailure) {
        if (reply.errorCode == QNetworkReply::ContentNotFoundError)
            return VelmLocale::message("err_photo_not_install");
        return ReplyMessages::connectFail(reply);
    }

    if (reply.kind == ServerReply::Json) {
        const bool blAdmin = m_strUserName.toLower() == QLatin1String("admin");
        const bool blPhotoOff = !reply.flag("run_photo") && !blAdmin;
        // Only a real boolean true is a success; the server puts failure reasons there as text.
        if (reply.isBoolean("success") && reply.flag("success")) {
            if (blPhotoOff)
                return strDisabled;
            if (reply.flag("has_photo_root_path")) {
                *pblSuccess = true;
                return QString();
            }
            return VelmLocale::message("err_photo_root_not_found");
        }
        const QString strReason = reply.text("success");
        if (blPhotoOff)
            return strDisabled;
        if (strReason == QLatin1String("disable_account"))
            return VelmLocale::message("err_account_disable");
        if (reply.flag("not_photo_user"))
            return VelmLocale::message("err_account_invalid").arg(m_strUserName);
        if (strReason == QLatin1String("login_noprivilege"))
            return VelmLocale::message("err_login_autoblock");
        return VelmLocale::message("err_auth_fail");
    }

    if (pReply->rawHeader("Location").contains("photo_str_service_disabled") ||
        reply.body.contains("service_not_available"))
        return strDisabled;
    return VelmLocale::message("err_login_server");
}

void SecurityConfirm::slotLoginRequestFinished()
{
    auto* pReply = qobject_cast<QNetworkReply*>(sender());
    if (!pReply)
        return;
    pReply->deleteLater();
    if (pReply == m_pReply)
        m_pReply = nullptr;

    const QNetworkRequest request = pReply->request();
    if (request.attribute(QNetworkRequest::User).toInt() != m_iRequestNumber) {
        qDebug("%s:%d stale login reply ignored", "SecurityConfirm", __LINE__);
        return;
    }

    m_refusal = CertificateTrust::refusal(pReply);
    if (!m_refusal.isNull()) {
        // Nothing was sent. Trusting the new certificate sends the same login again.
        m_blSucceeded = false;
        if (m_pPrompt->trustCertificate(VelmLocale::message("err_warning"),
                                        CertificateTrust::refusalMessage(m_refusal)) &&
            CertificatePins::setPin(m_refusal.host, m_refusal.port, m_refusal.offeredKey)) {
            m_refusal = {};
            slotLoginPictarium();
            return;
        }
        Q_EMIT signalLoginFinish(false);
        return;
    }

    bool blSuccess = false;
    const QString strMessage = interpret(pReply, request.attribute(QNetworkRequest::UserMax).toBool(), &blSuccess);
    m_blSucceeded = blSuccess;
    qDebug("%s:%d login %s", "SecurityConfirm", __LINE__, blSuccess ? "succeeded" : "failed");

    if (blSuccess) {
        if (m_blForcePrompt && m_pProfile) {
            ProfileStore::setColumn(QStringLiteral("ServerProfiles"), m_pProfile->profname, QStringLiteral("password"),
                                    m_strPassword);
            m_pProfile->password = m_strPassword;
        }
        Q_EMIT signalLoginFinish(true);
        return;
    }

    m_pPrompt->warning(VelmLocale::message("err_error"), strMessage);
    if (m_blRetryAllowed) {
        if (prepareLogin(m_pNam, m_pProfile, true, true)) {
            slotLoginPictarium();
            return;
        }
    }
    Q_EMIT signalLoginFinish(false);
}

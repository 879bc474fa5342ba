#include "CertificateTrust.h"

#include "VelmLocale.h"
#include "store/CertificatePins.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QEventLoop>
#include <QNetworkReply>
#include <QSslConfiguration>
#include <QSslError>
#include <QSslKey>
#include <QSslSocket>
#include <QTimer>
#include <QUrl>

namespace CertificateTrust {

namespace {

const char* const s_pszRefusalProperty = "pictariumCertificateRefusal";

} // namespace

QByteArray keyHash(const QSslCertificate& certificate)
{
    if (certificate.isNull())
        return {};
    const QByteArray baKey = certificate.publicKey().toDer();
    if (baKey.isEmpty())
        return {};
    return QCryptographicHash::hash(baKey, QCryptographicHash::Sha256);
}

Verdict judge(const QString& strHost, int iPort, const QList<QSslCertificate>& lstChain, Refusal* pRefusal)
{
    const QByteArray baOffered = keyHash(lstChain.value(0));
    if (baOffered.isEmpty())
        return Verdict::NoCertificate;
    const CertificatePins::Pin pin = CertificatePins::pinFor(strHost, iPort);
    if (QSslCertificate::verify(lstChain, strHost).isEmpty()) {
        // The system vouches for it; the key shown in the settings follows.
        if (pin.keyHash != baOffered)
            CertificatePins::setPin(strHost, iPort, baOffered);
        return Verdict::TrustedBySystem;
    }
    if (pin.keyHash.isEmpty()) {
        if (!CertificatePins::setPin(strHost, iPort, baOffered))
            qDebug("%s:%d the certificate of %s:%d could not be remembered", "CertificateTrust", __LINE__,
                   qPrintable(strHost), iPort);
        return Verdict::FirstContact;
    }
    if (pin.keyHash == baOffered)
        return Verdict::Pinned;
    if (pRefusal) {
        pRefusal->host = strHost;
        pRefusal->port = iPort;
        pRefusal->trustedKey = pin.keyHash;
        pRefusal->offeredKey = baOffered;
    }
    return Verdict::Changed;
}

namespace {

// The chain the server presented, as far as the reply knows it.
QList<QSslCertificate> presentedChain(const QNetworkReply* pReply, const QList<QSslError>& lstErrors)
{
    QList<QSslCertificate> lstChain = pReply->sslConfiguration().peerCertificateChain();
    if (lstChain.isEmpty()) {
        for (const QSslError& error : lstErrors) {
            if (!error.certificate().isNull())
                return {error.certificate()};
        }
    }
    return lstChain;
}

// A refusal naming the reply's server, to be filled by judge().
Refusal serverOf(const QNetworkReply* pReply)
{
    Refusal refusal;
    refusal.host = pReply->url().host();
    refusal.port = pReply->url().port(443);
    return refusal;
}

void refuse(QNetworkReply* pReply, const Refusal& refusal)
{
    qDebug("%s:%d certificate of %s:%d refused", "CertificateTrust", __LINE__, qPrintable(refusal.host),
           refusal.port);
    pReply->setProperty(s_pszRefusalProperty,
                        QStringList{refusal.host, QString::number(refusal.port),
                                    QString::fromLatin1(refusal.trustedKey.toHex()),
                                    QString::fromLatin1(refusal.offeredKey.toHex())});
}

} // namespace

void watch(QNetworkReply* pReply)
{
    // A certificate the system does not verify. The network thread waits for this slot, so the
    // handshake goes on only when the errors are ignored here. Only these errors of this
    // certificate are ignored: a reconnection that shows another certificate asks again.
    QObject::connect(pReply, &QNetworkReply::sslErrors, pReply, [pReply](const QList<QSslError>& lstErrors) {
        Refusal refusal = serverOf(pReply);
        const Verdict verdict = judge(refusal.host, refusal.port, presentedChain(pReply, lstErrors), &refusal);
        if (verdict == Verdict::Changed || verdict == Verdict::NoCertificate)
            refuse(pReply, refusal);
        else
            pReply->ignoreSslErrors(lstErrors);
    });
    // Every completed handshake, before the request is written: a key the system vouches for is
    // remembered; anything else here should have come through the check above.
    QObject::connect(pReply, &QNetworkReply::encrypted, pReply, [pReply]() {
        Refusal refusal = serverOf(pReply);
        const Verdict verdict =
            judge(refusal.host, refusal.port, pReply->sslConfiguration().peerCertificateChain(), &refusal);
        if (verdict == Verdict::Changed || verdict == Verdict::NoCertificate) {
            refuse(pReply, refusal);
            pReply->abort();
        }
    });
}

Refusal refusal(const QNetworkReply* pReply)
{
    Refusal refusal;
    const QStringList lst = pReply->property(s_pszRefusalProperty).toStringList();
    if (lst.size() != 4)
        return refusal;
    refusal.host = lst.at(0);
    refusal.port = lst.at(1).toInt();
    refusal.trustedKey = QByteArray::fromHex(lst.at(2).toLatin1());
    refusal.offeredKey = QByteArray::fromHex(lst.at(3).toLatin1());
    return refusal;
}

QString refusalMessage(const Refusal& refusal)
{
    return VelmLocale::message("err_cert_changed")
        .arg(refusal.host + QLatin1Char(':') + QString::number(refusal.port),
             CertificatePins::fingerprintText(refusal.trustedKey), CertificatePins::fingerprintText(refusal.offeredKey));
}

bool fetchChain(const QString& strHost, int iPort, int iTimeoutMs, QList<QSslCertificate>* plstChain,
                QString* pstrError)
{
    QSslSocket socket;
    // Only the certificate is wanted here; it is judged by the caller.
    socket.setPeerVerifyMode(QSslSocket::QueryPeer);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QSslSocket::encrypted, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QAbstractSocket::errorOccurred, &loop, &QEventLoop::quit);
    socket.connectToHostEncrypted(strHost, quint16(iPort));
    timer.start(iTimeoutMs);
    loop.exec();
    if (!socket.isEncrypted()) {
        *pstrError = timer.isActive() ? socket.errorString() : QStringLiteral("no answer within %1 s").arg(iTimeoutMs / 1000);
        socket.abort();
        return false;
    }
    *plstChain = socket.peerCertificateChain();
    socket.disconnectFromHost();
    return !plstChain->isEmpty();
}

} // namespace CertificateTrust

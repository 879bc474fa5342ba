// trust: shows the certificate the profile's server shows now and trusts it for the server.

#include "CliSupport.h"
#include "CommandLine.h"
#include "Commands.h"
#include "TerminalPrompt.h"
#include "protocol/CertificateTrust.h"
#include "protocol/ServerRequest.h"
#include "store/CertificatePins.h"
#include "store/ProfileStore.h"

#include <QCommandLineParser>
#include <QSslCertificate>

namespace Cli {

int trustServer(const QCommandLineParser& parser, QNetworkAccessManager*)
{
    ServerProfile profile;
    if (const int iCode = findProfile(parser.value(QStringLiteral("profile")), profile))
        return iCode;
    const QString strServer = profile.hostaddr + QLatin1Char(':') + QString::number(profile.port);
    if (!profile.https)
        return fail(QStringLiteral("Profile [%1] connects to %2 with plain HTTP: there is no certificate to trust.")
                        .arg(profile.profname, strServer));
    QList<QSslCertificate> lstChain;
    QString strError;
    if (!CertificateTrust::fetchChain(profile.hostaddr, profile.port, ServerRequest::noTransferTimeoutMs(), &lstChain,
                                      &strError))
        return fail(QStringLiteral("No certificate came from %1: %2").arg(strServer, strError), ExitFailed);
    const QSslCertificate& certificate = lstChain.first();
    const QByteArray baKey = CertificateTrust::keyHash(certificate);
    const QByteArray baTrusted = CertificatePins::pinFor(profile.hostaddr, profile.port).keyHash;
    out(QStringLiteral("Server:      %1").arg(safe(strServer)));
    out(QStringLiteral("Issued to:   %1").arg(safe(certificate.subjectDisplayName())));
    out(QStringLiteral("Issued by:   %1").arg(safe(certificate.issuerDisplayName())));
    out(QStringLiteral("Valid until: %1").arg(certificate.expiryDate().toUTC().toString(Qt::ISODate)));
    out(QStringLiteral("Fingerprint: %1").arg(CertificatePins::fingerprintText(baKey)));
    out(QStringLiteral("Trusted now: %1")
            .arg(baTrusted.isEmpty() ? QStringLiteral("none") : CertificatePins::fingerprintText(baTrusted)));
    if (baTrusted == baKey) {
        out(QStringLiteral("This certificate is trusted already."));
        return ExitOk;
    }
    if (!parser.isSet(QStringLiteral("yes")) &&
        !prompt().confirm(QStringLiteral("Trust this certificate for %1?").arg(strServer)))
        return fail(QStringLiteral("Not trusted. Answer y on a terminal, or give --yes."), ExitFailed);
    if (!CertificatePins::setPin(profile.hostaddr, profile.port, baKey))
        return fail(QStringLiteral("Not trusted: ") + databaseError(true), ExitFailed);
    out(QStringLiteral("Trusted for %1.").arg(safe(strServer)));
    return ExitOk;
}

} // namespace Cli
